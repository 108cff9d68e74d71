// Every control of a dialog and every item of a menu answers to an id of its own: two controls
// of one template under one id would share a help topic and a command, and GetDlgItem would find
// only the first. Read from the program's real resources, as the dialog manager builds them.
#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <string>
#include <vector>

namespace {

// Labels carry no id of their own (-1, or 0xFFFF in a 16-bit template); separators carry 0.
bool NamesAControl(int id)
{
    return id != -1 && id != 0xFFFF && id != 0;
}

std::string ResourceName(LPCSTR name)
{
    return IS_INTRESOURCE(name) ? std::to_string((unsigned)(UINT_PTR)name) : std::string(name);
}

// The ids of one dialog or menu that more than one control or item carries, with their count.
typedef std::map<int, int> IdCounts;

std::vector<std::string> Repeated(const std::string& where, const IdCounts& counts)
{
    std::vector<std::string> out;
    for (const auto& kv : counts)
        if (kv.second > 1) out.push_back(where + ": id " + std::to_string(kv.first) + " x" + std::to_string(kv.second));
    return out;
}

INT_PTR CALLBACK QuietDialogProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

BOOL CALLBACK CountChildId(HWND child, LPARAM lp)
{
    int id = GetDlgCtrlID(child);
    if (NamesAControl(id)) (*(IdCounts*)lp)[id]++;
    return TRUE;
}

struct Survey {
    HWND host;
    int templates;
    int controls;
    std::vector<std::string> repeated;
};

BOOL CALLBACK SurveyDialog(HMODULE mod, LPCSTR, LPSTR name, LONG_PTR lp)
{
    Survey* s = (Survey*)lp;
    // Pages are child templates: the host stands in for the tab control.
    HWND dlg = CreateDialogParamA(mod, name, s->host, QuietDialogProc, 0);
    if (!dlg) {
        s->repeated.push_back("dialog " + ResourceName(name) + " could not be built");
        return TRUE;
    }
    IdCounts counts;
    EnumChildWindows(dlg, CountChildId, (LPARAM)&counts);
    DestroyWindow(dlg);
    s->templates++;
    for (const auto& kv : counts) s->controls += kv.second;
    auto found = Repeated("dialog " + ResourceName(name), counts);
    s->repeated.insert(s->repeated.end(), found.begin(), found.end());
    return TRUE;
}

void CountMenuIds(HMENU menu, IdCounts* counts, int* items)
{
    int n = GetMenuItemCount(menu);
    for (int i = 0; i < n; i++) {
        MENUITEMINFOA mii;
        ZeroMemory(&mii, sizeof(mii));
        mii.cbSize = sizeof(mii);
        mii.fMask = MIIM_ID | MIIM_SUBMENU | MIIM_FTYPE;
        if (!GetMenuItemInfoA(menu, (UINT)i, TRUE, &mii)) continue;
        if (mii.hSubMenu) {
            CountMenuIds(mii.hSubMenu, counts, items);
        } else if (!(mii.fType & MFT_SEPARATOR) && NamesAControl((int)mii.wID)) {
            (*counts)[(int)mii.wID]++;
            (*items)++;
        }
    }
}

BOOL CALLBACK SurveyMenu(HMODULE mod, LPCSTR, LPSTR name, LONG_PTR lp)
{
    Survey* s = (Survey*)lp;
    HMENU menu = LoadMenuA(mod, name);
    if (!menu) {
        s->repeated.push_back("menu " + ResourceName(name) + " could not be loaded");
        return TRUE;
    }
    IdCounts counts;
    CountMenuIds(menu, &counts, &s->controls);
    DestroyMenu(menu);
    s->templates++;
    auto found = Repeated("menu " + ResourceName(name), counts);
    s->repeated.insert(s->repeated.end(), found.begin(), found.end());
    return TRUE;
}

TEST(ResourceIds, NoDialogOrMenuGivesOneIdToTwoOfItsControls)
{
    HWND host = CreateWindowExA(0, "Static", "resource id survey", WS_POPUP, 0, 0, 10, 10, NULL, NULL,
                                GetModuleHandleA(NULL), NULL);
    ASSERT_TRUE(host);
    Survey s = {host, 0, 0, {}};
    EnumResourceNamesA(GetModuleHandleA(NULL), (LPCSTR)RT_DIALOG, SurveyDialog, (LONG_PTR)&s);
    EnumResourceNamesA(GetModuleHandleA(NULL), (LPCSTR)RT_MENU, SurveyMenu, (LONG_PTR)&s);
    DestroyWindow(host);
    // At least the 13 dialogs and 2 menus the program has were read, with their controls.
    EXPECT_GE(s.templates, 15);
    EXPECT_GT(s.controls, 200);
    EXPECT_TRUE(s.repeated.empty()) << ::testing::PrintToString(s.repeated);
}

}  // namespace
