// The one place that names the version of both deliverables: the version resources of
// Vantix.exe and Quillet.dll, the release zips' names (tools/release.sh reads this file) and the
// tests that check them all take it from here.
#ifndef VANTIX_VERSION_H
#define VANTIX_VERSION_H

#define VANTIX_VERSION_MAJOR    1
#define VANTIX_VERSION_MINOR    0
#define VANTIX_VERSION_PATCH    0
#define VANTIX_VERSION_BUILD    0
#define VANTIX_VERSION_TEXT     "1.0.0.0"

#define VANTIX_COMPANY_TEXT     "Brenholt"
#define VANTIX_PRODUCT_TEXT     "Vantix"
#define VANTIX_COPYRIGHT_TEXT   "Copyright (c) 2026 Brenholt Software"

// The version resources' one language: English without a region, Windows ANSI code page.
#define VANTIX_VERSION_LANGUAGE 0x0009
#define VANTIX_VERSION_CODEPAGE 1252
#define VANTIX_VERSION_BLOCK    "000904E4"

#endif
