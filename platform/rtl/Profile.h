// Reading INI-style profile files the classic way. Each call reads the file anew (no cache).
// A file starting FF FE is UTF-16LE, one starting EF BB BF is UTF-8, anything else is 8-bit
// text in the system code page; the A functions answer in the system code page. Section and
// key names are trimmed of blanks and tabs and compared ASCII-case-insensitively; the first
// matching section and key win; ";" starts a comment line; values are trimmed and lose one
// pair of matching outer quotes.
#pragma once

#include "platform/rtl/Types.h"

// Copies the value (or `defaultValue` without its trailing blanks when the file, section or key
// is missing) into `buffer`, cut to size - 1 units (bytes for A, never half a character) plus a
// terminator, and returns the number of units copied. A null key lists the section's keys, a
// null section lists the sections, each name terminated and the list ended by one more
// terminator (cut lists return size - 2).
DWORD GetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR defaultValue, LPSTR buffer, DWORD size,
                               LPCSTR fileName);
DWORD GetPrivateProfileStringW(LPCWSTR section, LPCWSTR key, LPCWSTR defaultValue, LPWSTR buffer, DWORD size,
                               LPCWSTR fileName);
// The value read as a decimal number (leading digits; a leading "-" allowed), else `defaultValue`.
UINT GetPrivateProfileIntA(LPCSTR section, LPCSTR key, INT defaultValue, LPCSTR fileName);

#include <string>
#include <string_view>

namespace platform {
// The lookup behind GetPrivateProfileString over a file's bytes already read: the value of
// `key` in `section`, or `defaultValue` without its trailing blanks.
std::u16string ProfileValue(std::string_view fileBytes, std::u16string_view section, std::u16string_view key,
                            std::u16string_view defaultValue);
}  // namespace platform
