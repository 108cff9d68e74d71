// The window picker. It comes alive in a later step; until then nothing is picked.
#include "windows/picker.h"

HWND PickWindow(HWND owner, bool skipChildren, PickCallback callback)
{
    (void)owner; (void)skipChildren; (void)callback;
    return NULL;
}
