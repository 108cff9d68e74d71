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
// Reads the run-at-logon value; empty when absent.
std::string ReadRunAtLogon();

// From its making to its end g_Options holds the defaults (until the test changes it) and
// nothing is stored; afterwards g_Options holds again what it held before, and what the test
// stored is cleared. Declared before the processes a test starts, it outlives them.
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
};

#endif
