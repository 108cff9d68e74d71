// The stand-in for the desktop window manager.
#include "support/composited.h"
#include "windows/window_query.h"

#include <string.h>

namespace {
CompositedDesktop* g_current;
const DWORD kExtendedFrameBounds = 9;
const DWORD kCloaked = 14;
}

CompositedDesktop::CompositedDesktop() : saved_((void*)g_pfnDwmGetWindowAttribute)
{
    g_current = this;
    g_pfnDwmGetWindowAttribute = Answer;
}

CompositedDesktop::~CompositedDesktop()
{
    g_pfnDwmGetWindowAttribute = (DwmAttributeFn)saved_;
    g_current = NULL;
}

void CompositedDesktop::SetFrame(HWND window, const RECT& frame)
{
    frames_[window] = frame;
}

RECT CompositedDesktop::InsetFrame(HWND window, int left, int top, int right, int bottom)
{
    RECT rc = {0, 0, 0, 0};
    GetWindowRect(window, &rc);
    RECT frame = {rc.left + left, rc.top + top, rc.right - right, rc.bottom - bottom};
    SetFrame(window, frame);
    return frame;
}

void CompositedDesktop::SetCloaked(HWND window, DWORD why)
{
    cloaked_[window] = why;
}

HRESULT WINAPI CompositedDesktop::Answer(HWND hWnd, DWORD attribute, void* value, DWORD size)
{
    CompositedDesktop* self = g_current;
    if (!self || !value) return E_INVALIDARG;
    if (attribute == kExtendedFrameBounds) {
        self->frameQuestions_++;
        auto it = self->frames_.find(hWnd);
        if (it == self->frames_.end() || size < sizeof(RECT)) return E_HANDLE;
        memcpy(value, &it->second, sizeof(RECT));
        return S_OK;
    }
    if (attribute == kCloaked) {
        self->cloakQuestions_++;
        if (size < sizeof(DWORD)) return E_INVALIDARG;
        auto it = self->cloaked_.find(hWnd);
        DWORD why = it == self->cloaked_.end() ? 0 : it->second;
        memcpy(value, &why, sizeof(DWORD));
        return S_OK;
    }
    return E_NOTIMPL;
}
