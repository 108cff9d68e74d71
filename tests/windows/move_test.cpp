// The Move window dialog from its real template, run modally as the Window Information dialog
// runs it, on windows of the test's own.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>
#include <string>
#include "hierarchy.h"
#include "support/controls.h"
#include "support/dialogs.h"
#include "support/testing.h"
#include "app/settings.h"
#include "windows/move_window.h"
#include "windows/window_info.h"
#include "windows/window_query.h"
#include "windows/windows_page.h"
#include "resource.h"

namespace {

RECT RectInParent(HWND h)
{
    RECT rc;
    GetWindowRect(h, &rc);
    if (GetWindowLongA(h, GWL_STYLE) & WS_CHILD) MapWindowPoints(NULL, GetParent(h), (POINT*)&rc, 2);
    return rc;
}

class MoveDialog : public testing::Test {
protected:
    void SetUp() override { InitCommonControls(); }
    // Runs the dialog on target; act sets it up and ends it. Returns the dialog's result.
    static INT_PTR Run(HWND target, std::function<void(HWND)> act)
    {
        Hierarchy::s_posFlags.clear();
        ActInModal("Move window", act);
        return OpenMoveDialog(target, NULL);
    }
    // Position changes that reach the target carry at least the flags asked for; the low byte
    // holds the ones the dialog decides.
    static UINT LastFlags()
    {
        return Hierarchy::s_posFlags.empty() ? 0xFFFFFFFF : (Hierarchy::s_posFlags.back() & 0x3F);
    }
};

} // namespace

TEST_F(MoveDialog, OpensWithTheTargetsStateAndEveryGroupOff)
{
    Hierarchy h;
    bool seen = false;
    INT_PTR r = Run(h.child, [&](HWND dlg) {
        seen = true;
        char caption[64];
        wsprintfA(caption, "Move window %X", HandleValue(h.child));
        char text[64] = "";
        GetWindowTextA(dlg, text, sizeof(text));
        EXPECT_STREQ(caption, text);
        EXPECT_EQ("Tree child", DlgText(dlg, IDC_MW_TITLE));
        // A child's position is relative to its parent's client area.
        EXPECT_EQ("10", DlgText(dlg, IDC_MW_LEFT));
        EXPECT_EQ("20", DlgText(dlg, IDC_MW_TOP));
        EXPECT_EQ("200", DlgText(dlg, IDC_MW_WIDTH));
        EXPECT_EQ("120", DlgText(dlg, IDC_MW_HEIGHT));
        EXPECT_EQ("00000000", DlgText(dlg, IDC_MW_AFTER));
        for (int id : {IDC_MW_CHANGE, IDC_MW_MOVE, IDC_MW_SIZE, IDC_MW_ORDER, IDC_MW_ACTIVATE, IDC_MW_FRAME})
            EXPECT_EQ(BST_UNCHECKED, IsDlgButtonChecked(dlg, id)) << id;
        EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(dlg, IDC_MW_REDRAW));
        for (int id = IDC_MW_TITLELABEL; id <= IDC_MW_AFTER; id++) {
            if (id == IDC_MW_MOVE || id == IDC_MW_SIZE || id == IDC_MW_ORDER) continue;
            EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dlg, id))) << id;
        }
        // Each box governs its own group only.
        ClickCheckBox(dlg, IDC_MW_SIZE);
        for (int id : {IDC_MW_WIDTHLABEL, IDC_MW_WIDTH, IDC_MW_HEIGHTLABEL, IDC_MW_HEIGHT})
            EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dlg, id))) << id;
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dlg, IDC_MW_LEFT)));
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dlg, IDC_MW_TITLE)));
        ClickCheckBox(dlg, IDC_MW_SIZE);
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dlg, IDC_MW_WIDTH)));
        // Close changes nothing.
        SetDlgItemTextA(dlg, IDC_MW_TITLE, "Not applied");
        ClickCheckBox(dlg, IDC_MW_CHANGE);
        PressButton(dlg, IDCANCEL);
    });
    EXPECT_TRUE(seen);
    EXPECT_EQ(0, r);
    char title[64] = "";
    GetWindowTextA(h.child, title, sizeof(title));
    EXPECT_STREQ("Tree child", title);
    EXPECT_TRUE(Hierarchy::s_posFlags.empty());
}

TEST_F(MoveDialog, OkAppliesExactlyTheFlagsOfTheBoxes)
{
    Hierarchy h;
    RECT before = RectInParent(h.child);
    EXPECT_EQ(1, Run(h.child, [](HWND dlg) { PressButton(dlg, IDOK); }));
    ASSERT_EQ(1u, Hierarchy::s_posFlags.size()) << "one SetWindowPos call";
    EXPECT_EQ((UINT)(SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE), LastFlags());
    EXPECT_EQ(0x17u, LastFlags());
    RECT after = RectInParent(h.child);
    EXPECT_TRUE(EqualRect(&before, &after));

    Run(h.child, [](HWND dlg) {
        ClickCheckBox(dlg, IDC_MW_REDRAW);
        ClickCheckBox(dlg, IDC_MW_FRAME);
        PressButton(dlg, IDOK);
    });
    EXPECT_EQ((UINT)(SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW | SWP_FRAMECHANGED),
              LastFlags());

    // Move and size a child in its parent's coordinates.
    Run(h.child, [](HWND dlg) {
        ClickCheckBox(dlg, IDC_MW_MOVE);
        ClickCheckBox(dlg, IDC_MW_SIZE);
        SetDlgItemTextA(dlg, IDC_MW_LEFT, "30");
        SetDlgItemTextA(dlg, IDC_MW_TOP, "40");
        SetDlgItemTextA(dlg, IDC_MW_WIDTH, "150");
        SetDlgItemTextA(dlg, IDC_MW_HEIGHT, "90");
        PressButton(dlg, IDOK);
    });
    EXPECT_EQ((UINT)(SWP_NOZORDER | SWP_NOACTIVATE), LastFlags());
    RECT rc = RectInParent(h.child);
    EXPECT_EQ(30, rc.left);
    EXPECT_EQ(40, rc.top);
    EXPECT_EQ(150, rc.right - rc.left);
    EXPECT_EQ(90, rc.bottom - rc.top);
}

TEST_F(MoveDialog, UntouchedFieldsLeaveEveryKindOfWindowWhereItIs)
{
    Hierarchy h;
    // A top-level window, a child, and an owned pop-up (whose "parent" is its owner but whose
    // position is on the screen).
    for (HWND target : {h.top, h.grandchild, h.owned}) {
        SCOPED_TRACE(testing::Message() << "target " << target);
        RECT before;
        GetWindowRect(target, &before);
        Run(target, [](HWND dlg) {
            ClickCheckBox(dlg, IDC_MW_MOVE);
            ClickCheckBox(dlg, IDC_MW_SIZE);
            PressButton(dlg, IDOK);
        });
        RECT after;
        GetWindowRect(target, &after);
        EXPECT_TRUE(EqualRect(&before, &after)) << after.left << "," << after.top << " was " << before.left << ","
                                                << before.top;
    }
    // Negative screen coordinates are taken as they are.
    Run(h.top, [](HWND dlg) {
        ClickCheckBox(dlg, IDC_MW_MOVE);
        SetDlgItemTextA(dlg, IDC_MW_LEFT, "-50");
        SetDlgItemTextA(dlg, IDC_MW_TOP, "30");
        PressButton(dlg, IDOK);
    });
    RECT rc;
    GetWindowRect(h.top, &rc);
    EXPECT_EQ(-50, rc.left);
    EXPECT_EQ(30, rc.top);
}

TEST_F(MoveDialog, TitleAndZOrder)
{
    Hierarchy h;
    Run(h.top, [](HWND dlg) {
        ClickCheckBox(dlg, IDC_MW_CHANGE);
        SetDlgItemTextA(dlg, IDC_MW_TITLE, "Moved and renamed");
        PressButton(dlg, IDOK);
    });
    char title[64] = "";
    GetWindowTextA(h.top, title, sizeof(title));
    EXPECT_STREQ("Moved and renamed", title);
    // An emptied title field leaves the title alone.
    Run(h.top, [](HWND dlg) {
        ClickCheckBox(dlg, IDC_MW_CHANGE);
        SetDlgItemTextA(dlg, IDC_MW_TITLE, "");
        PressButton(dlg, IDOK);
    });
    GetWindowTextA(h.top, title, sizeof(title));
    EXPECT_STREQ("Moved and renamed", title);

    // After FFFFFFFF: top-most; FFFFFFFE: no longer.
    Run(h.top, [](HWND dlg) {
        ClickCheckBox(dlg, IDC_MW_ORDER);
        SetDlgItemTextA(dlg, IDC_MW_AFTER, "FFFFFFFF");
        PressButton(dlg, IDOK);
    });
    EXPECT_TRUE(GetWindowLongA(h.top, GWL_EXSTYLE) & WS_EX_TOPMOST);
    Run(h.top, [](HWND dlg) {
        ClickCheckBox(dlg, IDC_MW_ORDER);
        SetDlgItemTextA(dlg, IDC_MW_AFTER, "fffffffe");
        PressButton(dlg, IDOK);
    });
    EXPECT_FALSE(GetWindowLongA(h.top, GWL_EXSTYLE) & WS_EX_TOPMOST);

    // After 1 sends a child to the bottom of its siblings.
    ASSERT_NE(h.child, GetWindow(h.child, GW_HWNDLAST));
    Run(h.child, [](HWND dlg) {
        ClickCheckBox(dlg, IDC_MW_ORDER);
        SetDlgItemTextA(dlg, IDC_MW_AFTER, "1");
        PressButton(dlg, IDOK);
    });
    EXPECT_EQ(h.child, GetWindow(h.child, GW_HWNDLAST));

    // An After field with no window in it leaves the order alone.
    Run(h.top, [](HWND dlg) {
        ClickCheckBox(dlg, IDC_MW_ORDER);
        SetDlgItemTextA(dlg, IDC_MW_AFTER, "not hex");
        PressButton(dlg, IDOK);
    });
    EXPECT_TRUE(LastFlags() & SWP_NOZORDER);
}

TEST_F(MoveDialog, OpenedFromWindowInformationWhichRefreshesAfterwards)
{
    Hierarchy h;
    HWND info = NULL;
    {
        auto before = ThreadDialogs("Window Information");
        OpenWindowInfo(h.top);
        info = NewDialog("Window Information", before);
    }
    ASSERT_TRUE(info);
    HWND owner = NULL;
    ActInModal("Move window", [&](HWND dlg) {
        owner = GetWindow(dlg, GW_OWNER);
        ClickCheckBox(dlg, IDC_MW_CHANGE);
        SetDlgItemTextA(dlg, IDC_MW_TITLE, "Retitled from the dialog");
        PressButton(dlg, IDOK);
    });
    PressButton(info, IDC_WI_MOVE);
    EXPECT_EQ(info, owner) << "owned by the Window Information dialog";
    EXPECT_EQ("Retitled from the dialog", DlgText(info, IDC_WI_TITLE));
    DestroyWindow(info);

    // A target that is no window opens nothing.
    HWND gone = CreateWindowExA(0, "Static", "", WS_POPUP, 0, 0, 1, 1, NULL, NULL, NULL, NULL);
    DestroyWindow(gone);
    EXPECT_EQ(0, OpenMoveDialog(gone, NULL));
}

TEST(MoveFlags, EveryBoxMapsToItsFlag)
{
    EXPECT_EQ(0x17u, MoveWindowFlags(false, false, false, true, false, false));
    EXPECT_EQ(0u, MoveWindowFlags(true, true, true, true, true, false));
    EXPECT_EQ((UINT)SWP_NOMOVE, MoveWindowFlags(false, true, true, true, true, false));
    EXPECT_EQ((UINT)SWP_NOSIZE, MoveWindowFlags(true, false, true, true, true, false));
    EXPECT_EQ((UINT)SWP_NOZORDER, MoveWindowFlags(true, true, false, true, true, false));
    EXPECT_EQ((UINT)SWP_NOREDRAW, MoveWindowFlags(true, true, true, false, true, false));
    EXPECT_EQ((UINT)SWP_NOACTIVATE, MoveWindowFlags(true, true, true, true, false, false));
    EXPECT_EQ((UINT)SWP_FRAMECHANGED, MoveWindowFlags(true, true, true, true, true, true));
}

TEST(MoveFlags, InsertAfterField)
{
    const struct { const char* text; bool ok; DWORD value; } cases[] = {
        {"00000000", true, 0}, {"1", true, 1}, {"FFFFFFFF", true, 0xFFFFFFFF}, {"fffffffe", true, 0xFFFFFFFE},
        {" 1A2B ", true, 0x1A2B}, {"", false, 0}, {"   ", false, 0}, {"xyz", false, 0}, {"12 34", false, 0},
        {"123456789", false, 0}, {"-1", false, 0}, {"0x10", false, 0},
    };
    for (const auto& c : cases) {
        DWORD v = 0xDEAD;
        EXPECT_EQ(c.ok, ParseInsertAfter(c.text, &v)) << "'" << c.text << "'";
        if (c.ok) {
            EXPECT_EQ(c.value, v) << c.text;
        }
    }
}
