// The 16-bit module name read from files we make: a sound NE file and files that lie about
// their offsets. Every case must end in a clean answer, never in a read past the file.
#include <windows.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
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

Bytes ReadWholeFile(const std::string& path)
{
    Bytes b;
    HANDLE f = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (f == INVALID_HANDLE_VALUE) return b;
    DWORD size = GetFileSize(f, NULL), got = 0;
    if (size != INVALID_FILE_SIZE) {
        b.resize(size);
        if (!ReadFile(f, b.data(), size, &got, NULL)) got = 0;
        b.resize(got);
    }
    CloseHandle(f);
    return b;
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

// ---- Seeded mutations of real headers, each ending flush against an inaccessible page

namespace {

// A fuller NE file of the shape a linker writes: the header's table offsets all filled in, a
// segment table, a resource table, resident and non-resident names, module references.
Bytes LinkedNeFile()
{
    Bytes b = NeFile("LINKED");
    b.resize(0x40 + 0x40, 0);
    PutWord(b, 0x40 + 0x02, 0x0105);          // linker version
    PutWord(b, 0x40 + 0x04, 0x00C0);          // entry table
    PutWord(b, 0x40 + 0x06, 0x0008);
    PutWord(b, 0x40 + 0x0C, 0x0302);          // flags
    PutWord(b, 0x40 + 0x1C, 0x0002);          // segments
    PutWord(b, 0x40 + 0x1E, 0x0001);          // module references
    PutWord(b, 0x40 + 0x20, 0x0010);          // non-resident names size
    PutWord(b, 0x40 + 0x22, 0x0040);          // segment table
    PutWord(b, 0x40 + 0x24, 0x0050);          // resource table
    PutWord(b, 0x40 + 0x26, 0x0060);          // resident names
    PutWord(b, 0x40 + 0x28, 0x0070);          // module reference table
    PutWord(b, 0x40 + 0x2A, 0x0072);          // imported names
    PutDword(b, 0x40 + 0x2C, 0x0120);         // non-resident names, from the file's start
    PutWord(b, 0x40 + 0x32, 0x0004);          // alignment shift
    b.resize(0x120, 0);
    const char name[] = "LINKED";
    b[0xA0] = 6;
    memcpy(&b[0xA1], name, 6);
    PutWord(b, 0xA7, 0);                      // its ordinal
    b[0xB2] = 6;
    memcpy(&b[0xB3], "KERNEL", 6);
    b.push_back(9);
    const char desc[] = "Linked NE";
    b.insert(b.end(), desc, desc + 9);
    b.push_back(0);
    return b;
}

// The NE files the system keeps (Wine's 16-bit modules); none on a system without them.
std::vector<Bytes> SystemNeFiles()
{
    std::vector<Bytes> found;
    char dirs[3][MAX_PATH] = {"", "", ""};
    GetWindowsDirectoryA(dirs[0], MAX_PATH);
    GetSystemDirectoryA(dirs[1], MAX_PATH);
    typedef UINT(WINAPI * Wow64DirFn)(LPSTR, UINT);
    Wow64DirFn wow = (Wow64DirFn)(void*)GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetSystemWow64DirectoryA");
    if (wow && !wow(dirs[2], MAX_PATH)) dirs[2][0] = '\0';
    for (const char* dir : dirs) {
        if (!dir[0]) continue;
        for (const char* pattern : {"\\*.exe", "\\*.dll", "\\*.drv"}) {
            WIN32_FIND_DATAA fd;
            HANDLE h = FindFirstFileA((std::string(dir) + pattern).c_str(), &fd);
            if (h == INVALID_HANDLE_VALUE) continue;
            do {
                if (fd.nFileSizeHigh || fd.nFileSizeLow > 64 * 1024 || fd.nFileSizeLow < 0x40) continue;
                Bytes b = ReadWholeFile(std::string(dir) + "\\" + fd.cFileName);
                if (b.size() >= 0x40 && b[0] == 'M' && b[1] == 'Z') {
                    unsigned long ne = b[0x3C] | (b[0x3D] << 8) | ((unsigned long)b[0x3E] << 16) |
                                       ((unsigned long)b[0x3F] << 24);
                    if (ne + 2 <= b.size() && b[ne] == 'N' && b[ne + 1] == 'E') found.push_back(b);
                }
            } while (FindNextFileA(h, &fd) && found.size() < 64);
            FindClose(h);
        }
    }
    return found;
}

// What the reader must answer, read with every index checked: the name, or nothing.
bool ExpectedNeName(const unsigned char* d, size_t size, size_t outSize, std::string* name)
{
    auto at = [&](unsigned long long i) -> int { return i < size ? d[i] : -1; };
    if (size < 0x40 || at(0) != 'M' || at(1) != 'Z') return false;
    unsigned long long ne = (unsigned long long)at(0x3C) | ((unsigned long long)at(0x3D) << 8) |
                            ((unsigned long long)at(0x3E) << 16) | ((unsigned long long)at(0x3F) << 24);
    if (at(ne) != 'N' || at(ne + 1) != 'E' || at(ne + 0x26) < 0 || at(ne + 0x27) < 0) return false;
    unsigned long long names = ne + (unsigned)at(ne + 0x26) + ((unsigned)at(ne + 0x27) << 8);
    int len = at(names);
    if (len < 0 || names + 1 + len > size) return false;
    size_t n = (size_t)len < outSize - 1 ? (size_t)len : outSize - 1;
    name->assign((const char*)d + names + 1, n);
    return true;
}

// Two regions whose usable part ends where an inaccessible page begins: any access past the
// end faults at once.
class GuardedBuffer {
public:
    explicit GuardedBuffer(size_t capacity)
    {
        SYSTEM_INFO si;
        GetSystemInfo(&si);
        page_ = si.dwPageSize;
        usable_ = (capacity + page_ - 1) / page_ * page_;
        base_ = (unsigned char*)VirtualAlloc(NULL, usable_ + page_, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
        DWORD old;
        if (base_ && !VirtualProtect(base_ + usable_, page_, PAGE_NOACCESS, &old)) {
            VirtualFree(base_, 0, MEM_RELEASE);
            base_ = NULL;
        }
    }
    ~GuardedBuffer()
    {
        if (base_) VirtualFree(base_, 0, MEM_RELEASE);
    }
    GuardedBuffer(const GuardedBuffer&) = delete;
    GuardedBuffer& operator=(const GuardedBuffer&) = delete;
    bool Ok() const { return base_ != NULL; }
    // n bytes whose last one lies just before the inaccessible page.
    unsigned char* Tail(size_t n) const { return base_ + usable_ - n; }
    bool Guards(const void* p) const
    {
        return (const unsigned char*)p >= base_ + usable_ && (const unsigned char*)p < base_ + usable_ + page_;
    }

private:
    unsigned char* base_ = NULL;
    size_t page_ = 4096, usable_ = 0;
};

// Set while the mutations run: a fault on a guard page names the mutation that caused it.
const GuardedBuffer* s_guardIn;
const GuardedBuffer* s_guardOut;
long s_mutation;
unsigned long long s_fuzzSeed;

LONG CALLBACK ReportGuardFault(EXCEPTION_POINTERS* e)
{
    const EXCEPTION_RECORD* r = e->ExceptionRecord;
    if (r->ExceptionCode != EXCEPTION_ACCESS_VIOLATION || r->NumberParameters < 2) return EXCEPTION_CONTINUE_SEARCH;
    const void* addr = (const void*)r->ExceptionInformation[1];
    bool in = s_guardIn && s_guardIn->Guards(addr), out = s_guardOut && s_guardOut->Guards(addr);
    if (!in && !out) return EXCEPTION_CONTINUE_SEARCH;
    fprintf(stderr, "\nthe NE reader %s past the end of its %s in mutation %ld of seed 0x%llX\n",
            r->ExceptionInformation[0] ? "wrote" : "read", in ? "input" : "name buffer", s_mutation, s_fuzzSeed);
    ExitProcess(3);
    return EXCEPTION_CONTINUE_SEARCH;
}

// splitmix64, so that a seed gives the same mutations everywhere.
struct Mixer {
    unsigned long long s;
    unsigned long long Next()
    {
        unsigned long long z = (s += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    size_t Below(size_t n) { return n ? (size_t)(Next() % n) : 0; }
};

// One mutation of a header: a few bytes changed where they matter most (the header offset, the
// table offset, the name length) or anywhere, and the file cut anywhere, often just after one
// of the fields the reader follows.
Bytes Mutate(const Bytes& seed, Mixer& rnd)
{
    Bytes b = seed;
    auto ne = [&]() -> size_t { return b.size() >= 0x40 ? (b[0x3C] | (b[0x3D] << 8)) : 0; };
    auto names = [&]() -> size_t {
        size_t n = ne();
        return n + 0x27 < b.size() ? n + (b[n + 0x26] | (b[n + 0x27] << 8)) : 0;
    };
    const unsigned interesting[] = {0, 1, 0x7F, 0x80, 0xFF, 0x100, 0x7FFF, 0x8000, 0xFFFE, 0xFFFF};
    int changes = 1 + (int)rnd.Below(4);
    for (int i = 0; i < changes && !b.empty(); i++) {
        switch (rnd.Below(7)) {
        case 0: b[rnd.Below(b.size())] ^= (unsigned char)(1u << rnd.Below(8)); break;
        case 1: b[rnd.Below(b.size())] = (unsigned char)rnd.Next(); break;
        case 2:  // the header offset: near the end, past it, wrapping, or anywhere
            if (b.size() >= 0x40) {
                unsigned long v = rnd.Below(2) ? (unsigned long)(b.size() - rnd.Below(0x30)) : (unsigned long)rnd.Next();
                PutDword(b, 0x3C, (unsigned)v);
            }
            break;
        case 3:  // the resident-name table offset
            if (ne() + 0x27 < b.size()) PutWord(b, ne() + 0x26, interesting[rnd.Below(10)] ^ (unsigned)rnd.Below(3));
            break;
        case 4:  // the name's length byte
            if (names() && names() < b.size()) b[names()] = (unsigned char)interesting[rnd.Below(10)];
            break;
        case 5:  // cut just after a field the reader follows
        {
            size_t marks[] = {0x3E, 0x40, ne() + 1, ne() + 2, ne() + 0x27, ne() + 0x28, names(), names() + 1,
                              names() + 1 + (names() < b.size() ? b[names()] : 0)};
            size_t at = marks[rnd.Below(9)] + rnd.Below(3);
            if (at < b.size()) b.resize(at);
            break;
        }
        default: b.resize(rnd.Below(b.size() + 1)); break;
        }
    }
    return b;
}

} // namespace

TEST(NeModuleName, HundredThousandMutationsOfRealHeadersNeverReadPastTheEnd)
{
    std::vector<Bytes> seeds = SystemNeFiles();
    const size_t systemFiles = seeds.size();
    seeds.push_back(NeFile("FIXMOD"));
    seeds.push_back(LinkedNeFile());
    for (const Bytes& s : seeds) {
        char name[260];
        ASSERT_TRUE(ParseNeModuleName(s.data(), s.size(), name, sizeof(name))) << "an unmutated header is read";
    }
    size_t largest = 0;
    for (const Bytes& s : seeds) largest = s.size() > largest ? s.size() : largest;
    GuardedBuffer in(largest), out(260);
    ASSERT_TRUE(in.Ok() && out.Ok());

    const char* env = getenv("VANTIX_FUZZ_SEED");
    s_fuzzSeed = env && *env ? strtoull(env, NULL, 0) : 0x5EED0E0Eull;
    Mixer rnd = {s_fuzzSeed};
    const long kMutations = 100000;
    const size_t outSizes[] = {1, 2, 9, 260};
    long accepted = 0, mismatches = 0;
    s_guardIn = &in;
    s_guardOut = &out;
    PVOID handler = AddVectoredExceptionHandler(1, ReportGuardFault);
    for (s_mutation = 0; s_mutation < kMutations && mismatches < 10; s_mutation++) {
        Bytes m = Mutate(seeds[rnd.Below(seeds.size())], rnd);
        unsigned char* data = in.Tail(m.size());
        if (!m.empty()) memcpy(data, m.data(), m.size());
        size_t outSize = outSizes[rnd.Below(4)];
        char* name = (char*)out.Tail(outSize);
        memset(name, '#', outSize);
        bool ok = ParseNeModuleName(data, m.size(), name, outSize);
        std::string want;
        bool expected = ExpectedNeName(m.data(), m.size(), outSize, &want);
        // Byte for byte: a name may hold zero bytes of its own; the reader ends it with one more.
        bool sameName = want.size() < outSize && memcmp(name, want.data(), want.size()) == 0 && !name[want.size()];
        if (ok != expected || (ok && !sameName)) {
            ADD_FAILURE() << "mutation " << s_mutation << " of seed 0x" << std::hex << s_fuzzSeed << std::dec
                          << ": answered " << ok << " \"" << (ok ? name : "") << "\", expected " << expected << " \""
                          << want << "\"";
            mismatches++;
        }
        accepted += ok;
    }
    RemoveVectoredExceptionHandler(handler);
    s_guardIn = s_guardOut = NULL;
    printf("  NE reader fuzz (seed 0x%llX): %ld mutations of %u headers (%u from the system), %ld still named\n",
           s_fuzzSeed, s_mutation, (unsigned)seeds.size(), (unsigned)systemFiles, accepted);
}
