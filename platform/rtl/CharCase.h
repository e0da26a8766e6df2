// The function-level case and comparison routines of 8-bit and UTF-16 text: per-unit simple
// case mapping from the generated tables, and CompareString: with NORM_IGNORECASE per-unit
// simple case folding, then unit order; without it the locale's collation (Locale.h).
#pragma once

#include "platform/rtl/Types.h"

constexpr DWORD NORM_IGNORECASE = 0x1;
constexpr int CSTR_LESS_THAN = 1;
constexpr int CSTR_EQUAL = 2;
constexpr int CSTR_GREATER_THAN = 3;
constexpr LCID LOCALE_USER_DEFAULT = 0x400;
constexpr LCID LOCALE_SYSTEM_DEFAULT = 0x800;

// A value below 0x10000 is one character, returned mapped; anything else is a terminated
// string mapped in place and returned.
LPSTR CharUpperA(LPSTR s);
LPSTR CharLowerA(LPSTR s);
LPWSTR CharUpperW(LPWSTR s);
LPWSTR CharLowerW(LPWSTR s);
// Map `length` units (bytes for A) in place; return the count.
DWORD CharUpperBuffA(LPSTR s, DWORD length);
DWORD CharLowerBuffA(LPSTR s, DWORD length);
DWORD CharUpperBuffW(LPWSTR s, DWORD length);
DWORD CharLowerBuffW(LPWSTR s, DWORD length);

// Lengths of -1 mean "terminated". Other flags beside NORM_IGNORECASE are accepted and change
// nothing.
int CompareStringA(LCID locale, DWORD flags, LPCSTR a, int na, LPCSTR b, int nb);
int CompareStringW(LCID locale, DWORD flags, LPCWSTR a, int na, LPCWSTR b, int nb);
