// The Window Information and Class Information dialogs from their real templates, on windows
// and classes of the test's own.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>
#include <string.h>
#include <algorithm>
#include <string>
#include "hierarchy.h"
#include "support/composited.h"
#include "support/controls.h"
#include "support/pictures.h"
#include "support/dialogs.h"
#include "support/testing.h"
#include "support/settings.h"
#include "processes/snapshot.h"
#include "windows/class_info.h"
#include "windows/names.h"
#include "windows/window_commands.h"
#include "windows/window_info.h"
#include "windows/window_query.h"
#include "windows/windows_page.h"
#include "resource.h"

namespace {

std::string Hex4Of(HWND h)
{
    char buf[16];
    wsprintfA(buf, "%04X", HandleValue(h));
    return buf;
}

std::string PointerHex(ULONG_PTR v)
{
    char buf[24];
    FormatPointerHex(v, buf, sizeof(buf));
    return buf;
}

std::string Corner(LONG x, LONG y)
{
    char buf[64];
    wsprintfA(buf, "(%d,%d)", (int)x, (int)y);
    return buf;
}

class InfoDialogTest : public testing::Test {
protected:
    SettingsGuard settings;
    void SetUp() override { InitCommonControls(); }
    void TearDown() override
    {
        for (const char* c : {"Window Information", "Class Information", "Process Information", "Module Information"})
            for (HWND d : ThreadDialogs(c)) DestroyWindow(d);
    }
    // Opens the Window Information dialog for a window and returns it.
    static HWND OpenInfo(HWND hWnd)
    {
        auto before = ThreadDialogs("Window Information");
        OpenWindowInfo(hWnd);
        return NewDialog("Window Information", before);
    }
};

} // namespace

TEST_F(InfoDialogTest, WindowInformationShowsEveryField)
{
    Hierarchy h;
    HWND dlg = OpenInfo(h.props);
    ASSERT_TRUE(dlg);
    EXPECT_EQ(NULL, GetWindow(dlg, GW_OWNER));
    EXPECT_EQ("Props child", DlgText(dlg, IDC_WI_TITLE));
    EXPECT_EQ(Hex4Of(h.props), DlgText(dlg, IDC_WI_HANDLE));
    EXPECT_EQ(Hex4Of(h.top), DlgText(dlg, IDC_WI_PARENT));
    EXPECT_EQ("VantixTreeChild", DlgText(dlg, IDC_WI_CLASS));
    EXPECT_EQ("1234", DlgText(dlg, IDC_WI_ID));
    RECT wr, cr;
    GetWindowRect(h.props, &wr);
    GetClientRect(h.props, &cr);
    EXPECT_EQ(Corner(wr.left, wr.top), DlgText(dlg, IDC_WI_TOPLEFT));
    EXPECT_EQ(Corner(wr.right, wr.bottom), DlgText(dlg, IDC_WI_BOTTOMRIGHT));
    EXPECT_EQ(std::to_string(cr.right), DlgText(dlg, IDC_WI_WIDTH));
    EXPECT_EQ(std::to_string(cr.bottom), DlgText(dlg, IDC_WI_HEIGHT));
    EXPECT_EQ("Style: 50000000 (Extra: 00000200)", DlgText(dlg, IDC_WI_STYLEGROUP));
    EXPECT_EQ("WS_CHILD WS_VISIBLE \r\n(WS_EX_CLIENTEDGE )", DlgText(dlg, IDC_WI_STYLES));

    // One line per property: its data at full pointer width, then its name.
    std::string props = DlgText(dlg, IDC_WI_PROPERTIES);
    EXPECT_NE(std::string::npos, props.find(PointerHex(PROP_ONE_VALUE) + " = VantixPropOne\r\n")) << props;
    EXPECT_NE(std::string::npos, props.find(PointerHex(PROP_TWO_VALUE) + " = VantixPropTwo\r\n")) << props;
    EXPECT_EQ(2, (int)std::count(props.begin(), props.end(), '\n')) << props;
#ifdef _WIN64
    EXPECT_NE(std::string::npos, props.find("00000000000012AB = VantixPropOne"));
#else
    EXPECT_NE(std::string::npos, props.find("000012AB = VantixPropOne"));
#endif

    EXPECT_EQ("Minimize", DlgText(dlg, IDC_WI_MINIMIZE));
    EXPECT_EQ("Hide", DlgText(dlg, IDC_WI_HIDE));
    EXPECT_EQ("Top most", DlgText(dlg, IDC_WI_ONTOP));

    // A window without properties; a pop-up with style 94000000 and no extended style.
    HWND none = OpenInfo(h.child);
    ASSERT_TRUE(none);
    EXPECT_EQ("<None>", DlgText(none, IDC_WI_PROPERTIES));
    HWND popup = CreateWindowExA(0, "VantixTreeTop", "Plain popup", WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS,
                                 100, 500, 60, 40, NULL, NULL, GetModuleHandleA(NULL), NULL);
    HWND pd = OpenInfo(popup);
    ASSERT_TRUE(pd);
    EXPECT_EQ("Style: 94000000 (Extra: 00000000)", DlgText(pd, IDC_WI_STYLEGROUP));
    EXPECT_EQ("WS_POPUP WS_VISIBLE WS_CLIPSIBLINGS ", DlgText(pd, IDC_WI_STYLES));
    EXPECT_EQ("0000", DlgText(pd, IDC_WI_PARENT));
    DestroyWindow(popup);
}

// The row of the visible frame: shown, with the dialog grown to hold it, only where the frame
// differs from the window rectangle.
static bool FrameRowShown(HWND dlg)
{
    HWND field = GetDlgItem(dlg, IDC_WI_FRAME);
    if (!IsWindowVisible(field) || !IsWindowVisible(GetDlgItem(dlg, IDC_WI_FRAMELABEL))) return false;
    RECT f = WindowRect(field), c;
    GetClientRect(dlg, &c);
    MapWindowPoints(dlg, NULL, (POINT*)&c, 2);
    RECT both;
    return IntersectRect(&both, &f, &c) && EqualRect(&both, &f);
}

static int Height(HWND w)
{
    RECT rc = WindowRect(w);
    return rc.bottom - rc.top;
}

TEST_F(InfoDialogTest, AVisibleFrameThatDiffersShowsInARowOfItsOwnBelowTheRest)
{
    Hierarchy h;
    HWND plain = OpenInfo(h.owner);
    ASSERT_TRUE(plain);
    CompositedDesktop dwm;
    RECT wr = WindowRect(h.top);
    RECT frame = dwm.InsetFrame(h.top, 7, 0, 7, 7);
    HWND dlg = OpenInfo(h.top);
    ASSERT_TRUE(dlg);
    if (ShotsWanted()) {
        // For looking at only: the dialog as the display shows it once it stopped changing.
        Picture last;
        PumpUntil([&] {
            Picture now = ScreenPicture(WindowRect(dlg));
            bool same = PictureDifference(now, last) == 0;
            last = now;
            return same;
        }, 3000);
        SaveWindowShot(dlg, "window_info_frame");
    }

    EXPECT_EQ(Corner(wr.left, wr.top), DlgText(dlg, IDC_WI_TOPLEFT)) << "the corners keep the window rectangle";
    EXPECT_EQ(Corner(wr.right, wr.bottom), DlgText(dlg, IDC_WI_BOTTOMRIGHT));
    EXPECT_EQ(Corner(frame.left, frame.top) + "-" + Corner(frame.right, frame.bottom), DlgText(dlg, IDC_WI_FRAME));
    EXPECT_EQ("Visible frame:", DlgText(dlg, IDC_WI_FRAMELABEL));
    EXPECT_TRUE(FrameRowShown(dlg)) << "the row shows whole inside the dialog";
    int grown = Height(dlg) - Height(plain);
    EXPECT_GT(grown, 0) << "the dialog grew by the row";
    RECT close = WindowRect(GetDlgItem(dlg, IDCANCEL)), closePlain = WindowRect(GetDlgItem(plain, IDCANCEL));
    EXPECT_EQ(close.top - WindowRect(dlg).top, closePlain.top - WindowRect(plain).top) << "nothing else moved";

    // A dialog of a window whose frame is its rectangle is the dialog as ever.
    EXPECT_FALSE(FrameRowShown(plain));
    EXPECT_EQ("", DlgText(plain, IDC_WI_FRAME));

    // Refresh follows the window manager: the same frame as the rectangle takes the row away
    // and the dialog back to its height, a differing one brings both back once.
    dwm.SetFrame(h.top, wr);
    SendMessageA(dlg, WM_COMMAND, IDC_WI_REFRESH, 0);
    EXPECT_FALSE(FrameRowShown(dlg));
    EXPECT_EQ(Height(plain), Height(dlg));
    dwm.SetFrame(h.top, frame);
    SendMessageA(dlg, WM_COMMAND, IDC_WI_REFRESH, 0);
    SendMessageA(dlg, WM_COMMAND, IDC_WI_REFRESH, 0);
    EXPECT_TRUE(FrameRowShown(dlg));
    EXPECT_EQ(Height(plain) + grown, Height(dlg)) << "grown once, not per refresh";

    // A window that has gone shows nothing of its frame.
    DestroyWindow(h.top);
    h.top = NULL;
    SendMessageA(dlg, WM_COMMAND, IDC_WI_REFRESH, 0);
    EXPECT_FALSE(FrameRowShown(dlg));
    EXPECT_EQ(Height(plain), Height(dlg));
}

TEST_F(InfoDialogTest, ParentButtonOpensTheParentOrTheOwner)
{
    Hierarchy h;
    HWND dlg = OpenInfo(h.child);
    ASSERT_TRUE(dlg);
    auto before = ThreadDialogs("Window Information");
    PressButton(dlg, IDC_WI_PARENTBUTTON);
    HWND parent = NewDialog("Window Information", before);
    ASSERT_TRUE(parent);
    EXPECT_EQ(Hex4Of(h.top), DlgText(parent, IDC_WI_HANDLE));

    // A top-level unowned window has no parent: nothing opens.
    before = ThreadDialogs("Window Information");
    PressButton(parent, IDC_WI_PARENTBUTTON);
    EXPECT_EQ(before.size(), ThreadDialogs("Window Information").size());

    // An owned pop-up's parent is its owner.
    HWND owned = OpenInfo(h.owned);
    ASSERT_TRUE(owned);
    EXPECT_EQ(Hex4Of(h.owner), DlgText(owned, IDC_WI_PARENT));
    before = ThreadDialogs("Window Information");
    PressButton(owned, IDC_WI_PARENTBUTTON);
    HWND owner = NewDialog("Window Information", before);
    ASSERT_TRUE(owner);
    EXPECT_EQ(Hex4Of(h.owner), DlgText(owner, IDC_WI_HANDLE));
}

TEST_F(InfoDialogTest, CommandsActRefreshAndCloseTheDialogWhenTheWindowGoes)
{
    Hierarchy h;
    HWND dlg = OpenInfo(h.top);
    HWND second = OpenInfo(h.top);
    ASSERT_TRUE(dlg && second);
    MessageBoxAnswerer yes(IDYES);

    PressButton(dlg, IDC_WI_MINIMIZE);
    EXPECT_TRUE(IsIconic(h.top));
    EXPECT_EQ("Restore", DlgText(dlg, IDC_WI_MINIMIZE));
    // The other dialog of the same window does not refresh by itself.
    EXPECT_EQ("Minimize", DlgText(second, IDC_WI_MINIMIZE));
    PressButton(second, IDC_WI_REFRESH);
    EXPECT_EQ("Restore", DlgText(second, IDC_WI_MINIMIZE));
    PressButton(dlg, IDC_WI_MINIMIZE);
    EXPECT_FALSE(IsIconic(h.top));

    PressButton(dlg, IDC_WI_ONTOP);
    EXPECT_TRUE(GetWindowLongA(h.top, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ("Not top most", DlgText(dlg, IDC_WI_ONTOP));
    EXPECT_NE(std::string::npos, DlgText(dlg, IDC_WI_STYLES).find("WS_EX_TOPMOST"));
    PressButton(dlg, IDC_WI_ONTOP);
    EXPECT_EQ(0u, yes.Boxes().size()) << "a top-level unowned window asks nothing";

    // The title is read again on refresh.
    SetWindowTextA(h.top, "Renamed top");
    PressButton(dlg, IDC_WI_REFRESH);
    EXPECT_EQ("Renamed top", DlgText(dlg, IDC_WI_TITLE));

    // A child asks first; closing it makes the dialog close itself.
    HWND child = OpenInfo(h.untitled);
    ASSERT_TRUE(child);
    PressButton(child, IDC_WI_CLOSE);
    ASSERT_EQ(1u, yes.Boxes().size());
    EXPECT_EQ("Do you really want to modify\na child window?", yes.Boxes()[0].text);
    EXPECT_FALSE(IsWindow(h.untitled));
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(child); }, 3000)) << "the dialog closed itself";

    // Refresh after the window went elsewhere: no message, the handle stays.
    DestroyWindow(h.top);
    PressButton(dlg, IDC_WI_REFRESH);
    EXPECT_EQ(1u, yes.Boxes().size());
    EXPECT_EQ(Hex4Of(h.top), DlgText(dlg, IDC_WI_HANDLE));
    EXPECT_EQ("Window no longer exists", DlgText(dlg, IDC_WI_STYLEGROUP));
    EXPECT_EQ("", DlgText(dlg, IDC_WI_CLASS));
    // A command on it reports the loss and the dialog closes.
    PressButton(second, IDC_WI_HIDE);
    ASSERT_EQ(2u, yes.Boxes().size());
    EXPECT_EQ("Window no longer exists", yes.Boxes()[1].text);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(second); }, 3000));
    EXPECT_TRUE(IsWindow(dlg));
    // Refresh never closes it; Close does.
    PressButton(dlg, IDCANCEL);
    EXPECT_FALSE(IsWindow(dlg));
}

TEST_F(InfoDialogTest, InformationCommandsOpenTheOtherDialogs)
{
    Hierarchy h;
    HWND dlg = OpenInfo(h.props);
    ASSERT_TRUE(dlg);
    PressButton(dlg, IDC_WI_CLASSINFO);
    EXPECT_EQ(1u, ThreadDialogs("Class Information").size());
    PressButton(dlg, IDC_WI_PROCESS);
    EXPECT_EQ(1u, ThreadDialogs("Process Information").size());
    PressButton(dlg, IDC_WI_MODULE);
    EXPECT_EQ(1u, ThreadDialogs("Module Information").size());
    // The Style editor's button refreshes the dialog when the editor returns (closed unchanged
    // here as soon as it shows).
    SetWindowTextA(h.props, "After style");
    ActInModal("Style of window", [](HWND editor) { PressButton(editor, IDCANCEL); });
    PressButton(dlg, IDC_WI_STYLE);
    CancelModalAct();
    EXPECT_EQ("After style", DlgText(dlg, IDC_WI_TITLE));
    EXPECT_TRUE(IsWindow(dlg));
}

TEST(PropertyLines, IntegerAtomsAndCutLists)
{
    char line[64];
    FormatPropertyLine(line, sizeof(line), 0x12AB, "Name");
    EXPECT_EQ(PointerHex(0x12AB) + " = Name\r\n", line);
    FormatPropertyLine(line, sizeof(line), 5, MAKEINTATOM(0x1234));
    EXPECT_EQ(PointerHex(5) + " = #4660\r\n", line);

    // A child: Wine gives top-level windows a property of its own.
    HWND host = CreateWindowExA(0, "Static", "host", WS_POPUP, 0, 0, 10, 10, NULL, NULL, NULL, NULL);
    HWND w = CreateWindowExA(0, "Static", "props", WS_CHILD, 0, 0, 10, 10, host, NULL, NULL, NULL);
    ASSERT_TRUE(w);
    char text[PROPERTY_TEXT_CHARS];
    PropertyListText(w, "<None>", text, sizeof(text));
    EXPECT_STREQ("<None>", text);
    for (int i = 0; i < 40; i++) {
        char name[32];
        wsprintfA(name, "VantixManyProps%02d", i);
        SetPropA(w, name, (HANDLE)(ULONG_PTR)(i + 1));
    }
    char small[200];
    PropertyListText(w, "<None>", small, sizeof(small));
    std::string s = small;
    EXPECT_LT(s.size(), sizeof(small));
    EXPECT_EQ("...", s.substr(s.size() - 3)) << s;
    // Whole lines before the cut mark.
    EXPECT_EQ('\n', s[s.size() - 4]);
    PropertyListText(w, "<None>", text, sizeof(text));
    EXPECT_EQ(std::string::npos, std::string(text).find("...")) << "40 lines fit the field";
    DestroyWindow(host);
}

// ---- Class Information

namespace {

LRESULT CALLBACK ProbeProc(HWND h, UINT m, WPARAM w, LPARAM l)
{
    return DefWindowProcA(h, m, w, l);
}

HWND MakeClassWindow(const char* cls, UINT style, HBRUSH brush, HICON icon, const char* menu)
{
    WNDCLASSEXA wc;
    ZeroMemory(&wc, sizeof(wc));
    wc.cbSize = sizeof(wc);
    wc.style = style;
    wc.lpfnWndProc = ProbeProc;
    wc.cbClsExtra = 8;
    wc.cbWndExtra = 16;
    wc.hInstance = GetModuleHandleA(NULL);
    wc.hIcon = icon;
    wc.hCursor = LoadCursorA(NULL, IDC_ARROW);
    wc.hbrBackground = brush;
    wc.lpszMenuName = menu;
    wc.lpszClassName = cls;
    if (!RegisterClassExA(&wc)) return NULL;
    return CreateWindowExA(0, cls, "class probe", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 640, 420, 200, 100, NULL,
                           NULL, wc.hInstance, NULL);
}

class ClassDialogTest : public InfoDialogTest {};

} // namespace

TEST_F(ClassDialogTest, ClassFieldsStockNamesAndSwatch)
{
    HWND w = MakeClassWindow("VantixClassProbe", CS_DBLCLKS | 0x400, (HBRUSH)(COLOR_WINDOW + 1), NULL, "VANTIXMENU");
    ASSERT_TRUE(w);
    HWND dlg = OpenClassDialog(w);
    ASSERT_TRUE(dlg);
    EXPECT_EQ(NULL, GetWindow(dlg, GW_OWNER));
    EXPECT_EQ(w, g_hClassWindow);
    EXPECT_STREQ("VantixClassProbe", g_szClassName);
    EXPECT_EQ("VantixClassProbe", DlgText(dlg, IDC_CI_NAME));
    char self[MAX_PATH];
    GetModuleFileNameA(NULL, self, sizeof(self));
    EXPECT_EQ(FileNamePart(self), DlgText(dlg, IDC_CI_PROCESS)) << "bare: no parentheses, no extension";
    EXPECT_EQ(PointerHex((ULONG_PTR)GetModuleHandleA(NULL)), DlgText(dlg, IDC_CI_INSTANCE));
    EXPECT_EQ(PointerHex(GetClassLongPtrA(w, GCLP_MENUNAME)), DlgText(dlg, IDC_CI_MENU));
    EXPECT_EQ("8", DlgText(dlg, IDC_CI_CLASSEXTRA));
    EXPECT_EQ("16", DlgText(dlg, IDC_CI_WINDOWEXTRA));
    EXPECT_EQ(PointerHex(0), DlgText(dlg, IDC_CI_ICONNAME)) << "no icon";
    EXPECT_EQ(0, SendDlgItemMessageA(dlg, IDC_CI_ICON, STM_GETICON, 0, 0));
    EXPECT_EQ("IDC_ARROW", DlgText(dlg, IDC_CI_CURSORNAME));
    EXPECT_EQ((LRESULT)LoadCursorA(NULL, IDC_ARROW), SendDlgItemMessageA(dlg, IDC_CI_CURSOR, STM_GETICON, 0, 0));
    EXPECT_EQ("Style (00000408)", DlgText(dlg, IDC_CI_STYLELABEL));
    EXPECT_EQ("CS_DBLCLKS <Undocumented>", DlgText(dlg, IDC_CI_STYLES));
    EXPECT_EQ("COLOR_WINDOW+1", DlgText(dlg, IDC_CI_BRUSHNAME));
    EXPECT_EQ("6", DlgText(dlg, IDC_CI_BRUSH));

    // The swatch is painted in the window colour.
    HWND swatch = GetDlgItem(dlg, IDC_CI_BRUSH);
    SetForegroundWindow(dlg);
    RedrawWindow(swatch, NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
    RECT rc;
    GetClientRect(swatch, &rc);
    HDC dc = GetDC(swatch);
    COLORREF c = GetPixel(dc, rc.right / 2, rc.bottom / 2);
    ReleaseDC(swatch, dc);
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), c);

    // A second dialog is a snapshot of its own.
    HWND again = OpenClassDialog(w);
    ASSERT_TRUE(again);
    EXPECT_TRUE(IsWindow(dlg));
    PressButton(again, IDCANCEL);
    EXPECT_FALSE(IsWindow(again));
    DestroyWindow(w);
}

TEST_F(ClassDialogTest, StockIconBrushAndSystemDialogClass)
{
    HICON question = LoadIconA(NULL, IDI_QUESTION);
    HWND w = MakeClassWindow("VantixClassStock", 0, (HBRUSH)GetStockObject(BLACK_BRUSH), question, NULL);
    ASSERT_TRUE(w);
    HWND dlg = OpenClassDialog(w);
    ASSERT_TRUE(dlg);
    EXPECT_EQ("IDI_QUESTION", DlgText(dlg, IDC_CI_ICONNAME));
    EXPECT_EQ((LRESULT)question, SendDlgItemMessageA(dlg, IDC_CI_ICON, STM_GETICON, 0, 0));
    EXPECT_EQ(PointerHex(GetClassLongPtrA(w, GCLP_HICONSM)), DlgText(dlg, IDC_CI_SMALLICONNAME));
    EXPECT_EQ("BLACK_BRUSH", DlgText(dlg, IDC_CI_BRUSHNAME));
    EXPECT_EQ(PointerHex(0), DlgText(dlg, IDC_CI_MENU));
    EXPECT_EQ("Style (00000000)", DlgText(dlg, IDC_CI_STYLELABEL));
    EXPECT_EQ("", DlgText(dlg, IDC_CI_STYLES));

    // A dialog's class is the system's #32770.
    HWND cd = OpenClassDialog(dlg);
    ASSERT_TRUE(cd);
    EXPECT_EQ("#32770 (Dialog)", DlgText(cd, IDC_CI_NAME));
    DestroyWindow(w);
}

TEST_F(ClassDialogTest, GoneWindowShowsTheSystemErrorAndNoDialog)
{
    HWND w = CreateWindowExA(0, "Static", "gone", WS_POPUP, 0, 0, 10, 10, NULL, NULL, NULL, NULL);
    DestroyWindow(w);
    MessageBoxAnswerer ok(IDOK);
    auto before = ThreadDialogs("Class Information");
    EXPECT_EQ(NULL, OpenClassDialog(w));
    EXPECT_EQ(before.size(), ThreadDialogs("Class Information").size());
    ASSERT_EQ(1u, ok.Boxes().size());
    EXPECT_EQ("Error in Vantix", ok.Boxes()[0].caption);
    EXPECT_NE("", ok.Boxes()[0].text) << "the system's text for the error";
    // Through the window command the loss is named instead.
    WindowCommand(w, IDC_WI_CLASSINFO);
    ASSERT_EQ(2u, ok.Boxes().size());
    EXPECT_EQ("Window no longer exists", ok.Boxes()[1].text);
}
