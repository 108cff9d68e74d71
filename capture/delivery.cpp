// Where a capture goes.
#include "capture/delivery.h"
#include "capture/dib.h"
#include "capture/pipeline.h"
#include "capture/viewer.h"
#include "app/program.h"
#include "app/settings.h"
#include "resource.h"

void DeliverCapture()
{
    g_hCaptureDib = BitmapToDib(g_hCaptureBitmap);
    if (g_hCaptureBitmap) {
        switch (g_Options.CaptureDestination) {
        case IDC_CAP_NEWWINDOW:
            OpenCaptureViewer();
            break;
        case IDC_CAP_CLIPBOARD:
            CopyCaptureToClipboard(&g_hCaptureBitmap, &g_hCaptureDib);
            break;
        case IDC_CAP_FILE:
            SaveDibToFile(g_hPage, g_hCaptureDib);
            break;
        default:
            break;
        }
    }
    if (g_hCaptureBitmap) DeleteObject(g_hCaptureBitmap);
    if (g_hCaptureDib) GlobalFree(g_hCaptureDib);
    g_hCaptureBitmap = NULL;
    g_hCaptureDib = NULL;
}

HWND CapturePickedWindow(HWND owner, bool skipChildren, PickCallback area)
{
    HWND picked = PickWindow(owner, skipChildren, area);
    if (picked) DeliverCapture();
    return picked;
}
