// The main dialog: tab control, one page at a time from the page table, and the proportional
// layout. Above every page and dialog (it creates the pages), below start-up only.
#ifndef VANTIX_MAINDLG_H
#define VANTIX_MAINDLG_H

#include <windows.h>
// g_hMainDlg, g_hPage and g_bClosingAll live in program.h, the services every dialog and page
// shares in dlgservices.h; both come along for the code that opens the main dialog.
#include "app/program.h"
#include "app/dlgservices.h"

#define LAYOUT_MAX_ENTRIES 40

extern HWND g_hTab;
// Outer size of the main dialog as built from its template: the minimum size.
extern SIZE g_sizeMainTemplate;

INT_PTR CALLBACK MainDlgProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam);

// Records the shown page's windows as they were laid out for the page's size; every rescale of
// the page starts from this record.
void RecordPageLayout();
// Number of page windows the last RecordPageLayout took (at most LAYOUT_MAX_ENTRIES).
int RecordedLayoutCount();

#endif
