// The settings record in the tests: the stored value a started Vantix reads, and a guard that
// hands a test the defaults and puts everything back however the test leaves.
#ifndef VANTIX_SUPPORT_SETTINGS_H
#define VANTIX_SUPPORT_SETTINGS_H

#include <windows.h>
#include <string>
#include "app/settings.h"

// Deletes HKCU\Software\Brenholt (the stored settings) and the run-at-logon value.
void ClearStoredSettings();
// Reads the stored settings value; returns its byte count (0 when absent).
DWORD ReadStoredSettings(void* buf, DWORD size);
// Writes raw bytes as the stored settings value.
void WriteStoredSettings(const void* data, DWORD size);
// A value beside the settings record under the same key: reads its type and first four bytes
// (false when absent), writes it raw, or deletes it.
bool ReadStoredExtra(const char* name, DWORD* type, DWORD* data);
void WriteStoredExtra(const char* name, DWORD type, const void* data, DWORD size);
void DeleteStoredExtra(const char* name);
// Reads the run-at-logon value; empty when absent.
std::string ReadRunAtLogon();

// From its making to its end g_Options and g_ExtraOptions hold the defaults (until the test
// changes them) and nothing is stored; afterwards they hold again what they held before, and
// what the test stored is cleared. Declared before the processes a test starts, it outlives them.
class SettingsGuard {
public:
    SettingsGuard();
    ~SettingsGuard();
    SettingsGuard(const SettingsGuard&) = delete;
    SettingsGuard& operator=(const SettingsGuard&) = delete;
    // Stores rec: a Vantix started next begins with it.
    void Store(const OptionsRecord& rec) const;

private:
    OptionsRecord saved_;
    ExtraOptions savedExtra_;
};

#endif
