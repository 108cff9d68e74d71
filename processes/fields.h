// Field operations shared by every information and editing dialog.
#ifndef VANTIX_FIELDS_H
#define VANTIX_FIELDS_H

#include <windows.h>

#define FIELD_TEXT_CHARS 1024

void SetFieldText(HWND hDlg, int id, const char* text);
// One value through a format of the program's own (never a text from outside).
void SetFieldFormatted(HWND hDlg, int id, const char* format, DWORD value);
// At least four upper-case hexadecimal digits.
void SetFieldHex4(HWND hDlg, int id, DWORD value);
// Signed decimal.
void SetFieldDecimal(HWND hDlg, int id, int value);
// Shows the icon in an icon static and destroys the one it showed before; NULL shows none.
// The dialog owns the icons its statics show.
void SetFieldIcon(HWND hDlg, int id, HICON icon);
// The icon of a file (sizeFlag SHGFI_LARGEICON or SHGFI_SMALLICON) in an icon static, or none
// when the file shows none.
void SetFieldFileIcon(HWND hDlg, int id, const char* path, UINT sizeFlag);
// The hexadecimal number at the start of the field's text; 0 when there is none.
DWORD GetFieldHex(HWND hDlg, int id);
// Pure: the same scan on a text. Blanks before the digits are skipped; the number is the run of
// hexadecimal digits that follows, ended by the first other character or by a digit that would
// not fit in 32 bits: "12x" is 0x12, "x12", "-5" and "0x10" (its "0") are 0, and "123456789"
// is 0x12345678. No sign, no prefix, never undefined.
DWORD ParseHexField(const char* text);

#endif
