#include "hierarchy.h"

std::vector<UINT> Hierarchy::s_posFlags;

static LRESULT CALLBACK HierarchyWndProc(HWND h, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_WINDOWPOSCHANGING) Hierarchy::s_posFlags.push_back(((const WINDOWPOS*)lp)->flags);
    return DefWindowProcA(h, msg, wp, lp);
}

static void RegisterOnce(const char* name)
{
    WNDCLASSA wc;
    if (GetClassInfoA(GetModuleHandleA(NULL), name, &wc)) return;
    ZeroMemory(&wc, sizeof(wc));
    wc.lpfnWndProc = HierarchyWndProc;
    wc.hInstance = GetModuleHandleA(NULL);
    wc.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
    wc.hCursor = LoadCursorA(NULL, (LPCSTR)IDC_ARROW);
    wc.lpszClassName = name;
    RegisterClassA(&wc);
}

Hierarchy::Hierarchy()
{
    RegisterOnce("VantixTreeTop");
    RegisterOnce("VantixTreeChild");
    HINSTANCE inst = GetModuleHandleA(NULL);
    top = CreateWindowExA(0, "VantixTreeTop", "Tree top", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 600, 300, 320, 240,
                          NULL, NULL, inst, NULL);
    child = CreateWindowExA(0, "VantixTreeChild", "Tree child", WS_CHILD | WS_VISIBLE, 10, 20, 200, 120, top,
                            (HMENU)11, inst, NULL);
    grandchild = CreateWindowExA(0, "VantixTreeChild", "Tree grandchild", WS_CHILD | WS_VISIBLE, 5, 5, 150, 80,
                                 child, (HMENU)12, inst, NULL);
    deep = CreateWindowExA(0, "Static", "Deep static", WS_CHILD | WS_VISIBLE, 2, 2, 100, 20, grandchild,
                           (HMENU)13, inst, NULL);
    props = CreateWindowExA(WS_EX_CLIENTEDGE, "VantixTreeChild", "Props child", WS_CHILD | WS_VISIBLE, 220, 20,
                            80, 60, top, (HMENU)PROPS_CONTROL_ID, inst, NULL);
    SetPropA(props, "VantixPropOne", (HANDLE)PROP_ONE_VALUE);
    SetPropA(props, "VantixPropTwo", (HANDLE)PROP_TWO_VALUE);
    untitled = CreateWindowExA(0, "VantixTreeChild", "", WS_CHILD | WS_VISIBLE, 220, 90, 80, 40, top, (HMENU)14,
                               inst, NULL);
    // Wine keeps a window with owned pop-ups below them, so that it never becomes top-most
    // itself: the pop-up has an owner of its own, apart from the window the tests raise.
    owner = CreateWindowExA(0, "VantixTreeTop", "Popup owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 640, 560, 200,
                            100, NULL, NULL, inst, NULL);
    owned = CreateWindowExA(0, "VantixTreeTop", "Owned popup", WS_POPUP | WS_VISIBLE | WS_BORDER, 700, 600, 120,
                            80, owner, NULL, inst, NULL);
    untitledTop = CreateWindowExA(0, "VantixTreeTop", "", WS_POPUP, 0, 0, 50, 50, NULL, NULL, inst, NULL);
    s_posFlags.clear();
}

Hierarchy::~Hierarchy()
{
    for (HWND h : {untitledTop, owned, owner, top})
        if (h && IsWindow(h)) DestroyWindow(h);
}

std::vector<HWND> Hierarchy::All() const
{
    return {top, child, grandchild, deep, owner, owned, props, untitled, untitledTop};
}
