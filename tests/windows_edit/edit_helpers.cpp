#include "edit_helpers.h"
#include "support/testing.h"

#include <stdio.h>

std::string TasksFixture::ExePath()
{
    return ProgramFolder() + "\\tasks_fixture.exe";
}

TasksFixture::TasksFixture(const std::string& title, const std::string& args) : title_(title)
{
    // The fixture shows its main window once all the others exist.
    if (Start("\"" + ExePath() + "\" --title \"" + title + "\" " + args))
        main_ = WaitForWindow("VantixTasksFixture", title.c_str(), true, 15000);
}

HWND TasksFixture::Window(const char* suffix) const
{
    if (!*suffix) return WaitForWindow("VantixTasksFixture", "", false, 5000);
    std::string t = title_ + " " + suffix;
    return WaitForWindow(NULL, t.c_str(), false, 5000);
}

HWND TasksFixture::Button() const
{
    HWND d = Window("dialog");
    return d ? FindWindowExA(d, NULL, "Button", NULL) : NULL;
}

long long StyleSeenByAnotherProcess(HWND w, bool extended)
{
    char cmd[512];
    snprintf(cmd, sizeof(cmd), "\"%s\" --read-style %lX%s", TasksFixture::ExePath().c_str(),
             (unsigned long)(ULONG_PTR)w, extended ? " --ex" : "");
    int code = RunAndWait(cmd, 20000);
    return code == -1 ? -1 : (long long)(DWORD)code;
}
