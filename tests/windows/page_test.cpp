// The Windows page from the real resources inside the real main dialog, on a window hierarchy of
// the test's own.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>
#include <algorithm>
#include <string.h>
#include <string>
#include "hierarchy.h"
#include "win_helpers.h"
#include "support/composited.h"
#include "support/controls.h"
#include "support/dialogs.h"
#include "support/pictures.h"
#include "integration/dialog_fixture.h"
#include "processes/snapshot.h"
#include "windows/window_commands.h"
#include "windows/window_query.h"
#include "windows/windows_page.h"

namespace {

class WindowsPage : public DialogTest {
protected:
    HWND page = NULL;
    HWND tree = NULL;

    void OpenPage(bool showClass)
    {
        g_Options.PageIndex = 2;
        g_Options.ShowClass = showClass ? 1 : 0;
        ASSERT_TRUE(OpenMain());
        page = g_hPage;
        ASSERT_TRUE(page);
        tree = GetDlgItem(page, IDC_WIN_TREE);
        ASSERT_EQ(WC_TREEVIEWA, ClassOf(tree));
    }
    HTREEITEM ItemOf(HWND hWnd)
    {
        auto items = ItemsOfWindow(tree, hWnd);
        return items.size() == 1 ? items[0] : NULL;
    }
    std::string TextOf(HWND hWnd)
    {
        HTREEITEM i = ItemOf(hWnd);
        return i ? TreeText(tree, i) : "<not listed once>";
    }
    void Command(int id) { SendMessageA(page, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetDlgItem(page, id)); }
    void Select(HWND hWnd)
    {
        HTREEITEM i = ItemOf(hWnd);
        ASSERT_TRUE(i);
        SelectTreeItem(tree, i);
        ASSERT_EQ(hWnd, WindowsPageCurrent());
    }
    std::string Label(int id) { return DlgText(page, id); }
    static std::string ExeLabel()
    {
        char path[MAX_PATH];
        GetModuleFileNameA(NULL, path, sizeof(path));
        return std::string("(") + FileNamePart(path) + ")";
    }
};

} // namespace

TEST_F(WindowsPage, EveryWindowOnceUnderItsOwnParent)
{
    Hierarchy h;
    OpenPage(true);

    HTREEITEM root = TreeRoot(tree);
    ASSERT_TRUE(root);
    EXPECT_EQ(0, SendMessageA(tree, TVM_GETNEXTITEM, TVGN_NEXT, (LPARAM)root)) << "one root";
    EXPECT_EQ(GetDesktopWindow(), TreeWindow(tree, root));
    EXPECT_EQ("(Desktop)", TreeText(tree, root)) << "no class part on the desktop item";
    EXPECT_TRUE(TreeState(tree, root) & TVIS_EXPANDED);
    EXPECT_TRUE(TreeState(tree, root) & TVIS_SELECTED);
    EXPECT_EQ(GetDesktopWindow(), WindowsPageCurrent());
    EXPECT_EQ(GetFocus(), tree);

    // Every fixture window once, under the item of its direct parent; top-level windows, the
    // owned pop-up among them, under the desktop.
    for (HWND w : h.All()) {
        SCOPED_TRACE(testing::Message() << "window " << w);
        HTREEITEM i = ItemOf(w);
        ASSERT_TRUE(i);
        HWND parent = GetAncestor(w, GA_PARENT);
        EXPECT_EQ(parent, TreeWindow(tree, TreeParent(tree, i)));
    }
    EXPECT_EQ(root, TreeParent(tree, ItemOf(h.owned)));
    EXPECT_EQ(ItemOf(h.grandchild), TreeParent(tree, ItemOf(h.deep)));

    // No window is listed twice anywhere in the tree.
    std::vector<HWND> seen;
    for (HTREEITEM i : TreeItems(tree)) seen.push_back(TreeWindow(tree, i));
    std::sort(seen.begin(), seen.end());
    EXPECT_EQ(seen.end(), std::adjacent_find(seen.begin(), seen.end()));

    // Siblings in the platform's order.
    std::vector<HWND> expected;
    for (HWND c = GetWindow(h.top, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) expected.push_back(c);
    std::vector<HWND> listed;
    for (HTREEITEM c : TreeChildren(tree, ItemOf(h.top))) listed.push_back(TreeWindow(tree, c));
    EXPECT_EQ(expected, listed);

    EXPECT_EQ("\"Tree top\"    [VantixTreeTop]", TextOf(h.top));
    EXPECT_EQ("\"Deep static\"    [Static]", TextOf(h.deep));
    EXPECT_EQ("\"\"    [VantixTreeChild]", TextOf(h.untitled));
    EXPECT_EQ(ExeLabel() + "    [VantixTreeTop]", TextOf(h.untitledTop));
    // Top-level windows are visible, their children collapsed.
    EXPECT_FALSE(TreeState(tree, ItemOf(h.top)) & TVIS_EXPANDED);
}

TEST_F(WindowsPage, ShowClassOffAndOnRefillsAndResetsTheSelection)
{
    Hierarchy h;
    OpenPage(true);
    Select(h.child);

    CheckDlgButton(page, IDC_WIN_SHOWCLASS, BST_UNCHECKED);
    Command(IDC_WIN_SHOWCLASS);
    EXPECT_EQ(0u, g_Options.ShowClass);
    EXPECT_EQ("\"Tree top\"", TextOf(h.top));
    EXPECT_EQ("\"\"", TextOf(h.untitled));
    EXPECT_EQ(ExeLabel(), TextOf(h.untitledTop));
    EXPECT_EQ("(Desktop)", TreeText(tree, TreeRoot(tree)));
    EXPECT_EQ(GetDesktopWindow(), WindowsPageCurrent());
    EXPECT_TRUE(TreeState(tree, TreeRoot(tree)) & TVIS_SELECTED);
    // A refill keeps every item's picture.
    HIMAGELIST images = (HIMAGELIST)SendMessageA(tree, TVM_GETIMAGELIST, TVSIL_NORMAL, 0);
    ASSERT_TRUE(images);
    EXPECT_EQ(1, ImageList_GetImageCount(images));
    TVITEMA item;
    ZeroMemory(&item, sizeof(item));
    item.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    item.hItem = ItemOf(h.child);
    ASSERT_TRUE(SendMessageA(tree, TVM_GETITEMA, 0, (LPARAM)&item));
    EXPECT_EQ(0, item.iImage);

    Select(h.child);
    CheckDlgButton(page, IDC_WIN_SHOWCLASS, BST_CHECKED);
    Command(IDC_WIN_SHOWCLASS);
    EXPECT_EQ(1u, g_Options.ShowClass);
    EXPECT_EQ("\"Tree child\"    [VantixTreeChild]", TextOf(h.child));
    EXPECT_EQ(GetDesktopWindow(), WindowsPageCurrent());

    // The choice persists with the other settings.
    CloseMain();
    OptionsRecord stored;
    ASSERT_EQ(sizeof(stored), ReadStoredSettings(&stored, sizeof(stored)));
    EXPECT_EQ(1u, stored.ShowClass);
}

// An untitled top-level window is named after its program as the process lookup names it,
// whichever process it belongs to, including one that is not this test's.
TEST_F(WindowsPage, OwnerLabelsAreThoseOfTheProcessLookup)
{
    WindowsFixture other("owner label fixture", "");
    ASSERT_TRUE(other.Window());
    int compared = 0;
    bool otherSeen = false;
    for (HWND w = GetTopWindow(NULL); w; w = GetWindow(w, GW_HWNDNEXT)) {
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        std::string label = OwnerProcessLabel(w, true);
        std::string expected = std::string("(") + FileNamePart(ProcessEntryFor(pid)->szExeFile) + ")";
        // A window that went meanwhile has no process left to name.
        if (!IsWindow(w)) continue;
        EXPECT_EQ(expected, label) << "window " << w << " of process " << pid;
        EXPECT_EQ(expected.substr(1, expected.size() - 2), OwnerProcessLabel(w, false));
        compared++;
        otherSeen = otherSeen || pid == other.Pid();
    }
    EXPECT_GT(compared, 2);
    EXPECT_TRUE(otherSeen);
    EXPECT_STREQ("(windows_fixture)", OwnerProcessLabel(other.Window(), true));
}

TEST_F(WindowsPage, LongTitlesAreCutCleanly)
{
    Hierarchy h;
    std::string longTitle(1013, 'T');
    longTitle[1000] = 'E';
    SetWindowTextA(h.child, longTitle.c_str());
    std::string medium(1010, 'M');
    SetWindowTextA(h.grandchild, medium.c_str());
    OpenPage(true);

    // 1013 characters, quotes and class do not fit 1023: the title gives way, the class stays.
    std::string text = TextOf(h.child);
    EXPECT_EQ(1023u, text.size());
    EXPECT_EQ("\"TTTT", text.substr(0, 5));
    EXPECT_EQ("...\"    [VantixTreeChild]", text.substr(text.size() - 25));

    // Without the class part the whole title fits.
    CheckDlgButton(page, IDC_WIN_SHOWCLASS, BST_UNCHECKED);
    Command(IDC_WIN_SHOWCLASS);
    EXPECT_EQ("\"" + longTitle + "\"", TextOf(h.child));
    EXPECT_EQ("\"" + medium + "\"", TextOf(h.grandchild));
}

TEST_F(WindowsPage, ChildAndOwnedWindowsAskBeforeTheyChange)
{
    Hierarchy h;
    OpenPage(false);
    EXPECT_EQ("Minimize", Label(IDC_WIN_MINIMIZE));

    Select(h.child);
    EXPECT_EQ("Hide", Label(IDC_WIN_HIDE));
    for (int id : {IDC_WIN_CLOSE, IDC_WIN_MINIMIZE, IDC_WIN_HIDE, IDC_WIN_ONTOP}) {
        MessageBoxAnswerer no(IDNO);
        Command(id);
        ASSERT_EQ(1u, no.Boxes().size()) << id;
        EXPECT_EQ("Warning (Vantix)", no.Boxes()[0].caption);
        EXPECT_EQ("Do you really want to modify\na child window?", no.Boxes()[0].text);
    }
    EXPECT_TRUE(IsWindowVisible(h.child));
    EXPECT_TRUE(IsWindow(h.child));
    {
        MessageBoxAnswerer yes(IDYES);
        Command(IDC_WIN_HIDE);
        EXPECT_EQ(1u, yes.Boxes().size());
    }
    EXPECT_FALSE(IsWindowVisible(h.child));
    EXPECT_EQ("Show", Label(IDC_WIN_HIDE));

    // Switching to a child asks too (the Window Information dialog's command).
    {
        MessageBoxAnswerer no(IDNO);
        WindowCommand(h.child, IDC_WI_SWITCH);
        EXPECT_EQ(1u, no.Boxes().size());
    }

    // An owned pop-up is subordinate as well.
    Select(h.owned);
    {
        MessageBoxAnswerer no(IDNO);
        Command(IDC_WIN_ONTOP);
        ASSERT_EQ(1u, no.Boxes().size());
        EXPECT_EQ("Do you really want to modify\na child window?", no.Boxes()[0].text);
    }
    EXPECT_FALSE(GetWindowLongA(h.owned, GWL_EXSTYLE) & WS_EX_TOPMOST);

    // The desktop asks its own question.
    SelectTreeItem(tree, TreeRoot(tree));
    {
        MessageBoxAnswerer no(IDNO);
        Command(IDC_WIN_HIDE);
        ASSERT_EQ(1u, no.Boxes().size());
        EXPECT_EQ("Do you really want to modify\nthe desktop window?", no.Boxes()[0].text);
    }
    EXPECT_TRUE(IsWindowVisible(GetDesktopWindow()));

    // With warnings skipped nothing is asked.
    g_Options.SkipWarnings = 1;
    Select(h.props);
    {
        MessageBoxAnswerer yes(IDYES);
        Command(IDC_WIN_HIDE);
        EXPECT_EQ(0u, yes.Boxes().size());
    }
    EXPECT_FALSE(IsWindowVisible(h.props));
}

TEST_F(WindowsPage, TopLevelWindowsChangeWithoutQuestionsAndLabelsFollow)
{
    Hierarchy h;
    OpenPage(false);
    Select(h.top);
    EXPECT_EQ("Top most", Label(IDC_WIN_ONTOP));
    MessageBoxAnswerer yes(IDYES);

    Command(IDC_WIN_ONTOP);
    EXPECT_TRUE(GetWindowLongA(h.top, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ("Not top most", Label(IDC_WIN_ONTOP));
    Command(IDC_WIN_ONTOP);
    EXPECT_FALSE(GetWindowLongA(h.top, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ("Top most", Label(IDC_WIN_ONTOP));

    Command(IDC_WIN_MINIMIZE);
    EXPECT_TRUE(IsIconic(h.top));
    EXPECT_EQ("Restore", Label(IDC_WIN_MINIMIZE));
    Command(IDC_WIN_MINIMIZE);
    EXPECT_FALSE(IsIconic(h.top));
    EXPECT_EQ("Minimize", Label(IDC_WIN_MINIMIZE));

    Command(IDC_WIN_HIDE);
    EXPECT_FALSE(IsWindowVisible(h.top));
    EXPECT_EQ("Show", Label(IDC_WIN_HIDE));
    Command(IDC_WIN_HIDE);
    EXPECT_TRUE(IsWindowVisible(h.top));
    EXPECT_EQ(0u, yes.Boxes().size());

    // Close: the window goes, the tree stays as it was until the user refreshes.
    int items = (int)TreeItems(tree).size();
    Command(IDC_WIN_CLOSE);
    EXPECT_FALSE(IsWindow(h.top));
    EXPECT_EQ(0u, yes.Boxes().size());
    EXPECT_EQ(items, (int)TreeItems(tree).size());
    EXPECT_EQ("Minimize", Label(IDC_WIN_MINIMIZE));
    EXPECT_EQ("Show", Label(IDC_WIN_HIDE));
    EXPECT_EQ("Top most", Label(IDC_WIN_ONTOP));

    // A command on the window that has gone reports it; a key that reaches the page does not.
    Command(IDC_WIN_MINIMIZE);
    ASSERT_EQ(1u, yes.Boxes().size());
    EXPECT_EQ("Error in Vantix", yes.Boxes()[0].caption);
    EXPECT_EQ("Window no longer exists", yes.Boxes()[0].text);
    SendMessageA(page, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(1u, yes.Boxes().size());

    SendMessageA(page, WM_COMMAND, IDC_MAIN_REFRESH, 0);
    EXPECT_TRUE(ItemsOfWindow(tree, h.top).empty());
    EXPECT_TRUE(ItemsOfWindow(tree, h.child).empty());
    EXPECT_EQ(GetDesktopWindow(), WindowsPageCurrent());
}

TEST_F(WindowsPage, InformationButtonsOpenTheirDialogs)
{
    Hierarchy h;
    OpenPage(false);
    Select(h.props);
    auto before = ThreadDialogs("Window Information");
    Command(IDC_WIN_WINDOW);
    HWND info = NewDialog("Window Information", before);
    ASSERT_TRUE(info);
    char handle[16];
    wsprintfA(handle, "%04X", HandleValue(h.props));
    EXPECT_EQ(handle, DlgText(info, IDC_WI_HANDLE));

    Command(IDC_WIN_CLASS);
    EXPECT_EQ(1u, ThreadDialogs("Class Information").size());
    Command(IDC_WIN_PROCESS);
    auto procs = ThreadDialogs("Process Information");
    ASSERT_EQ(1u, procs.size());
    EXPECT_EQ(Hex4(GetCurrentProcessId()), DlgText(procs[0], IDC_PI_ID));
    Command(IDC_WIN_MODULE);
    EXPECT_EQ(1u, ThreadDialogs("Module Information").size());
    // The main dialog closes them all when it closes.
    CloseMain();
    EXPECT_FALSE(IsWindow(info));
    EXPECT_TRUE(ThreadDialogs("Class Information").empty());
}

TEST(TreeItemText, BuiltInBoundedBuffersAndCutOnWholeCharacters)
{
    char out[32];
    FormatTreeItemText(out, sizeof(out), "Title", true, NULL);
    EXPECT_STREQ("\"Title\"", out);
    FormatTreeItemText(out, sizeof(out), "Title", true, "Edit");
    EXPECT_STREQ("\"Title\"    [Edit]", out);
    FormatTreeItemText(out, sizeof(out), "(notepad)", false, "Notepad");
    EXPECT_STREQ("(notepad)    [Notepad]", out);
    FormatTreeItemText(out, sizeof(out), "", true, NULL);
    EXPECT_STREQ("\"\"", out);
    // 31 characters of room: quotes 2, class part 12, cut mark 3, so the title keeps 14.
    FormatTreeItemText(out, sizeof(out), "abcdefghijklmnopqrstuvwxyz", true, "Button");
    EXPECT_STREQ("\"abcdefghijklmn...\"    [Button]", out);
    EXPECT_EQ(31u, strlen(out));
    // Exactly full is not cut.
    FormatTreeItemText(out, sizeof(out), "abcdefghijklmnopq", true, "Button");
    EXPECT_STREQ("\"abcdefghijklmnopq\"    [Button]", out);
    // A class part that alone overfills the buffer is cut too, never overrun.
    char tiny[8];
    FormatTreeItemText(tiny, sizeof(tiny), "abc", true, "SysListView32");
    EXPECT_EQ(7u, strlen(tiny));
    EXPECT_EQ('"', tiny[0]);

    // A double-byte character is never split: 14 bytes of room end inside the pair 0x82 0xA0.
    std::string title = std::string("abcdefghijklm") + "\x82\xA0" + "pqrstuvw";
    FormatTreeItemTextIn(932, out, sizeof(out), title.c_str(), true, "Button");
    EXPECT_STREQ("\"abcdefghijklm...\"    [Button]", out);
    // In a single-byte code page the same bytes are two characters.
    FormatTreeItemTextIn(1252, out, sizeof(out), title.c_str(), true, "Button");
    EXPECT_STREQ("\"abcdefghijklm\x82...\"    [Button]", out);
}

TEST(TreeItemText, TheCloakedMarkFollowsTheTitleAndOutlastsACut)
{
    char out[40];
    FormatTreeItemText(out, sizeof(out), "Title", true, NULL, "(cloaked)");
    EXPECT_STREQ("\"Title\" (cloaked)", out);
    FormatTreeItemText(out, sizeof(out), "(store)", false, "Frame", "(cloaked)");
    EXPECT_STREQ("(store) (cloaked)    [Frame]", out);
    // 39 characters of room: quotes 2, mark 10, class part 11, cut mark 3, so the title keeps 13.
    FormatTreeItemText(out, sizeof(out), "abcdefghijklmnopqrstuvwxyz", true, "Frame", "(cloaked)");
    EXPECT_STREQ("\"abcdefghijklm...\" (cloaked)    [Frame]", out);
    EXPECT_EQ(39u, strlen(out));
    // Exactly full is not cut.
    FormatTreeItemText(out, sizeof(out), "abcdefghijklmnop", true, "Frame", "(cloaked)");
    EXPECT_STREQ("\"abcdefghijklmnop\" (cloaked)    [Frame]", out);
    char tiny[8];
    FormatTreeItemText(tiny, sizeof(tiny), "abc", true, "Frame", "(cloaked)");
    EXPECT_EQ(7u, strlen(tiny)) << "never overrun";
}

TEST_F(WindowsPage, WindowsKeptOffTheScreenAreMarkedAsCloaked)
{
    Hierarchy h;
    CompositedDesktop dwm;
    dwm.SetCloaked(h.top);
    dwm.SetCloaked(h.untitledTop, 2);
    // Cloaking is the window manager's word on top-level windows; a child is not asked.
    dwm.SetCloaked(h.child);
    OpenPage(true);
    SendMessageA(tree, TVM_ENSUREVISIBLE, 0, (LPARAM)ItemOf(h.top));
    SaveWindowShot(g_hMainDlg, "windows_page_cloaked");

    EXPECT_EQ("\"Tree top\" (cloaked)    [VantixTreeTop]", TextOf(h.top));
    EXPECT_EQ(ExeLabel() + " (cloaked)    [VantixTreeTop]", TextOf(h.untitledTop));
    EXPECT_EQ("\"Popup owner\"    [VantixTreeTop]", TextOf(h.owner)) << "a window on the screen has no mark";
    EXPECT_EQ("\"Tree child\"    [VantixTreeChild]", TextOf(h.child));
    EXPECT_EQ("(Desktop)", TreeText(tree, TreeRoot(tree)));
    EXPECT_GT(dwm.CloakQuestions(), 0);

    // Without the class part the mark stays.
    CheckDlgButton(page, IDC_WIN_SHOWCLASS, BST_UNCHECKED);
    Command(IDC_WIN_SHOWCLASS);
    EXPECT_EQ("\"Tree top\" (cloaked)", TextOf(h.top));
}

TEST(WindowHandles, FieldValuesAndBack)
{
    EXPECT_EQ(HWND_TOPMOST, HandleFromValue(0xFFFFFFFF));
    EXPECT_EQ(HWND_NOTOPMOST, HandleFromValue(0xFFFFFFFE));
    EXPECT_EQ(HWND_BOTTOM, HandleFromValue(1));
    EXPECT_EQ(HWND_TOP, HandleFromValue(0));
    EXPECT_EQ((HWND)(ULONG_PTR)0x1234, HandleFromValue(0x1234));
    EXPECT_EQ(0x1234u, HandleValue((HWND)(ULONG_PTR)0x1234));
}
