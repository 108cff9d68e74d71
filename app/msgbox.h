// String-table access and the program's two kinds of message box.
#ifndef VANTIX_MSGBOX_H
#define VANTIX_MSGBOX_H

#include <windows.h>

#define RESSTRING_CHARS 1024
#define BOXTEXT_CHARS   260

// String-table entry id in one shared buffer that the next call overwrites; empty when missing.
const char* LoadResString(UINT id);
// Error box: string id, or for id 0 the system's text for the calling thread's last error.
int ShowErrorBox(UINT id);
// Yes/No confirmation; answered Yes at once when the user skips warnings.
bool ConfirmAction(UINT id);

#endif
