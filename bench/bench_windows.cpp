// A fill of the Windows page's tree against a bare loop of the same enumeration, text and
// insertion calls, for 1,000 and 5,000 extra windows of two kinds: titled child windows, and
// untitled top-level windows (whose items name their program, a process lookup each).
//   bench_windows.exe [rounds (default 5)]
#include <windows.h>
#include <commctrl.h>
#include <stdio.h>
#include <stdlib.h>
#include <vector>

#include "app/settings.h"
#include "app/program.h"
#include "windows/names.h"
#include "windows/window_query.h"
#include "windows/windows_page.h"
#include "resource.h"

static double Now()
{
    LARGE_INTEGER f, c;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&c);
    return (double)c.QuadPart * 1000.0 / (double)f.QuadPart;
}

static void Pump()
{
    MSG msg;
    while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

// ---- The bare loop: the platform calls of a fill, nothing else

struct BareFill {
    HWND tree;
    HTREEITEM desktopItem;
    bool labelEveryWindow;   // look the program up for every untitled top-level window
    int windows;
};

static void BareBranch(BareFill* f, HWND hWnd, HTREEITEM parentItem);

struct BareContext {
    BareFill* fill;
    HWND parent;
    HTREEITEM parentItem;
};

static BOOL CALLBACK BareChildProc(HWND hWnd, LPARAM lParam)
{
    BareContext* c = (BareContext*)lParam;
    if (GetAncestor(hWnd, GA_PARENT) == c->parent) BareBranch(c->fill, hWnd, c->parentItem);
    return TRUE;
}

static void BareBranch(BareFill* f, HWND hWnd, HTREEITEM parentItem)
{
    char title[ITEM_TITLE_CHARS] = "";
    DWORD_PTR r = 0;
    SendMessageTimeoutA(hWnd, WM_GETTEXT, sizeof(title), (LPARAM)title, SMTO_ABORTIFHUNG, WINDOW_ANSWER_MS, &r);
    char cls[256] = "";
    GetClassNameA(hWnd, cls, sizeof(cls));
    char text[ITEM_TEXT_CHARS];
    if (!title[0] && parentItem == f->desktopItem && f->labelEveryWindow)
        snprintf(text, sizeof(text), "%s    [%s]", OwnerProcessLabel(hWnd, true), cls);
    else
        snprintf(text, sizeof(text), "\"%s\"    [%s]", title, cls);
    TVINSERTSTRUCTA ins;
    ZeroMemory(&ins, sizeof(ins));
    ins.hParent = parentItem;
    ins.hInsertAfter = TVI_LAST;
    ins.item.mask = TVIF_TEXT | TVIF_PARAM;
    ins.item.pszText = text;
    ins.item.lParam = (LPARAM)hWnd;
    HTREEITEM item = (HTREEITEM)SendMessageA(f->tree, TVM_INSERTITEMA, 0, (LPARAM)&ins);
    f->windows++;
    BareContext c = {f, hWnd, item};
    EnumChildWindows(hWnd, BareChildProc, (LPARAM)&c);
}

static BOOL CALLBACK BareTopProc(HWND hWnd, LPARAM lParam)
{
    BareFill* f = (BareFill*)lParam;
    BareBranch(f, hWnd, f->desktopItem);
    return TRUE;
}

static int BareFillTree(HWND tree, bool labelEveryWindow)
{
    SendMessageA(tree, WM_SETREDRAW, FALSE, 0);
    SendMessageA(tree, TVM_DELETEITEM, 0, (LPARAM)TVI_ROOT);
    BareFill f = {tree, NULL, labelEveryWindow, 1};
    TVINSERTSTRUCTA ins;
    ZeroMemory(&ins, sizeof(ins));
    ins.hParent = TVI_ROOT;
    ins.hInsertAfter = TVI_LAST;
    ins.item.mask = TVIF_TEXT;
    ins.item.pszText = (LPSTR)"(Desktop)";
    f.desktopItem = (HTREEITEM)SendMessageA(tree, TVM_INSERTITEMA, 0, (LPARAM)&ins);
    EnumWindows(BareTopProc, (LPARAM)&f);
    SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, (LPARAM)f.desktopItem);
    SendMessageA(tree, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(tree, NULL, TRUE);
    return f.windows;
}

// ---- Scenarios

static std::vector<HWND> MakeWindows(int n, bool untitledTopLevel, HWND host)
{
    std::vector<HWND> made;
    made.reserve(n);
    for (int i = 0; i < n; i++) {
        char text[32];
        snprintf(text, sizeof(text), "bench window %d", i);
        HWND h = untitledTopLevel
                     ? CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, NULL, NULL, NULL, NULL)
                     : CreateWindowExA(0, "STATIC", text, WS_CHILD, 0, 0, 10, 10, host, NULL, NULL, NULL);
        if (h) made.push_back(h);
    }
    return made;
}

static double PageFillMs(HWND page, int rounds)
{
    double t0 = Now();
    for (int r = 0; r < rounds; r++) {
        SendMessageA(page, WM_COMMAND, IDC_MAIN_REFRESH, 0);
        Pump();
    }
    return (Now() - t0) / rounds;
}

static double BareFillMs(HWND tree, bool labelEveryWindow, int rounds, int* windows)
{
    double t0 = Now();
    for (int r = 0; r < rounds; r++) {
        *windows = BareFillTree(tree, labelEveryWindow);
        Pump();
    }
    return (Now() - t0) / rounds;
}

int main(int argc, char** argv)
{
    setvbuf(stdout, NULL, _IONBF, 0);
    int rounds = argc > 1 ? atoi(argv[1]) : 5;
    if (rounds < 1) rounds = 1;
    g_hInst = GetModuleHandleA(NULL);
    InitCommonControls();
    SetOptionsDefaults(&g_Options);
    g_Options.ShowClass = 1;

    HWND host = CreateWindowExA(0, "STATIC", "bench host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 200, 60, 700, 600,
                                NULL, NULL, NULL, NULL);
    HWND page = CreateDialogParamA(g_hInst, MAKEINTRESOURCEA(IDD_PAGE_WINDOWS), host, WindowsPageProc, 0);
    HWND pageTree = GetDlgItem(page, IDC_WIN_TREE);
    RECT rc;
    GetWindowRect(pageTree, &rc);
    HWND bareTree = CreateWindowExA(WS_EX_CLIENTEDGE, WC_TREEVIEWA, "",
                                    WS_CHILD | WS_VISIBLE | WS_BORDER | TVS_HASBUTTONS | TVS_HASLINES, 0, 300, 400,
                                    250, host, NULL, NULL, NULL);
    Pump();

    printf("%d rounds each; times per fill\n", rounds);
    printf("%-30s %7s %9s %9s %7s %12s\n", "extra windows", "listed", "page ms", "bare ms", "ratio",
           "page us/win");
    double perWindow[2][2] = {{0, 0}, {0, 0}};
    const int sizes[2] = {1000, 5000};
    for (int kind = 0; kind < 2; kind++) {
        for (int s = 0; s < 2; s++) {
            int n = sizes[s];
            HWND parent = CreateWindowExA(0, "STATIC", "bench parent", WS_POPUP, 0, 0, 10, 10, NULL, NULL, NULL, NULL);
            std::vector<HWND> made = MakeWindows(n, kind == 1, parent);
            Pump();
            double pageMs = PageFillMs(page, rounds);
            int listed = (int)SendMessageA(pageTree, TVM_GETCOUNT, 0, 0);
            int bareListed = 0;
            double bareMs = BareFillMs(bareTree, false, rounds, &bareListed);
            char label[64];
            snprintf(label, sizeof(label), "%d %s", n, kind == 0 ? "titled children" : "untitled top-level");
            printf("%-30s %7d %9.1f %9.1f %7.2f %12.1f\n", label, listed, pageMs, bareMs,
                   bareMs > 0 ? pageMs / bareMs : 0.0, pageMs * 1000.0 / listed);
            perWindow[kind][s] = pageMs / listed;
            if (listed != bareListed) printf("  (bare loop listed %d)\n", bareListed);
            if (kind == 1) {
                // What the fill would cost looking up the program of every untitled window.
                double lookupMs = BareFillMs(bareTree, true, 1, &bareListed);
                printf("  bare loop with a process lookup per untitled window: %.1f ms (page / that: %.2f)\n",
                       lookupMs, lookupMs > 0 ? pageMs / lookupMs : 0.0);
            }
            for (HWND h : made) DestroyWindow(h);
            DestroyWindow(parent);
            Pump();
        }
    }
    for (int kind = 0; kind < 2; kind++)
        printf("growth of the page's time per window from 1000 to 5000 %s: %.2f\n",
               kind == 0 ? "titled children" : "untitled top-level",
               perWindow[kind][0] > 0 ? perWindow[kind][1] / perWindow[kind][0] : 0.0);
    DestroyWindow(host);
    return 0;
}
