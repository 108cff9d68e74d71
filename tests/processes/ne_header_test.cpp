// The 16-bit module name read from files we make: a sound NE file and files that lie about
// their offsets. Every case must end in a clean answer, never in a read past the file.
#include <windows.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "processes/snapshot.h"

namespace {

typedef std::vector<unsigned char> Bytes;

void PutWord(Bytes& b, size_t at, unsigned v)
{
    if (b.size() < at + 2) b.resize(at + 2);
    b[at] = (unsigned char)v;
    b[at + 1] = (unsigned char)(v >> 8);
}

void PutDword(Bytes& b, size_t at, unsigned v)
{
    PutWord(b, at, v & 0xFFFF);
    PutWord(b, at + 2, v >> 16);
}

// MZ header pointing at an NE header at 0x40 whose resident-name table starts at 0x80.
Bytes NeFile(const std::string& name)
{
    Bytes b(0x40, 0);
    PutWord(b, 0, 0x5A4D);
    PutDword(b, 0x3C, 0x40);
    b.resize(0x80, 0);
    PutWord(b, 0x40, 0x454E);
    PutWord(b, 0x40 + 0x26, 0x40);
    b.push_back((unsigned char)name.size());
    b.insert(b.end(), name.begin(), name.end());
    b.push_back(0);
    return b;
}

std::string WriteFixture(const char* name, const Bytes& b)
{
    char dir[MAX_PATH];
    GetTempPathA(sizeof(dir), dir);
    std::string path = std::string(dir) + name;
    HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    EXPECT_NE(INVALID_HANDLE_VALUE, f) << path;
    DWORD written = 0;
    if (!b.empty()) WriteFile(f, b.data(), (DWORD)b.size(), &written, NULL);
    CloseHandle(f);
    return path;
}

std::string ReadName(const std::string& path, size_t outSize, bool* ok)
{
    std::vector<char> out(outSize, '#');
    *ok = ReadNeModuleName(path.c_str(), out.data(), outSize);
    return *ok ? std::string(out.data()) : std::string();
}

} // namespace

TEST(NeModuleName, ValidFileGivesItsNameBoundedByTheBuffer)
{
    std::string path = WriteFixture("vantix_ne_ok.exe", NeFile("FIXMOD"));
    bool ok = false;
    EXPECT_EQ("FIXMOD", ReadName(path, 260, &ok));
    EXPECT_TRUE(ok);
    EXPECT_EQ("FIX", ReadName(path, 4, &ok));
    EXPECT_TRUE(ok);
    // The file is only read: a second reader while it is open still works.
    HANDLE keep = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING, 0, NULL);
    EXPECT_EQ("FIXMOD", ReadName(path, 260, &ok));
    CloseHandle(keep);
    DeleteFileA(path.c_str());
}

TEST(NeModuleName, MalformedFilesAreRejected)
{
    Bytes pe = NeFile("X");
    PutWord(pe, 0x40, 0x4550);                   // "PE"
    Bytes tiny(40, 0);
    PutWord(tiny, 0, 0x5A4D);
    Bytes farHeader = NeFile("X");
    PutDword(farHeader, 0x3C, 0x7FFFFFF0);       // header offset beyond the end
    Bytes wrapHeader = NeFile("X");
    PutDword(wrapHeader, 0x3C, 0xFFFFFFFE);      // would wrap a 32-bit sum
    Bytes cutHeader(0x50, 0);                    // "NE" fits but its table offset does not
    PutWord(cutHeader, 0, 0x5A4D);
    PutDword(cutHeader, 0x3C, 0x40);
    PutWord(cutHeader, 0x40, 0x454E);
    Bytes farTable = NeFile("X");
    PutWord(farTable, 0x40 + 0x26, 0xFFF0);      // resident-name table beyond the end
    Bytes longName = NeFile("ABC");
    longName[0x80] = 200;                        // length byte runs past the end
    longName.resize(0x80 + 1 + 10);
    Bytes tableAtEnd = NeFile("");
    tableAtEnd.resize(0x80);                     // the length byte itself is missing
    Bytes noMz = NeFile("X");
    PutWord(noMz, 0, 0x4D5A);

    const struct { const char* file; Bytes bytes; } cases[] = {
        {"vantix_ne_pe.exe", pe},
        {"vantix_ne_tiny.exe", tiny},
        {"vantix_ne_far.exe", farHeader},
        {"vantix_ne_wrap.exe", wrapHeader},
        {"vantix_ne_cut.exe", cutHeader},
        {"vantix_ne_table.exe", farTable},
        {"vantix_ne_long.exe", longName},
        {"vantix_ne_end.exe", tableAtEnd},
        {"vantix_ne_nomz.exe", noMz},
        {"vantix_ne_empty.exe", Bytes()},
    };
    for (const auto& c : cases) {
        std::string path = WriteFixture(c.file, c.bytes);
        bool ok = true;
        ReadName(path, 260, &ok);
        EXPECT_FALSE(ok) << c.file;
        DeleteFileA(path.c_str());
    }
    bool ok = true;
    ReadName("C:\\no\\such\\file.exe", 260, &ok);
    EXPECT_FALSE(ok);
    // A real 32-bit executable: our own program.
    char self[MAX_PATH];
    GetModuleFileNameA(NULL, self, sizeof(self));
    ReadName(self, 260, &ok);
    EXPECT_FALSE(ok);
}
