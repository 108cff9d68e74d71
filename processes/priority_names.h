// Names of process priority classes and relative thread priorities.
#ifndef VANTIX_PRIORITY_NAMES_H
#define VANTIX_PRIORITY_NAMES_H

#include <windows.h>
#include <stddef.h>

#define PRIORITY_NAME_CHARS 64

// Text of a priority class (empty for 0) in a shared buffer.
const char* PriorityClassName(DWORD priorityClass);
// Pure: "<signed class value> <tail>", cut to fit outSize.
void FormatUndocumentedClass(DWORD priorityClass, const char* tail, char* out, size_t outSize);
// Text of a thread priority relative to its class base (empty for values without a name).
const char* ThreadPriorityName(int relative);
// Wine's toolhelp fills pcPriClassBase with its own class code (idle 1, normal 2, high 3,
// real time 4, below normal 5, above normal 6) and tpBasePri with the priority relative to the
// class; Windows gives base priorities in both. True when this process sees Wine's values.
bool ToolhelpUsesWineCodes();
// Pure: the base priority of a class. The class read with GetPriorityClass decides; without one
// the toolhelp value is used, translated when it is one of Wine's codes.
int ClassBasePriority(DWORD priorityClass, LONG pcPriClassBase, bool wineCodes);
// Pure: a thread's base priority and its priority relative to its class, from tpBasePri.
int ThreadBasePriority(LONG tpBasePri, int classBase, bool wineCodes);
int ThreadRelativePriority(LONG tpBasePri, int classBase, bool wineCodes);

#endif
