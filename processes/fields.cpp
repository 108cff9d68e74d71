// Field operations shared by every information and editing dialog.
#include "processes/fields.h"

#include <shellapi.h>

void SetFieldText(HWND hDlg, int id, const char* text)
{
    SetWindowTextA(GetDlgItem(hDlg, id), text);
}

void SetFieldFormatted(HWND hDlg, int id, const char* format, DWORD value)
{
    char buf[FIELD_TEXT_CHARS];
    wsprintfA(buf, format, value);
    SetFieldText(hDlg, id, buf);
}

void SetFieldHex4(HWND hDlg, int id, DWORD value)
{
    SetFieldFormatted(hDlg, id, "%04X", value);
}

void SetFieldDecimal(HWND hDlg, int id, int value)
{
    SetFieldFormatted(hDlg, id, "%d", (DWORD)value);
}

DWORD ParseHexField(const char* text)
{
    if (!text) return 0;
    while (*text == ' ' || *text == '\t') text++;
    DWORD value = 0;
    for (;; text++) {
        int digit;
        char c = *text;
        if (c >= '0' && c <= '9') digit = c - '0';
        else if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
        else if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
        else break;
        // A digit that would not fit in 32 bits ends the number like any other character.
        if (value > 0x0FFFFFFFu) break;
        value = (value << 4) | (DWORD)digit;
    }
    return value;
}

DWORD GetFieldHex(HWND hDlg, int id)
{
    char buf[32];
    buf[0] = '\0';
    GetWindowTextA(GetDlgItem(hDlg, id), buf, sizeof(buf));
    return ParseHexField(buf);
}

void SetFieldIcon(HWND hDlg, int id, HICON icon)
{
    HICON old = (HICON)SendDlgItemMessageA(hDlg, id, STM_SETICON, (WPARAM)icon, 0);
    if (old && old != icon) DestroyIcon(old);
}

void SetFieldFileIcon(HWND hDlg, int id, const char* path, UINT sizeFlag)
{
    SHFILEINFOA sfi;
    ZeroMemory(&sfi, sizeof(sfi));
    HICON icon = NULL;
    if (path[0] && SHGetFileInfoA(path, 0, &sfi, sizeof(sfi), SHGFI_ICON | sizeFlag)) icon = sfi.hIcon;
    SetFieldIcon(hDlg, id, icon);
}
