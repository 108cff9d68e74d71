// The Style editor built from its real template, opened on the push button of our tasks fixture
// (another process) and on a window of this program. The editor is modal: a thread timer acts
// in it from inside its own loop.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <functional>
#include <stdio.h>
#include <string>

#include "edit_helpers.h"
#include "support/dialogs.h"
#include "support/pictures.h"
#include "support/testing.h"
#include "app/program.h"
#include "app/settings.h"
#include "hooklib/quillet.h"
#include "windows/style_editor.h"
#include "resource.h"

namespace {

// Opens the editor on target and runs act in it once it shows; returns how long the editor ran.
DWORD RunEditor(HWND target, std::function<void(HWND)> act)
{
    ActInModal("Style of window ", act, 15000);
    OpenStyleEditor(target, NULL);
    CancelModalAct();
    ModalActResult done = LastModalAct();
    EXPECT_TRUE(done.dialog) << "the editor opened";
    EXPECT_FALSE(done.guardCancelled) << "the editor was still open after the act";
    return GetTickCount() - done.began;
}

// The value the boxes of one field show, bit n from box first + n.
DWORD BoxesValue(HWND dlg, int first)
{
    DWORD v = 0;
    for (int n = 0; n < 32; n++)
        if (IsDlgButtonChecked(dlg, first + n) == BST_CHECKED) v |= 1u << n;
    return v;
}

void Click(HWND dlg, int id)
{
    SendDlgItemMessageA(dlg, id, BM_CLICK, 0, 0);
}

void Type(HWND dlg, int id, const char* text)
{
    SetDlgItemTextA(dlg, id, text);
}

class StyleEditor : public testing::Test {
protected:
    static TasksFixture* fixture;
    HWND button = NULL;
    LONG style = 0, exStyle = 0;

    static void SetUpTestSuite() { fixture = new TasksFixture("Style target", "--dialog --x 500 --y 200"); }
    static void TearDownTestSuite() { delete fixture; }
    void SetUp() override
    {
        ASSERT_TRUE(fixture->Main()) << "fixture did not start";
        button = fixture->Button();
        ASSERT_TRUE(button);
        style = GetWindowLongA(button, GWL_STYLE);
        exStyle = GetWindowLongA(button, GWL_EXSTYLE);
        ASSERT_EQ((DWORD)style, 0x50010000u) << "a visible push button with a tab stop";
        SetOptionsDefaults(&g_Options);
    }
    void TearDown() override
    {
        SetStyle(button, style);
        SetExtStyle(button, exStyle);
    }
};
TasksFixture* StyleEditor::fixture;

TEST_F(StyleEditor, ShowsTheButtonsStylesWithTheLabelsOfItsClass)
{
    struct {
        int box;
        const char* label;
    } labels[] = {
        {IDC_SE_STYLEBIT0 + 31, "WS_POPUP"},       {IDC_SE_STYLEBIT0 + 18, "WS_THICKFRAME"},
        {IDC_SE_STYLEBIT0 + 17, "WS_GROUP"},       {IDC_SE_STYLEBIT0 + 16, "WS_TABSTOP"},
        {IDC_SE_STYLEBIT0 + 15, "BS_FLAT"},        {IDC_SE_STYLEBIT0 + 0, "BS_DEFPUSHBUTTON"},
        {IDC_SE_STYLEBIT0 + 4, "Bit #5"},          {IDC_SE_EXBIT0 + 0, "WS_EX_DLGMODALFRAME"},
        {IDC_SE_EXBIT0 + 1, "Bit #2"},             {IDC_SE_EXBIT0 + 18, "WS_EX_APPWINDOW"},
        {IDC_SE_EXBIT0 + 19, "Bit #20"},           {IDC_SE_EXBIT0 + 31, "Bit #32"},
    };
    char caption[64];
    snprintf(caption, sizeof(caption), "Style of window %X", (unsigned)(ULONG_PTR)button);
    std::string seenCaption, styleText, exText;
    DWORD styleBoxes = 0, exBoxes = 0;
    std::string seen[sizeof(labels) / sizeof(labels[0])];
    RunEditor(button, [&](HWND dlg) {
        char buf[64];
        GetWindowTextA(dlg, buf, sizeof(buf));
        seenCaption = buf;
        styleText = DlgText(dlg, IDC_SE_STYLE);
        exText = DlgText(dlg, IDC_SE_EXSTYLE);
        styleBoxes = BoxesValue(dlg, IDC_SE_STYLEBIT0);
        exBoxes = BoxesValue(dlg, IDC_SE_EXBIT0);
        for (size_t i = 0; i < sizeof(labels) / sizeof(labels[0]); i++) seen[i] = DlgText(dlg, labels[i].box);
        SaveWindowShot(dlg, "style_editor");
        Click(dlg, IDCANCEL);
    });
    EXPECT_EQ(seenCaption, caption);
    EXPECT_EQ(styleText, "50010000");
    char ex[16];
    snprintf(ex, sizeof(ex), "%08lX", (unsigned long)(DWORD)exStyle);
    EXPECT_EQ(exText, ex);
    EXPECT_EQ(styleBoxes, 0x50010000u) << "the boxes start in the window's state";
    EXPECT_EQ(exBoxes, (DWORD)exStyle);
    for (size_t i = 0; i < sizeof(labels) / sizeof(labels[0]); i++)
        EXPECT_EQ(seen[i], labels[i].label) << "box " << labels[i].box;
}

TEST_F(StyleEditor, FieldsAndBoxesFollowEachOtherByOneRule)
{
    std::string afterTick, afterUntick, afterBoxOnJunk;
    DWORD typed = 0, junk = 1, partial = 0, overlong = 0, exPartial = 0, prefixed = 0, negative = 0;
    RunEditor(button, [&](HWND dlg) {
        Click(dlg, IDC_SE_STYLEBIT0 + 15);
        afterTick = DlgText(dlg, IDC_SE_STYLE);
        Click(dlg, IDC_SE_STYLEBIT0 + 15);
        afterUntick = DlgText(dlg, IDC_SE_STYLE);
        Type(dlg, IDC_SE_STYLE, "8421F00F");
        typed = BoxesValue(dlg, IDC_SE_STYLEBIT0);
        Type(dlg, IDC_SE_STYLE, "zz50");
        junk = BoxesValue(dlg, IDC_SE_STYLEBIT0);
        Click(dlg, IDC_SE_STYLEBIT0 + 4);
        afterBoxOnJunk = DlgText(dlg, IDC_SE_STYLE);
        Type(dlg, IDC_SE_STYLE, "50G1");
        partial = BoxesValue(dlg, IDC_SE_STYLEBIT0);
        Type(dlg, IDC_SE_STYLE, "123456789");
        overlong = BoxesValue(dlg, IDC_SE_STYLEBIT0);
        Type(dlg, IDC_SE_STYLE, "0x50018000");
        prefixed = BoxesValue(dlg, IDC_SE_STYLEBIT0);
        Type(dlg, IDC_SE_STYLE, "-1");
        negative = BoxesValue(dlg, IDC_SE_STYLEBIT0);
        Type(dlg, IDC_SE_EXSTYLE, " 12G");
        exPartial = BoxesValue(dlg, IDC_SE_EXBIT0);
        Click(dlg, IDCANCEL);
    });
    EXPECT_EQ(afterTick, "50018000") << "ticking bit 15";
    EXPECT_EQ(afterUntick, "50010000") << "and unticking it";
    EXPECT_EQ(typed, 0x8421F00Fu) << "a typed value sets all 32 boxes at once";
    EXPECT_EQ(junk, 0u) << "text without digits reads 0";
    EXPECT_EQ(afterBoxOnJunk, "00000010") << "a box applies its bit to that same value";
    EXPECT_EQ(partial, 0x50u) << "the digits before the first other character";
    EXPECT_EQ(overlong, 0xFFFFFFFFu) << "a number beyond 32 bits saturates";
    EXPECT_EQ(prefixed, 0x50018000u) << "the C prefix";
    EXPECT_EQ(negative, 0xFFFFFFFFu) << "a sign";
    EXPECT_EQ(exPartial, 0x12u);
    EXPECT_EQ((DWORD)GetWindowLongA(button, GWL_STYLE), 0x50010000u) << "Close changes nothing";
}

TEST_F(StyleEditor, OkWithConfirmationChangesTheWindowOfTheOtherProcess)
{
    MessageBoxAnswerer answer(IDYES);
    RunEditor(button, [&](HWND dlg) {
        Click(dlg, IDC_SE_STYLEBIT0 + 15);
        Click(dlg, IDOK);
    });
    ASSERT_EQ(answer.Boxes().size(), 1u);
    EXPECT_EQ(answer.Boxes()[0].text, "Do you really want to modify\nthe window style?");
    EXPECT_EQ(answer.Boxes()[0].caption, "Warning (Vantix)");
    EXPECT_EQ(StyleSeenByAnotherProcess(button, false), 0x50018000LL);
    EXPECT_EQ(StyleSeenByAnotherProcess(button, true), (long long)(DWORD)exStyle) << "the extended style as it was";
    EXPECT_TRUE(IsWindowVisible(button)) << "hidden and shown again";
}

TEST_F(StyleEditor, TextThatIsNoNumberChangesNothingAndSaysSo)
{
    MessageBoxAnswerer answer(IDOK);
    bool openAfterOk = false;
    HWND focused = NULL, exField = NULL;
    RunEditor(button, [&](HWND dlg) {
        Click(dlg, IDC_SE_STYLEBIT0 + 15);
        Type(dlg, IDC_SE_EXSTYLE, "nonsense");
        exField = GetDlgItem(dlg, IDC_SE_EXSTYLE);
        Click(dlg, IDOK);
        openAfterOk = IsWindowVisible(dlg) != FALSE;
        focused = GetFocus();
        Click(dlg, IDCANCEL);
    });
    ASSERT_EQ(answer.Boxes().size(), 1u) << "one box, and no question";
    EXPECT_EQ(answer.Boxes()[0].caption, "Error in Vantix");
    EXPECT_EQ(answer.Boxes()[0].text, "The style is no hexadecimal number.\nThe window keeps its style.");
    EXPECT_TRUE(openAfterOk) << "the editor stays open for a correction";
    EXPECT_EQ(focused, exField) << "on the field that holds no number";
    EXPECT_EQ(StyleSeenByAnotherProcess(button, false), 0x50010000LL) << "no style was written";
    EXPECT_EQ(StyleSeenByAnotherProcess(button, true), (long long)(DWORD)exStyle);
}

TEST_F(StyleEditor, AStyleTypedWithTheCPrefixIsAppliedAsTyped)
{
    MessageBoxAnswerer answer(IDYES);
    RunEditor(button, [&](HWND dlg) {
        Type(dlg, IDC_SE_STYLE, " 0x50018000");
        Click(dlg, IDOK);
    });
    EXPECT_EQ(answer.Boxes().size(), 1u);
    EXPECT_EQ(StyleSeenByAnotherProcess(button, false), 0x50018000LL) << "not 0, which would hide the button";
    EXPECT_TRUE(IsWindowVisible(button));
}

TEST_F(StyleEditor, RefusingTheQuestionChangesNothingAndCloses)
{
    MessageBoxAnswerer answer(IDNO);
    RunEditor(button, [&](HWND dlg) {
        Click(dlg, IDC_SE_STYLEBIT0 + 15);
        Click(dlg, IDOK);
    });
    EXPECT_EQ(answer.Boxes().size(), 1u);
    EXPECT_EQ(StyleSeenByAnotherProcess(button, false), 0x50010000LL);
}

TEST_F(StyleEditor, UnchangedValuesCloseWithoutAQuestion)
{
    MessageBoxAnswerer answer(IDYES);
    DWORD ms = RunEditor(button, [&](HWND dlg) {
        Click(dlg, IDC_SE_STYLEBIT0 + 15);
        Click(dlg, IDC_SE_STYLEBIT0 + 15);
        Click(dlg, IDOK);
    });
    EXPECT_TRUE(answer.Boxes().empty());
    EXPECT_LT(ms, 500u) << "no change, no wait";
}

TEST_F(StyleEditor, SkippedWarningsChangeWithoutAQuestion)
{
    g_Options.SkipWarnings = 1;
    MessageBoxAnswerer answer(IDNO);
    RunEditor(button, [&](HWND dlg) {
        Click(dlg, IDC_SE_STYLEBIT0 + 15);
        Click(dlg, IDOK);
    });
    EXPECT_TRUE(answer.Boxes().empty());
    EXPECT_EQ(StyleSeenByAnotherProcess(button, false), 0x50018000LL);
}

TEST_F(StyleEditor, AWindowOfTheProgramItselfKeepsItsStyleAfterAboutOneSecond)
{
    HWND own = CreateWindowExA(0, "STATIC", "own", WS_POPUP, 0, 0, 50, 50, NULL, NULL, NULL, NULL);
    ASSERT_TRUE(own);
    LONG before = GetWindowLongA(own, GWL_STYLE);
    MessageBoxAnswerer answer(IDYES);
    DWORD ms = RunEditor(own, [&](HWND dlg) {
        Click(dlg, IDC_SE_STYLEBIT0 + 21);
        Click(dlg, IDOK);
    });
    EXPECT_EQ(answer.Boxes().size(), 1u);
    EXPECT_EQ(GetWindowLongA(own, GWL_STYLE), before) << "its own thread cannot answer the library";
    EXPECT_GE(ms, 900u);
    EXPECT_LT(ms, 4000u);
    DestroyWindow(own);
}

// Width a box needs for its label: the check mark, the gap after it, the text.
int NeededWidth(HWND box)
{
    char text[64] = "";
    GetWindowTextA(box, text, sizeof(text));
    HDC dc = GetDC(box);
    HGDIOBJ old = SelectObject(dc, (HFONT)SendMessageA(box, WM_GETFONT, 0, 0));
    SIZE size = {0, 0};
    GetTextExtentPoint32A(dc, text, lstrlenA(text), &size);
    SelectObject(dc, old);
    ReleaseDC(box, dc);
    return size.cx + GetSystemMetrics(SM_CXMENUCHECK) + 8;
}

TEST_F(StyleEditor, EveryLabelOfTheLongestFamiliesFitsItsBox)
{
    InitCommonControls();
    HWND host = CreateWindowExA(0, "STATIC", "host", WS_POPUP, 0, 0, 300, 300, NULL, NULL, NULL, NULL);
    for (const char* cls : {"Button", "ScrollBar", "ListBox", "ToolbarWindow32", "SysTabControl32", "SysTreeView32",
                            "SysListView32", "ComboBox", "Static"}) {
        HWND w = CreateWindowExA(0, cls, "", WS_CHILD, 0, 0, 100, 100, host, NULL, NULL, NULL);
        ASSERT_TRUE(w) << cls;
        RunEditor(w, [&](HWND dlg) {
            if (strcmp(cls, "Button") == 0) SaveWindowShot(dlg, "style_editor_wide");
            for (int first : {IDC_SE_STYLEBIT0, IDC_SE_EXBIT0})
                for (int n = 0; n < 32; n++) {
                    HWND box = GetDlgItem(dlg, first + n);
                    RECT rc;
                    GetClientRect(box, &rc);
                    EXPECT_LE(NeededWidth(box), rc.right) << cls << ": " << DlgText(dlg, first + n);
                }
            Click(dlg, IDCANCEL);
        });
    }
    DestroyWindow(host);
}

TEST_F(StyleEditor, NothingOpensForAWindowThatIsGone)
{
    HWND gone = CreateWindowExA(0, "STATIC", "gone", WS_POPUP, 0, 0, 10, 10, NULL, NULL, NULL, NULL);
    DestroyWindow(gone);
    DWORD start = GetTickCount();
    OpenStyleEditor(gone, NULL);
    EXPECT_LT(GetTickCount() - start, 500u);
}

}  // namespace
