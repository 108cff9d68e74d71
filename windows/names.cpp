// The name tables of styles and stock objects, and the texts built from them.
#include "windows/names.h"
#include "app/resstring.h"
#include "resource.h"

#include <stdio.h>
#include <string.h>

#define COUNT_OF(a) ((int)(sizeof(a) / sizeof((a)[0])))
#define TABLE(a) { a, COUNT_OF(a) }

// ---- Window styles

static const NameEntry kWindowStyles[] = {
    {0x00000000, "WS_OVERLAPPED"},
    {0x80000000, "WS_POPUP"},
    {0x40000000, "WS_CHILD"},
    {0x20000000, "WS_MINIMIZE"},
    {0x10000000, "WS_VISIBLE"},
    {0x08000000, "WS_DISABLED"},
    {0x04000000, "WS_CLIPSIBLINGS"},
    {0x02000000, "WS_CLIPCHILDREN"},
    {0x01000000, "WS_MAXIMIZE"},
    {0x00C00000, "WS_CAPTION"},
    {0x00800000, "WS_BORDER"},
    {0x00400000, "WS_DLGFRAME"},
    {0x00200000, "WS_VSCROLL"},
    {0x00100000, "WS_HSCROLL"},
    {0x00080000, "WS_SYSMENU"},
    {0x00040000, "WS_THICKFRAME"},
    {0x00020000, "WS_MINIMIZEBOX"},
    {0x00010000, "WS_MAXIMIZEBOX"},
};

// Controls use the two box bits for their dialog navigation instead.
static const NameEntry kControlGroupStyles[] = {
    {0x00020000, "WS_GROUP"},
    {0x00010000, "WS_TABSTOP"},
};

static const NameEntry kExtendedStyles[] = {
    {0x00000001, "WS_EX_DLGMODALFRAME"},
    {0x00000004, "WS_EX_NOPARENTNOTIFY"},
    {0x00000008, "WS_EX_TOPMOST"},
    {0x00000010, "WS_EX_ACCEPTFILES"},
    {0x00000020, "WS_EX_TRANSPARENT"},
    {0x00000040, "WS_EX_MDICHILD"},
    {0x00000080, "WS_EX_TOOLWINDOW"},
    {0x00000100, "WS_EX_WINDOWEDGE"},
    {0x00000200, "WS_EX_CLIENTEDGE"},
    {0x00000400, "WS_EX_CONTEXTHELP"},
    {0x00001000, "WS_EX_RIGHT"},
    {0x00002000, "WS_EX_RTLREADING"},
    {0x00004000, "WS_EX_LEFTSCROLLBAR"},
    {0x00010000, "WS_EX_CONTROLPARENT"},
    {0x00020000, "WS_EX_STATICEDGE"},
    {0x00040000, "WS_EX_APPWINDOW"},
    {0x00080000, "WS_EX_LAYERED"},
    {0x00100000, "WS_EX_NOINHERITLAYOUT"},
    {0x00400000, "WS_EX_LAYOUTRTL"},
    {0x02000000, "WS_EX_COMPOSITED"},
    {0x08000000, "WS_EX_NOACTIVATE"},
};

static const NameEntry kClassStyles[] = {
    {0x00000001, "CS_VREDRAW"},
    {0x00000002, "CS_HREDRAW"},
    {0x00000004, "CS_KEYCVTWINDOW"},
    {0x00000008, "CS_DBLCLKS"},
    {0x00000020, "CS_OWNDC"},
    {0x00000040, "CS_CLASSDC"},
    {0x00000080, "CS_PARENTDC"},
    {0x00000100, "CS_NOKEYCVT"},
    {0x00000200, "CS_NOCLOSE"},
    {0x00000800, "CS_SAVEBITS"},
    {0x00001000, "CS_BYTEALIGNCLIENT"},
    {0x00002000, "CS_BYTEALIGNWINDOW"},
    {0x00004000, "CS_GLOBALCLASS"},
    {0x00010000, "CS_IME"},
    {0x00020000, "CS_DROPSHADOW"},
};

// ---- Per-class families

static const NameEntry kDialogStyles[] = {
    {0x0001, "DS_ABSALIGN"},
    {0x0002, "DS_SYSMODAL"},
    {0x0020, "DS_LOCALEDIT"},
    {0x0040, "DS_SETFONT"},
    {0x0080, "DS_MODALFRAME"},
    {0x0100, "DS_NOIDLEMSG"},
    {0x0200, "DS_SETFOREGROUND"},
    {0x0004, "DS_3DLOOK"},
    {0x0008, "DS_FIXEDSYS"},
    {0x0010, "DS_NOFAILCREATE"},
    {0x0400, "DS_CONTROL"},
    {0x0800, "DS_CENTER"},
    {0x1000, "DS_CENTERMOUSE"},
    {0x2000, "DS_CONTEXTHELP"},
};

static const NameEntry kStaticStyles[] = {
    {0x0001, "SS_CENTER"},
    {0x0002, "SS_RIGHT"},
    {0x0003, "SS_ICON"},
    {0x0004, "SS_BLACKRECT"},
    {0x0005, "SS_GRAYRECT"},
    {0x0006, "SS_WHITERECT"},
    {0x0007, "SS_BLACKFRAME"},
    {0x0008, "SS_GRAYFRAME"},
    {0x0009, "SS_WHITEFRAME"},
    {0x000A, "SS_USERITEM"},
    {0x000B, "SS_SIMPLE"},
    {0x000C, "SS_LEFTNOWORDWRAP"},
    {0x000E, "SS_BITMAP"},
    {0x000D, "SS_OWNERDRAW"},
    {0x000F, "SS_ENHMETAFILE"},
    {0x0010, "SS_ETCHEDHORZ"},
    {0x0011, "SS_ETCHEDVERT"},
    {0x0012, "SS_ETCHEDFRAME"},
    {0x001F, "SS_TYPEMASK"},
    {0x0040, "SS_REALSIZECONTROL"},
    {0x0080, "SS_NOPREFIX"},
    {0x0100, "SS_NOTIFY"},
    {0x0200, "SS_CENTERIMAGE"},
    {0x0400, "SS_RIGHTJUST"},
    {0x0800, "SS_REALSIZEIMAGE"},
    {0x1000, "SS_SUNKEN"},
    {0x4000, "SS_ENDELLIPSIS"},
    {0x8000, "SS_PATHELLIPSIS"},
    {0xC000, "SS_WORDELLIPSIS"},
    {0xC000, "SS_ELLIPSISMASK"},
};

static const NameEntry kButtonStyles[] = {
    {0x0000, "BS_PUSHBUTTON"},
    {0x0001, "BS_DEFPUSHBUTTON"},
    {0x0002, "BS_CHECKBOX"},
    {0x0003, "BS_AUTOCHECKBOX"},
    {0x0004, "BS_RADIOBUTTON"},
    {0x0005, "BS_3STATE"},
    {0x0006, "BS_AUTO3STATE"},
    {0x0007, "BS_GROUPBOX"},
    {0x0008, "BS_USERBUTTON"},
    {0x0009, "BS_AUTORADIOBUTTON"},
    {0x000B, "BS_OWNERDRAW"},
    {0x0020, "BS_LEFTTEXT"},
    {0x0040, "BS_ICON"},
    {0x0080, "BS_BITMAP"},
    {0x0100, "BS_LEFT"},
    {0x0200, "BS_RIGHT"},
    {0x0300, "BS_CENTER"},
    {0x0400, "BS_TOP"},
    {0x0800, "BS_BOTTOM"},
    {0x0C00, "BS_VCENTER"},
    {0x1000, "BS_PUSHLIKE"},
    {0x2000, "BS_MULTILINE"},
    {0x4000, "BS_NOTIFY"},
    {0x8000, "BS_FLAT"},
};

static const NameEntry kEditStyles[] = {
    {0x0000, "ES_LEFT"},
    {0x0001, "ES_CENTER"},
    {0x0002, "ES_RIGHT"},
    {0x0004, "ES_MULTILINE"},
    {0x0008, "ES_UPPERCASE"},
    {0x0010, "ES_LOWERCASE"},
    {0x0020, "ES_PASSWORD"},
    {0x0040, "ES_AUTOVSCROLL"},
    {0x0080, "ES_AUTOHSCROLL"},
    {0x0100, "ES_NOHIDESEL"},
    {0x0400, "ES_OEMCONVERT"},
    {0x0800, "ES_READONLY"},
    {0x1000, "ES_WANTRETURN"},
    {0x2000, "ES_NUMBER"},
};

static const NameEntry kScrollBarStyles[] = {
    {0x0000, "SBS_HORZ"},
    {0x0001, "SBS_VERT"},
    {0x0002, "SBS_TOPALIGN"},
    {0x0002, "SBS_LEFTALIGN"},
    {0x0004, "SBS_BOTTOMALIGN"},
    {0x0004, "SBS_RIGHTALIGN"},
    {0x0002, "SBS_SIZEBOXTOPLEFTALIGN"},
    {0x0004, "SBS_SIZEBOXBOTTOMRIGHTALIGN"},
    {0x0008, "SBS_SIZEBOX"},
    {0x0010, "SBS_SIZEGRIP"},
};

static const NameEntry kListBoxStyles[] = {
    {0x0001, "LBS_NOTIFY"},
    {0x0002, "LBS_SORT"},
    {0x0004, "LBS_NOREDRAW"},
    {0x0008, "LBS_MULTIPLESEL"},
    {0x0010, "LBS_OWNERDRAWFIXED"},
    {0x0020, "LBS_OWNERDRAWVARIABLE"},
    {0x0040, "LBS_HASSTRINGS"},
    {0x0080, "LBS_USETABSTOPS"},
    {0x0100, "LBS_NOINTEGRALHEIGHT"},
    {0x0200, "LBS_MULTICOLUMN"},
    {0x0400, "LBS_WANTKEYBOARDINPUT"},
    {0x0800, "LBS_EXTENDEDSEL"},
    {0x1000, "LBS_DISABLENOSCROLL"},
    {0x2000, "LBS_NODATA"},
    {0x4000, "LBS_NOSEL"},
};

static const NameEntry kComboBoxStyles[] = {
    {0x0001, "CBS_SIMPLE"},
    {0x0002, "CBS_DROPDOWN"},
    {0x0003, "CBS_DROPDOWNLIST"},
    {0x0010, "CBS_OWNERDRAWFIXED"},
    {0x0020, "CBS_OWNERDRAWVARIABLE"},
    {0x0040, "CBS_AUTOHSCROLL"},
    {0x0080, "CBS_OEMCONVERT"},
    {0x0100, "CBS_SORT"},
    {0x0200, "CBS_HASSTRINGS"},
    {0x0400, "CBS_NOINTEGRALHEIGHT"},
    {0x0800, "CBS_DISABLENOSCROLL"},
    {0x2000, "CBS_UPPERCASE"},
    {0x4000, "CBS_LOWERCASE"},
};

static const NameEntry kHeaderStyles[] = {
    {0x0002, "HDS_BUTTONS"},
    {0x0008, "HDS_HIDDEN"},
    {0x0004, "HDS_HOTTRACK"},
    {0x0040, "HDS_DRAGDROP"},
    {0x0080, "HDS_FULLDRAG"},
    {0x0100, "HDS_FILTERBAR"},
    {0x0200, "HDS_FLAT"},
};

static const NameEntry kToolTipStyles[] = {
    {0x0001, "TTS_ALWAYSTIP"},
    {0x0002, "TTS_NOPREFIX"},
    {0x0010, "TTS_NOANIMATE"},
    {0x0020, "TTS_NOFADE"},
    {0x0040, "TTS_BALLOON"},
    {0x0080, "TTS_CLOSE"},
};

static const NameEntry kTrackBarStyles[] = {
    {0x0001, "TBS_AUTOTICKS"},
    {0x0002, "TBS_VERT"},
    {0x0004, "TBS_TOP"},
    {0x0004, "TBS_LEFT"},
    {0x0008, "TBS_BOTH"},
    {0x0010, "TBS_NOTICKS"},
    {0x0020, "TBS_ENABLESELRANGE"},
    {0x0040, "TBS_FIXEDLENGTH"},
    {0x0080, "TBS_NOTHUMB"},
    {0x0100, "TBS_TOOLTIPS"},
    {0x0200, "TBS_REVERSED"},
    {0x0400, "TBS_DOWNISLEFT"},
};

static const NameEntry kUpDownStyles[] = {
    {0x0001, "UDS_WRAP"},
    {0x0002, "UDS_SETBUDDYINT"},
    {0x0004, "UDS_ALIGNRIGHT"},
    {0x0008, "UDS_ALIGNLEFT"},
    {0x0010, "UDS_AUTOBUDDY"},
    {0x0020, "UDS_ARROWKEYS"},
    {0x0040, "UDS_HORZ"},
    {0x0080, "UDS_NOTHOUSANDS"},
    {0x0100, "UDS_HOTTRACK"},
};

static const NameEntry kListViewStyles[] = {
    {0x0001, "LVS_REPORT"},
    {0x0002, "LVS_SMALLICON"},
    {0x0003, "LVS_LIST"},
    {0x0003, "LVS_TYPEMASK"},
    {0x0004, "LVS_SINGLESEL"},
    {0x0008, "LVS_SHOWSELALWAYS"},
    {0x0010, "LVS_SORTASCENDING"},
    {0x0020, "LVS_SORTDESCENDING"},
    {0x0040, "LVS_SHAREIMAGELISTS"},
    {0x0080, "LVS_NOLABELWRAP"},
    {0x0100, "LVS_AUTOARRANGE"},
    {0x0200, "LVS_EDITLABELS"},
    {0x1000, "LVS_OWNERDATA"},
    {0x2000, "LVS_NOSCROLL"},
    {0x0800, "LVS_ALIGNLEFT"},
    {0x0C00, "LVS_ALIGNMASK"},
    {0x0400, "LVS_OWNERDRAWFIXED"},
    {0x4000, "LVS_NOCOLUMNHEADER"},
    {0x8000, "LVS_NOSORTHEADER"},
};

static const NameEntry kTreeViewStyles[] = {
    {0x0001, "TVS_HASBUTTONS"},
    {0x0002, "TVS_HASLINES"},
    {0x0004, "TVS_LINESATROOT"},
    {0x0008, "TVS_EDITLABELS"},
    {0x0010, "TVS_DISABLEDRAGDROP"},
    {0x0020, "TVS_SHOWSELALWAYS"},
    {0x0040, "TVS_RTLREADING"},
    {0x0080, "TVS_NOTOOLTIPS"},
    {0x0100, "TVS_CHECKBOXES"},
    {0x0200, "TVS_TRACKSELECT"},
    {0x0400, "TVS_SINGLEEXPAND"},
    {0x0800, "TVS_INFOTIP"},
    {0x1000, "TVS_FULLROWSELECT"},
    {0x2000, "TVS_NOSCROLL"},
    {0x4000, "TVS_NONEVENHEIGHT"},
    {0x8000, "TVS_NOHSCROLL"},
};

static const NameEntry kTabStyles[] = {
    {0x0001, "TCS_SCROLLOPPOSITE"},
    {0x0002, "TCS_BOTTOM"},
    {0x0002, "TCS_RIGHT"},
    {0x0004, "TCS_MULTISELECT"},
    {0x0008, "TCS_FLATBUTTONS"},
    {0x0010, "TCS_FORCEICONLEFT"},
    {0x0020, "TCS_FORCELABELLEFT"},
    {0x0000, "TCS_TABS"},
    {0x0100, "TCS_BUTTONS"},
    {0x0000, "TCS_SINGLELINE"},
    {0x0200, "TCS_MULTILINE"},
    {0x0000, "TCS_RIGHTJUSTIFY"},
    {0x0400, "TCS_FIXEDWIDTH"},
    {0x0800, "TCS_RAGGEDRIGHT"},
    {0x1000, "TCS_FOCUSONBUTTONDOWN"},
    {0x2000, "TCS_OWNERDRAWFIXED"},
    {0x4000, "TCS_TOOLTIPS"},
    {0x8000, "TCS_FOCUSNEVER"},
};

static const NameEntry kAnimateStyles[] = {
    {0x0001, "ACS_CENTER"},
    {0x0002, "ACS_TRANSPARENT"},
    {0x0004, "ACS_AUTOPLAY"},
    {0x0008, "ACS_TIMER"},
};

// TBSTYLE_DROPDOWN stands twice and the extended drop-down arrows share bit 0 with the
// separator: the check box of bit 0 reads TBSTYLE_EX_DRAWDDARROWS.
static const NameEntry kToolbarStyles[] = {
    {0x0001, "TBSTYLE_SEP"},
    {0x0002, "TBSTYLE_CHECK"},
    {0x0004, "TBSTYLE_GROUP"},
    {0x0008, "TBSTYLE_DROPDOWN"},
    {0x0010, "TBSTYLE_AUTOSIZE"},
    {0x0020, "TBSTYLE_NOPREFIX"},
    {0x0100, "TBSTYLE_TOOLTIPS"},
    {0x0200, "TBSTYLE_WRAPABLE"},
    {0x0400, "TBSTYLE_ALTDRAG"},
    {0x0800, "TBSTYLE_FLAT"},
    {0x1000, "TBSTYLE_LIST"},
    {0x2000, "TBSTYLE_CUSTOMERASE"},
    {0x4000, "TBSTYLE_REGISTERDROP"},
    {0x8000, "TBSTYLE_TRANSPARENT"},
    {0x0008, "TBSTYLE_DROPDOWN"},
    {0x0001, "TBSTYLE_EX_DRAWDDARROWS"},
};

static const NameEntry kRebarStyles[] = {
    {0x0100, "RBS_TOOLTIPS"},
    {0x0200, "RBS_VARHEIGHT"},
    {0x0400, "RBS_BANDBORDERS"},
    {0x0800, "RBS_FIXEDORDER"},
    {0x1000, "RBS_REGISTERDROP"},
    {0x2000, "RBS_AUTOSIZE"},
    {0x4000, "RBS_VERTICALGRIPPER"},
    {0x8000, "RBS_DBLCLKTOGGLE"},
    {0x0100, "RBS_TOOLTIPS"},
    {0x0200, "RBS_VARHEIGHT"},
    {0x0400, "RBS_BANDBORDERS"},
    {0x0800, "RBS_FIXEDORDER"},
};

static const NameEntry kProgressStyles[] = {
    {0x0001, "PBS_SMOOTH"},
    {0x0004, "PBS_VERTICAL"},
};

static const NameEntry kPagerStyles[] = {
    {0x0001, "PGS_HORZ"},
    {0x0002, "PGS_AUTOSCROLL"},
    {0x0004, "PGS_DRAGNDROP"},
};

static const NameEntry kNativeFontStyles[] = {
    {0x0001, "NFS_EDIT"},
    {0x0002, "NFS_STATIC"},
    {0x0004, "NFS_LISTCOMBO"},
    {0x0008, "NFS_BUTTON"},
    {0x0010, "NFS_ALL"},
    {0x0020, "NFS_USEFONTASSOC"},
};

// ---- Stock objects

static const NameEntry kStockIcons[] = {
    {32512, "IDI_APPLICATION"},
    {32513, "IDI_HAND"},
    {32514, "IDI_QUESTION"},
    {32515, "IDI_EXCLAMATION"},
    {32516, "IDI_ASTERISK"},
    {32517, "IDI_WINLOGO"},
};

static const NameEntry kStockCursors[] = {
    {32512, "IDC_ARROW"},
    {32513, "IDC_IBEAM"},
    {32514, "IDC_WAIT"},
    {32515, "IDC_CROSS"},
    {32516, "IDC_UPARROW"},
    {32640, "IDC_SIZE"},
    {32641, "IDC_ICON"},
    {32642, "IDC_SIZENWSE"},
    {32643, "IDC_SIZENESW"},
    {32644, "IDC_SIZEWE"},
    {32645, "IDC_SIZENS"},
    {32646, "IDC_SIZEALL"},
    {32648, "IDC_NO"},
    {32650, "IDC_APPSTARTING"},
};

static const NameEntry kSysColors[] = {
    {0, "COLOR_SCROLLBAR"},
    {1, "COLOR_BACKGROUND"},
    {2, "COLOR_ACTIVECAPTION"},
    {3, "COLOR_INACTIVECAPTION"},
    {4, "COLOR_MENU"},
    {5, "COLOR_WINDOW"},
    {6, "COLOR_WINDOWFRAME"},
    {7, "COLOR_MENUTEXT"},
    {8, "COLOR_WINDOWTEXT"},
    {9, "COLOR_CAPTIONTEXT"},
    {10, "COLOR_ACTIVEBORDER"},
    {11, "COLOR_INACTIVEBORDER"},
    {12, "COLOR_APPWORKSPACE"},
    {13, "COLOR_HIGHLIGHT"},
    {14, "COLOR_HIGHLIGHTTEXT"},
    {15, "COLOR_BTNFACE"},
    {16, "COLOR_BTNSHADOW"},
    {17, "COLOR_GRAYTEXT"},
    {18, "COLOR_BTNTEXT"},
    {19, "COLOR_INACTIVECAPTIONTEXT"},
    {20, "COLOR_BTNHIGHLIGHT"},
    {21, "COLOR_3DDKSHADOW"},
    {22, "COLOR_3DLIGHT"},
    {23, "COLOR_INFOTEXT"},
    {24, "COLOR_INFOBK"},
};

static const NameEntry kStockBrushes[] = {
    {0, "WHITE_BRUSH"},
    {1, "LTGRAY_BRUSH"},
    {2, "GRAY_BRUSH"},
    {3, "DKGRAY_BRUSH"},
    {4, "BLACK_BRUSH"},
    {5, "NULL_BRUSH"},
};

const NameTable g_WindowStyleNames = TABLE(kWindowStyles);
const NameTable g_ControlGroupStyleNames = TABLE(kControlGroupStyles);
const NameTable g_ExtendedStyleNames = TABLE(kExtendedStyles);
const NameTable g_ClassStyleNames = TABLE(kClassStyles);
const NameTable g_DialogStyleNames = TABLE(kDialogStyles);
const NameTable g_ButtonStyleNames = TABLE(kButtonStyles);
const NameTable g_ComboBoxStyleNames = TABLE(kComboBoxStyles);
const NameTable g_ListBoxStyleNames = TABLE(kListBoxStyles);
const NameTable g_EditStyleNames = TABLE(kEditStyles);
const NameTable g_ScrollBarStyleNames = TABLE(kScrollBarStyles);
const NameTable g_StaticStyleNames = TABLE(kStaticStyles);
const NameTable g_HeaderStyleNames = TABLE(kHeaderStyles);
const NameTable g_ToolTipStyleNames = TABLE(kToolTipStyles);
const NameTable g_TrackBarStyleNames = TABLE(kTrackBarStyles);
const NameTable g_UpDownStyleNames = TABLE(kUpDownStyles);
const NameTable g_ListViewStyleNames = TABLE(kListViewStyles);
const NameTable g_TreeViewStyleNames = TABLE(kTreeViewStyles);
const NameTable g_TabStyleNames = TABLE(kTabStyles);
const NameTable g_AnimateStyleNames = TABLE(kAnimateStyles);
const NameTable g_ToolbarStyleNames = TABLE(kToolbarStyles);
const NameTable g_RebarStyleNames = TABLE(kRebarStyles);
const NameTable g_ProgressStyleNames = TABLE(kProgressStyles);
const NameTable g_PagerStyleNames = TABLE(kPagerStyles);
const NameTable g_NativeFontStyleNames = TABLE(kNativeFontStyles);
const NameTable g_StockIconNames = TABLE(kStockIcons);
const NameTable g_StockCursorNames = TABLE(kStockCursors);
const NameTable g_SysColorNames = TABLE(kSysColors);
const NameTable g_StockBrushNames = TABLE(kStockBrushes);

const ClassIndexEntry g_ClassIndex[] = {
    {"#32770", &g_DialogStyleNames},
    {"Button", &g_ButtonStyleNames},
    {"ComboBox", &g_ComboBoxStyleNames},
    {"ComboLBox", &g_ListBoxStyleNames},
    {"Edit", &g_EditStyleNames},
    {"ListBox", &g_ListBoxStyleNames},
    {"ScrollBar", &g_ScrollBarStyleNames},
    {"Static", &g_StaticStyleNames},
    {"SysHeader32", &g_HeaderStyleNames},
    {"tooltips_class32", &g_ToolTipStyleNames},
    {"msctls_trackbar32", &g_TrackBarStyleNames},
    {"msctls_updown32", &g_UpDownStyleNames},
    {"SysListView32", &g_ListViewStyleNames},
    {"SysTreeView32", &g_TreeViewStyleNames},
    {"SysTabControl32", &g_TabStyleNames},
    {"SysAnimate32", &g_AnimateStyleNames},
    {"ToolbarWindow32", &g_ToolbarStyleNames},
    {"ReBarWindow32", &g_RebarStyleNames},
    {"msctls_progress32", &g_ProgressStyleNames},
    {"SysPager", &g_PagerStyleNames},
    {"NativeFontCtl", &g_NativeFontStyleNames},
};
const int g_ClassIndexCount = COUNT_OF(g_ClassIndex);

const SystemClassEntry g_SystemClasses[] = {
    {"32768", " (Popup Menu)"},
    {"32769", " (Desktop)"},
    {"32770", " (Dialog)"},
    {"32771", " (WinSwitch)"},
    {"32772", " (Icon Title)"},
};
const int g_SystemClassCount = COUNT_OF(g_SystemClasses);

// ---- Texts

const char* ClassDisplayName(const char* className)
{
    static char s_display[CLASS_DISPLAY_CHARS];
    if (!className) className = "";
    lstrcpynA(s_display, className, CLASS_DISPLAY_CHARS - 16);
    if (strlen(className) == 6 && className[0] == '#') {
        for (int i = 0; i < g_SystemClassCount; i++) {
            if (strcmp(className + 1, g_SystemClasses[i].digits) == 0) {
                strcat(s_display, g_SystemClasses[i].description);
                break;
            }
        }
    }
    return s_display;
}

const NameTable* ClassStyleTable(const char* className)
{
    if (!className) return NULL;
    for (int i = 0; i < g_ClassIndexCount; i++)
        if (lstrcmpiA(className, g_ClassIndex[i].className) == 0) return g_ClassIndex[i].table;
    return NULL;
}

static const char kCutMark[] = "...";

// Appends a piece whole, or, when it does not fit, closes the text with the cut mark; a text
// that was cut takes nothing more. The room of the mark is always kept free.
static void AppendPiece(char* out, size_t outSize, const char* piece)
{
    if (!out || outSize == 0) return;
    size_t len = strlen(out);
    const size_t markLen = sizeof(kCutMark) - 1;
    if (len >= markLen && strcmp(out + len - markLen, kCutMark) == 0) return;
    size_t n = strlen(piece);
    if (len + n + markLen < outSize) {
        memcpy(out + len, piece, n + 1);
    } else if (len + markLen < outSize) {
        memcpy(out + len, kCutMark, markLen + 1);
    }
}

DWORD AppendMatchingNames(DWORD value, const NameTable* table, char* out, size_t outSize)
{
    DWORD mask = 0;
    if (!table) return 0;
    for (int i = 0; i < table->count; i++) {
        const NameEntry* e = &table->entries[i];
        bool match;
        if (table == &g_WindowStyleNames && e->value == 0)
            match = (value & (WS_POPUP | WS_CHILD)) == 0;
        else
            match = (value & e->value) == e->value;
        if (!match) continue;
        // Name and blank as one piece, so that a cut never separates them.
        char piece[BIT_LABEL_CHARS + 2];
        snprintf(piece, sizeof(piece), "%s ", e->name);
        AppendPiece(out, outSize, piece);
        mask |= e->value;
    }
    return mask;
}

void StyleNamesText(DWORD style, DWORD exStyle, const char* className, char* out, size_t outSize)
{
    // The string table's buffer is shared: take the text aside before anything else loads one.
    char others[64];
    lstrcpynA(others, LoadResString(IDS_OTHERS), sizeof(others));

    DWORD covered = AppendMatchingNames(style, &g_WindowStyleNames, out, outSize);
    const NameTable* own = ClassStyleTable(className);
    if (own) {
        covered |= AppendMatchingNames(style, &g_ControlGroupStyleNames, out, outSize);
        covered |= AppendMatchingNames(style, own, out, outSize);
    }
    if (covered != style) AppendPiece(out, outSize, others);
    if (exStyle != 0) {
        AppendPiece(out, outSize, "\r\n(");
        if (AppendMatchingNames(exStyle, &g_ExtendedStyleNames, out, outSize) != exStyle)
            AppendPiece(out, outSize, others);
        AppendPiece(out, outSize, ")");
    }
}

const char* ClassStyleNamesText(DWORD classStyle)
{
    static char s_text[CLASS_STYLE_TEXT_CHARS];
    s_text[0] = '\0';
    // The class-style values are distinct single bits, so the OR of the matches is their sum.
    if (AppendMatchingNames(classStyle, &g_ClassStyleNames, s_text, sizeof(s_text)) != classStyle)
        AppendPiece(s_text, sizeof(s_text), "<Undocumented>");
    return s_text;
}

int SingleBitIndex(DWORD value)
{
    for (int n = 0; n < 32; n++)
        if (value == ((DWORD)1 << n)) return n;
    return -1;
}

void SingleBitLabels(const NameTable* table, BitLabels* labels)
{
    if (!table || !labels) return;
    for (int i = 0; i < table->count; i++) {
        int bit = SingleBitIndex(table->entries[i].value);
        if (bit >= 0) lstrcpynA(labels->text[bit], table->entries[i].name, BIT_LABEL_CHARS);
    }
}

void LabelRemainingBits(BitLabels* labels)
{
    if (!labels) return;
    for (int n = 0; n < 32; n++)
        if (labels->text[n][0] == '\0') wsprintfA(labels->text[n], "Bit #%d", n + 1);
}

// The name of the first entry whose value equals value, or NULL.
static const char* NameOfValue(const NameTable* table, DWORD value)
{
    if (!table) return NULL;
    for (int i = 0; i < table->count; i++)
        if (table->entries[i].value == value) return table->entries[i].name;
    return NULL;
}

const char* StockIconName(HICON icon)
{
    if (!icon) return NULL;
    for (int i = 0; i < g_StockIconNames.count; i++) {
        const NameEntry* e = &g_StockIconNames.entries[i];
        if (LoadIconA(NULL, MAKEINTRESOURCEA(e->value)) == icon) return e->name;
    }
    return NULL;
}

const char* StockCursorName(HCURSOR cursor)
{
    if (!cursor) return NULL;
    for (int i = 0; i < g_StockCursorNames.count; i++) {
        const NameEntry* e = &g_StockCursorNames.entries[i];
        if (LoadCursorA(NULL, MAKEINTRESOURCEA(e->value)) == cursor) return e->name;
    }
    return NULL;
}

const char* BrushValueName(ULONG_PTR value)
{
    static char s_name[48];
    if (value >= 1 && value <= (ULONG_PTR)g_SysColorNames.count) {
        const char* colour = NameOfValue(&g_SysColorNames, (DWORD)(value - 1));
        if (colour) {
            wsprintfA(s_name, "%s+1", colour);
            return s_name;
        }
    }
    for (int i = 0; i < g_StockBrushNames.count; i++) {
        const NameEntry* e = &g_StockBrushNames.entries[i];
        if ((ULONG_PTR)GetStockObject((int)e->value) == value) {
            lstrcpynA(s_name, e->name, sizeof(s_name));
            return s_name;
        }
    }
    return NULL;
}

void FormatPointerHex(ULONG_PTR value, char* out, size_t outSize)
{
    char buf[24];
#ifdef _WIN64
    wsprintfA(buf, "%08lX%08lX", (DWORD)(value >> 32), (DWORD)value);
#else
    wsprintfA(buf, "%08lX", (DWORD)value);
#endif
    lstrcpynA(out, buf, (int)outSize);
}
