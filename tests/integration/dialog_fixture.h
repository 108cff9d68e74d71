// Shared set-up of the in-process dialog tests: fresh settings, the recorder that stands in for
// ExitWindowsEx, and opening and closing the main dialog as start-up does.
#ifndef VANTIX_DIALOG_FIXTURE_H
#define VANTIX_DIALOG_FIXTURE_H

#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <vector>

#include "support/testing.h"
#include "support/settings.h"
#include "app/startup.h"
#include "app/maindlg.h"
#include "app/settings.h"
#include "app/session.h"
#include "app/tray.h"
#include "resource.h"

struct ExitCall {
    UINT flags;
    DWORD reason;
};
extern std::vector<ExitCall> g_exitCalls;
// How the recorder answers each call in turn; TRUE once the list runs out.
extern std::vector<BOOL> g_exitAnswers;

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Opens the main dialog from the current g_Options, as start-up does.
    HWND OpenMain();
    void CloseMain();
    // Selects a tab the way a click does: the selection changes, then the dialog is told.
    void SelectTab(int index);
    // A control's rectangle in its parent's client coordinates.
    static RECT ChildRect(HWND h);
};

#endif
