// Copy in the Window and Class Information dialogs: Ctrl+C through the program's loop and Copy
// on the right-click menu give every field as "Label: value", one a line, in the dialog's order,
// exactly as the fields show it.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "hierarchy.h"
#include "support/composited.h"
#include "support/dialogs.h"
#include "support/settings.h"
#include "support/testing.h"
#include "windows/class_info.h"
#include "windows/window_info.h"
#include "resource.h"

namespace {

struct Field {
    const char* label;   // as the dialog shows it in front of the field, "" for none
    int id;
};

// The lines the fields make, read from the dialog: one "Label: value" line each; a value of
// several lines under its label, each of them indented by two blanks.
std::string FieldLines(HWND dlg, const std::vector<Field>& fields)
{
    std::string out;
    for (const Field& f : fields) {
        std::string value = DlgText(dlg, f.id);
        while (!value.empty() && (value.back() == '\n' || value.back() == '\r')) value.pop_back();
        bool several = value.find('\n') != std::string::npos;
        if (*f.label) out += std::string(f.label) + ":" + (several || value.empty() ? "" : " " + value) + "\r\n";
        if (!several && *f.label) continue;
        size_t at = 0;
        while (at <= value.size() && !value.empty()) {
            size_t end = value.find("\r\n", at);
            out += "  " + value.substr(at, end == std::string::npos ? std::string::npos : end - at) + "\r\n";
            if (end == std::string::npos) break;
            at = end + 2;
        }
    }
    return out;
}

class InfoCopy : public testing::Test {
protected:
    SettingsGuard settings;
    void SetUp() override { InitCommonControls(); }
    void TearDown() override
    {
        for (const char* c : {"Window Information", "Class Information"})
            for (HWND d : ThreadDialogs(c)) DestroyWindow(d);
    }
    // Ctrl+C with the focus on a field of the dialog, as a user presses it.
    static std::string CopiedWithKeys(HWND dlg, int focusId)
    {
        DWORD seq = GetClipboardSequenceNumber();
        PressKeyIn(GetDlgItem(dlg, focusId), 'C', true);
        return WaitForClipboardText(seq, 3000);
    }
    static std::string CopiedWithMenu(HWND dlg, HWND clicked)
    {
        DWORD seq = GetClipboardSequenceNumber();
        RECT rc = WindowRect(clicked);
        ChooseFromNextMenu(IDC_CTX_COPY);
        SendMessageA(dlg, WM_CONTEXTMENU, (WPARAM)clicked, MAKELPARAM(rc.left + 2, rc.top + 2));
        EXPECT_TRUE(NextMenuShowedItem()) << "the menu offers Copy";
        return WaitForClipboardText(seq, 3000);
    }
};

TEST_F(InfoCopy, WindowInformationCopiesEveryFieldInItsOrder)
{
    Hierarchy h;
    auto before = ThreadDialogs("Window Information");
    OpenWindowInfo(h.props);
    HWND dlg = NewDialog("Window Information", before);
    ASSERT_TRUE(dlg);

    // The style group's caption carries its own value; the names under it continue it.
    std::string expected = FieldLines(dlg, {{"Title", IDC_WI_TITLE},
                                            {"Window handle", IDC_WI_HANDLE},
                                            {"Parent", IDC_WI_PARENT},
                                            {"Class name", IDC_WI_CLASS},
                                            {"Id / Menu", IDC_WI_ID},
                                            {"(Left,Top)", IDC_WI_TOPLEFT},
                                            {"(Right,Bottom)", IDC_WI_BOTTOMRIGHT},
                                            {"Width", IDC_WI_WIDTH},
                                            {"Height", IDC_WI_HEIGHT}});
    expected += DlgText(dlg, IDC_WI_STYLEGROUP) + "\r\n";
    expected += FieldLines(dlg, {{"", IDC_WI_STYLES}, {"Properties", IDC_WI_PROPERTIES}});
    std::string copied = CopiedWithKeys(dlg, IDC_WI_TITLE);
    EXPECT_EQ(expected, copied);
    // What that means for this window, spelt out.
    EXPECT_EQ(0u, copied.find("Title: Props child\r\nWindow handle: " + DlgText(dlg, IDC_WI_HANDLE) + "\r\n"))
        << copied;
    EXPECT_NE(std::string::npos, copied.find("Id / Menu: 1234\r\n")) << copied;
    EXPECT_NE(std::string::npos, copied.find("Properties:\r\n  ")) << "two properties, two lines: " << copied;
    EXPECT_NE(std::string::npos, copied.find("VantixPropOne\r\n")) << copied;

    // The right-click menu copies the same, from a button or from the dialog's background.
    EXPECT_EQ(expected, CopiedWithMenu(dlg, GetDlgItem(dlg, IDC_WI_REFRESH)));
    EXPECT_EQ((std::vector<std::string>{"&Copy\tCtrl+C", "-", "What's &This?"}), LastMenuItems());
    EXPECT_EQ(expected, CopiedWithMenu(dlg, dlg));
    EXPECT_EQ((std::vector<std::string>{"&Copy\tCtrl+C"}), LastMenuItems()) << "no help for the background";
}

TEST_F(InfoCopy, AVisibleFrameThatDiffersIsCopiedAsTheDialogShowsIt)
{
    Hierarchy h;
    CompositedDesktop dwm;
    RECT f = dwm.InsetFrame(h.top, 1, 2, 3, 4);
    auto before = ThreadDialogs("Window Information");
    OpenWindowInfo(h.top);
    HWND dlg = NewDialog("Window Information", before);
    ASSERT_TRUE(dlg);
    char frame[96];
    wsprintfA(frame, "(%d,%d)-(%d,%d)", (int)f.left, (int)f.top, (int)f.right, (int)f.bottom);
    std::string copied = CopiedWithKeys(dlg, IDC_WI_TITLE);
    std::string last = std::string("Visible frame: ") + frame + "\r\n";
    ASSERT_GE(copied.size(), last.size()) << copied;
    EXPECT_EQ(last, copied.substr(copied.size() - last.size())) << "the frame's row comes last: " << copied;

    // Where the frame is the window rectangle, no such line.
    dwm.SetFrame(h.top, WindowRect(h.top));
    SendMessageA(dlg, WM_COMMAND, IDC_WI_REFRESH, 0);
    copied = CopiedWithKeys(dlg, IDC_WI_TITLE);
    EXPECT_EQ(std::string::npos, copied.find("Visible frame")) << copied;
}

TEST_F(InfoCopy, APartOfAFieldSelectedIsWhatCtrlCCopies)
{
    Hierarchy h;
    auto before = ThreadDialogs("Window Information");
    OpenWindowInfo(h.props);
    HWND dlg = NewDialog("Window Information", before);
    ASSERT_TRUE(dlg);
    HWND title = GetDlgItem(dlg, IDC_WI_TITLE);
    SetFocus(title);
    SendMessageA(title, EM_SETSEL, 0, 5);
    DWORD seq = GetClipboardSequenceNumber();
    PressKeyIn(title, 'C', true);
    EXPECT_EQ("Props", WaitForClipboardText(seq, 3000)) << "the field copies its selection itself";

    // The whole text selected, as the dialog selects it when the field gets the focus: all fields.
    SendMessageA(title, EM_SETSEL, 0, -1);
    std::string all = CopiedWithKeys(dlg, IDC_WI_TITLE);
    EXPECT_EQ(0u, all.find("Title: Props child\r\n")) << all;
}

TEST_F(InfoCopy, ClassInformationCopiesNamesOfIconsCursorBrushAndStyles)
{
    Hierarchy h;
    auto before = ThreadDialogs("Class Information");
    OpenClassDialog(h.top);
    HWND dlg = NewDialog("Class Information", before);
    ASSERT_TRUE(dlg);
    // The pictures show no text; the field beside each names it. The style label carries the
    // class style's value itself.
    std::string expected = FieldLines(dlg, {{"Class name", IDC_CI_NAME},
                                            {"Process name", IDC_CI_PROCESS},
                                            {"Module instance", IDC_CI_INSTANCE},
                                            {"Menu", IDC_CI_MENU},
                                            {"Class extra bytes", IDC_CI_CLASSEXTRA},
                                            {"Window extra bytes", IDC_CI_WINDOWEXTRA},
                                            {"Main icon", IDC_CI_ICONNAME},
                                            {"Small icon", IDC_CI_SMALLICONNAME},
                                            {"Cursor", IDC_CI_CURSORNAME},
                                            {"Brush", IDC_CI_BRUSHNAME}});
    std::string styleLabel = DlgText(dlg, IDC_CI_STYLELABEL);
    expected += FieldLines(dlg, {{styleLabel.c_str(), IDC_CI_STYLES}});
    std::string copied = CopiedWithKeys(dlg, IDC_CI_NAME);
    EXPECT_EQ(expected, copied);
    EXPECT_NE(std::string::npos, copied.find("Class name: VantixTreeTop\r\n")) << copied;
    EXPECT_NE(std::string::npos, copied.find("Cursor: IDC_ARROW\r\n")) << copied;
    EXPECT_NE(std::string::npos, copied.find("Brush: COLOR_BTNFACE+1\r\n")) << copied;
    EXPECT_EQ(std::string::npos, copied.find("Brush: 16")) << "the swatch's own text is no field";
    EXPECT_EQ(expected, CopiedWithMenu(dlg, GetDlgItem(dlg, IDC_CI_CURSOR)));
}

}  // namespace
