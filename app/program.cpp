// The program-wide handles; their owners (start-up, the main dialog) set them.
#include "app/program.h"

HINSTANCE g_hInst;
HWND g_hMainWnd;
HWND g_hMainDlg;
HWND g_hPage;
BOOL g_bClosingAll;
