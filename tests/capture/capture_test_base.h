// Shared set-up of the in-process capture tests: fresh settings, a stand-in for the hidden
// main window (the clipboard's owner), no capture state, no viewers left behind.
#ifndef VANTIX_CAPTURE_TEST_BASE_H
#define VANTIX_CAPTURE_TEST_BASE_H

#include "integration/dialog_fixture.h"
#include "capture/capture_helpers.h"
#include "capture/delivery.h"
#include "capture/pipeline.h"
#include "capture/dib.h"
#include "capture/viewer.h"
#include "capture/overlay.h"
#include "capture/capture_page.h"
#include "app/msgbox.h"

class CaptureTest : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        g_hMainWnd = CreateWindowExA(0, "Static", "capture test owner", WS_POPUP, 0, 0, 1, 1, NULL, NULL,
                                     g_hInst, NULL);
        SetRectEmpty(&g_rcCapture);
        g_hCaptureBitmap = NULL;
        g_hCaptureDib = NULL;
        g_pfnWriteFile = WriteFile;
        g_pfnGetSaveFileName = GetSaveFileNameA;
    }
    void TearDown() override
    {
        CloseViewers();
        DialogTest::TearDown();
        if (g_hMainWnd && IsWindow(g_hMainWnd)) DestroyWindow(g_hMainWnd);
        g_hMainWnd = NULL;
        g_pfnWriteFile = WriteFile;
        g_pfnGetSaveFileName = GetSaveFileNameA;
        EXPECT_FALSE(g_hCaptureBitmap) << "the capture state is empty between captures";
        EXPECT_FALSE(g_hCaptureDib);
    }
};

#endif
