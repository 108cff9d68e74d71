#include "support/settings.h"

#include <string.h>

static const char* kOptionsKey = "Software\\Brenholt\\VantixXP\\Version 1.00";
static const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

void ClearStoredSettings()
{
    RegDeleteKeyA(HKEY_CURRENT_USER, kOptionsKey);
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Brenholt\\VantixXP");
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Brenholt");
    HKEY run;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kRunKey, 0, KEY_ALL_ACCESS, &run) == ERROR_SUCCESS) {
        RegDeleteValueA(run, "VantixXP (1.00)");
        RegCloseKey(run);
    }
}

DWORD ReadStoredSettings(void* buf, DWORD size)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kOptionsKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return 0;
    DWORD bytes = size;
    LONG rc = RegQueryValueExA(key, "Options", NULL, NULL, (BYTE*)buf, &bytes);
    RegCloseKey(key);
    return rc == ERROR_SUCCESS ? bytes : 0;
}

void WriteStoredSettings(const void* data, DWORD size)
{
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kOptionsKey, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL) != ERROR_SUCCESS)
        return;
    RegSetValueExA(key, "Options", 0, REG_BINARY, (const BYTE*)data, size);
    RegCloseKey(key);
}

bool ReadStoredExtra(const char* name, DWORD* type, DWORD* data)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kOptionsKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    BYTE buf[64] = {0};
    DWORD bytes = sizeof(buf);
    LONG rc = RegQueryValueExA(key, name, NULL, type, buf, &bytes);
    RegCloseKey(key);
    memcpy(data, buf, sizeof(*data));
    return rc == ERROR_SUCCESS;
}

void WriteStoredExtra(const char* name, DWORD type, const void* data, DWORD size)
{
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kOptionsKey, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL) != ERROR_SUCCESS)
        return;
    RegSetValueExA(key, name, 0, type, (const BYTE*)data, size);
    RegCloseKey(key);
}

void DeleteStoredExtra(const char* name)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kOptionsKey, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return;
    RegDeleteValueA(key, name);
    RegCloseKey(key);
}

std::string ReadRunAtLogon()
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kRunKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return "";
    char buf[1024];
    DWORD bytes = sizeof(buf) - 1;
    LONG rc = RegQueryValueExA(key, "VantixXP (1.00)", NULL, NULL, (BYTE*)buf, &bytes);
    RegCloseKey(key);
    if (rc != ERROR_SUCCESS) return "";
    buf[bytes < sizeof(buf) ? bytes : sizeof(buf) - 1] = '\0';
    return buf;
}

SettingsGuard::SettingsGuard() : saved_(g_Options), savedExtra_(g_ExtraOptions)
{
    ClearStoredSettings();
    SetOptionsDefaults(&g_Options);
    SetExtraOptionsDefaults(&g_ExtraOptions);
}

SettingsGuard::~SettingsGuard()
{
    ClearStoredSettings();
    g_Options = saved_;
    g_ExtraOptions = savedExtra_;
}

void SettingsGuard::Store(const OptionsRecord& rec) const
{
    WriteStoredSettings(&rec, sizeof(rec));
}
