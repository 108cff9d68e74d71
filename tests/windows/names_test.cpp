// The style and stock-object name tables and the texts built from them.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>
#include <string.h>
#include <string>
#include <vector>
#include "windows/names.h"

namespace {

// Expected entries are spelled with the platform's own constants where its headers have them,
// so a wrong value in a table cannot hide behind the same typo in the test.
#define E(x) {(DWORD)(ULONG_PTR)(x), #x}
#define V(v, n) {(DWORD)(v), n}

struct Expected {
    DWORD value;
    const char* name;
};

void ExpectTable(const NameTable& table, const std::vector<Expected>& expected, const char* what)
{
    SCOPED_TRACE(what);
    ASSERT_EQ((int)expected.size(), table.count);
    for (int i = 0; i < table.count; i++) {
        EXPECT_EQ(expected[i].value, table.entries[i].value) << "entry " << i << " " << expected[i].name;
        EXPECT_STREQ(expected[i].name, table.entries[i].name) << "entry " << i;
    }
}

std::string StyleText(DWORD style, DWORD exStyle, const char* cls, size_t size = STYLE_TEXT_CHARS)
{
    std::vector<char> buf(size, '\0');
    StyleNamesText(style, exStyle, cls, buf.data(), size);
    return buf.data();
}

} // namespace

TEST(NameTables, WindowExtendedAndClassStylesInTheirStoredOrder)
{
    ExpectTable(g_WindowStyleNames, {
        E(WS_OVERLAPPED), E(WS_POPUP), E(WS_CHILD), E(WS_MINIMIZE), E(WS_VISIBLE), E(WS_DISABLED),
        E(WS_CLIPSIBLINGS), E(WS_CLIPCHILDREN), E(WS_MAXIMIZE), E(WS_CAPTION), E(WS_BORDER),
        E(WS_DLGFRAME), E(WS_VSCROLL), E(WS_HSCROLL), E(WS_SYSMENU), E(WS_THICKFRAME),
        E(WS_MINIMIZEBOX), E(WS_MAXIMIZEBOX)}, "WS_");
    ExpectTable(g_ControlGroupStyleNames, {E(WS_GROUP), E(WS_TABSTOP)}, "group");
    ExpectTable(g_ExtendedStyleNames, {
        E(WS_EX_DLGMODALFRAME), E(WS_EX_NOPARENTNOTIFY), E(WS_EX_TOPMOST), E(WS_EX_ACCEPTFILES),
        E(WS_EX_TRANSPARENT), E(WS_EX_MDICHILD), E(WS_EX_TOOLWINDOW), E(WS_EX_WINDOWEDGE),
        E(WS_EX_CLIENTEDGE), E(WS_EX_CONTEXTHELP), E(WS_EX_RIGHT), E(WS_EX_RTLREADING),
        E(WS_EX_LEFTSCROLLBAR), E(WS_EX_CONTROLPARENT), E(WS_EX_STATICEDGE), E(WS_EX_APPWINDOW),
        E(WS_EX_LAYERED), E(WS_EX_NOINHERITLAYOUT), E(WS_EX_LAYOUTRTL), E(WS_EX_COMPOSITED),
        E(WS_EX_NOACTIVATE)}, "WS_EX_");
    ExpectTable(g_ClassStyleNames, {
        E(CS_VREDRAW), E(CS_HREDRAW), V(0x4, "CS_KEYCVTWINDOW"), E(CS_DBLCLKS), E(CS_OWNDC),
        E(CS_CLASSDC), E(CS_PARENTDC), V(0x100, "CS_NOKEYCVT"), E(CS_NOCLOSE), E(CS_SAVEBITS),
        E(CS_BYTEALIGNCLIENT), E(CS_BYTEALIGNWINDOW), E(CS_GLOBALCLASS), E(CS_IME),
        E(CS_DROPSHADOW)}, "CS_");
}

TEST(NameTables, ControlFamiliesInTheirStoredOrder)
{
    ExpectTable(g_DialogStyleNames, {
        E(DS_ABSALIGN), E(DS_SYSMODAL), V(0x20, "DS_LOCALEDIT"), E(DS_SETFONT), E(DS_MODALFRAME),
        E(DS_NOIDLEMSG), E(DS_SETFOREGROUND), E(DS_3DLOOK), E(DS_FIXEDSYS), E(DS_NOFAILCREATE),
        E(DS_CONTROL), E(DS_CENTER), E(DS_CENTERMOUSE), E(DS_CONTEXTHELP)}, "DS_");
    ExpectTable(g_StaticStyleNames, {
        E(SS_CENTER), E(SS_RIGHT), E(SS_ICON), E(SS_BLACKRECT), E(SS_GRAYRECT), E(SS_WHITERECT),
        E(SS_BLACKFRAME), E(SS_GRAYFRAME), E(SS_WHITEFRAME), E(SS_USERITEM), E(SS_SIMPLE),
        E(SS_LEFTNOWORDWRAP), E(SS_BITMAP), E(SS_OWNERDRAW), E(SS_ENHMETAFILE), E(SS_ETCHEDHORZ),
        E(SS_ETCHEDVERT), E(SS_ETCHEDFRAME), E(SS_TYPEMASK), E(SS_REALSIZECONTROL), E(SS_NOPREFIX),
        E(SS_NOTIFY), E(SS_CENTERIMAGE), E(SS_RIGHTJUST), E(SS_REALSIZEIMAGE), E(SS_SUNKEN),
        E(SS_ENDELLIPSIS), E(SS_PATHELLIPSIS), E(SS_WORDELLIPSIS), E(SS_ELLIPSISMASK)}, "SS_");
    ExpectTable(g_ButtonStyleNames, {
        E(BS_PUSHBUTTON), E(BS_DEFPUSHBUTTON), E(BS_CHECKBOX), E(BS_AUTOCHECKBOX),
        E(BS_RADIOBUTTON), E(BS_3STATE), E(BS_AUTO3STATE), E(BS_GROUPBOX), E(BS_USERBUTTON),
        E(BS_AUTORADIOBUTTON), E(BS_OWNERDRAW), E(BS_LEFTTEXT), E(BS_ICON), E(BS_BITMAP),
        E(BS_LEFT), E(BS_RIGHT), E(BS_CENTER), E(BS_TOP), E(BS_BOTTOM), E(BS_VCENTER),
        E(BS_PUSHLIKE), E(BS_MULTILINE), E(BS_NOTIFY), E(BS_FLAT)}, "BS_");
    ExpectTable(g_EditStyleNames, {
        E(ES_LEFT), E(ES_CENTER), E(ES_RIGHT), E(ES_MULTILINE), E(ES_UPPERCASE), E(ES_LOWERCASE),
        E(ES_PASSWORD), E(ES_AUTOVSCROLL), E(ES_AUTOHSCROLL), E(ES_NOHIDESEL), E(ES_OEMCONVERT),
        E(ES_READONLY), E(ES_WANTRETURN), E(ES_NUMBER)}, "ES_");
    ExpectTable(g_ScrollBarStyleNames, {
        E(SBS_HORZ), E(SBS_VERT), E(SBS_TOPALIGN), E(SBS_LEFTALIGN), E(SBS_BOTTOMALIGN),
        E(SBS_RIGHTALIGN), E(SBS_SIZEBOXTOPLEFTALIGN), E(SBS_SIZEBOXBOTTOMRIGHTALIGN),
        E(SBS_SIZEBOX), E(SBS_SIZEGRIP)}, "SBS_");
    ExpectTable(g_ListBoxStyleNames, {
        E(LBS_NOTIFY), E(LBS_SORT), E(LBS_NOREDRAW), E(LBS_MULTIPLESEL), E(LBS_OWNERDRAWFIXED),
        E(LBS_OWNERDRAWVARIABLE), E(LBS_HASSTRINGS), E(LBS_USETABSTOPS), E(LBS_NOINTEGRALHEIGHT),
        E(LBS_MULTICOLUMN), E(LBS_WANTKEYBOARDINPUT), E(LBS_EXTENDEDSEL), E(LBS_DISABLENOSCROLL),
        E(LBS_NODATA), E(LBS_NOSEL)}, "LBS_");
    ExpectTable(g_ComboBoxStyleNames, {
        E(CBS_SIMPLE), E(CBS_DROPDOWN), E(CBS_DROPDOWNLIST), E(CBS_OWNERDRAWFIXED),
        E(CBS_OWNERDRAWVARIABLE), E(CBS_AUTOHSCROLL), E(CBS_OEMCONVERT), E(CBS_SORT),
        E(CBS_HASSTRINGS), E(CBS_NOINTEGRALHEIGHT), E(CBS_DISABLENOSCROLL), E(CBS_UPPERCASE),
        E(CBS_LOWERCASE)}, "CBS_");
    ExpectTable(g_HeaderStyleNames, {
        E(HDS_BUTTONS), E(HDS_HIDDEN), E(HDS_HOTTRACK), E(HDS_DRAGDROP), E(HDS_FULLDRAG),
        E(HDS_FILTERBAR), E(HDS_FLAT)}, "HDS_");
    ExpectTable(g_ToolTipStyleNames, {
        E(TTS_ALWAYSTIP), E(TTS_NOPREFIX), E(TTS_NOANIMATE), E(TTS_NOFADE), E(TTS_BALLOON),
        E(TTS_CLOSE)}, "TTS_");
    ExpectTable(g_TrackBarStyleNames, {
        E(TBS_AUTOTICKS), E(TBS_VERT), E(TBS_TOP), E(TBS_LEFT), E(TBS_BOTH), E(TBS_NOTICKS),
        E(TBS_ENABLESELRANGE), E(TBS_FIXEDLENGTH), E(TBS_NOTHUMB), E(TBS_TOOLTIPS),
        E(TBS_REVERSED), E(TBS_DOWNISLEFT)}, "TBS_");
    ExpectTable(g_UpDownStyleNames, {
        E(UDS_WRAP), E(UDS_SETBUDDYINT), E(UDS_ALIGNRIGHT), E(UDS_ALIGNLEFT), E(UDS_AUTOBUDDY),
        E(UDS_ARROWKEYS), E(UDS_HORZ), E(UDS_NOTHOUSANDS), E(UDS_HOTTRACK)}, "UDS_");
    ExpectTable(g_ListViewStyleNames, {
        E(LVS_REPORT), E(LVS_SMALLICON), E(LVS_LIST), E(LVS_TYPEMASK), E(LVS_SINGLESEL),
        E(LVS_SHOWSELALWAYS), E(LVS_SORTASCENDING), E(LVS_SORTDESCENDING), E(LVS_SHAREIMAGELISTS),
        E(LVS_NOLABELWRAP), E(LVS_AUTOARRANGE), E(LVS_EDITLABELS), E(LVS_OWNERDATA),
        E(LVS_NOSCROLL), E(LVS_ALIGNLEFT), E(LVS_ALIGNMASK), E(LVS_OWNERDRAWFIXED),
        E(LVS_NOCOLUMNHEADER), E(LVS_NOSORTHEADER)}, "LVS_");
    ExpectTable(g_TreeViewStyleNames, {
        E(TVS_HASBUTTONS), E(TVS_HASLINES), E(TVS_LINESATROOT), E(TVS_EDITLABELS),
        E(TVS_DISABLEDRAGDROP), E(TVS_SHOWSELALWAYS), E(TVS_RTLREADING), E(TVS_NOTOOLTIPS),
        E(TVS_CHECKBOXES), E(TVS_TRACKSELECT), E(TVS_SINGLEEXPAND), E(TVS_INFOTIP),
        E(TVS_FULLROWSELECT), E(TVS_NOSCROLL), E(TVS_NONEVENHEIGHT), E(TVS_NOHSCROLL)}, "TVS_");
    ExpectTable(g_TabStyleNames, {
        E(TCS_SCROLLOPPOSITE), E(TCS_BOTTOM), E(TCS_RIGHT), E(TCS_MULTISELECT),
        E(TCS_FLATBUTTONS), E(TCS_FORCEICONLEFT), E(TCS_FORCELABELLEFT), E(TCS_TABS),
        E(TCS_BUTTONS), E(TCS_SINGLELINE), E(TCS_MULTILINE), E(TCS_RIGHTJUSTIFY),
        E(TCS_FIXEDWIDTH), E(TCS_RAGGEDRIGHT), E(TCS_FOCUSONBUTTONDOWN), E(TCS_OWNERDRAWFIXED),
        E(TCS_TOOLTIPS), E(TCS_FOCUSNEVER)}, "TCS_");
    ExpectTable(g_AnimateStyleNames, {
        E(ACS_CENTER), E(ACS_TRANSPARENT), E(ACS_AUTOPLAY), E(ACS_TIMER)}, "ACS_");
    ExpectTable(g_ToolbarStyleNames, {
        E(TBSTYLE_SEP), E(TBSTYLE_CHECK), E(TBSTYLE_GROUP), E(TBSTYLE_DROPDOWN),
        E(TBSTYLE_AUTOSIZE), E(TBSTYLE_NOPREFIX), E(TBSTYLE_TOOLTIPS), E(TBSTYLE_WRAPABLE),
        E(TBSTYLE_ALTDRAG), E(TBSTYLE_FLAT), E(TBSTYLE_LIST), E(TBSTYLE_CUSTOMERASE),
        E(TBSTYLE_REGISTERDROP), E(TBSTYLE_TRANSPARENT), E(TBSTYLE_DROPDOWN),
        E(TBSTYLE_EX_DRAWDDARROWS)}, "TBSTYLE_");
    ExpectTable(g_RebarStyleNames, {
        E(RBS_TOOLTIPS), E(RBS_VARHEIGHT), E(RBS_BANDBORDERS), E(RBS_FIXEDORDER),
        E(RBS_REGISTERDROP), E(RBS_AUTOSIZE), E(RBS_VERTICALGRIPPER), E(RBS_DBLCLKTOGGLE),
        E(RBS_TOOLTIPS), E(RBS_VARHEIGHT), E(RBS_BANDBORDERS), E(RBS_FIXEDORDER)}, "RBS_");
    ExpectTable(g_ProgressStyleNames, {E(PBS_SMOOTH), E(PBS_VERTICAL)}, "PBS_");
    ExpectTable(g_PagerStyleNames, {E(PGS_HORZ), E(PGS_AUTOSCROLL), E(PGS_DRAGNDROP)}, "PGS_");
    ExpectTable(g_NativeFontStyleNames, {
        V(0x1, "NFS_EDIT"), V(0x2, "NFS_STATIC"), V(0x4, "NFS_LISTCOMBO"), V(0x8, "NFS_BUTTON"),
        V(0x10, "NFS_ALL"), V(0x20, "NFS_USEFONTASSOC")}, "NFS_");
}

TEST(NameTables, StockObjectsAndSystemColours)
{
    ExpectTable(g_StockIconNames, {
        E(IDI_APPLICATION), E(IDI_HAND), E(IDI_QUESTION), E(IDI_EXCLAMATION), E(IDI_ASTERISK),
        E(IDI_WINLOGO)}, "IDI_");
    ExpectTable(g_StockCursorNames, {
        E(IDC_ARROW), E(IDC_IBEAM), E(IDC_WAIT), E(IDC_CROSS), E(IDC_UPARROW), E(IDC_SIZE),
        E(IDC_ICON), E(IDC_SIZENWSE), E(IDC_SIZENESW), E(IDC_SIZEWE), E(IDC_SIZENS),
        E(IDC_SIZEALL), E(IDC_NO), E(IDC_APPSTARTING)}, "IDC_");
    ExpectTable(g_SysColorNames, {
        E(COLOR_SCROLLBAR), E(COLOR_BACKGROUND), E(COLOR_ACTIVECAPTION), E(COLOR_INACTIVECAPTION),
        E(COLOR_MENU), E(COLOR_WINDOW), E(COLOR_WINDOWFRAME), E(COLOR_MENUTEXT),
        E(COLOR_WINDOWTEXT), E(COLOR_CAPTIONTEXT), E(COLOR_ACTIVEBORDER), E(COLOR_INACTIVEBORDER),
        E(COLOR_APPWORKSPACE), E(COLOR_HIGHLIGHT), E(COLOR_HIGHLIGHTTEXT), E(COLOR_BTNFACE),
        E(COLOR_BTNSHADOW), E(COLOR_GRAYTEXT), E(COLOR_BTNTEXT), E(COLOR_INACTIVECAPTIONTEXT),
        E(COLOR_BTNHIGHLIGHT), E(COLOR_3DDKSHADOW), E(COLOR_3DLIGHT), E(COLOR_INFOTEXT),
        E(COLOR_INFOBK)}, "COLOR_");
    ExpectTable(g_StockBrushNames, {
        E(WHITE_BRUSH), E(LTGRAY_BRUSH), E(GRAY_BRUSH), E(DKGRAY_BRUSH), E(BLACK_BRUSH),
        E(NULL_BRUSH)}, "brushes");
}

TEST(NameTables, ClassIndexAndSystemClasses)
{
    const struct { const char* cls; const NameTable* table; int count; } index[] = {
        {"#32770", &g_DialogStyleNames, 14}, {"Button", &g_ButtonStyleNames, 24},
        {"ComboBox", &g_ComboBoxStyleNames, 13}, {"ComboLBox", &g_ListBoxStyleNames, 15},
        {"Edit", &g_EditStyleNames, 14}, {"ListBox", &g_ListBoxStyleNames, 15},
        {"ScrollBar", &g_ScrollBarStyleNames, 10}, {"Static", &g_StaticStyleNames, 30},
        {"SysHeader32", &g_HeaderStyleNames, 7}, {"tooltips_class32", &g_ToolTipStyleNames, 6},
        {"msctls_trackbar32", &g_TrackBarStyleNames, 12}, {"msctls_updown32", &g_UpDownStyleNames, 9},
        {"SysListView32", &g_ListViewStyleNames, 19}, {"SysTreeView32", &g_TreeViewStyleNames, 16},
        {"SysTabControl32", &g_TabStyleNames, 18}, {"SysAnimate32", &g_AnimateStyleNames, 4},
        {"ToolbarWindow32", &g_ToolbarStyleNames, 16}, {"ReBarWindow32", &g_RebarStyleNames, 12},
        {"msctls_progress32", &g_ProgressStyleNames, 2}, {"SysPager", &g_PagerStyleNames, 3},
        {"NativeFontCtl", &g_NativeFontStyleNames, 6},
    };
    ASSERT_EQ(21, g_ClassIndexCount);
    for (int i = 0; i < g_ClassIndexCount; i++) {
        EXPECT_STREQ(index[i].cls, g_ClassIndex[i].className);
        EXPECT_EQ(index[i].table, g_ClassIndex[i].table) << index[i].cls;
        EXPECT_EQ(index[i].count, g_ClassIndex[i].table->count) << index[i].cls;
        EXPECT_EQ(index[i].table, ClassStyleTable(index[i].cls));
    }
    // Case does not matter; a class outside the index has no family.
    EXPECT_EQ(&g_ButtonStyleNames, ClassStyleTable("button"));
    EXPECT_EQ(&g_ListViewStyleNames, ClassStyleTable("SYSLISTVIEW32"));
    EXPECT_EQ(nullptr, ClassStyleTable("Notepad"));
    EXPECT_EQ(nullptr, ClassStyleTable("#32769"));
    EXPECT_EQ(nullptr, ClassStyleTable(""));

    const struct { const char* digits; const char* description; } sys[] = {
        {"32768", " (Popup Menu)"}, {"32769", " (Desktop)"}, {"32770", " (Dialog)"},
        {"32771", " (WinSwitch)"}, {"32772", " (Icon Title)"},
    };
    ASSERT_EQ(5, g_SystemClassCount);
    for (int i = 0; i < 5; i++) {
        EXPECT_STREQ(sys[i].digits, g_SystemClasses[i].digits);
        EXPECT_STREQ(sys[i].description, g_SystemClasses[i].description);
    }
}

TEST(NameTexts, ClassDisplayNames)
{
    const struct { const char* cls; const char* shown; } cases[] = {
        {"#32768", "#32768 (Popup Menu)"},
        {"#32769", "#32769 (Desktop)"},
        {"#32770", "#32770 (Dialog)"},
        {"#32771", "#32771 (WinSwitch)"},
        {"#32772", "#32772 (Icon Title)"},
        {"#32773", "#32773"},          // six characters, digits of no system class
        {"#327680", "#327680"},        // seven characters
        {"#3277", "#3277"},
        {"X32770", "X32770"},
        {"32770", "32770"},
        {"Button", "Button"},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_STREQ(c.shown, ClassDisplayName(c.cls)) << c.cls;
    // A class name as long as the program ever reads one comes back whole.
    std::string longName(1023, 'k');
    EXPECT_EQ(longName, ClassDisplayName(longName.c_str()));
}

TEST(NameTexts, StyleDescriptions)
{
    const struct { DWORD style; DWORD ex; const char* cls; const char* text; } cases[] = {
        // The tab-stop bit is named by both tables; together they cover the style.
        {WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, "Button",
         "WS_CHILD WS_VISIBLE WS_MAXIMIZEBOX WS_TABSTOP BS_PUSHBUTTON "},
        {0x00CF0000, 0, "VantixFrame",
         "WS_OVERLAPPED WS_CAPTION WS_BORDER WS_DLGFRAME WS_SYSMENU WS_THICKFRAME WS_MINIMIZEBOX WS_MAXIMIZEBOX "},
        // Without a family of its own every low bit is unnamed.
        {0x00CF0001, 0, "VantixFrame",
         "WS_OVERLAPPED WS_CAPTION WS_BORDER WS_DLGFRAME WS_SYSMENU WS_THICKFRAME WS_MINIMIZEBOX WS_MAXIMIZEBOX <Other(s)>"},
        {WS_CHILD | WS_VISIBLE | 0x0001, 0, "Notepad", "WS_CHILD WS_VISIBLE <Other(s)>"},
        // A caption needs both its bits; the popup and child bits rule out WS_OVERLAPPED.
        {WS_BORDER, 0, "VantixFrame", "WS_OVERLAPPED WS_BORDER "},
        {WS_POPUP | WS_DLGFRAME, 0, "VantixFrame", "WS_POPUP WS_DLGFRAME "},
        {0, 0, "VantixFrame", "WS_OVERLAPPED "},
        // The dialog family by the class name; the class name compares without case.
        {WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_3DLOOK, 0, "#32770",
         "WS_POPUP WS_VISIBLE WS_CAPTION WS_BORDER WS_DLGFRAME WS_SYSMENU DS_SETFONT DS_MODALFRAME DS_3DLOOK "},
        {WS_CHILD | WS_GROUP | BS_AUTOCHECKBOX, 0, "BUTTON",
         "WS_CHILD WS_MINIMIZEBOX WS_GROUP BS_PUSHBUTTON BS_DEFPUSHBUTTON BS_CHECKBOX BS_AUTOCHECKBOX "},
        // A multi-bit entry matches together with the entries of its bits.
        {WS_CHILD | SS_ICON, 0, "Static", "WS_CHILD SS_CENTER SS_RIGHT SS_ICON "},
        {WS_CHILD, 0, "Edit", "WS_CHILD ES_LEFT "},
        {WS_CHILD | 0x0200, 0, "ScrollBar", "WS_CHILD SBS_HORZ <Other(s)>"},
        // The extended names on a second line in parentheses; unnamed bits there too.
        {WS_POPUP, WS_EX_TOPMOST | WS_EX_TOOLWINDOW, "VantixFrame",
         "WS_POPUP \r\n(WS_EX_TOPMOST WS_EX_TOOLWINDOW )"},
        {WS_POPUP, WS_EX_TOPMOST | 0x0800, "VantixFrame", "WS_POPUP \r\n(WS_EX_TOPMOST <Other(s)>)"},
        {WS_POPUP, 0x40000000, "VantixFrame", "WS_POPUP \r\n(<Other(s)>)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.style << " " << c.ex << " " << c.cls);
        EXPECT_EQ(c.text, StyleText(c.style, c.ex, c.cls));
    }
}

TEST(NameTexts, StyleTextIsAppendedAndCutAtWholeNames)
{
    char buf[STYLE_TEXT_CHARS] = "Before: ";
    StyleNamesText(WS_POPUP, 0, "VantixFrame", buf, sizeof(buf));
    EXPECT_STREQ("Before: WS_POPUP ", buf);

    // Every bit of a static with every extended bit still fits the program's buffer whole.
    std::string all = StyleText(0xFFFFFFFF, 0xFFFFFFFF, "Static");
    EXPECT_EQ(std::string::npos, all.find("...")) << all;
    EXPECT_NE(std::string::npos, all.find("SS_ELLIPSISMASK "));
    EXPECT_EQ(")", all.substr(all.size() - 1));

    std::string full = StyleText(0x00CF0000, WS_EX_TOPMOST, "VantixFrame");
    for (size_t size : {4u, 10u, 20u, 40u, 80u}) {
        std::string cut = StyleText(0x00CF0000, WS_EX_TOPMOST, "VantixFrame", size);
        SCOPED_TRACE(testing::Message() << size << ": " << cut);
        ASSERT_LT(cut.size(), size);
        ASSERT_GE(cut.size(), 3u);
        EXPECT_EQ("...", cut.substr(cut.size() - 3));
        std::string kept = cut.substr(0, cut.size() - 3);
        EXPECT_EQ(kept, full.substr(0, kept.size()));
        // Cut after a whole name: what is kept is empty or ends with a name's blank.
        EXPECT_TRUE(kept.empty() || kept.back() == ' ') << kept;
    }
    char tiny[2] = "";
    StyleNamesText(WS_POPUP, 0, "VantixFrame", tiny, sizeof(tiny));
    EXPECT_STREQ("", tiny);
}

TEST(NameTexts, MatchesReturnTheMaskOfWhatTheyNamed)
{
    char buf[256] = "";
    EXPECT_EQ((DWORD)(SS_CENTER | SS_RIGHT | SS_ICON | WS_CHILD),
              AppendMatchingNames(WS_CHILD | SS_ICON, &g_StaticStyleNames, buf, sizeof(buf)) | WS_CHILD);
    buf[0] = '\0';
    EXPECT_EQ(0u, AppendMatchingNames(0, &g_WindowStyleNames, buf, sizeof(buf)));
    EXPECT_STREQ("WS_OVERLAPPED ", buf);
    buf[0] = '\0';
    // The mask covers what matched even when the text had to be cut.
    EXPECT_EQ(0x00CF0000u, AppendMatchingNames(0x00CF0000, &g_WindowStyleNames, buf, 18));
    EXPECT_STREQ("WS_OVERLAPPED ...", buf);
}

TEST(NameTexts, ClassStyleDescriptions)
{
    const struct { DWORD style; const char* text; } cases[] = {
        {0, ""},
        {CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS, "CS_VREDRAW CS_HREDRAW CS_DBLCLKS "},
        {0x400, "<Undocumented>"},
        {CS_DBLCLKS | 0x400, "CS_DBLCLKS <Undocumented>"},
        {CS_GLOBALCLASS | CS_DROPSHADOW | 0x80000000, "CS_GLOBALCLASS CS_DROPSHADOW <Undocumented>"},
        {0x00037BEF, "CS_VREDRAW CS_HREDRAW CS_KEYCVTWINDOW CS_DBLCLKS CS_OWNDC CS_CLASSDC CS_PARENTDC "
                     "CS_NOKEYCVT CS_NOCLOSE CS_SAVEBITS CS_BYTEALIGNCLIENT CS_BYTEALIGNWINDOW "
                     "CS_GLOBALCLASS CS_IME CS_DROPSHADOW "},
        {0xFFFFFFFF, nullptr},
    };
    for (const auto& c : cases) {
        std::string text = ClassStyleNamesText(c.style);
        if (c.text) {
            EXPECT_EQ(c.text, text) << std::hex << c.style;
        } else {
            EXPECT_EQ("<Undocumented>", text.substr(text.size() - 14)) << text;
        }
    }
}

TEST(NameTexts, SingleBitLabelsLaterEntriesWinOthersReadBitN)
{
    EXPECT_EQ(0, SingleBitIndex(1));
    EXPECT_EQ(31, SingleBitIndex(0x80000000));
    EXPECT_EQ(-1, SingleBitIndex(0));
    EXPECT_EQ(-1, SingleBitIndex(3));

    BitLabels sb = {};
    SingleBitLabels(&g_ScrollBarStyleNames, &sb);
    EXPECT_STREQ("SBS_VERT", sb.text[0]);
    EXPECT_STREQ("SBS_SIZEBOXTOPLEFTALIGN", sb.text[1]);
    EXPECT_STREQ("SBS_SIZEBOXBOTTOMRIGHTALIGN", sb.text[2]);
    EXPECT_STREQ("SBS_SIZEBOX", sb.text[3]);
    EXPECT_STREQ("SBS_SIZEGRIP", sb.text[4]);
    EXPECT_STREQ("", sb.text[5]);
    LabelRemainingBits(&sb);
    EXPECT_STREQ("SBS_VERT", sb.text[0]);
    EXPECT_STREQ("Bit #6", sb.text[5]);
    EXPECT_STREQ("Bit #32", sb.text[31]);

    BitLabels tb = {};
    SingleBitLabels(&g_ToolbarStyleNames, &tb);
    EXPECT_STREQ("TBSTYLE_EX_DRAWDDARROWS", tb.text[0]);
    EXPECT_STREQ("TBSTYLE_DROPDOWN", tb.text[3]);

    // The style editor's order: window names first, the control group and the family over them.
    BitLabels button = {};
    SingleBitLabels(&g_WindowStyleNames, &button);
    EXPECT_STREQ("WS_MINIMIZEBOX", button.text[17]);
    EXPECT_STREQ("WS_POPUP", button.text[31]);
    // WS_CAPTION has two bits and labels neither; its two single-bit names do.
    EXPECT_STREQ("WS_DLGFRAME", button.text[22]);
    EXPECT_STREQ("WS_BORDER", button.text[23]);
    SingleBitLabels(&g_ControlGroupStyleNames, &button);
    SingleBitLabels(&g_ButtonStyleNames, &button);
    LabelRemainingBits(&button);
    EXPECT_STREQ("WS_GROUP", button.text[17]);
    EXPECT_STREQ("WS_TABSTOP", button.text[16]);
    EXPECT_STREQ("BS_DEFPUSHBUTTON", button.text[0]);
    EXPECT_STREQ("BS_CHECKBOX", button.text[1]);
    EXPECT_STREQ("BS_RADIOBUTTON", button.text[2]);
    EXPECT_STREQ("BS_USERBUTTON", button.text[3]);
    EXPECT_STREQ("Bit #5", button.text[4]);
    EXPECT_STREQ("BS_FLAT", button.text[15]);

    // Multi-bit and zero entries label nothing: SS_ values below 0x10 are types, not bits.
    BitLabels st = {};
    SingleBitLabels(&g_StaticStyleNames, &st);
    EXPECT_STREQ("SS_CENTER", st.text[0]);
    EXPECT_STREQ("SS_BLACKRECT", st.text[2]);
    EXPECT_STREQ("SS_GRAYFRAME", st.text[3]);
    EXPECT_STREQ("SS_ETCHEDHORZ", st.text[4]);
    EXPECT_STREQ("SS_PATHELLIPSIS", st.text[15]);

    BitLabels none = {};
    SingleBitLabels(nullptr, &none);
    LabelRemainingBits(&none);
    EXPECT_STREQ("Bit #1", none.text[0]);
    EXPECT_STREQ("Bit #20", none.text[19]);
}

TEST(NameTexts, StockHandlesAndBrushValues)
{
    EXPECT_STREQ("IDI_QUESTION", StockIconName(LoadIconA(NULL, IDI_QUESTION)));
    EXPECT_STREQ("IDI_APPLICATION", StockIconName(LoadIconA(NULL, IDI_APPLICATION)));
    EXPECT_EQ(nullptr, StockIconName(NULL));
    EXPECT_STREQ("IDC_ARROW", StockCursorName(LoadCursorA(NULL, IDC_ARROW)));
    EXPECT_STREQ("IDC_IBEAM", StockCursorName(LoadCursorA(NULL, IDC_IBEAM)));
    EXPECT_STREQ("IDC_APPSTARTING", StockCursorName(LoadCursorA(NULL, IDC_APPSTARTING)));
    EXPECT_EQ(nullptr, StockCursorName(NULL));
    // An icon is no cursor of the table.
    EXPECT_EQ(nullptr, StockCursorName((HCURSOR)LoadIconA(NULL, IDI_QUESTION)));

    EXPECT_STREQ("COLOR_SCROLLBAR+1", BrushValueName(1));
    EXPECT_STREQ("COLOR_WINDOW+1", BrushValueName(COLOR_WINDOW + 1));
    EXPECT_STREQ("COLOR_BTNFACE+1", BrushValueName(16));
    EXPECT_STREQ("COLOR_INFOBK+1", BrushValueName(25));
    EXPECT_EQ(nullptr, BrushValueName(0));
    EXPECT_EQ(nullptr, BrushValueName(26));
    EXPECT_STREQ("BLACK_BRUSH", BrushValueName((ULONG_PTR)GetStockObject(BLACK_BRUSH)));
    EXPECT_STREQ("WHITE_BRUSH", BrushValueName((ULONG_PTR)GetStockObject(WHITE_BRUSH)));
    EXPECT_STREQ("NULL_BRUSH", BrushValueName((ULONG_PTR)GetStockObject(NULL_BRUSH)));
    HBRUSH own = CreateSolidBrush(RGB(1, 2, 3));
    EXPECT_EQ(nullptr, BrushValueName((ULONG_PTR)own));
    DeleteObject(own);
}

TEST(NameTexts, PointerSizedValuesAtFullWidth)
{
    char buf[32];
    FormatPointerHex(0x12AB, buf, sizeof(buf));
#ifdef _WIN64
    EXPECT_STREQ("00000000000012AB", buf);
    FormatPointerHex((ULONG_PTR)0x00007FF612345678ull, buf, sizeof(buf));
    EXPECT_STREQ("00007FF612345678", buf);
#else
    EXPECT_STREQ("000012AB", buf);
    FormatPointerHex(0xFEDCBA98, buf, sizeof(buf));
    EXPECT_STREQ("FEDCBA98", buf);
#endif
    FormatPointerHex(0x12AB, buf, 5);
    EXPECT_EQ(4u, strlen(buf));
}
