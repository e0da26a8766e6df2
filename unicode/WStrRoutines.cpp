#include "unicode/WStrRoutines.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string_view>

#include "platform/rtl/CharCase.h"
#include "unicode/UcCollate.h"
#include "unicode/UcTextWrappers.h"

namespace {

constexpr unsigned kWholeText = 0x7FFFFFFF;

int Compare(const char16_t* a, int na, const char16_t* b, int nb, DWORD flags) {
  return UcCollate(a, na, b, nb, flags);
}

int LimitedLength(const char16_t* s, unsigned maxLen) {
  if (maxLen >= kWholeText) return -1;
  return static_cast<int>(std::min(WStrLen(s), maxLen));
}

}  // namespace

PWideChar WStrAlloc(unsigned n) {
  std::size_t bytes = std::size_t{n} * 2 + 4;
  auto* block = static_cast<std::uint8_t*>(std::malloc(bytes));
  if (!block) throw std::bad_alloc();
  auto size = static_cast<std::uint32_t>(bytes);
  std::memcpy(block, &size, 4);
  return reinterpret_cast<PWideChar>(block + 4);
}

unsigned WStrBufSize(const char16_t* p) {
  std::uint32_t size = 0;
  std::memcpy(&size, reinterpret_cast<const std::uint8_t*>(p) - 4, 4);
  return (size - 4) / 2;
}

PWideChar WStrNew(const char16_t* s) {
  if (!s) return nullptr;
  unsigned n = WStrLen(s);
  return WStrMove(WStrAlloc(n + 1), s, n + 1);
}

void WStrDispose(PWideChar p) {
  if (p) std::free(reinterpret_cast<std::uint8_t*>(p) - 4);
}

PWideChar WStrMove(PWideChar dest, const char16_t* source, unsigned count) {
  if (count) std::memmove(dest, source, std::size_t{count} * 2);
  return dest;
}

unsigned WStrLen(const char16_t* s) {
  unsigned n = 0;
  if (s)
    while (s[n]) ++n;
  return n;
}

PWideChar WStrEnd(const char16_t* s) { return const_cast<PWideChar>(s + WStrLen(s)); }

PWideChar WStrCopy(PWideChar dest, const char16_t* source) {
  return WStrMove(dest, source, WStrLen(source) + 1);
}

PWideChar WStrLCopy(PWideChar dest, const char16_t* source, unsigned maxLen) {
  unsigned n = 0;
  while (n < maxLen && source[n]) {
    dest[n] = source[n];
    ++n;
  }
  dest[n] = 0;
  return dest;
}

PWideChar WStrPCopy(PWideChar dest, const WideString& source) {
  return WStrLCopy(dest, source.c_str(), static_cast<unsigned>(source.Length()));
}

PWideChar WStrPLCopy(PWideChar dest, const WideString& source, unsigned maxLen) {
  return WStrLCopy(dest, source.c_str(), maxLen);
}

PWideChar WStrECopy(PWideChar dest, const char16_t* source) {
  unsigned n = WStrLen(source);
  WStrMove(dest, source, n + 1);
  return dest + n;
}

PWideChar WStrCat(PWideChar dest, const char16_t* source) {
  WStrCopy(WStrEnd(dest), source);
  return dest;
}

PWideChar WStrLCat(PWideChar dest, const char16_t* source, unsigned maxLen) {
  unsigned length = WStrLen(dest);
  if (length < maxLen) WStrLCopy(dest + length, source, maxLen - length);
  return dest;
}

PWideChar WStrScan(const char16_t* s, char16_t c) {
  if (!s) return nullptr;
  for (;; ++s) {
    if (*s == c) return const_cast<PWideChar>(s);
    if (!*s) return nullptr;
  }
}

PWideChar WStrRScan(const char16_t* s, char16_t c) {
  if (!s) return nullptr;
  const char16_t* found = nullptr;
  for (;; ++s) {
    if (*s == c) found = s;
    if (!*s) return const_cast<PWideChar>(found);
  }
}

PWideChar WStrPos(const char16_t* s, const char16_t* sub) {
  if (!s || !sub || !*s || !*sub) return nullptr;
  for (; *s; ++s) {
    unsigned i = 0;
    while (sub[i] && s[i] == sub[i]) ++i;
    if (!sub[i]) return const_cast<PWideChar>(s);
  }
  return nullptr;
}

int WStrComp(const char16_t* a, const char16_t* b) { return Compare(a, -1, b, -1, 0); }
int WStrIComp(const char16_t* a, const char16_t* b) { return Compare(a, -1, b, -1, NORM_IGNORECASE); }

int WStrLComp(const char16_t* a, const char16_t* b, unsigned maxLen) {
  return Compare(a, LimitedLength(a, maxLen), b, LimitedLength(b, maxLen), 0);
}

int WStrLIComp(const char16_t* a, const char16_t* b, unsigned maxLen) {
  return Compare(a, LimitedLength(a, maxLen), b, LimitedLength(b, maxLen), NORM_IGNORECASE);
}

int Uc_WStrComp(const char16_t* a, const char16_t* b) { return WStrComp(a, b); }
PWideChar Uc_WStrPos(const char16_t* s, const char16_t* sub) { return WStrPos(s, sub); }

PWideChar WStrLower(PWideChar s) {
  Uc_CharLowerBuffW(s, WStrLen(s));
  return s;
}

PWideChar WStrUpper(PWideChar s) {
  Uc_CharUpperBuffW(s, WStrLen(s));
  return s;
}

WideString WStrPas(const char16_t* s) { return WideString(s); }

const char16_t* WideLastChar(const WideString& s) {
  return s.IsEmpty() ? nullptr : s.c_str() + s.Length() - 1;
}

WideString WideQuotedStr(const WideString& s, char16_t quote) {
  std::u16string out(1, quote);
  for (char16_t c : s.ToU16()) {
    out += c;
    if (c == quote) out += c;
  }
  out += quote;
  return WideString(std::move(out));
}

WideString WideExtractQuotedStr(const char16_t*& p, char16_t quote) {
  if (!p || *p != quote) return WideString();
  const char16_t* q = p + 1;
  std::u16string out;
  for (; *q; ++q) {
    if (*q == quote) {
      if (q[1] != quote) {
        p = q + 1;
        return WideString(std::move(out));
      }
      ++q;  // a doubled quote stands for one
    }
    out += *q;
  }
  p = q;  // no closing quote: the text runs to the terminator
  return WideString(std::move(out));
}

WideString WideDequotedStr(const WideString& s, char16_t quote) {
  const char16_t* p = s.c_str();
  WideString result = WideExtractQuotedStr(p, quote);
  return result.IsEmpty() ? s : result;
}
