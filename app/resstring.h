// The string table, read through one shared buffer. Below the settings (whose registry names
// are strings of the table) and everything else; no window code.
#ifndef VANTIX_RESSTRING_H
#define VANTIX_RESSTRING_H

#include <windows.h>

#define RESSTRING_CHARS 1024

// String-table entry id in one shared buffer that the next call overwrites; empty when missing.
const char* LoadResString(UINT id);

#endif
