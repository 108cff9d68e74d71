// The program's two kinds of message box. A small service above the settings (confirmations
// obey "Skip all warning messages"); the string table comes with it.
#ifndef VANTIX_MSGBOX_H
#define VANTIX_MSGBOX_H

#include <windows.h>
#include "app/resstring.h"

#define BOXTEXT_CHARS   260

// Error box: string id, or for id 0 the system's text for the calling thread's last error.
int ShowErrorBox(UINT id);
// Yes/No confirmation; answered Yes at once when the user skips warnings.
bool ConfirmAction(UINT id);

#endif
