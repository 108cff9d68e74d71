// Every dialog of the Windows subsystem opened and closed 100 times, and 100 picks, on a window
// of our tasks fixture: the program's GDI objects, USER objects and windows afterwards are those
// of before, and its heap holds no more blocks than the platform keeps for 100 dialogs of the
// same template showing the same texts (Wine keeps about one block for each edit control it
// ever made, whoever made it).
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <stdio.h>
#include <string.h>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "edit_helpers.h"
#include "support/testing.h"
#include "support/dialogs.h"
#include "app/program.h"
#include "app/settings.h"
#include "windows/class_info.h"
#include "windows/move_window.h"
#include "windows/picker.h"
#include "windows/style_editor.h"
#include "windows/window_info.h"
#include "resource.h"

namespace {

const int kRounds = 100;
// Rounds before the first count: the platform's caches fill on first use.
const int kWarmUp = 5;

// Live GDI objects of this process. Where the platform does not count them (Wine's
// GetGuiResources answers 0), Wine's own handle table is read: the process environment block
// points at it, one 24-byte entry per handle with its object type at byte 14.
long GdiObjects()
{
    DWORD n = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (n) return (long)n;
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    if (!ntdll || !GetProcAddress(ntdll, "wine_get_version")) return -1;
    typedef LONG (WINAPI *QueryProcessFn)(HANDLE, int, void*, ULONG, ULONG*);
    QueryProcessFn query = (QueryProcessFn)(void*)GetProcAddress(ntdll, "NtQueryInformationProcess");
    // ProcessBasicInformation (0): exit status, then the environment block's address.
    struct {
        LONG_PTR exitStatus;
        const BYTE* peb;
        ULONG_PTR rest[4];
    } basic;
    if (!query || query(GetCurrentProcess(), 0, &basic, sizeof(basic), NULL) != 0 || !basic.peb) return -1;
    const BYTE* table = *(const BYTE* const*)(basic.peb + (sizeof(void*) == 8 ? 0xF8 : 0x94));
    if (!table) return -1;
    long live = 0;
    for (int i = 0; i < 0x10000; i++)
        if (table[(size_t)i * 24 + 14]) live++;
    return live;
}

// -1 where the platform does not count them.
long UserObjects()
{
    DWORD n = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    return n ? (long)n : -1;
}

long HeapBlocks()
{
    HANDLE heaps[256];
    DWORD n = GetProcessHeaps(256, heaps);
    long blocks = 0;
    for (DWORD i = 0; i < n && i < 256; i++) {
        HeapLock(heaps[i]);
        PROCESS_HEAP_ENTRY e;
        e.lpData = NULL;
        while (HeapWalk(heaps[i], &e))
            if (e.wFlags & PROCESS_HEAP_ENTRY_BUSY) blocks++;
        HeapUnlock(heaps[i]);
    }
    return blocks;
}

BOOL CALLBACK CountWindowProc(HWND, LPARAM lp)
{
    (*(long*)lp)++;
    return TRUE;
}

// Top-level windows of this thread: a dialog that is not destroyed stays among them.
long ThreadWindows()
{
    long n = 0;
    EnumThreadWindows(GetCurrentThreadId(), CountWindowProc, (LPARAM)&n);
    return n;
}

struct Counts {
    long gdi, user, heap, windows;
};

Counts Count()
{
    // Whatever the last round left queued (a destroyed window's last messages) goes first.
    PumpMessages(20);
    return {GdiObjects(), UserObjects(), HeapBlocks(), ThreadWindows()};
}

HWND g_target;

// The texts the dialog showed last, its caption first: the platform's part is measured on a
// dialog of the same template showing them.
std::vector<std::pair<int, std::string>> g_shown;

BOOL CALLBACK RecordTextProc(HWND h, LPARAM)
{
    char text[4096] = "";
    GetWindowTextA(h, text, sizeof(text));
    g_shown.push_back({GetDlgCtrlID(h), text});
    return TRUE;
}

void RecordAndClose(HWND dlg)
{
    g_shown.clear();
    char caption[256] = "";
    GetWindowTextA(dlg, caption, sizeof(caption));
    g_shown.push_back({0, caption});
    EnumChildWindows(dlg, RecordTextProc, 0);
    PressButton(dlg, IDCANCEL);
}

void WindowInformationOnce()
{
    auto before = ThreadDialogs("Window Information");
    OpenWindowInfo(g_target);
    HWND dlg = NewDialog("Window Information", before);
    ASSERT_TRUE(dlg);
    RecordAndClose(dlg);
    ASSERT_FALSE(IsWindow(dlg));
}

void ClassInformationOnce()
{
    HWND dlg = OpenClassDialog(g_target);
    ASSERT_TRUE(dlg);
    RecordAndClose(dlg);
    ASSERT_FALSE(IsWindow(dlg));
}

void MoveWindowOnce()
{
    ActInModal("Move window", RecordAndClose);
    EXPECT_EQ(OpenMoveDialog(g_target, NULL), 0);
}

void StyleEditorOnce()
{
    bool shown = false;
    ActInModal("Style of window", [&](HWND dlg) {
        shown = true;
        RecordAndClose(dlg);
    });
    OpenStyleEditor(g_target, NULL);
    EXPECT_TRUE(shown);
}

INT_PTR CALLBACK BareDialogProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

// The platform's part: the same template, created and destroyed with the texts shown last.
void BareDialogOnce(int templateId)
{
    HWND dlg = CreateDialogParamA(g_hInst, MAKEINTRESOURCEA(templateId), NULL, BareDialogProc, 0);
    ASSERT_TRUE(dlg);
    for (const auto& t : g_shown) {
        if (t.first == 0) SetWindowTextA(dlg, t.second.c_str());
        else SetDlgItemTextA(dlg, t.first, t.second.c_str());
    }
    DestroyWindow(dlg);
}

// Each pick outlines the target (a move posted while the pointer is over it) and ends in turn
// by a click, a key and a system cancel.
int g_pickRound;

void CALLBACK DrivePick(HWND, UINT, UINT_PTR id, DWORD)
{
    HWND picker = FindWindowA("Vantix_Pick", NULL);
    if (!picker) return;
    KillTimer(NULL, id);
    PostMessageA(picker, WM_MOUSEMOVE, 0, 0);
    switch (g_pickRound++ % 3) {
    case 0: PostMessageA(picker, WM_LBUTTONDOWN, MK_LBUTTON, 0); break;
    case 1: PostMessageA(picker, WM_CHAR, VK_ESCAPE, 0); break;
    default: PostThreadMessageA(GetCurrentThreadId(), WM_CANCELJOURNAL, 0, 0); break;
    }
}

void PickOnce()
{
    int round = g_pickRound;
    SetTimer(NULL, 0, 10, DrivePick);
    HWND picked = PickWindow(NULL, false, NULL);
    EXPECT_EQ(picked, round % 3 == 0 ? g_target : (HWND)NULL) << "round " << round;
}

struct LeakCase {
    const char* name;
    void (*once)();
    int templateId;   // 0: nothing of the platform's to subtract
};

void PrintTo(const LeakCase& c, std::ostream* os)
{
    *os << c.name;
}

class Leaks : public testing::TestWithParam<LeakCase> {
protected:
    static TasksFixture* fixture;
    static void SetUpTestSuite()
    {
        InitCommonControls();
        SetOptionsDefaults(&g_Options);
        fixture = new TasksFixture("Leak target", "--x 500 --y 300");
    }
    static void TearDownTestSuite() { delete fixture; }
    void SetUp() override
    {
        g_target = fixture->Main();
        ASSERT_TRUE(g_target) << "fixture did not start";
        // The picks outline the window under the pointer.
        POINT c = Center(WindowRect(g_target));
        Xdotool("mousemove " + std::to_string(c.x) + " " + std::to_string(c.y), 0);
        ASSERT_TRUE(PumpUntil([&] {
            POINT p;
            return GetCursorPos(&p) && p.x == c.x && p.y == c.y;
        }, 3000));
    }
};
TasksFixture* Leaks::fixture;

} // namespace

Counts Rounds(const std::function<void()>& once)
{
    for (int i = 0; i < kWarmUp; i++) once();
    Counts before = Count();
    for (int i = 0; i < kRounds; i++) once();
    Counts after = Count();
    return {after.gdi - before.gdi, after.user - before.user, after.heap - before.heap,
            after.windows - before.windows};
}

TEST_P(Leaks, NothingIsLeftAfterAHundredRounds)
{
    const LeakCase& c = GetParam();
    Counts before = Count();
    Counts grown = Rounds(c.once);
    ASSERT_FALSE(HasFailure());
    Counts platform = {0, 0, 0, 0};
    if (c.templateId) platform = Rounds([&] { BareDialogOnce(c.templateId); });
    printf("%s, %d rounds: GDI objects %ld%+ld, USER objects %ld%+ld, windows %ld%+ld, heap blocks %ld%+ld "
           "(the same template alone: %+ld)\n",
           c.name, kRounds, before.gdi, grown.gdi, before.user, grown.user, before.windows, grown.windows,
           before.heap, grown.heap, platform.heap);
    if (before.gdi < 0) printf("  GDI objects are not counted here\n");
    if (before.user < 0) printf("  USER objects are not counted here\n");
    EXPECT_EQ(grown.gdi, 0);
    EXPECT_EQ(grown.user, 0);
    EXPECT_EQ(grown.windows, 0);
    EXPECT_EQ(grown.heap, platform.heap);
}

INSTANTIATE_TEST_SUITE_P(Rounds, Leaks,
                         testing::Values(LeakCase{"WindowInformation", WindowInformationOnce, IDD_WINDOW_INFO},
                                         LeakCase{"ClassInformation", ClassInformationOnce, IDD_CLASS_INFO},
                                         LeakCase{"MoveWindow", MoveWindowOnce, IDD_MOVE_WINDOW},
                                         LeakCase{"StyleEditor", StyleEditorOnce, IDD_STYLE_EDITOR},
                                         LeakCase{"Pick", PickOnce, 0}),
                         [](const testing::TestParamInfo<LeakCase>& i) { return std::string(i.param.name); });
