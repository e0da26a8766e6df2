// Case mapping and comparison at the function level.
#include "platform/rtl/CharCase.h"

#include <cstdint>
#include <cstring>
#include <string>

#include "platform/rtl/CaseMap.h"
#include "platform/rtl/CodePage.h"
#include "platform/rtl/LastError.h"
#include "platform/rtl/Locale.h"

namespace {

bool IsSingleChar(const void* p) { return reinterpret_cast<std::uintptr_t>(p) < 0x10000; }

// Maps 8-bit text through UTF-16; the result replaces the bytes only when it has the same
// length (always so in a single-byte page; under UTF-8 a few letters change length and stay).
void MapBytes(char* s, std::size_t n, char16_t (*map)(char16_t)) {
  std::u16string w = platform::MultiByteToUtf16(std::string_view(s, n));
  for (char16_t& c : w) c = map(c);
  std::string back = platform::Utf16ToMultiByte(w);
  if (back.size() == n) {
    std::memcpy(s, back.data(), n);
    return;
  }
  for (std::size_t i = 0; i < n; ++i) {  // fall back to ASCII letters
    unsigned char c = static_cast<unsigned char>(s[i]);
    if (c < 0x80) s[i] = static_cast<char>(map(c));
  }
}

LPSTR CharA(LPSTR s, char16_t (*map)(char16_t)) {
  if (IsSingleChar(s)) {
    char c = static_cast<char>(reinterpret_cast<std::uintptr_t>(s));
    MapBytes(&c, 1, map);
    return reinterpret_cast<LPSTR>(static_cast<std::uintptr_t>(static_cast<unsigned char>(c)));
  }
  MapBytes(s, std::strlen(s), map);
  return s;
}

LPWSTR CharW(LPWSTR s, char16_t (*map)(char16_t)) {
  if (IsSingleChar(s))
    return reinterpret_cast<LPWSTR>(
        static_cast<std::uintptr_t>(map(static_cast<char16_t>(reinterpret_cast<std::uintptr_t>(s)))));
  for (LPWSTR p = s; *p; ++p) *p = map(*p);
  return s;
}

int Compare(DWORD flags, const std::u16string& a, const std::u16string& b) {
  if (!(flags & NORM_IGNORECASE)) {
    int c = platform::CollateUtf16(a, b);
    return c < 0 ? CSTR_LESS_THAN : c > 0 ? CSTR_GREATER_THAN : CSTR_EQUAL;
  }
  std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    char16_t x = platform::FoldUnit(a[i]), y = platform::FoldUnit(b[i]);
    if (x != y) return x < y ? CSTR_LESS_THAN : CSTR_GREATER_THAN;
  }
  if (a.size() == b.size()) return CSTR_EQUAL;
  return a.size() < b.size() ? CSTR_LESS_THAN : CSTR_GREATER_THAN;
}

}  // namespace

LPSTR CharUpperA(LPSTR s) { return CharA(s, platform::UpperUnit); }
LPSTR CharLowerA(LPSTR s) { return CharA(s, platform::LowerUnit); }
LPWSTR CharUpperW(LPWSTR s) { return CharW(s, platform::UpperUnit); }
LPWSTR CharLowerW(LPWSTR s) { return CharW(s, platform::LowerUnit); }

DWORD CharUpperBuffA(LPSTR s, DWORD length) {
  if (!s) return 0;
  MapBytes(s, length, platform::UpperUnit);
  return length;
}
DWORD CharLowerBuffA(LPSTR s, DWORD length) {
  if (!s) return 0;
  MapBytes(s, length, platform::LowerUnit);
  return length;
}
DWORD CharUpperBuffW(LPWSTR s, DWORD length) {
  if (!s) return 0;
  for (DWORD i = 0; i < length; ++i) s[i] = platform::UpperUnit(s[i]);
  return length;
}
DWORD CharLowerBuffW(LPWSTR s, DWORD length) {
  if (!s) return 0;
  for (DWORD i = 0; i < length; ++i) s[i] = platform::LowerUnit(s[i]);
  return length;
}

int CompareStringA(LCID, DWORD flags, LPCSTR a, int na, LPCSTR b, int nb) {
  if (!a || !b) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  std::string_view va(a, na < 0 ? std::strlen(a) : static_cast<std::size_t>(na));
  std::string_view vb(b, nb < 0 ? std::strlen(b) : static_cast<std::size_t>(nb));
  return Compare(flags, platform::MultiByteToUtf16(va), platform::MultiByteToUtf16(vb));
}

int CompareStringW(LCID, DWORD flags, LPCWSTR a, int na, LPCWSTR b, int nb) {
  if (!a || !b) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  auto length = [](LPCWSTR s, int n) {
    if (n >= 0) return static_cast<std::size_t>(n);
    std::size_t k = 0;
    while (s[k]) ++k;
    return k;
  };
  return Compare(flags, std::u16string(a, length(a, na)), std::u16string(b, length(b, nb)));
}
