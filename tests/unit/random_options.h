// Seeded random settings records with a valid signature and size, and the range every field of
// a loaded record must end in, written down apart from the code that validates it. Shared by
// the unit test that loads them and the integration test that opens the main dialog on them.
#ifndef VANTIX_RANDOM_OPTIONS_H
#define VANTIX_RANDOM_OPTIONS_H

#include <stddef.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>
#include <string>
#include <vector>

#include "app/settings.h"
#include "resource.h"

// splitmix64: the same seed gives the same records on every machine and bitness.
class OptionsRandom {
public:
    explicit OptionsRandom(uint64_t seed) : state_(seed) {}
    uint64_t Next()
    {
        uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    uint32_t Below(uint32_t n) { return (uint32_t)(Next() % n); }

private:
    uint64_t state_;
};

// The seed of a run: VANTIX_FUZZ_SEED repeats a run whose seed was printed, else the fallback.
inline uint64_t FuzzSeed(uint64_t fallback)
{
    const char* s = getenv("VANTIX_FUZZ_SEED");
    return s && *s ? strtoull(s, NULL, 0) : fallback;
}

// One stored field: where it lies, how wide and signed it is, the range a loaded record keeps
// it in, and its group (the fields of a group are kept or reset together; 0 = on its own).
struct OptionsField {
    std::string name;
    size_t offset;
    int bytes;  // 1 or 4
    bool isSigned;
    int64_t lo, hi;
    int group;
};

inline std::vector<OptionsField> OptionsFields()
{
    const int64_t extent = 1000000;  // far beyond any desktop, as settings.cpp allows
    std::vector<OptionsField> f;
    auto add = [&](const std::string& n, size_t off, int bytes, bool sgn, int64_t lo, int64_t hi, int group) {
        f.push_back({n, off, bytes, sgn, lo, hi, group});
    };
    auto flag = [&](const std::string& n, size_t off) { add(n, off, 4, false, 0, 1, 0); };
    add("MainDlgX", offsetof(OptionsRecord, MainDlgX), 4, true, -extent, extent, 1);
    add("MainDlgY", offsetof(OptionsRecord, MainDlgY), 4, true, -extent, extent, 1);
    add("PageIndex", offsetof(OptionsRecord, PageIndex), 1, true, 0, PAGE_COUNT - 1, 0);
    flag("TrayIcon", offsetof(OptionsRecord, TrayIcon));
    flag("SkipWarnings", offsetof(OptionsRecord, SkipWarnings));
    flag("SkipChildren", offsetof(OptionsRecord, SkipChildren));
    flag("ForceExit", offsetof(OptionsRecord, ForceExit));
    flag("PowerOff", offsetof(OptionsRecord, PowerOff));
    const struct {
        const char* list;
        size_t widths, column, states;
        int n;
    } lists[] = {
        {"Process", offsetof(OptionsRecord, ProcessColumnWidths), offsetof(OptionsRecord, ProcessSortColumn),
         offsetof(OptionsRecord, ProcessSortStates), PROCESS_COLUMNS},
        {"Thread", offsetof(OptionsRecord, ThreadColumnWidths), offsetof(OptionsRecord, ThreadSortColumn),
         offsetof(OptionsRecord, ThreadSortStates), THREAD_COLUMNS},
        {"Module", offsetof(OptionsRecord, ModuleColumnWidths), offsetof(OptionsRecord, ModuleSortColumn),
         offsetof(OptionsRecord, ModuleSortStates), MODULE_COLUMNS},
        {"Task", offsetof(OptionsRecord, TaskColumnWidths), offsetof(OptionsRecord, TaskSortColumn),
         offsetof(OptionsRecord, TaskSortStates), TASK_COLUMNS},
    };
    for (const auto& l : lists) {
        for (int i = 0; i < l.n; i++)
            add(std::string(l.list) + "ColumnWidths[" + std::to_string(i) + "]", l.widths + 4 * i, 4, true, -1,
                extent, 0);
        add(std::string(l.list) + "SortColumn", l.column, 4, false, 0, l.n, 0);
        for (int i = 0; i < l.n; i++)
            add(std::string(l.list) + "SortStates[" + std::to_string(i) + "]", l.states + i, 1, true, SORT_NONE,
                SORT_DESCENDING, 0);
    }
    flag("ShowModules", offsetof(OptionsRecord, ShowModules));
    add("CaptureWidth", offsetof(OptionsRecord, CaptureWidth), 4, true, 1, extent, 0);
    add("CaptureHeight", offsetof(OptionsRecord, CaptureHeight), 4, true, 1, extent, 0);
    add("CaptureArea", offsetof(OptionsRecord, CaptureArea), 1, true, 0, CAPTURE_AREAS - 1, 0);
    add("CaptureDestination", offsetof(OptionsRecord, CaptureDestination), 4, false, IDC_CAP_NEWWINDOW, IDC_CAP_FILE,
        0);
    flag("ShowDimensions", offsetof(OptionsRecord, ShowDimensions));
    flag("TaskShowHidden", offsetof(OptionsRecord, TaskShowHidden));
    flag("TaskCloseOnSwitch", offsetof(OptionsRecord, TaskCloseOnSwitch));
    flag("ShowClass", offsetof(OptionsRecord, ShowClass));
    add("MainDlgWidth", offsetof(OptionsRecord, MainDlgWidth), 4, true, 0, extent, 2);
    add("MainDlgHeight", offsetof(OptionsRecord, MainDlgHeight), 4, true, 0, extent, 2);
    return f;
}

inline int64_t FieldValue(const void* rec, const OptionsField& f)
{
    const unsigned char* p = (const unsigned char*)rec + f.offset;
    if (f.bytes == 1) return f.isSigned ? (int64_t)(int8_t)p[0] : (int64_t)p[0];
    uint32_t v;
    memcpy(&v, p, 4);
    return f.isSigned ? (int64_t)(int32_t)v : (int64_t)v;
}

inline bool FieldInRange(const void* rec, const OptionsField& f)
{
    int64_t v = FieldValue(rec, f);
    return v >= f.lo && v <= f.hi;
}

// A stored value of 168 bytes with the signature and size, every other byte chosen to reach the
// edges: fully random words, small numbers, the limits and one past them, typical sizes.
inline void RandomStoredOptions(OptionsRandom& rnd, unsigned char out[OPTIONS_SIZE])
{
    for (int i = 0; i < OPTIONS_SIZE; i++) out[i] = (unsigned char)rnd.Next();
    static const int32_t edges[] = {INT32_MIN, -1000001, -1000000, -100000, -2, -1, 0, 1, 2,
                                    3,         4,        5,        6,       7,  8,  160, 8030,
                                    8031,      8033,     8034,     999999,  1000000, 1000001, INT32_MAX};
    // One record in four has every field in range, the edges included, so that whole valid
    // records with extreme values come along too.
    const bool valid = rnd.Below(4) == 0;
    for (const OptionsField& f : OptionsFields()) {
        int32_t v;
        if (valid) {
            uint32_t pick = rnd.Below(4);
            v = (int32_t)(pick == 0 ? f.lo : pick == 1 ? f.hi : f.lo + (int64_t)(rnd.Next() % (uint64_t)(f.hi - f.lo + 1)));
        } else switch (rnd.Below(4)) {
        case 0: v = (int32_t)rnd.Next(); break;
        case 1: v = (int32_t)rnd.Below(13) - 3; break;
        case 2: v = edges[rnd.Below(sizeof(edges) / sizeof(edges[0]))]; break;
        default: v = (int32_t)rnd.Below(7000) - 2000; break;
        }
        if (f.bytes == 1)
            out[f.offset] = (unsigned char)v;
        else
            memcpy(out + f.offset, &v, 4);
    }
    const uint32_t signature = OPTIONS_SIGNATURE, size = OPTIONS_SIZE;
    memcpy(out, &signature, 4);
    memcpy(out + 4, &size, 4);
}

#endif
