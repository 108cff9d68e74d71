// Names of process priority classes and relative thread priorities.
#include "processes/priority_names.h"
#include "app/resstring.h"
#include "app/platform.h"
#include "resource.h"

#include <stdio.h>

static char s_szPriorityName[PRIORITY_NAME_CHARS];

const char* PriorityClassName(DWORD priorityClass)
{
    UINT id = 0;
    switch (priorityClass) {
    case 0:
        s_szPriorityName[0] = '\0';
        return s_szPriorityName;
    case IDLE_PRIORITY_CLASS:     id = IDS_PRI_IDLE; break;
    case NORMAL_PRIORITY_CLASS:   id = IDS_PRI_NORMAL; break;
    case HIGH_PRIORITY_CLASS:     id = IDS_PRI_HIGH; break;
    case REALTIME_PRIORITY_CLASS: id = IDS_PRI_REALTIME; break;
    }
    if (id) {
        lstrcpynA(s_szPriorityName, LoadResString(id), sizeof(s_szPriorityName));
    } else {
        FormatUndocumentedClass(priorityClass, LoadResString(IDS_PRI_UNDOCUMENTED),
                                s_szPriorityName, sizeof(s_szPriorityName));
    }
    return s_szPriorityName;
}

void FormatUndocumentedClass(DWORD priorityClass, const char* tail, char* out, size_t outSize)
{
    if (outSize == 0) return;
    // Bounded: the number takes up to 11 characters and the tail may be as long as the buffer.
    snprintf(out, outSize, "%d %s", (int)priorityClass, tail);
}

const char* ThreadPriorityName(int relative)
{
    UINT id = 0;
    switch (relative) {
    case THREAD_PRIORITY_IDLE:          id = IDS_PRI_IDLE; break;
    case THREAD_PRIORITY_LOWEST:        id = IDS_PRI_LOWEST; break;
    case THREAD_PRIORITY_BELOW_NORMAL:  id = IDS_PRI_BELOWNORMAL; break;
    case THREAD_PRIORITY_NORMAL:        id = IDS_PRI_NORMAL; break;
    case THREAD_PRIORITY_ABOVE_NORMAL:  id = IDS_PRI_ABOVENORMAL; break;
    case THREAD_PRIORITY_HIGHEST:       id = IDS_PRI_HIGHEST; break;
    case THREAD_PRIORITY_TIME_CRITICAL: id = IDS_PRI_TIMECRITICAL; break;
    }
    if (id) lstrcpynA(s_szPriorityName, LoadResString(id), sizeof(s_szPriorityName));
    else s_szPriorityName[0] = '\0';
    return s_szPriorityName;
}

bool ToolhelpUsesWineCodes()
{
    return RunningOnWine();
}

int ClassBasePriority(DWORD priorityClass, LONG pcPriClassBase, bool wineCodes)
{
    switch (priorityClass) {
    case IDLE_PRIORITY_CLASS:         return 4;
    case BELOW_NORMAL_PRIORITY_CLASS: return 6;
    case NORMAL_PRIORITY_CLASS:       return 8;
    case ABOVE_NORMAL_PRIORITY_CLASS: return 10;
    case HIGH_PRIORITY_CLASS:         return 13;
    case REALTIME_PRIORITY_CLASS:     return 24;
    }
    if (!wineCodes) return (int)pcPriClassBase;
    static const int kWineCodeBase[] = {0, 4, 8, 13, 24, 6, 10};
    if (pcPriClassBase >= 1 && pcPriClassBase <= 6) return kWineCodeBase[pcPriClassBase];
    return 0;
}

int ThreadBasePriority(LONG tpBasePri, int classBase, bool wineCodes)
{
    if (!wineCodes) return (int)tpBasePri;
    // Idle and time-critical threads sit at the ends of their class's range, as on Windows.
    bool realtime = classBase >= 16;
    if (tpBasePri <= THREAD_PRIORITY_IDLE) return realtime ? 16 : 1;
    if (tpBasePri >= THREAD_PRIORITY_TIME_CRITICAL) return realtime ? 31 : 15;
    return classBase + (int)tpBasePri;
}

int ThreadRelativePriority(LONG tpBasePri, int classBase, bool wineCodes)
{
    return wineCodes ? (int)tpBasePri : (int)tpBasePri - classBase;
}
