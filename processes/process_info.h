// The Process Information dialog: one process, its priority class, termination.
#ifndef VANTIX_PROCESS_INFO_H
#define VANTIX_PROCESS_INFO_H

#include <windows.h>
#include <tlhelp32.h>

// Opens a new modeless, ownerless dialog for the process; returns it (NULL when it failed).
HWND OpenProcessDialog(const PROCESSENTRY32* entry);
void RefreshProcessDialog(HWND hDlg);

// Pure: the radio button of a priority class (0 for a class without one), and back.
int PriorityClassButton(DWORD priorityClass);
DWORD ButtonPriorityClass(int buttonId);

#endif
