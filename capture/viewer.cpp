// The capture viewer window.
#include "capture/viewer.h"
#include "capture/pipeline.h"
#include "capture/dib.h"
#include "app/dpi.h"
#include "app/program.h"
#include "app/msgbox.h"
#include "app/help.h"
#include "resource.h"

#include <string.h>

// One per viewer, pointed to by the window's extra bytes.
struct ViewerState {
    HGLOBAL dib;        // the picture shown; the viewer owns it
    UINT scale;         // IDC_VIEW_SCALE1..IDC_VIEW_SCALE32
    bool reported;      // the last drawing failed and was reported
};

static ATOM s_atomViewer;
static char s_szViewerClass[64];

// ---- Sizes (pure)

SIZE ViewerClientSize(int capturedW, int capturedH, int cxFull, int cyFull, int cxMin, int cyMin)
{
    SIZE s;
    s.cx = capturedW < cxFull ? capturedW : cxFull;
    s.cy = capturedH < cyFull ? capturedH : cyFull;
    if (s.cx < cxMin) s.cx = cxMin;
    if (s.cy < cyMin) s.cy = cyMin;
    return s;
}

int ViewerHeightGrowth(int capturedH, int clientH, int cyFull)
{
    if (capturedH <= clientH || cyFull <= clientH) return 0;
    // Never beyond the full-screen height that the planned size was already limited to.
    int wanted = capturedH < cyFull ? capturedH : cyFull;
    return wanted - clientH;
}

int ZoomFactor(UINT scaleId)
{
    if (scaleId < IDC_VIEW_SCALE1 || scaleId > IDC_VIEW_SCALE32) return 1;
    return 1 << (scaleId - IDC_VIEW_SCALE1);
}

// ---- The window

static ViewerState* StateOf(HWND hWnd)
{
    return (ViewerState*)GetWindowLongPtrA(hWnd, 0);
}

static LRESULT CALLBACK CaptureViewerProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);

static bool RegisterViewerClass()
{
    if (s_atomViewer) return true;
    lstrcpynA(s_szViewerClass, LoadResString(IDS_VIEWER_CLASS), sizeof(s_szViewerClass));
    WNDCLASSEXA wc;
    ZeroMemory(&wc, sizeof(wc));
    wc.cbSize = sizeof(wc);
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = CaptureViewerProc;
    wc.cbWndExtra = sizeof(ViewerState*);
    wc.hInstance = g_hInst;
    wc.hIcon = LoadIconA(g_hInst, MAKEINTRESOURCEA(IDI_CAPTURE));
    wc.hIconSm = (HICON)LoadImageA(g_hInst, MAKEINTRESOURCEA(IDI_CAPTURE), IMAGE_ICON,
                                   GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0);
    wc.hCursor = LoadCursorA(NULL, (LPCSTR)IDC_ARROW);
    wc.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
    wc.lpszMenuName = MAKEINTRESOURCEA(IDM_CAPTURE_VIEWER);
    wc.lpszClassName = s_szViewerClass;
    s_atomViewer = RegisterClassExA(&wc);
    return s_atomViewer != 0;
}

void OpenCaptureViewer()
{
    if (!RegisterViewerClass()) {
        ShowErrorBox(0);
        return;
    }
    SIZE client = ViewerClientSize(g_rcCapture.right - g_rcCapture.left, g_rcCapture.bottom - g_rcCapture.top,
                                   GetSystemMetrics(SM_CXFULLSCREEN), GetSystemMetrics(SM_CYFULLSCREEN),
                                   GetSystemMetrics(SM_CXMIN), GetSystemMetrics(SM_CYMIN));
    RECT rc = {0, 0, client.cx, client.cy};
    AdjustWindowRectForDpi(&rc, WS_OVERLAPPEDWINDOW, TRUE, 0, SystemDpi());
    char caption[128];
    lstrcpynA(caption, LoadResString(IDS_VIEWER_CAPTION), sizeof(caption));
    CreateWindowExA(0, s_szViewerClass, caption, WS_OVERLAPPEDWINDOW | WS_VISIBLE, CW_USEDEFAULT,
                    CW_USEDEFAULT, rc.right - rc.left, rc.bottom - rc.top, NULL, NULL, g_hInst, NULL);
}

static LRESULT Viewer_OnCreate(HWND hWnd)
{
    ViewerState* state = (ViewerState*)HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(ViewerState));
    if (!state) return -1;
    state->scale = IDC_VIEW_SCALE1;
    state->dib = g_hCaptureDib;
    g_hCaptureDib = NULL;
    SetWindowLongPtrA(hWnd, 0, (LONG_PTR)state);

    RECT client, win;
    GetClientRect(hWnd, &client);
    GetWindowRect(hWnd, &win);
    int grow = ViewerHeightGrowth(g_rcCapture.bottom - g_rcCapture.top, client.bottom,
                                  GetSystemMetrics(SM_CYFULLSCREEN));
    if (grow > 0)
        SetWindowPos(hWnd, NULL, 0, 0, win.right - win.left, win.bottom - win.top + grow, SWP_NOMOVE | SWP_NOZORDER);
    InvalidateRect(hWnd, NULL, FALSE);
    return 0;
}

static void Viewer_OnPaint(HWND hWnd)
{
    // Every paint clears the background and draws the whole picture.
    InvalidateRect(hWnd, NULL, TRUE);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hWnd, &ps);
    ViewerState* state = StateOf(hWnd);
    bool failed = false;
    DWORD err = 0;
    if (state && state->dib) {
        const BYTE* block = (const BYTE*)GlobalLock(state->dib);
        if (block) {
            const BITMAPINFOHEADER* bi = (const BITMAPINFOHEADER*)block;
            int height = bi->biHeight < 0 ? -bi->biHeight : bi->biHeight;
            int factor = ZoomFactor(state->scale);
            if (!StretchDIBits(dc, 0, 0, bi->biWidth * factor, height * factor, 0, 0, bi->biWidth, height,
                               block + DibBitsOffset(block), (const BITMAPINFO*)block, DIB_RGB_COLORS, SRCCOPY)) {
                failed = true;
                err = GetLastError();
            }
            GlobalUnlock(state->dib);
        }
    }
    EndPaint(hWnd, &ps);
    // Every dismissed box uncovers the viewer, and a failure that lasts would bring the next
    // box at once: a failure is reported once, until a drawing succeeds again.
    if (!state) return;
    if (!failed) {
        state->reported = false;
    } else if (!state->reported) {
        state->reported = true;
        SetLastError(err);
        ShowErrorBox(0);
    }
}

static void Viewer_OnCopy(ViewerState* state)
{
    if (!state->dib) return;
    SIZE_T size = GlobalSize(state->dib);
    HGLOBAL copy = GlobalAlloc(DIB_BLOCK_FLAGS, size);
    if (!copy) return;
    void* to = GlobalLock(copy);
    const void* from = GlobalLock(state->dib);
    if (to && from) memcpy(to, from, size);
    if (from) GlobalUnlock(state->dib);
    if (to) GlobalUnlock(copy);
    if (!to || !from) {
        GlobalFree(copy);
        return;
    }
    // A copy of its own, not the capture state: a Save As dialog of a delivery may be open
    // below this menu command with the capture it is saving.
    HBITMAP bitmap = DibToBitmap(copy);
    CopyCaptureToClipboard(&bitmap, &copy);
    if (bitmap) DeleteObject(bitmap);
    if (copy) GlobalFree(copy);
}

static bool Viewer_OnCommand(HWND hWnd, UINT id)
{
    ViewerState* state = StateOf(hWnd);
    switch (id) {
    case IDC_VIEW_SAVE:
        if (state) SaveDibToFile(hWnd, state->dib);
        return true;
    case IDC_VIEW_COPY:
        if (state) Viewer_OnCopy(state);
        return true;
    case IDC_VIEW_CLOSE:
        SendMessageA(hWnd, WM_CLOSE, 0, 0);
        return true;
    case IDC_VIEW_HELP:
        ShowHelpTopic(IDC_VIEW_TOPIC);
        return true;
    case IDC_VIEW_SCALE1:
    case IDC_VIEW_SCALE2:
    case IDC_VIEW_SCALE4:
    case IDC_VIEW_SCALE8:
    case IDC_VIEW_SCALE16:
    case IDC_VIEW_SCALE32:
        if (state) state->scale = id;
        InvalidateRect(hWnd, NULL, FALSE);
        return true;
    }
    return false;
}

static void Viewer_OnDestroy(HWND hWnd)
{
    ViewerState* state = StateOf(hWnd);
    if (!state) return;
    SetWindowLongPtrA(hWnd, 0, 0);
    if (state->dib) GlobalFree(state->dib);
    HeapFree(GetProcessHeap(), 0, state);
}

static LRESULT CALLBACK CaptureViewerProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_CREATE:
        if (Viewer_OnCreate(hWnd) != 0) return -1;
        break;
    case WM_PAINT:
        Viewer_OnPaint(hWnd);
        return 0;
    case WM_COMMAND:
        if (Viewer_OnCommand(hWnd, LOWORD(wParam))) return 0;
        break;
    case WM_CLOSE:
        DestroyWindow(hWnd);
        return 0;
    case WM_DPICHANGED: {
        // The picture stays at its zoom in physical pixels; the window takes the new frame.
        const RECT* rc = (const RECT*)lParam;
        SetWindowPos(hWnd, NULL, rc->left, rc->top, rc->right - rc->left, rc->bottom - rc->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
    case WM_DESTROY:
        Viewer_OnDestroy(hWnd);
        break;
    }
    return DefWindowProcA(hWnd, msg, wParam, lParam);
}
