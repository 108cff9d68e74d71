// Resource identifiers shared by vantix.rc and the code. Every value has one name. Resources are
// grouped by type; control and command ids, and then the strings, by the dialog, menu or part of
// the program that uses them, each group in its own commented range. Control ids double as help
// topics (help/popups.txt), and the settings record stores some of them: values never change.
#ifndef VANTIX_RESOURCE_H
#define VANTIX_RESOURCE_H

// ==== Resources by type

// ---- Dialog templates (1..37; the five pages 12..16 in the order of their tabs)
#define IDD_ABOUT               1
#define IDD_MAIN                11
#define IDD_PAGE_OPTIONS        12
#define IDD_PAGE_PROCESSES      13
#define IDD_PAGE_WINDOWS        14
#define IDD_PAGE_TASKS          15
#define IDD_PAGE_CAPTURE        16
#define IDD_PROCESS_INFO        31
#define IDD_MODULE_INFO         32
#define IDD_WINDOW_INFO         33
#define IDD_CLASS_INFO          34
#define IDD_MOVE_WINDOW         35
#define IDD_STYLE_EDITOR        36
#define IDD_FIND                37      // the Find box of the Windows page

// ---- Icons (1..16; a dialog's big icon at n, its small icon at n + 1)
#define IDI_VANTIX              1
#define IDI_VANTIX_SMALL        2
#define IDI_PROCESS             3
#define IDI_PROCESS_SMALL       4
#define IDI_MODULE              5
#define IDI_MODULE_SMALL        6
#define IDI_CLASS               7
#define IDI_CLASS_SMALL         8
#define IDI_WINDOW              9
#define IDI_WINDOW_SMALL        10
#define IDI_STYLE               11
#define IDI_STYLE_SMALL         12
#define IDI_MOVE                13
#define IDI_MOVE_SMALL          14
#define IDI_TREE_ITEM           15      // 16 x 16, the image of every window tree item
#define IDI_CAPTURE             16      // the capture viewer; one file holds both sizes

// ---- Bitmaps
#define IDB_BANNER              101     // the start-up banner, 256 x 128, 16 colours

// ---- Cursors (1..3; 32 x 32 monochrome, hot spot 15, 15)
#define IDCUR_RING              1       // fixed-size selection and the window picker
#define IDCUR_CROSS             2       // free selection
#define IDCUR_SMALLCROSS        3       // fixed-size selection of a small icon

// ---- Menus
#define IDM_TRAY                1
#define IDM_CAPTURE_VIEWER      2
#define IDM_COPY                3       // context menu of the lists and the information dialogs
#define IDM_TREE                4       // context menu of the window tree

// ==== Control and command ids, by dialog and menu

// ---- Tray menu of the hidden main window (menu 1): 101..103, and Help 2002 below
#define IDC_CMD_OPEN            101
#define IDC_CMD_QUIT            102
#define IDC_CMD_ABOUT           103

// ---- About box (1): 1001..1003
#define IDC_ABOUT_VERSION       1001
#define IDC_ABOUT_OWNER         1002
#define IDC_ABOUT_CONTACT       1003

// ---- Main dialog (11): 2001..2100
#define IDC_MAIN_REFRESH        2001
#define IDC_MAIN_HELP           2002    // also the tray menu's Help: one help topic for both
#define IDC_MAIN_DEFSIZE        2003    // command, no control: back to the template size (Options page)
#define IDC_HELP_WHATSTHIS      2004    // the one item of the "What's This?" menu of every dialog
#define IDC_MAIN_TABSLOT        2100

// ---- Options page (12): 3000..3013
#define IDC_OPT_GENERAL         3000
#define IDC_OPT_TRAY            3001
#define IDC_OPT_SKIPWARN        3002
#define IDC_OPT_SKIPCHILD       3003
#define IDC_OPT_QUITGROUP       3004
#define IDC_OPT_EXIT            3005
#define IDC_OPT_RESTART         3006
#define IDC_OPT_LOGOFF          3007
#define IDC_OPT_FORCE           3008
#define IDC_OPT_POWEROFF        3009
#define IDC_OPT_OTHERGROUP      3010
#define IDC_OPT_CLOSEINFO       3011
#define IDC_OPT_ABOUT           3012
#define IDC_OPT_DEFSIZE         3013

// ---- Processes page (13): 4001..4007
#define IDC_PROC_LIST           4001
#define IDC_PROC_THREADS        4002
#define IDC_PROC_MODULES        4003
#define IDC_PROC_SHOWMODULES    4004
#define IDC_PROC_VIEWPROCESS    4005
#define IDC_PROC_VIEWMODULE     4006
#define IDC_PROC_KILL           4007

// ---- Windows page (14): 6001..6011
#define IDC_WIN_TREE            6001
#define IDC_WIN_SHOWCLASS       6002
#define IDC_WIN_PICK            6003
#define IDC_WIN_CLOSE           6004
#define IDC_WIN_MINIMIZE        6005
#define IDC_WIN_HIDE            6006
#define IDC_WIN_ONTOP           6007
#define IDC_WIN_WINDOW          6008
#define IDC_WIN_CLASS           6009
#define IDC_WIN_PROCESS         6010
#define IDC_WIN_MODULE          6011

// ---- Task Manager page (15): 7001..7009
#define IDC_TASK_LIST           7001
#define IDC_TASK_HIDDEN         7002
#define IDC_TASK_CLOSEONSWITCH  7003
#define IDC_TASK_SWITCH         7004
#define IDC_TASK_CASCADE        7005
#define IDC_TASK_TILEH          7006
#define IDC_TASK_TILEV          7007
#define IDC_TASK_MINALL         7008
#define IDC_TASK_WINDOW         7009

// ---- Capture Screen page (16): 8000..8050
#define IDC_CAP_AREAGROUP       8000
#define IDC_CAP_MOUSE           8001    // 8001..8007: the capture areas in their order
#define IDC_CAP_RECT            8002
#define IDC_CAP_ICON            8003
#define IDC_CAP_SMALLICON       8004
#define IDC_CAP_CLIENT          8005
#define IDC_CAP_WINDOW          8006
#define IDC_CAP_FULL            8007
#define IDC_CAP_SHOWDIMS        8010
#define IDC_CAP_SHOWMAGNIFIER   8011    // stored in a registry value of its own beside the settings record
#define IDC_CAP_DIMGROUP        8020
#define IDC_CAP_WIDTHLBL        8021
#define IDC_CAP_WIDTH           8022
#define IDC_CAP_HEIGHTLBL       8023
#define IDC_CAP_HEIGHT          8024
#define IDC_CAP_DESTGROUP       8030
#define IDC_CAP_NEWWINDOW       8031    // 8031..8033: the destinations, stored as they are
#define IDC_CAP_CLIPBOARD       8032
#define IDC_CAP_FILE            8033
#define IDC_CAP_GO              8050

// ---- Copy and Find: the items of the context menus (menus 3 and 4) and the commands of their
// keys (Ctrl+C, Ctrl+F, F3, Shift+F3): 9001..9004. "What's This?" (2004) closes both menus.
#define IDC_CTX_COPY            9001
#define IDC_CTX_FIND            9002
#define IDC_CTX_FINDNEXT        9003
#define IDC_CTX_FINDPREV        9004

// ---- Process Information dialog (31): 11000..11014; 11000 is the whole dialog's help topic
#define IDC_PI_TOPIC            11000
#define IDC_PI_NAME             11001
#define IDC_PI_CLASSGROUP       11002
#define IDC_PI_IDLE             11003
#define IDC_PI_NORMAL           11004
#define IDC_PI_HIGH             11005
#define IDC_PI_REALTIME         11006
#define IDC_PI_ID               11007
#define IDC_PI_PARENT           11008
#define IDC_PI_BASEPRI          11010
#define IDC_PI_PATH             11011
#define IDC_PI_MODULE           11012
#define IDC_PI_TERMINATE        11013
#define IDC_PI_ICON             11014

// ---- The Help button of every information and editing dialog: 11500
#define IDC_INFO_HELP           11500

// ---- Module Information dialog (32): 12000..12006; help topic 12000
#define IDC_MI_TOPIC            12000
#define IDC_MI_NAME             12001
#define IDC_MI_PROCESS          12002
#define IDC_MI_SIZE             12003
#define IDC_MI_PATH             12004
#define IDC_MI_ICON             12005
#define IDC_MI_SMALLICON        12006

// ---- Window Information dialog (33): 13000..13026; help topic 13000
#define IDC_WI_TOPIC            13000
#define IDC_WI_TITLE            13001
#define IDC_WI_HANDLE           13002
#define IDC_WI_PARENT           13003
#define IDC_WI_CLASS            13004
#define IDC_WI_ID               13005
#define IDC_WI_TOPLEFT          13006
#define IDC_WI_BOTTOMRIGHT      13007
#define IDC_WI_WIDTH            13008
#define IDC_WI_HEIGHT           13009
#define IDC_WI_STYLEGROUP       13010
#define IDC_WI_STYLES           13011
#define IDC_WI_PROPERTIES       13012
#define IDC_WI_SWITCH           13013
#define IDC_WI_CLOSE            13014
#define IDC_WI_MINIMIZE         13015
#define IDC_WI_HIDE             13016
#define IDC_WI_ONTOP            13017
#define IDC_WI_MOVE             13018
#define IDC_WI_STYLE            13019
#define IDC_WI_CLASSINFO        13020
#define IDC_WI_PROCESS          13021
#define IDC_WI_MODULE           13022
#define IDC_WI_PARENTBUTTON     13023
#define IDC_WI_REFRESH          13024
#define IDC_WI_FRAMELABEL       13025   // the visible frame's row, shown where it differs from
#define IDC_WI_FRAME            13026   // the window rectangle (composited desktops)

// ---- Class Information dialog (34): 14000..14016; help topic 14000
#define IDC_CI_TOPIC            14000
#define IDC_CI_NAME             14001
#define IDC_CI_PROCESS          14002
#define IDC_CI_INSTANCE         14003
#define IDC_CI_MENU             14004
#define IDC_CI_CLASSEXTRA       14005
#define IDC_CI_WINDOWEXTRA      14006
#define IDC_CI_ICONNAME         14007
#define IDC_CI_ICON             14008
#define IDC_CI_SMALLICONNAME    14009
#define IDC_CI_SMALLICON        14010
#define IDC_CI_CURSORNAME       14011
#define IDC_CI_CURSOR           14012
#define IDC_CI_BRUSHNAME        14013
#define IDC_CI_BRUSH            14014   // owner-drawn swatch; its text holds the brush value
#define IDC_CI_STYLELABEL       14015
#define IDC_CI_STYLES           14016

// ---- Capture viewer's menu (menu 2): 15000..15603; help topic 15000
#define IDC_VIEW_TOPIC          15000
#define IDC_VIEW_SCALE1         15501   // 15501..15506: x1, x2, x4, x8, x16, x32
#define IDC_VIEW_SCALE2         15502
#define IDC_VIEW_SCALE4         15503
#define IDC_VIEW_SCALE8         15504
#define IDC_VIEW_SCALE16        15505
#define IDC_VIEW_SCALE32        15506
#define IDC_VIEW_SAVE           15600
#define IDC_VIEW_COPY           15601
#define IDC_VIEW_CLOSE          15602
#define IDC_VIEW_HELP           15603

// ---- Move window dialog (35): 17000..17019; help topic 17000
#define IDC_MW_TOPIC            17000
#define IDC_MW_CHANGE           17001
#define IDC_MW_TITLELABEL       17002
#define IDC_MW_TITLE            17003
#define IDC_MW_MOVE             17004
#define IDC_MW_LEFTLABEL        17005
#define IDC_MW_LEFT             17006
#define IDC_MW_TOPLABEL         17007
#define IDC_MW_TOP              17008
#define IDC_MW_SIZE             17009
#define IDC_MW_WIDTHLABEL       17010
#define IDC_MW_WIDTH            17011
#define IDC_MW_HEIGHTLABEL      17012
#define IDC_MW_HEIGHT           17013
#define IDC_MW_ORDER            17014
#define IDC_MW_AFTERLABEL       17015
#define IDC_MW_AFTER            17016
#define IDC_MW_REDRAW           17017
#define IDC_MW_ACTIVATE         17018
#define IDC_MW_FRAME            17019

// ---- Style of window dialog (36): 18000..18232; help topic 18000. Each group of check boxes
// shares one help topic, that of its first box.
#define IDC_SE_TOPIC            18000
#define IDC_SE_STYLE            18001
#define IDC_SE_EXSTYLE          18002
#define IDC_SE_STYLEBIT0        18101   // 18101..18132: bits 0..31 of the style
#define IDC_SE_STYLEBIT31       18132
#define IDC_SE_EXBIT0           18201   // 18201..18232: bits 0..31 of the extended style
#define IDC_SE_EXBIT31          18232

// ---- Find box (37): 19000..19004; help topic 19000
#define IDC_FIND_TOPIC          19000
#define IDC_FIND_WHAT           19001
#define IDC_FIND_MATCHCASE      19002
#define IDC_FIND_NOTE           19003   // what the last search found: a wrap or nothing
#define IDC_FIND_NEXT           19004

// ==== Strings, by the part of the program that shows them

// ---- Settings and start-up: the registry's keys and values, the hidden window's class:
// 16..18, 22..24, 43, 44
#define IDS_KEY_OPTIONS         16
#define IDS_VALUE_OPTIONS       17
#define IDS_VALUE_SHOWMAGNIFIER 43      // "Show magnifier", a value beside the record
#define IDS_VALUE_COLUMNDPI     44      // the DPI of the record's column widths, beside it
#define IDS_MAIN_CLASS          18
#define IDS_KEY_CURRENTVERSION  22
#define IDS_KEY_RUN             23
#define IDS_VALUE_RUN           24

// ---- Context help: 19
#define IDS_HELP_WHATSTHIS      19

// ---- Tray icon: 20
#define IDS_TRAY_TIP            20

// ---- Window picker: 21
#define IDS_PICK_CLASS          21      // class of the picker window, registered per pick

// ---- Capture viewer and selection overlay: their classes and the viewer's caption, 25..27
#define IDS_VIEWER_CLASS        25
#define IDS_VIEWER_CAPTION      26
#define IDS_SELECT_CLASS        27

// ---- Saving a capture: the file types the Save As dialog offers, 28..30
#define IDS_FILTER_BMP          28
#define IDS_FILTER_PNG          29
#define IDS_FILTER_ALL          30

// ---- Message boxes: captions, confirmations and errors: 32..42
#define IDS_CAPTION_ERROR       32
#define IDS_CAPTION_WARNING     33
#define IDS_CONFIRM_KILL        34
#define IDS_CONFIRM_PRIORITY    35
#define IDS_ERR_NOWINDOW        36
#define IDS_CONFIRM_CHILD       37
#define IDS_CONFIRM_DESKTOP     38
#define IDS_CONFIRM_SHUTDOWN    39
#define IDS_CONFIRM_RESTART     40
#define IDS_CONFIRM_LOGOFF      41
#define IDS_CONFIRM_STYLE       42

// ---- Capture Screen page: the capture button's instructions, 60..66, one per capture area
#define IDS_CAPTURE_HINT        60

// ---- Main dialog: the tab texts, 256..260
#define IDS_TAB_OPTIONS         256
#define IDS_TAB_PROCESSES       257
#define IDS_TAB_WINDOWS         258
#define IDS_TAB_TASKS           259
#define IDS_TAB_CAPTURE         260

// ---- Processes page and Process Information: column titles (512.., 528.., 544..), the
// lower-list button and the priority names: 512..569
#define IDS_PROCESS_COLUMN0     512     // 512..515
#define IDS_THREAD_COLUMN0      528     // 528..532
#define IDS_MODULE_COLUMN0      544     // 544..546
#define IDS_SHOW_MODULES        550
#define IDS_SHOW_THREADS        551
#define IDS_PRI_IDLE            560
#define IDS_PRI_LOWEST          561
#define IDS_PRI_BELOWNORMAL     562
#define IDS_PRI_NORMAL          563
#define IDS_PRI_ABOVENORMAL     564
#define IDS_PRI_HIGH            565
#define IDS_PRI_HIGHEST         566
#define IDS_PRI_REALTIME        567
#define IDS_PRI_TIMECRITICAL    568
#define IDS_PRI_UNDOCUMENTED    569

// ---- Task Manager page: its column title, 555
#define IDS_TASK_COLUMN         555

// ---- Windows page, Window Information and the window toggles: 576..583
#define IDS_DESKTOP             576
#define IDS_RESTORE             578     // also the system menu item the information dialogs add
#define IDS_MINIMIZE            579     // likewise
#define IDS_HIDE                580
#define IDS_SHOW                581
#define IDS_NOTTOPMOST          582
#define IDS_TOPMOST             583

// ---- Style texts, Window and Class Information, Move window, Style of window: 592..598
#define IDS_OTHERS              592     // bits that no name covers
#define IDS_STYLE_CAPTION       593     // "Style: %08lX (Extra: %08lX)"
#define IDS_NONE                594
#define IDS_MOVE_CAPTION        595     // "Move window %X", also the scan format of the caption
#define IDS_CLASS_STYLE         596     // "Style (%08X)"
#define IDS_STYLE_EDITOR_CAPTION 597    // also the scan format of the target handle
#define IDS_ERR_STYLE_NUMBER    598     // the Style editor's OK on a field that holds no number

// ---- Find box: its notes, 600..602
#define IDS_FIND_WRAPPED_END    600     // searching on passed the last window
#define IDS_FIND_WRAPPED_START  601     // searching back passed the first window
#define IDS_FIND_NONE           602

// ---- Window tree: the mark of a window kept off the screen by a composited desktop, 604
#define IDS_CLOAKED_MARK        604

#endif
