// The names under which the platform's headers define window styles, class styles and the
// stock objects a class may use, and the operations that turn values into those names. The
// tables are fixed data in a fixed order: names come out in table order, and where two entries
// of a table label the same bit, the later one wins.
#ifndef VANTIX_NAMES_H
#define VANTIX_NAMES_H

#include <windows.h>
#include <stddef.h>

struct NameEntry {
    DWORD value;
    const char* name;
};

struct NameTable {
    const NameEntry* entries;
    int count;
};

// Window-style families, matched against a window's style and extended style.
extern const NameTable g_WindowStyleNames;        // WS_, 18 entries
extern const NameTable g_ControlGroupStyleNames;  // WS_GROUP, WS_TABSTOP (controls only)
extern const NameTable g_ExtendedStyleNames;      // WS_EX_, 21 entries
extern const NameTable g_ClassStyleNames;         // CS_, 15 entries

// Per-class style families, selected through the class index.
extern const NameTable g_DialogStyleNames;        // DS_
extern const NameTable g_ButtonStyleNames;        // BS_
extern const NameTable g_ComboBoxStyleNames;      // CBS_
extern const NameTable g_ListBoxStyleNames;       // LBS_ (list boxes and combo lists)
extern const NameTable g_EditStyleNames;          // ES_
extern const NameTable g_ScrollBarStyleNames;     // SBS_
extern const NameTable g_StaticStyleNames;        // SS_
extern const NameTable g_HeaderStyleNames;        // HDS_
extern const NameTable g_ToolTipStyleNames;       // TTS_
extern const NameTable g_TrackBarStyleNames;      // TBS_
extern const NameTable g_UpDownStyleNames;        // UDS_
extern const NameTable g_ListViewStyleNames;      // LVS_
extern const NameTable g_TreeViewStyleNames;      // TVS_
extern const NameTable g_TabStyleNames;           // TCS_
extern const NameTable g_AnimateStyleNames;       // ACS_
extern const NameTable g_ToolbarStyleNames;       // TBSTYLE_
extern const NameTable g_RebarStyleNames;         // RBS_
extern const NameTable g_ProgressStyleNames;      // PBS_
extern const NameTable g_PagerStyleNames;         // PGS_
extern const NameTable g_NativeFontStyleNames;    // NFS_

// Stock objects: the value is the resource id (icons, cursors), the colour index or the stock
// object index (brushes).
extern const NameTable g_StockIconNames;          // IDI_, 6 entries
extern const NameTable g_StockCursorNames;        // IDC_, 14 entries
extern const NameTable g_SysColorNames;           // COLOR_, indexes 0 to 24
extern const NameTable g_StockBrushNames;         // stock brushes 0 to 5

// Which window classes have a style family of their own; looked up case-insensitively, the
// first match wins.
struct ClassIndexEntry {
    const char* className;
    const NameTable* table;
};
extern const ClassIndexEntry g_ClassIndex[];
extern const int g_ClassIndexCount;               // 21

// The system classes known by their atom digits ("32768" for #32768).
struct SystemClassEntry {
    const char* digits;
    const char* description;                      // with its leading blank
};
extern const SystemClassEntry g_SystemClasses[];
extern const int g_SystemClassCount;              // 5

// Room for any class name the program reads (1023 characters) plus a system class description.
#define CLASS_DISPLAY_CHARS 1056
// Room for the whole style text of any style value: every name of the largest families.
#define STYLE_TEXT_CHARS    2048
#define CLASS_STYLE_TEXT_CHARS 512
#define BIT_LABEL_CHARS     32

// A class name as shown: "#32770" becomes "#32770 (Dialog)"; any other name is unchanged.
// In a shared buffer that the next call overwrites.
const char* ClassDisplayName(const char* className);

// The style family of a window class, or NULL when the class has none.
const NameTable* ClassStyleTable(const char* className);

// Appends to out (a terminated text of outSize bytes) the name of every entry that value
// matches, each followed by one blank, and returns the OR of the matched values. An entry
// matches when all its bits are set in value; WS_OVERLAPPED of the window-style table matches
// only when neither WS_POPUP nor WS_CHILD is set. Text that does not fit is cut at a whole name
// and closed with "..."; the returned mask always covers every match.
DWORD AppendMatchingNames(DWORD value, const NameTable* table, char* out, size_t outSize);

// Appends the description of a window's style to out: the window-style names (with the control
// group and the class's own family when the class has one), "<Other(s)>" when bits stay
// unnamed, and, for a non-zero extended style, a line break and the extended names in
// parentheses. className is the raw class name.
void StyleNamesText(DWORD style, DWORD exStyle, const char* className, char* out, size_t outSize);

// The CS_ names of a class style, then "<Undocumented>" when they do not cover it. In a shared
// buffer that the next call overwrites.
const char* ClassStyleNamesText(DWORD classStyle);

// Check-box labels of the 32 bits of a style value; an empty text means "no label yet".
struct BitLabels {
    char text[32][BIT_LABEL_CHARS];
};
// Bit number (0 to 31) of a value with exactly one bit set; -1 for zero and multi-bit values.
int SingleBitIndex(DWORD value);
// Labels, in table order, the bit of every single-bit entry with the entry's name; a later
// entry overwrites an earlier one and a label already present. Zero and multi-bit entries label
// nothing. A NULL table labels nothing.
void SingleBitLabels(const NameTable* table, BitLabels* labels);
// Every bit still without a label becomes "Bit #n", n being the bit number plus one.
void LabelRemainingBits(BitLabels* labels);


// Names of class handles, found by comparing with what the platform gives for each stock
// object (LoadIconA, LoadCursorA, GetStockObject with no module); NULL when none is equal or
// the handle is 0.
const char* StockIconName(HICON icon);
const char* StockCursorName(HCURSOR cursor);
// A class brush value: a system colour index plus one (1 to 25) gives "COLOR_...+1", a stock
// brush its name; otherwise NULL. In a shared buffer that the next call overwrites.
const char* BrushValueName(ULONG_PTR value);

// A pointer-sized value (instance handle, class field, property data) as upper-case hex: eight
// digits on the 32-bit build, sixteen on the 64-bit one.
void FormatPointerHex(ULONG_PTR value, char* out, size_t outSize);

#endif
