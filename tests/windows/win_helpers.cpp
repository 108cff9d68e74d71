#include "win_helpers.h"
#include "support/testing.h"

#include <atomic>
#include <stdio.h>
#include <string.h>
#include <thread>

// ---- A tree view of this process

static HTREEITEM NextItem(HWND tree, HTREEITEM item, UINT how)
{
    return (HTREEITEM)SendMessageA(tree, TVM_GETNEXTITEM, how, (LPARAM)item);
}

HTREEITEM TreeRoot(HWND tree)
{
    return NextItem(tree, NULL, TVGN_ROOT);
}

HTREEITEM TreeParent(HWND tree, HTREEITEM item)
{
    return NextItem(tree, item, TVGN_PARENT);
}

std::vector<HTREEITEM> TreeChildren(HWND tree, HTREEITEM parent)
{
    std::vector<HTREEITEM> out;
    for (HTREEITEM c = NextItem(tree, parent, TVGN_CHILD); c; c = NextItem(tree, c, TVGN_NEXT)) out.push_back(c);
    return out;
}

static TVITEMA ReadItem(HWND tree, HTREEITEM item, char* buf, int size)
{
    TVITEMA tv;
    ZeroMemory(&tv, sizeof(tv));
    tv.mask = TVIF_HANDLE | TVIF_TEXT | TVIF_PARAM | TVIF_STATE;
    tv.hItem = item;
    tv.pszText = buf;
    tv.cchTextMax = size;
    tv.stateMask = 0xFF;
    buf[0] = '\0';
    SendMessageA(tree, TVM_GETITEMA, 0, (LPARAM)&tv);
    return tv;
}

std::string TreeText(HWND tree, HTREEITEM item)
{
    char buf[2048];
    ReadItem(tree, item, buf, sizeof(buf));
    return buf;
}

HWND TreeWindow(HWND tree, HTREEITEM item)
{
    char buf[8];
    return (HWND)ReadItem(tree, item, buf, sizeof(buf)).lParam;
}

UINT TreeState(HWND tree, HTREEITEM item)
{
    char buf[8];
    return ReadItem(tree, item, buf, sizeof(buf)).state;
}

static void CollectItems(HWND tree, HTREEITEM item, std::vector<HTREEITEM>* out)
{
    for (; item; item = NextItem(tree, item, TVGN_NEXT)) {
        out->push_back(item);
        CollectItems(tree, NextItem(tree, item, TVGN_CHILD), out);
    }
}

std::vector<HTREEITEM> TreeItems(HWND tree)
{
    std::vector<HTREEITEM> out;
    CollectItems(tree, TreeRoot(tree), &out);
    return out;
}

std::vector<HTREEITEM> ItemsOfWindow(HWND tree, HWND hWnd)
{
    std::vector<HTREEITEM> out;
    for (HTREEITEM i : TreeItems(tree))
        if (TreeWindow(tree, i) == hWnd) out.push_back(i);
    return out;
}

void SelectTreeItem(HWND tree, HTREEITEM item)
{
    SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, (LPARAM)item);
}

// ---- A tree view of another process

RemoteTree::RemoteTree(HWND tree) : tree_(tree), process_(NULL), mem_(NULL)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(tree, &pid);
    process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE | PROCESS_QUERY_INFORMATION,
                           FALSE, pid);
    if (process_) mem_ = (char*)VirtualAllocEx(process_, NULL, 4096, MEM_COMMIT, PAGE_READWRITE);
}

RemoteTree::~RemoteTree()
{
    if (mem_) VirtualFreeEx(process_, mem_, 0, MEM_RELEASE);
    if (process_) CloseHandle(process_);
}

HTREEITEM RemoteTree::Root() const
{
    return NextItem(tree_, NULL, TVGN_ROOT);
}

HTREEITEM RemoteTree::Child(HTREEITEM item) const
{
    return NextItem(tree_, item, TVGN_CHILD);
}

HTREEITEM RemoteTree::Next(HTREEITEM item) const
{
    return NextItem(tree_, item, TVGN_NEXT);
}

std::string RemoteTree::Text(HTREEITEM item) const
{
    TVITEMA tv;
    ZeroMemory(&tv, sizeof(tv));
    tv.mask = TVIF_HANDLE | TVIF_TEXT;
    tv.hItem = item;
    tv.pszText = mem_ + 1024;
    tv.cchTextMax = 2048;
    WriteProcessMemory(process_, mem_, &tv, sizeof(tv), NULL);
    SendMessageA(tree_, TVM_GETITEMA, 0, (LPARAM)mem_);
    char buf[2049] = "";
    ReadProcessMemory(process_, mem_ + 1024, buf, 2048, NULL);
    buf[2048] = '\0';
    return buf;
}

HWND RemoteTree::Window(HTREEITEM item) const
{
    TVITEMA tv;
    ZeroMemory(&tv, sizeof(tv));
    tv.mask = TVIF_HANDLE | TVIF_PARAM;
    tv.hItem = item;
    WriteProcessMemory(process_, mem_, &tv, sizeof(tv), NULL);
    SendMessageA(tree_, TVM_GETITEMA, 0, (LPARAM)mem_);
    ReadProcessMemory(process_, mem_, &tv, sizeof(tv), NULL);
    return (HWND)tv.lParam;
}

void RemoteTree::Walk(HTREEITEM item, const std::function<void(HTREEITEM)>& fn) const
{
    for (; item; item = Next(item)) {
        fn(item);
        Walk(Child(item), fn);
    }
}

HTREEITEM RemoteTree::Find(HWND hWnd) const
{
    HTREEITEM found = NULL;
    Walk(Root(), [&](HTREEITEM i) { if (!found && Window(i) == hWnd) found = i; });
    return found;
}

int RemoteTree::Count(HWND hWnd) const
{
    int n = 0;
    Walk(Root(), [&](HTREEITEM i) { if (Window(i) == hWnd) n++; });
    return n;
}

void RemoteTree::Select(HTREEITEM item) const
{
    SendMessageA(tree_, TVM_SELECTITEM, TVGN_CARET, (LPARAM)item);
}

// ---- windows_fixture.exe

WindowsFixture::WindowsFixture(const std::string& title, const std::string& args)
    : handle_(NULL), pid_(0), window_(NULL)
{
    std::string exe = ProgramFolder() + "\\windows_fixture.exe";
    handle_ = StartProcess("\"" + exe + "\" --title \"" + title + "\" " + args, &pid_);
    if (handle_) window_ = WaitForTopWindow(pid_, "VantixWindowsFixture", NULL, true, 15000);
}

WindowsFixture::~WindowsFixture()
{
    if (!handle_) return;
    if (WaitForSingleObject(handle_, 0) == WAIT_TIMEOUT) {
        TerminateProcess(handle_, 3);
        WaitForSingleObject(handle_, 5000);
    }
    CloseHandle(handle_);
}

bool WindowsFixture::Arm() const
{
    DWORD_PTR armed = 0;
    return window_ && SendMessageTimeoutA(window_, WM_APP, 0, 0, SMTO_NORMAL, 5000, &armed) && armed == 1;
}

void WindowsFixture::Kill() const
{
    if (handle_) TerminateProcess(handle_, 9);
}

// ---- Watching a loop

namespace {

struct LoopWatchState {
    std::atomic<long> handled{0};
    std::atomic<bool> stop{false};
    std::atomic<bool> stuck{false};
    std::thread watcher;
};

} // namespace

LRESULT CALLBACK LoopWatch::ProbeProc(HWND h, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_APP) {
        LoopWatchState* st = (LoopWatchState*)GetWindowLongPtrA(h, GWLP_USERDATA);
        if (st) st->handled++;
        return 0;
    }
    return DefWindowProcA(h, msg, wp, lp);
}

LoopWatch::LoopWatch(DWORD stuckMs, std::function<void()> onStuck)
{
    static const char kClass[] = "VantixLoopProbe";
    WNDCLASSA wc;
    ZeroMemory(&wc, sizeof(wc));
    wc.lpfnWndProc = ProbeProc;
    wc.hInstance = GetModuleHandleA(NULL);
    wc.lpszClassName = kClass;
    RegisterClassA(&wc);
    // A message-only window: no enumeration of the desktop's windows meets it.
    probe_ = CreateWindowExA(0, kClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, NULL, wc.hInstance, NULL);
    LoopWatchState* st = new LoopWatchState;
    state_ = st;
    SetWindowLongPtrA(probe_, GWLP_USERDATA, (LONG_PTR)st);
    HWND probe = probe_;
    st->watcher = std::thread([st, probe, stuckMs, onStuck] {
        while (!st->stop) {
            long before = st->handled;
            PostMessageA(probe, WM_APP, 0, 0);
            // This thread owns no window: waiting without a message loop is right here.
            if (!WaitUntil([&] { return st->handled != before || st->stop; }, stuckMs)) {
                st->stuck = true;
                onStuck();
                return;
            }
        }
    });
}

bool LoopWatch::Finish()
{
    LoopWatchState* st = (LoopWatchState*)state_;
    if (!st->watcher.joinable()) return !st->stuck;
    long before = st->handled;
    PostMessageA(probe_, WM_APP, 0, 0);
    PumpUntil([&] { return st->handled != before; }, 5000);
    st->stop = true;
    st->watcher.join();
    return !st->stuck && st->handled != before;
}

LoopWatch::~LoopWatch()
{
    Finish();
    DestroyWindow(probe_);
    delete (LoopWatchState*)state_;
}

// ---- Modal dialogs

static std::function<void(HWND)> s_modalAct;
static std::string s_modalPrefix;
static HWND s_modalDialog;
static DWORD s_modalStart;
static UINT_PTR s_modalTimer;

struct ModalSearch {
    const char* prefix;
    HWND found;
};

static BOOL CALLBACK FindModalProc(HWND h, LPARAM lp)
{
    ModalSearch* s = (ModalSearch*)lp;
    char text[256] = "";
    GetWindowTextA(h, text, sizeof(text));
    if (IsWindowVisible(h) && strncmp(text, s->prefix, strlen(s->prefix)) == 0) {
        s->found = h;
        return FALSE;
    }
    return TRUE;
}

static void CALLBACK ModalGuardProc(HWND, UINT, UINT_PTR id, DWORD)
{
    if (GetTickCount() - s_modalStart < 10000) return;
    KillTimer(NULL, id);
    if (IsWindow(s_modalDialog)) PostMessageA(s_modalDialog, WM_COMMAND, IDCANCEL, 0);
}

static void CALLBACK ModalActProc(HWND, UINT, UINT_PTR id, DWORD)
{
    ModalSearch s = {s_modalPrefix.c_str(), NULL};
    EnumThreadWindows(GetCurrentThreadId(), FindModalProc, (LPARAM)&s);
    if (!s.found) {
        if (GetTickCount() - s_modalStart > 10000) CancelModalAct();
        return;
    }
    KillTimer(NULL, id);
    s_modalTimer = 0;
    s_modalDialog = s.found;
    s_modalStart = GetTickCount();
    SetTimer(NULL, 0, 200, ModalGuardProc);
    auto act = s_modalAct;
    s_modalAct = nullptr;
    if (act) act(s.found);
}

void CancelModalAct()
{
    if (s_modalTimer) KillTimer(NULL, s_modalTimer);
    s_modalTimer = 0;
    s_modalAct = nullptr;
}

void ActInModal(const char* captionPrefix, std::function<void(HWND)> act)
{
    CancelModalAct();
    s_modalAct = act;
    s_modalPrefix = captionPrefix;
    s_modalDialog = NULL;
    s_modalStart = GetTickCount();
    s_modalTimer = SetTimer(NULL, 0, 30, ModalActProc);
}

void ClickCheckBox(HWND dlg, int id)
{
    CheckDlgButton(dlg, id, IsDlgButtonChecked(dlg, id) == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED);
    SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetDlgItem(dlg, id));
}

void PressButton(HWND dlg, int id)
{
    SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetDlgItem(dlg, id));
}

struct CaptionSearch {
    const char* caption;
    std::vector<HWND> found;
};

static BOOL CALLBACK CollectCaptionProc(HWND h, LPARAM lp)
{
    CaptionSearch* s = (CaptionSearch*)lp;
    char cls[32] = "", text[256] = "";
    GetClassNameA(h, cls, sizeof(cls));
    GetWindowTextA(h, text, sizeof(text));
    if (strcmp(cls, "#32770") == 0 && strcmp(text, s->caption) == 0) s->found.push_back(h);
    return TRUE;
}

std::vector<HWND> CaptionDialogs(const char* caption)
{
    CaptionSearch s = {caption, {}};
    EnumThreadWindows(GetCurrentThreadId(), CollectCaptionProc, (LPARAM)&s);
    return s.found;
}

HWND NewDialog(const char* caption, const std::vector<HWND>& before)
{
    for (HWND h : CaptionDialogs(caption)) {
        bool old = false;
        for (HWND b : before) old = old || b == h;
        if (!old) return h;
    }
    return NULL;
}

// ---- Pictures

bool SaveWindowShot(HWND hWnd, const std::string& path)
{
    RECT rc;
    if (!GetWindowRect(hWnd, &rc)) return false;
    int w = rc.right - rc.left, h = rc.bottom - rc.top;
    if (w <= 0 || h <= 0) return false;
    HDC screen = GetDC(NULL);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, w, h);
    HGDIOBJ old = SelectObject(mem, bmp);
    BitBlt(mem, 0, 0, w, h, screen, rc.left, rc.top, SRCCOPY);
    SelectObject(mem, old);
    BITMAPINFOHEADER bi;
    ZeroMemory(&bi, sizeof(bi));
    bi.biSize = sizeof(bi);
    bi.biWidth = w;
    bi.biHeight = h;
    bi.biPlanes = 1;
    bi.biBitCount = 24;
    bi.biCompression = BI_RGB;
    int stride = ((w * 3 + 3) / 4) * 4;
    std::vector<unsigned char> bits((size_t)stride * h);
    GetDIBits(mem, bmp, 0, h, bits.data(), (BITMAPINFO*)&bi, DIB_RGB_COLORS);
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(NULL, screen);
    BITMAPFILEHEADER bf;
    ZeroMemory(&bf, sizeof(bf));
    bf.bfType = 0x4D42;
    bf.bfOffBits = sizeof(bf) + sizeof(bi);
    bf.bfSize = bf.bfOffBits + (DWORD)bits.size();
    FILE* f = fopen(path.c_str(), "wb");
    if (!f) return false;
    fwrite(&bf, sizeof(bf), 1, f);
    fwrite(&bi, sizeof(bi), 1, f);
    fwrite(bits.data(), 1, bits.size(), f);
    fclose(f);
    return true;
}
