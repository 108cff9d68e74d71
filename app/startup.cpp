// Start-up, single instance, hidden main window, About box and the one message loop.
#include "app/startup.h"
#include "app/maindlg.h"
#include "app/about.h"
#include "app/msgbox.h"
#include "app/settings.h"
#include "app/tray.h"
#include "app/help.h"
#include "app/banner.h"
#include "app/contextmenu.h"
#include "resource.h"

#include <commctrl.h>

// Set while the hidden window is being destroyed, so that the Quit command of the main dialog's
// close path, which runs inside that destruction, does not ask for it a second time.
static bool s_bMainWndDying;

// How long a second start waits for the first instance to take its Open command.
static const UINT kHandOverMs = 5000;

bool StartsInTray(const char* cmdLine)
{
    return cmdLine && (cmdLine[0] == 't' || cmdLine[0] == 'T');
}

static bool ActivatePreviousInstance()
{
    char name[64];
    lstrcpynA(name, LoadResString(IDS_MAIN_CLASS), sizeof(name));
    HWND other = FindWindowA(name, name);
    if (!other) return false;
    // The first instance may only bring its dialog forward when this one, which the user just
    // started and which may take the foreground, hands that right over.
    DWORD pid = 0;
    GetWindowThreadProcessId(other, &pid);
    if (pid) AllowSetForegroundWindow(pid);
    // A hung first instance must not hang this start too: the request is bounded, and this start
    // ends either way, since a second instance must never run.
    DWORD_PTR result = 0;
    SendMessageTimeoutA(other, WM_COMMAND, IDC_CMD_OPEN, 0, SMTO_ABORTIFHUNG, kHandOverMs, &result);
    return true;
}

static LRESULT CALLBACK MainWndProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);

bool RegisterMainWindowClass()
{
    char name[64];
    lstrcpynA(name, LoadResString(IDS_MAIN_CLASS), sizeof(name));
    WNDCLASSEXA wc;
    ZeroMemory(&wc, sizeof(wc));
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = MainWndProc;
    wc.hInstance = g_hInst;
    wc.lpszClassName = name;
    return RegisterClassExA(&wc) != 0;
}

HWND CreateMainWindow()
{
    char name[64];
    lstrcpynA(name, LoadResString(IDS_MAIN_CLASS), sizeof(name));
    return CreateWindowExA(0, name, name, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, 0, CW_USEDEFAULT, 0,
                           NULL, NULL, g_hInst, NULL);
}

void OpenMainDialog()
{
    if (g_hMainDlg && IsWindow(g_hMainDlg)) {
        // A minimized dialog stays an icon when only brought forward.
        if (IsIconic(g_hMainDlg)) ShowWindow(g_hMainDlg, SW_RESTORE);
        SetForegroundWindow(g_hMainDlg);
        return;
    }
    CreateDialogParamA(g_hInst, MAKEINTRESOURCEA(IDD_MAIN), NULL, MainDlgProc, 0);
}

// ---- Hidden main window

static void Startup_OnCommand(HWND hWnd, int id)
{
    switch (id) {
    case IDC_CMD_OPEN:  OpenMainDialog(); break;
    case IDC_CMD_QUIT:
        // The main dialog's close path asks for this while this very window is being
        // destroyed (and is destroying that dialog): nothing more to do then.
        if (!s_bMainWndDying) DestroyWindow(hWnd);
        break;
    case IDC_CMD_ABOUT: OpenAboutBox(hWnd); break;
    case IDC_MAIN_HELP:  ShowHelpContents(); break;
    default: break;
    }
}

static void Startup_OnTrayNotify(HWND hWnd, UINT mouseMsg)
{
    if (mouseMsg == WM_LBUTTONUP || mouseMsg == WM_LBUTTONDBLCLK) {
        OpenMainDialog();
    } else if (mouseMsg == WM_RBUTTONUP) {
        HMENU menu = LoadMenuA(g_hInst, MAKEINTRESOURCEA(IDM_TRAY));
        if (!menu) return;
        HMENU popup = GetSubMenu(menu, 0);
        SetMenuDefaultItem(popup, IDC_CMD_OPEN, FALSE);
        POINT pt;
        GetCursorPos(&pt);
        // The menu closes on a click elsewhere only while its owner is the foreground window;
        // the posted message lets a second click on the icon open it again at once.
        SetForegroundWindow(hWnd);
        TrackPopupMenu(popup, TPM_RIGHTBUTTON, pt.x, pt.y, 0, hWnd, NULL);
        PostMessageA(hWnd, WM_NULL, 0, 0);
        DestroyMenu(menu);
    }
}

static void Startup_OnDestroy()
{
    s_bMainWndDying = true;
    if (g_hMainDlg && IsWindow(g_hMainDlg)) DestroyWindow(g_hMainDlg);
    // The program ends: its icon would otherwise stay in the tray until the mouse passes over
    // it. The Run value stays, since the option itself is unchanged.
    DeleteTrayIcon();
    g_hMainWnd = NULL;
    s_bMainWndDying = false;
    PostQuitMessage(0);
}

static LRESULT CALLBACK MainWndProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_CREATE:
        InitCommonControls();
        return 0;
    case WM_DESTROY:
        Startup_OnDestroy();
        return 0;
    case WM_ENDSESSION:
        if (wParam) DestroyWindow(hWnd);
        return 0;
    case WM_HELP:
        OnHelpMessage((const HELPINFO*)lParam);
        return 0;
    case WM_CONTEXTMENU:
        OnContextMenuMessage(hWnd, (HWND)wParam, lParam);
        return 0;
    case WM_COMMAND:
        Startup_OnCommand(hWnd, LOWORD(wParam));
        return 0;
    case WM_APP:
        Startup_OnTrayNotify(hWnd, (UINT)lParam);
        return 0;
    }
    return DefWindowProcA(hWnd, msg, wParam, lParam);
}

void OpenStartWindows(bool tray)
{
    if (tray || g_Options.TrayIcon) AddTrayIcon();
    if (tray) return;
    // The first page may take a full snapshot: the banner shows meanwhile.
    ShowBanner();
    OpenMainDialog();
    HideBanner();
}

// ---- Message loop

static bool IsDialogWindow(HWND hWnd)
{
    char cls[16] = "";
    return GetClassNameA(hWnd, cls, sizeof(cls)) > 0 && lstrcmpA(cls, "#32770") == 0;
}

// A key that is a command (Copy, Find) goes to the dialogs that hold the focus, innermost first,
// before the dialog manager makes a character or a button press of it; on the main dialog's
// own buttons and tabs it goes to the page shown. True when one of them took it.
static bool DispatchProgramKey(const MSG* msg)
{
    int command = ProgramKeyCommandOf(msg);
    if (!command) return false;
    HWND focus = GetFocus();
    HWND top = NULL;
    for (HWND w = focus; w; w = (GetWindowLongA(w, GWL_STYLE) & WS_CHILD) ? GetParent(w) : NULL) {
        top = w;
        if (IsDialogWindow(w) && SendMessageA(w, WM_PROGRAM_KEY, (WPARAM)command, 0)) return true;
    }
    return top && top == g_hMainDlg && g_hPage && !IsChild(g_hPage, focus) &&
           SendMessageA(g_hPage, WM_PROGRAM_KEY, (WPARAM)command, 0);
}

void DispatchProgramMessage(MSG* msg)
{
    if (DispatchProgramKey(msg)) return;
    HWND parent = GetParent(GetFocus());
    if (parent && parent != g_hMainWnd && IsDialogMessageA(parent, msg)) return;
    TranslateMessage(msg);
    DispatchMessageA(msg);
}

static int RunMessageLoop()
{
    MSG msg;
    while (GetMessageA(&msg, NULL, 0, 0) > 0)
        DispatchProgramMessage(&msg);
    return 0;
}

int VantixMain(HINSTANCE hInst, const char* cmdLine)
{
    g_hInst = hInst;
    if (ActivatePreviousInstance()) return 0;

    char exe[MAX_PATH];
    DWORD len = GetModuleFileNameA(g_hInst, exe, sizeof(exe));
    if (len == 0 || len >= sizeof(exe)) exe[0] = '\0';
    BuildHelpFilePath(exe, g_szHelpFile, sizeof(g_szHelpFile));

    LoadOptions();

    if (!RegisterMainWindowClass()) {
        ShowErrorBox(0);
        return 0;
    }
    g_hMainWnd = CreateMainWindow();
    if (!IsWindow(g_hMainWnd)) {
        ShowErrorBox(0);
        return 0;
    }

    OpenStartWindows(StartsInTray(cmdLine));
    RunMessageLoop();
    return 0;
}
