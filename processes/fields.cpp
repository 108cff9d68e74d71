// Field operations shared by every information and editing dialog.
#include "processes/fields.h"

#include <stdio.h>

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
    unsigned int value = 0;
    if (!text || sscanf(text, "%X", &value) != 1) return 0;
    return value;
}

DWORD GetFieldHex(HWND hDlg, int id)
{
    char buf[32];
    buf[0] = '\0';
    GetWindowTextA(GetDlgItem(hDlg, id), buf, sizeof(buf));
    return ParseHexField(buf);
}
