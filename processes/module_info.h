// The Module Information dialog: one module of one process, as it was when the dialog opened.
#ifndef VANTIX_MODULE_INFO_H
#define VANTIX_MODULE_INFO_H

#include <windows.h>
#include "processes/snapshot.h"

// Opens a new modeless, ownerless dialog; the record need only live during the call.
HWND OpenModuleInfo(const ProcessRecord* record);

#endif
