// The string table.
#include "app/resstring.h"
#include "app/program.h"

static char s_szResString[RESSTRING_CHARS];

const char* LoadResString(UINT id)
{
    if (LoadStringA(g_hInst, id, s_szResString, RESSTRING_CHARS) <= 0)
        s_szResString[0] = '\0';
    return s_szResString;
}
