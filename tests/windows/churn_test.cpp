// The window tree and the Task Manager list filled again and again while a program of ours
// creates and destroys windows as fast as it can be asked to: no fill may crash or keep an item
// for a window that had gone before the fill began.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <algorithm>
#include <functional>
#include <set>
#include <vector>
#include "win_helpers.h"
#include "integration/dialog_fixture.h"
#include "support/controls.h"
#include "windows/taskman_page.h"

namespace {

const int kFills = 50;
const int kChurnPerSecond = 1000;

struct ChurnWindows {
    DWORD pid;
    std::vector<HWND> windows;
    long long newest;   // the highest "churn K" seen, -1 before any
};

BOOL CALLBACK CollectChurnProc(HWND w, LPARAM lp)
{
    ChurnWindows* c = (ChurnWindows*)lp;
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    char title[32] = "";
    // Another process's window: its caption is read without a message.
    GetWindowTextA(w, title, sizeof(title));
    if (pid != c->pid || strncmp(title, "churn ", 6) != 0) return TRUE;
    c->windows.push_back(w);
    long long k = atoll(title + 6);
    if (k > c->newest) c->newest = k;
    return TRUE;
}

ChurnWindows Snapshot(DWORD pid)
{
    ChurnWindows c = {pid, {}, -1};
    EnumWindows(CollectChurnProc, (LPARAM)&c);
    return c;
}

std::vector<HWND> TreeWindows(HWND tree)
{
    std::vector<HWND> out;
    for (HTREEITEM i : TreeItems(tree)) out.push_back(TreeWindow(tree, i));
    return out;
}

std::vector<HWND> TaskListWindows()
{
    std::vector<HWND> out;
    for (int r = 0; r < RowCount(g_hTaskList); r++) out.push_back(TaskWindow((int)RowParamOf(g_hTaskList, r)));
    return out;
}

struct FillResult {
    int items = 0;         // items of all fills together
    int churnItems = 0;    // of them, items of the fixture's churned windows
    int stale = 0;         // items of windows that had gone before their fill began
    long long created = 0; // windows the fixture made meanwhile
    DWORD ms = 0;
};

// Fills kFills times; before each fill, every churned window seen so far that is no window any
// more counts as gone. A gone handle that names a window again after the fill was taken anew by
// the platform and is not counted.
FillResult FillWhileChurning(DWORD pid, const std::function<void()>& fill,
                             const std::function<std::vector<HWND>()>& listed)
{
    FillResult r;
    std::set<HWND> known;
    long long first = Snapshot(pid).newest, last = first;
    DWORD start = GetTickCount();
    for (int n = 0; n < kFills; n++) {
        ChurnWindows now = Snapshot(pid);
        known.insert(now.windows.begin(), now.windows.end());
        if (now.newest > last) last = now.newest;
        std::set<HWND> gone;
        for (HWND w : known)
            if (!IsWindow(w)) gone.insert(w);
        fill();
        std::set<HWND> churned(now.windows.begin(), now.windows.end());
        for (HWND w : listed()) {
            r.items++;
            if (churned.count(w) || gone.count(w)) r.churnItems++;
            if (gone.count(w) && !IsWindow(w)) r.stale++;
        }
        for (HWND w : gone) known.erase(w);
    }
    r.ms = GetTickCount() - start;
    last = std::max(last, Snapshot(pid).newest);
    r.created = last - first;
    return r;
}

void Report(const char* what, const FillResult& r)
{
    printf("%s: %d fills in %lu ms, %d items (%d of churned windows), %d for windows gone before the "
           "fill; the fixture made %lld windows meanwhile (%lld per second)\n",
           what, kFills, (unsigned long)r.ms, r.items, r.churnItems, r.stale, r.created,
           r.ms ? r.created * 1000 / (long long)r.ms : 0);
}

class Churn : public DialogTest {};

} // namespace

TEST_F(Churn, TreeAndTaskListFillWhileWindowsComeAndGo)
{
    char args[32];
    snprintf(args, sizeof(args), "--churn %d", kChurnPerSecond);
    WindowsFixture fx("Vantix churn fixture", args);
    ASSERT_TRUE(fx.Window()) << "windows_fixture did not start";
    ASSERT_TRUE(WaitUntil([&] { return Snapshot(fx.Pid()).newest >= 0; }, 5000)) << "the churn began";

    g_Options.PageIndex = 2;
    g_Options.TaskShowHidden = 1;   // the churned windows are never shown
    ASSERT_TRUE(OpenMain());
    HWND tree = GetDlgItem(g_hPage, IDC_WIN_TREE);
    ASSERT_TRUE(tree);
    FillResult inTree = FillWhileChurning(
        fx.Pid(), [] { SendMessageA(g_hPage, WM_COMMAND, IDC_MAIN_REFRESH, 0); }, [&] { return TreeWindows(tree); });
    Report("window tree", inTree);
    EXPECT_GT(inTree.churnItems, 0) << "the fills met churned windows";
    EXPECT_EQ(inTree.stale, 0);

    SelectTab(3);
    ASSERT_TRUE(PumpUntil([] { return g_hTaskList != NULL; }, 3000));
    FillResult inList = FillWhileChurning(
        fx.Pid(), [] { SendMessageA(g_hPage, WM_COMMAND, IDC_MAIN_REFRESH, 0); }, [] { return TaskListWindows(); });
    Report("task list", inList);
    EXPECT_GT(inList.churnItems, 0);
    EXPECT_EQ(inList.stale, 0);
    EXPECT_TRUE(IsWindow(g_hMainDlg)) << "the program is still there";
}
