// Error boxes and confirmations.
#include "app/msgbox.h"
#include "app/settings.h"
#include "resource.h"

static int ShowBox(const char* text, UINT captionId, UINT style)
{
    HWND active = GetActiveWindow();
    if (active) SetForegroundWindow(active);
    char caption[BOXTEXT_CHARS];
    lstrcpynA(caption, LoadResString(captionId), BOXTEXT_CHARS);
    return MessageBoxA(active, text, caption, style);
}

int ShowErrorBox(UINT id)
{
    char text[BOXTEXT_CHARS];
    if (id != 0) {
        lstrcpynA(text, LoadResString(id), BOXTEXT_CHARS);
    } else {
        DWORD err = GetLastError();
        if (!FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, NULL, err, 0,
                            text, BOXTEXT_CHARS, NULL))
            text[0] = '\0';
    }
    ShowBox(text, IDS_CAPTION_ERROR, MB_OK | MB_ICONHAND);
    return 0;
}

bool ConfirmAction(UINT id)
{
    if (g_Options.SkipWarnings) return true;
    char text[BOXTEXT_CHARS];
    lstrcpynA(text, LoadResString(id), BOXTEXT_CHARS);
    return ShowBox(text, IDS_CAPTION_WARNING, MB_YESNO | MB_ICONQUESTION) == IDYES;
}
