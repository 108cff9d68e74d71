// The Style of window dialog. It keeps the target window only in its caption; the two fields
// and the 64 check boxes mirror each other through one rule for reading a field.
#include "windows/style_editor.h"
#include "windows/names.h"
#include "windows/window_query.h"
#include "hooklib/quillet.h"
#include "app/dlgservices.h"
#include "app/help.h"
#include "app/msgbox.h"
#include "app/program.h"
#include "resource.h"

#include <stdio.h>

// The check boxes and OK read the same length of a field with the same rule, so that OK applies
// exactly what the boxes show.
#define STYLE_TEXT_READ_CHARS 512

// Set while the fields and the boxes update each other, so that neither echoes the other.
static bool s_bStyleSyncing;

// ---- Pure rules

static int HexDigitValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

static bool IsBlank(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

bool ParseStyleText(const char* text, DWORD* value)
{
    if (!text || !value) return false;
    while (IsBlank(*text)) text++;
    bool negative = *text == '-';
    if (*text == '-' || *text == '+') text++;
    // "0x" counts as a prefix only before a digit; otherwise its 0 is the number.
    if (text[0] == '0' && (text[1] == 'x' || text[1] == 'X') && HexDigitValue(text[2]) >= 0) text += 2;
    DWORD v = 0;
    bool overflow = false;
    int digits = 0;
    for (int d; (d = HexDigitValue(*text)) >= 0; text++, digits++) {
        if (v > 0x0FFFFFFFu) overflow = true;
        if (!overflow) v = (v << 4) | (DWORD)d;
    }
    if (digits == 0) return false;
    if (overflow) v = 0xFFFFFFFFu;
    else if (negative) v = 0u - v;
    *value = v;
    return true;
}

DWORD WithStyleBit(DWORD value, int bit, bool set)
{
    if (bit < 0 || bit > 31) return value;
    DWORD mask = 1u << bit;
    return set ? (value | mask) : (value & ~mask);
}

void ClassStyleBoxLabels(const char* className, BitLabels* labels)
{
    const NameTable* family = ClassStyleTable(className ? className : "");
    if (!family) return;
    SingleBitLabels(&g_ControlGroupStyleNames, labels);
    SingleBitLabels(family, labels);
}

// ---- The dialog

static int FieldOfBox(int id)
{
    return id < IDC_SE_EXBIT0 ? IDC_SE_STYLE : IDC_SE_EXSTYLE;
}

static int FirstBoxOfField(int field)
{
    return field == IDC_SE_STYLE ? IDC_SE_STYLEBIT0 : IDC_SE_EXBIT0;
}

// The value of a field; a text that is no number shows as 0 in the boxes, and OK refuses it.
static bool ReadStyleField(HWND hDlg, int field, DWORD* value)
{
    char text[STYLE_TEXT_READ_CHARS];
    text[0] = '\0';
    GetDlgItemTextA(hDlg, field, text, sizeof(text));
    *value = 0;
    return ParseStyleText(text, value);
}

static void WriteStyleField(HWND hDlg, int field, DWORD value)
{
    char text[16];
    snprintf(text, sizeof(text), "%08lX", (unsigned long)value);
    SetDlgItemTextA(hDlg, field, text);
}

static void LabelBoxes(HWND hDlg, int firstBox, const char* className)
{
    BitLabels labels;
    for (int n = 0; n < 32; n++) {
        labels.text[n][0] = '\0';
        GetDlgItemTextA(hDlg, firstBox + n, labels.text[n], BIT_LABEL_CHARS);
    }
    if (className) ClassStyleBoxLabels(className, &labels);
    LabelRemainingBits(&labels);
    for (int n = 0; n < 32; n++) SetDlgItemTextA(hDlg, firstBox + n, labels.text[n]);
}

static void StyleEditor_OnInitDialog(HWND hDlg, HWND target)
{
    SetDialogIcons(hDlg, IDI_STYLE);
    AddInfoSysMenuItems(hDlg);
    SetTargetCaption(hDlg, IDS_STYLE_EDITOR_CAPTION, target);
    // Each text sets its 32 boxes through the change notification.
    WriteStyleField(hDlg, IDC_SE_STYLE, (DWORD)GetWindowLongA(target, GWL_STYLE));
    WriteStyleField(hDlg, IDC_SE_EXSTYLE, (DWORD)GetWindowLongA(target, GWL_EXSTYLE));
    char className[512];
    className[0] = '\0';
    GetClassNameA(target, className, sizeof(className));
    LabelBoxes(hDlg, IDC_SE_STYLEBIT0, className);
    LabelBoxes(hDlg, IDC_SE_EXBIT0, NULL);
    SetFocus(GetDlgItem(hDlg, IDC_SE_STYLE));
}

static void StyleEditor_OnFieldChange(HWND hDlg, int field)
{
    if (s_bStyleSyncing) return;
    s_bStyleSyncing = true;
    DWORD value;
    ReadStyleField(hDlg, field, &value);
    int first = FirstBoxOfField(field);
    for (int n = 0; n < 32; n++)
        CheckDlgButton(hDlg, first + n, (value >> n) & 1 ? BST_CHECKED : BST_UNCHECKED);
    s_bStyleSyncing = false;
}

static void StyleEditor_OnBoxClick(HWND hDlg, int box)
{
    s_bStyleSyncing = true;
    int field = FieldOfBox(box);
    DWORD value;
    ReadStyleField(hDlg, field, &value);
    value = WithStyleBit(value, box - FirstBoxOfField(field), IsDlgButtonChecked(hDlg, box) == BST_CHECKED);
    WriteStyleField(hDlg, field, value);
    s_bStyleSyncing = false;
}

// Hiding and showing a visible window makes the platform draw its new frame.
static void RedrawChangedWindow(HWND hWnd, DWORD waitMs)
{
    if (!IsWindowVisible(hWnd)) return;
    ShowWindowAsync(hWnd, SW_HIDE);
    ShowWindowAsync(hWnd, SW_SHOWNA);
    if (waitMs) Sleep(waitMs);
}

static void StyleEditor_OnOk(HWND hDlg)
{
    HWND target = TargetFromCaption(hDlg, IDS_STYLE_EDITOR_CAPTION);
    DWORD style, exStyle;
    bool styleRead = ReadStyleField(hDlg, IDC_SE_STYLE, &style);
    bool exStyleRead = ReadStyleField(hDlg, IDC_SE_EXSTYLE, &exStyle);
    if (!styleRead || !exStyleRead) {
        // Writing 0 instead would take WS_CHILD and WS_VISIBLE from a control: nothing is
        // changed, and the field stays open for a correction.
        ShowErrorBox(IDS_ERR_STYLE_NUMBER);
        HWND field = GetDlgItem(hDlg, styleRead ? IDC_SE_EXSTYLE : IDC_SE_STYLE);
        SendMessageA(hDlg, WM_NEXTDLGCTL, (WPARAM)field, TRUE);
        return;
    }
    bool unchanged = style == (DWORD)GetWindowLongA(target, GWL_STYLE) &&
                     exStyle == (DWORD)GetWindowLongA(target, GWL_EXSTYLE);
    if (!unchanged && ConfirmAction(IDS_CONFIRM_STYLE)) {
        // Both are always applied; the library returns at once for a value that is already set.
        SetStyle(target, (LONG)style);
        RedrawChangedWindow(target, 1000);
        SetExtStyle(target, (LONG)exStyle);
        RedrawChangedWindow(target, 0);
    }
    EndDialog(hDlg, 1);
}

static void StyleEditor_OnCommand(HWND hDlg, int id, int code)
{
    if ((id == IDC_SE_STYLE || id == IDC_SE_EXSTYLE) && code == EN_CHANGE) {
        StyleEditor_OnFieldChange(hDlg, id);
    } else if (id >= IDC_SE_STYLEBIT0 && id <= IDC_SE_STYLEBIT31 && code == BN_CLICKED) {
        StyleEditor_OnBoxClick(hDlg, id);
    } else if (id >= IDC_SE_EXBIT0 && id <= IDC_SE_EXBIT31 && code == BN_CLICKED) {
        StyleEditor_OnBoxClick(hDlg, id);
    } else if (id == IDOK) {
        StyleEditor_OnOk(hDlg);
    } else if (id == IDCANCEL) {
        EndDialog(hDlg, 0);
    } else if (id == IDC_INFO_HELP) {
        ShowHelpTopic(IDC_SE_TOPIC);
    }
}

static INT_PTR CALLBACK StyleEditorDlgProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG:
        StyleEditor_OnInitDialog(hDlg, (HWND)lParam);
        return FALSE;
    case WM_COMMAND:
        StyleEditor_OnCommand(hDlg, LOWORD(wParam), HIWORD(wParam));
        break;
    case WM_DPICHANGED:
        TakeDpiChange(hDlg, (const RECT*)lParam);
        break;
    case WM_HELP:
    case WM_CONTEXTMENU:
        RouteHelpMessage(hDlg, msg, wParam, lParam);
        break;
    default:
        return FALSE;
    }
    return DlgResult(hDlg, 0);
}

void OpenStyleEditor(HWND hWnd, HWND owner)
{
    if (!IsWindow(hWnd)) return;
    DialogBoxParamA(g_hInst, MAKEINTRESOURCEA(IDD_STYLE_EDITOR), owner, StyleEditorDlgProc, (LPARAM)hWnd);
}
