// What a user downloads: the version resources of both deliverables as the file's Properties
// show them, and a release zip's files unpacked into a folder of their own, started from there.
#include <gtest/gtest.h>
#include <windows.h>
#include <psapi.h>
#include <stdlib.h>
#include <string>
#include <vector>

#include "support/processes.h"
#include "support/settings.h"
#include "support/testing.h"
#include "version.h"

namespace {

struct VersionFacts {
    bool found = false;
    DWORD fileMS = 0, fileLS = 0, productMS = 0, productLS = 0, fileType = 0;
    WORD language = 0, codePage = 0;
    std::string strings[8];
};

const char* const kStringNames[8] = {
    "CompanyName", "FileDescription", "FileVersion", "InternalName",
    "LegalCopyright", "OriginalFilename", "ProductName", "ProductVersion",
};

// Reads a file's version resource as the shell's Properties page does.
VersionFacts ReadVersion(const std::string& path)
{
    VersionFacts v;
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    if (size == 0) return v;
    std::vector<char> block(size);
    if (!GetFileVersionInfoA(path.c_str(), 0, size, block.data())) return v;
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT len = 0;
    if (!VerQueryValueA(block.data(), "\\", (void**)&fixed, &len) || len < sizeof(*fixed)) return v;
    v.found = fixed->dwSignature == 0xFEEF04BD;
    v.fileMS = fixed->dwFileVersionMS;
    v.fileLS = fixed->dwFileVersionLS;
    v.productMS = fixed->dwProductVersionMS;
    v.productLS = fixed->dwProductVersionLS;
    v.fileType = fixed->dwFileType;
    WORD* translation = nullptr;
    if (VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", (void**)&translation, &len) && len >= 4) {
        v.language = translation[0];
        v.codePage = translation[1];
    }
    for (int i = 0; i < 8; i++) {
        char query[96];
        snprintf(query, sizeof(query), "\\StringFileInfo\\%04X%04X\\%s", v.language, v.codePage, kStringNames[i]);
        char* text = nullptr;
        if (VerQueryValueA(block.data(), query, (void**)&text, &len) && text) v.strings[i] = text;
    }
    return v;
}

struct Deliverable {
    const char* file;
    const char* description;
    const char* internalName;
    DWORD fileType;
};
const Deliverable kDeliverables[] = {
    {"Vantix.exe", "Vantix", "Vantix", VFT_APP},
    {"Quillet.dll", "Vantix window style helper", "Quillet", VFT_DLL},
};

void ExpectVersionOf(const std::string& folder, const Deliverable& d)
{
    SCOPED_TRACE(folder + "\\" + d.file);
    VersionFacts v = ReadVersion(folder + "\\" + d.file);
    ASSERT_TRUE(v.found) << "no version resource";
    const DWORD ms = MAKELONG(VANTIX_VERSION_MINOR, VANTIX_VERSION_MAJOR);
    const DWORD ls = MAKELONG(VANTIX_VERSION_BUILD, VANTIX_VERSION_PATCH);
    EXPECT_EQ(v.fileMS, ms);
    EXPECT_EQ(v.fileLS, ls);
    EXPECT_EQ(v.productMS, ms);
    EXPECT_EQ(v.productLS, ls);
    EXPECT_EQ(v.fileType, d.fileType);
    EXPECT_EQ(v.language, VANTIX_VERSION_LANGUAGE) << "English, no region";
    EXPECT_EQ(v.codePage, VANTIX_VERSION_CODEPAGE);
    const std::string want[8] = {
        VANTIX_COMPANY_TEXT, d.description, VANTIX_VERSION_TEXT, d.internalName,
        VANTIX_COPYRIGHT_TEXT, d.file, VANTIX_PRODUCT_TEXT, VANTIX_VERSION_TEXT,
    };
    for (int i = 0; i < 8; i++) EXPECT_EQ(v.strings[i], want[i]) << kStringNames[i];
}

TEST(VersionResource, BothDeliverablesCarryTheBuildsVersion)
{
    for (const Deliverable& d : kDeliverables) ExpectVersionOf(ProgramFolder(), d);
}

TEST(VersionResource, TheVersionHeaderSpellsOneVersion)
{
    char text[32];
    snprintf(text, sizeof(text), "%d.%d.%d.%d", VANTIX_VERSION_MAJOR, VANTIX_VERSION_MINOR, VANTIX_VERSION_PATCH,
             VANTIX_VERSION_BUILD);
    EXPECT_STREQ(text, VANTIX_VERSION_TEXT);
}

// The folder tools/check_release.sh unpacked a zip into (a Windows path), or "".
std::string ReleaseFolder()
{
    const char* dir = getenv("VANTIX_RELEASE_DIR");
    return dir ? dir : "";
}

TEST(ReleaseZip, ItsBinariesCarryTheVersion)
{
    std::string folder = ReleaseFolder();
    if (folder.empty()) GTEST_SKIP() << "no unpacked release zip given (VANTIX_RELEASE_DIR)";
    for (const Deliverable& d : kDeliverables) ExpectVersionOf(folder, d);
}

TEST(ReleaseZip, VantixStartsFromTheUnpackedFolderAndEnds)
{
    std::string folder = ReleaseFolder();
    if (folder.empty()) GTEST_SKIP() << "no unpacked release zip given (VANTIX_RELEASE_DIR)";
    SettingsGuard settings;
    ASSERT_FALSE(VantixHiddenWindow()) << "another Vantix is still running";
    VantixStart how;
    how.exe = folder + "\\Vantix.exe";
    VantixProcess vantix(how);
    ASSERT_TRUE(vantix.Started()) << "could not start " << how.exe;
    DWORD pid = vantix.Pid();
    HWND dlg = vantix.Dialog("Vantix", 15000);
    ASSERT_TRUE(dlg) << "the main dialog did not open: a file of the zip is missing or a DLL is not found";
    EXPECT_TRUE(FindWindowExA(dlg, NULL, "SysTabControl32", NULL)) << "the tab control of the main dialog";
    // The dialog is this copy's, with the library beside it, not files of the build tree.
    std::vector<std::string> loaded = LoadedModules(pid);
    ASSERT_FALSE(loaded.empty());
    EXPECT_EQ(lstrcmpiA(loaded[0].c_str(), (folder + "\\Vantix.exe").c_str()), 0) << loaded[0];
    bool quilletFromFolder = false;
    for (const std::string& m : loaded)
        if (lstrcmpiA(m.c_str(), (folder + "\\Quillet.dll").c_str()) == 0) quilletFromFolder = true;
    EXPECT_TRUE(quilletFromFolder) << "Quillet.dll is loaded from the zip's folder";

    PostMessageA(dlg, WM_COMMAND, IDCANCEL, 0);
    DWORD code = 1;
    ASSERT_TRUE(vantix.Exited(10000, &code)) << "closing the dialog ends the program";
    EXPECT_EQ(code, 0u);
}

}  // namespace
