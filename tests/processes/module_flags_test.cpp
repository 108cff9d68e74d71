// The flags of the module snapshot, per build bitness.
#include <windows.h>
#include <tlhelp32.h>
#include <gtest/gtest.h>
#include "processes/snapshot.h"

// A 64-bit build that asked for TH32CS_SNAPMODULE alone would list only the 64-bit layer a
// 32-bit process runs on (its own modules missing); a 32-bit build asks for its own kind, the
// only one it can read. Nothing else: threads or heaps would be walked with every module read.
TEST(ModuleSnapshotFlags, EachBuildAsksForTheModulesItCanRead)
{
    const struct { int bits; DWORD flags; } cases[] = {
        {64, TH32CS_SNAPMODULE | TH32CS_SNAPMODULE32},
        {32, TH32CS_SNAPMODULE},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.flags, ModuleSnapshotFlags(c.bits)) << c.bits << "-bit build";
        EXPECT_EQ(0u, ModuleSnapshotFlags(c.bits) & ~(DWORD)(TH32CS_SNAPMODULE | TH32CS_SNAPMODULE32));
    }
}
