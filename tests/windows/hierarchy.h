// A window hierarchy of the test's own, known in every detail: a top-level window with a child,
// a grandchild and a window three levels down, a window with an owned pop-up, a child with two properties,
// an untitled child and an untitled top-level window.
#ifndef VANTIX_HIERARCHY_H
#define VANTIX_HIERARCHY_H

#include <windows.h>
#include <vector>

#define PROP_ONE_VALUE ((ULONG_PTR)0x12AB)
#define PROP_TWO_VALUE ((ULONG_PTR)0x34CD)
#define PROPS_CONTROL_ID 1234

struct Hierarchy {
    HWND top = NULL;          // "Tree top", class VantixTreeTop, overlapped
    HWND child = NULL;        // "Tree child", class VantixTreeChild
    HWND grandchild = NULL;   // "Tree grandchild", class VantixTreeChild
    HWND deep = NULL;         // "Deep static", class Static, below the grandchild
    HWND owner = NULL;        // "Popup owner", class VantixTreeTop, top-level
    HWND owned = NULL;        // "Owned popup", owned by owner, WS_POPUP
    HWND props = NULL;        // "Props child", two properties, control id 1234
    HWND untitled = NULL;     // class VantixTreeChild, no text
    HWND untitledTop = NULL;  // class VantixTreeTop, no text, top-level

    Hierarchy();
    ~Hierarchy();
    std::vector<HWND> All() const;
    // Position changes the target heard of, most recent last (WM_WINDOWPOSCHANGING flags).
    static std::vector<UINT> s_posFlags;
};

#endif
