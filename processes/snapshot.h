// Process, thread and module snapshot, and the process services the whole program shares.
#ifndef VANTIX_SNAPSHOT_H
#define VANTIX_SNAPSHOT_H

#include <windows.h>
#include <tlhelp32.h>

// Lengthy refreshes run between these two; not nestable.
void BeginWaitCursor();
void EndWaitCursor();

#endif
