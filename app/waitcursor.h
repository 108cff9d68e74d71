// The cursor shown while a lengthy step runs on the program's thread. A small service.
#ifndef VANTIX_WAITCURSOR_H
#define VANTIX_WAITCURSOR_H

#include <windows.h>

// Shows the system cursor id (IDC_WAIT, IDC_APPSTARTING) and returns the cursor it replaced.
HCURSOR ShowSystemCursor(LPCSTR id);
// Puts back the cursor that ShowSystemCursor replaced.
void RestoreCursor(HCURSOR previous);

// Lengthy refreshes run between these two under the arrow with the small hourglass; not
// nestable: a second BeginWaitCursor overwrites the kept cursor.
void BeginWaitCursor();
void EndWaitCursor();

#endif
