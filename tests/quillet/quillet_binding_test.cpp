// How Vantix binds Quillet: the shipped program imports both functions by ordinal only, and those
// ordinals are the functions GetProcAddress finds by name.
#include <gtest/gtest.h>
#include <windows.h>
#include <string.h>
#include <string>
#include <vector>
#include "support/testing.h"

namespace {

struct QuilletImport {
    bool byOrdinal;
    WORD ordinal;
};

// File offset of an RVA, through the section table; 0 when no section holds it.
size_t RvaToOffset(const std::string& image, const IMAGE_NT_HEADERS* nt, DWORD rva)
{
    const IMAGE_SECTION_HEADER* sec = IMAGE_FIRST_SECTION(nt);
    for (WORD i = 0; i < nt->FileHeader.NumberOfSections; i++, sec++) {
        DWORD size = sec->Misc.VirtualSize ? sec->Misc.VirtualSize : sec->SizeOfRawData;
        if (rva >= sec->VirtualAddress && rva < sec->VirtualAddress + size) {
            size_t off = rva - sec->VirtualAddress + sec->PointerToRawData;
            return off < image.size() ? off : 0;
        }
    }
    return 0;
}

// Reads the Quillet.dll import entries of a program file as it lies on disk (the shipped
// Vantix.exe, not this test program), checking every offset against the file's size.
bool ReadQuilletImports(const std::string& path, std::vector<QuilletImport>* found, std::string* why)
{
    std::string image = ReadFileText(path);
    if (image.size() < sizeof(IMAGE_DOS_HEADER)) { *why = "cannot read " + path; return false; }
    const IMAGE_DOS_HEADER* dos = (const IMAGE_DOS_HEADER*)image.data();
    if (dos->e_magic != IMAGE_DOS_SIGNATURE || dos->e_lfanew <= 0 ||
        (size_t)dos->e_lfanew + sizeof(IMAGE_NT_HEADERS) > image.size()) { *why = "no PE header"; return false; }
    const IMAGE_NT_HEADERS* nt = (const IMAGE_NT_HEADERS*)(image.data() + dos->e_lfanew);
    if (nt->Signature != IMAGE_NT_SIGNATURE || nt->OptionalHeader.Magic != IMAGE_NT_OPTIONAL_HDR_MAGIC) {
        *why = "not a program of this test's bitness";
        return false;
    }
    const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    size_t off = RvaToOffset(image, nt, dir.VirtualAddress);
    if (!off) { *why = "no import table"; return false; }
    for (;; off += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
        if (off + sizeof(IMAGE_IMPORT_DESCRIPTOR) > image.size()) { *why = "import table cut off"; return false; }
        const IMAGE_IMPORT_DESCRIPTOR* d = (const IMAGE_IMPORT_DESCRIPTOR*)(image.data() + off);
        if (d->Name == 0) break;
        size_t nameOff = RvaToOffset(image, nt, d->Name);
        if (!nameOff || _stricmp(image.c_str() + nameOff, "Quillet.dll") != 0) continue;
        DWORD lookupRva = d->OriginalFirstThunk ? d->OriginalFirstThunk : d->FirstThunk;
        for (size_t t = RvaToOffset(image, nt, lookupRva); t; t += sizeof(IMAGE_THUNK_DATA)) {
            if (t + sizeof(IMAGE_THUNK_DATA) > image.size()) { *why = "thunks cut off"; return false; }
            const IMAGE_THUNK_DATA* thunk = (const IMAGE_THUNK_DATA*)(image.data() + t);
            if (thunk->u1.AddressOfData == 0) break;
            QuilletImport imp;
            imp.byOrdinal = IMAGE_SNAP_BY_ORDINAL(thunk->u1.Ordinal);
            imp.ordinal = imp.byOrdinal ? (WORD)IMAGE_ORDINAL(thunk->u1.Ordinal) : 0;
            found->push_back(imp);
        }
    }
    return true;
}

}  // namespace

TEST(QuilletBinding, VantixImportsBothFunctionsByOrdinalOnly)
{
    std::vector<QuilletImport> imports;
    std::string why;
    ASSERT_TRUE(ReadQuilletImports(ProgramFolder() + "\\Vantix.exe", &imports, &why)) << why;
    ASSERT_EQ(imports.size(), 2u) << "Vantix.exe should import exactly SetStyle and SetExtStyle from Quillet.dll";
    bool seen[3] = {false, false, false};
    for (const QuilletImport& imp : imports) {
        EXPECT_TRUE(imp.byOrdinal) << "an import of Quillet.dll is bound by name";
        ASSERT_TRUE(imp.ordinal == 1 || imp.ordinal == 2) << "unexpected ordinal " << imp.ordinal;
        EXPECT_FALSE(seen[imp.ordinal]) << "ordinal " << imp.ordinal << " imported twice";
        seen[imp.ordinal] = true;
    }
}

TEST(QuilletBinding, OrdinalsAreTheNamedFunctions)
{
    HMODULE lib = LoadLibraryA("Quillet.dll");
    ASSERT_NE(lib, (HMODULE)NULL) << "Quillet.dll did not load, error " << GetLastError();
    EXPECT_EQ(lib, GetModuleHandleA("Quillet.dll")) << "a second copy of the library was loaded";
    FARPROC ord1 = GetProcAddress(lib, MAKEINTRESOURCEA(1));
    FARPROC ord2 = GetProcAddress(lib, MAKEINTRESOURCEA(2));
    ASSERT_NE(ord1, (FARPROC)NULL);
    ASSERT_NE(ord2, (FARPROC)NULL);
    EXPECT_NE(ord1, ord2);
    EXPECT_EQ(ord1, GetProcAddress(lib, "SetStyle"));
    EXPECT_EQ(ord2, GetProcAddress(lib, "SetExtStyle"));
    FreeLibrary(lib);
}
