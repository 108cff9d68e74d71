// How a caller binds Quillet: this program imports both functions by ordinal only, exactly as
// Vantix does, and those ordinals are the functions GetProcAddress finds by ordinal and by name.
#include <gtest/gtest.h>
#include <windows.h>
#include <string.h>
#include <vector>

namespace {

struct QuilletImport {
    bool byOrdinal;
    WORD ordinal;
    FARPROC bound;  // the address the loader wrote into the import address table
};

// Reads this program's own import entries for Quillet.dll from its mapped image.
std::vector<QuilletImport> ReadQuilletImports()
{
    std::vector<QuilletImport> found;
    BYTE* base = (BYTE*)GetModuleHandleA(NULL);
    const IMAGE_DOS_HEADER* dos = (const IMAGE_DOS_HEADER*)base;
    const IMAGE_NT_HEADERS* nt = (const IMAGE_NT_HEADERS*)(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (dir.VirtualAddress == 0) return found;
    for (const IMAGE_IMPORT_DESCRIPTOR* d = (const IMAGE_IMPORT_DESCRIPTOR*)(base + dir.VirtualAddress);
         d->Name != 0; d++) {
        if (_stricmp((const char*)(base + d->Name), "Quillet.dll") != 0) continue;
        DWORD lookupRva = d->OriginalFirstThunk ? d->OriginalFirstThunk : d->FirstThunk;
        const IMAGE_THUNK_DATA* lookup = (const IMAGE_THUNK_DATA*)(base + lookupRva);
        const IMAGE_THUNK_DATA* iat = (const IMAGE_THUNK_DATA*)(base + d->FirstThunk);
        for (; lookup->u1.AddressOfData != 0; lookup++, iat++) {
            QuilletImport imp;
            imp.byOrdinal = IMAGE_SNAP_BY_ORDINAL(lookup->u1.Ordinal);
            imp.ordinal = imp.byOrdinal ? (WORD)IMAGE_ORDINAL(lookup->u1.Ordinal) : 0;
            imp.bound = (FARPROC)iat->u1.Function;
            found.push_back(imp);
        }
    }
    return found;
}

}  // namespace

TEST(QuilletBinding, ImportsAreByOrdinalAndMatchGetProcAddress)
{
    std::vector<QuilletImport> imports = ReadQuilletImports();
    ASSERT_EQ(imports.size(), 2u) << "this program should import exactly SetStyle and SetExtStyle from Quillet.dll";
    FARPROC boundByOrdinal[3] = {NULL, NULL, NULL};
    for (const QuilletImport& imp : imports) {
        EXPECT_TRUE(imp.byOrdinal) << "an import of Quillet.dll is bound by name";
        ASSERT_TRUE(imp.ordinal == 1 || imp.ordinal == 2) << "unexpected ordinal " << imp.ordinal;
        EXPECT_EQ(boundByOrdinal[imp.ordinal], (FARPROC)NULL) << "ordinal " << imp.ordinal << " imported twice";
        boundByOrdinal[imp.ordinal] = imp.bound;
    }

    HMODULE lib = LoadLibraryA("Quillet.dll");
    ASSERT_NE(lib, (HMODULE)NULL) << "Quillet.dll did not load, error " << GetLastError();
    EXPECT_EQ(lib, GetModuleHandleA("Quillet.dll")) << "a second copy of the library was loaded";
    FARPROC ord1 = GetProcAddress(lib, MAKEINTRESOURCEA(1));
    FARPROC ord2 = GetProcAddress(lib, MAKEINTRESOURCEA(2));
    ASSERT_NE(ord1, (FARPROC)NULL);
    ASSERT_NE(ord2, (FARPROC)NULL);
    EXPECT_NE(ord1, ord2);
    EXPECT_EQ(ord1, boundByOrdinal[1]);
    EXPECT_EQ(ord2, boundByOrdinal[2]);
    EXPECT_EQ(ord1, GetProcAddress(lib, "SetStyle"));
    EXPECT_EQ(ord2, GetProcAddress(lib, "SetExtStyle"));
    FreeLibrary(lib);
}
