// Base names of paths: directories, extensions, drive colons, lengths and double-byte names.
#include <windows.h>
#include <gtest/gtest.h>
#include <string>
#include "processes/snapshot.h"

static std::string BaseName(const std::string& path, UINT cp = 1252)
{
    char out[BASE_NAME_CHARS];
    BaseNameOf(path.c_str(), cp, out, sizeof(out));
    return out;
}

TEST(FileNamePart, TableOfPaths)
{
    const struct { const char* path; const char* base; } cases[] = {
        {"C:\\WINDOWS\\system32\\kernel32.dll", "kernel32"},
        {"archive.tar.gz", "archive.tar"},
        {"[System Process]", "[System Process]"},
        {".profile", ""},
        {"C:\\dir\\.", ""},
        {"C:\\dir\\..", ""},
        {"..", ""},
        {"...", ".."},
        {"C:\\dir.d\\file", "file"},
        {"C:foo.exe", "foo"},
        {"x:y:z.exe", "y:z"},
        {"C:\\dir\\", ""},
        {"a/b/c.txt", "c"},
        {"a\\b/c", "c"},
        {"D:", ""},
        {"", ""},
        {"\\\\server\\share\\tool.v2.exe", "tool.v2"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.base, BaseName(c.path)) << c.path;
    EXPECT_STREQ("kernel32", FileNamePart("C:\\WINDOWS\\system32\\kernel32.dll"));
}

TEST(FileNamePart, LengthLimits)
{
    std::string n255(255, 'n');
    EXPECT_EQ(n255, BaseName("C:\\" + n255 + ".exe"));
    EXPECT_EQ(n255, BaseName(n255));
    // A longer name is cut to the 255 characters of the buffer.
    EXPECT_EQ(n255, BaseName(std::string(258, 'n')));
    // Only the first 260 characters are judged: the separator at 257 counts, what follows
    // beyond 260 does not.
    std::string path = "C:\\" + std::string(250, 'n') + ".ext" + "\\zzzzz.q";
    ASSERT_GT(path.size(), 260u);
    EXPECT_EQ("zz", BaseName(path));
    // A dot past the 260th character is no extension.
    std::string longName = "C:\\" + std::string(270, 'm') + ".dll";
    EXPECT_EQ(std::string(255, 'm'), BaseName(longName));
}

TEST(FileNamePart, DoubleByteTrailByteIsNoSeparator)
{
    // 0x95 0x5C is one Shift-JIS character whose trail byte is the backslash code.
    EXPECT_EQ("\x95\x5C", BaseName("C:\\dir\\\x95\x5C.txt", 932));
    EXPECT_EQ("a", BaseName("C:\\\x95\x5C\\a.b", 932));
    // In a single-byte code page the same bytes are a separator.
    EXPECT_EQ("", BaseName("C:\\dir\\\x95\x5C.txt", 1252));
    // A cut at 255 characters never leaves half a double-byte character.
    std::string dbcs = std::string(254, 'a') + "\x95\x5C";
    std::string got = BaseName(dbcs, 932);
    EXPECT_EQ(std::string(254, 'a'), got);
}
