// The main dialog: tab control, one page at a time, layout, and the services shared by every
// information dialog (system-menu items, icons, closing them all).
#ifndef VANTIX_MAINDLG_H
#define VANTIX_MAINDLG_H

#include <windows.h>

#define LAYOUT_MAX_ENTRIES 40

extern HWND g_hMainDlg;
extern HWND g_hTab;
extern HWND g_hPage;
extern BOOL g_bClosingAll;
// Outer size of the main dialog as built from its template: the minimum size.
extern SIZE g_sizeMainTemplate;

extern const DLGPROC PageProcs[5];

INT_PTR CALLBACK MainDlgProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam);
void ShowPage(int index);

// Pages call this with every command id they receive: Escape inside a page reaches the page,
// and it must close the main dialog as it does anywhere else in it.
void ForwardPageCancel(int id);
// A page that shows its template as it stands, with Escape and help routed like every page.
INT_PTR CALLBACK TemplatePageProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam);

void AddInfoSysMenuItems(HWND hDlg);
void SetDialogIcons(HWND hDlg, int iconId);
void CloseInfoBoxes();

void MoveControlBy(HWND hWnd, int dx, int dy);
void GrowWindowBy(HWND hWnd, int dx, int dy, bool rescale);
void RecordPageLayout();
void ScalePageLayout();
// Number of page windows the last RecordPageLayout took (at most LAYOUT_MAX_ENTRIES).
int RecordedLayoutCount();

// Set by the hidden window while it is destroyed (startup.cpp).
bool MainWindowIsDying();

#endif
