// Vantix.exe started as a user starts it and driven from this separate process with real mouse
// input: the Windows page's Pick on Wine's notepad, its Window Information, the Style editor.
#include <gtest/gtest.h>
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>
#include <string>

#include "support/processes.h"
#include "support/settings.h"
#include "support/testing.h"
#include "resource.h"

namespace {

// Every click is followed by a wait for what it does.
void ClickControl(HWND control)
{
    ClickCenter(control, 1, 0);
}

// A check box is clicked on its box, at the left end.
void ClickBoxOf(HWND box)
{
    RECT rc = WindowRect(box);
    ClickAt(POINT{rc.left + 6, (rc.top + rc.bottom) / 2}, 1, 0);
}

class EditEndToEnd : public testing::Test {
protected:
    SettingsGuard settings;
    void SetUp() override
    {
        ASSERT_FALSE(VantixHiddenWindow()) << "another Vantix is running";
        // Vantix opens on the Windows page and climbs from notepad's edit field to notepad.
        OptionsRecord rec;
        SetOptionsDefaults(&rec);
        rec.PageIndex = 2;
        rec.SkipChildren = 1;
        rec.SkipWarnings = 0;
        settings.Store(rec);
    }
};

TEST_F(EditEndToEnd, PickNotepadThenUntickItsSizingBorderInTheStyleEditor)
{
    Notepad notepad;
    HWND np = notepad.Main();
    ASSERT_TRUE(np) << "notepad did not start";
    SetWindowPos(np, NULL, 640, 120, 560, 420, SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_TRUE(GetWindowLongA(np, GWL_STYLE) & WS_THICKFRAME);

    VantixProcess vantix;
    HWND main = vantix.Dialog("Vantix");
    ASSERT_TRUE(main);
    HWND page = ShownPage(main);
    ASSERT_TRUE(page);
    HWND pick = GetDlgItem(page, IDC_WIN_PICK);
    ASSERT_TRUE(pick) << "the Windows page is shown";

    // Pick: press the button, point at notepad, click.
    ClickControl(pick);
    HWND frame = NULL;
    ASSERT_TRUE(WaitUntil([&] { return (frame = FindWindowA("Vantix_PickFrame", NULL)) != NULL; }, 5000))
        << "the pick began";
    POINT target = Center(WindowRect(np));
    MoveMouseTo(target);
    EXPECT_TRUE(WaitUntil([&] {
        RECT a = WindowRect(frame), b = WindowRect(np);
        return IsWindowVisible(frame) && EqualRect(&a, &b);
    }, 5000)) << "notepad is outlined";
    ClickAt(target, 1, 0);
    HWND info = vantix.Dialog("Window Information");
    ASSERT_TRUE(info) << "the click picked a window and its information opened";
    EXPECT_EQ(WindowText(GetDlgItem(info, IDC_WI_HANDLE)), Hex4((DWORD)(ULONG_PTR)np)) << "notepad was picked";
    EXPECT_TRUE(WaitUntil([] { return FindWindowA("Vantix_PickFrame", NULL) == NULL; }, 3000));

    // Style...: untick WS_THICKFRAME, OK, Yes.
    ClickControl(GetDlgItem(info, IDC_WI_STYLE));
    char caption[64];
    snprintf(caption, sizeof(caption), "Style of window %X", (unsigned)(ULONG_PTR)np);
    HWND editor = vantix.Dialog(caption);
    ASSERT_TRUE(editor) << caption;
    HWND field = GetDlgItem(editor, IDC_SE_STYLE);
    DWORD before = strtoul(WindowText(field).c_str(), NULL, 16);
    EXPECT_EQ(before, (DWORD)GetWindowLongA(np, GWL_STYLE));
    HWND thick = GetDlgItem(editor, IDC_SE_STYLEBIT0 + 18);
    EXPECT_EQ(WindowText(thick), "WS_THICKFRAME");
    ClickBoxOf(thick);
    EXPECT_TRUE(WaitUntil([&] { return strtoul(WindowText(field).c_str(), NULL, 16) == (before & ~WS_THICKFRAME); }, 3000))
        << "unticked: " << WindowText(field);
    ClickControl(GetDlgItem(editor, IDOK));
    HWND question = vantix.Dialog("Warning (Vantix)", 5000);
    ASSERT_TRUE(question) << "OK asks first";
    ClickControl(GetDlgItem(question, IDYES));

    EXPECT_TRUE(WaitUntil([&] { return (GetWindowLongA(np, GWL_STYLE) & WS_THICKFRAME) == 0; }, 5000))
        << "notepad's style changed";
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(editor); }, 5000)) << "the editor closed";
    char group[64];
    snprintf(group, sizeof(group), "Style: %08lX", (unsigned long)(DWORD)GetWindowLongA(np, GWL_STYLE));
    EXPECT_TRUE(WaitUntil([&] { return WindowText(GetDlgItem(info, IDC_WI_STYLEGROUP)).rfind(group, 0) == 0; }, 3000))
        << "the Window Information refreshed: " << WindowText(GetDlgItem(info, IDC_WI_STYLEGROUP));

    PostMessageA(main, WM_CLOSE, 0, 0);
}

}  // namespace
