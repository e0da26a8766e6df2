// The system code page, conversions through it, and byte classification.
#include "platform/rtl/CodePage.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "platform/rtl/AnsiString.h"
#include "platform/rtl/CodePageTables.h"
#include "platform/rtl/DoubleByteTables.h"
#include "platform/rtl/LastError.h"
#include "platform/rtl/Utf8.h"
#include "platform/rtl/WideString.h"

namespace {

std::atomic<UINT> gSystemCodePage{CP_UTF8};

struct LeadRanges {
  UINT codePage;
  BYTE ranges[4];  // up to two inclusive ranges; 0, 0 ends
};
constexpr LeadRanges kDoubleBytePages[] = {
    {932, {0x81, 0x9F, 0xE0, 0xFC}},
    {936, {0x81, 0xFE, 0, 0}},
    {949, {0x81, 0xFE, 0, 0}},
    {950, {0x81, 0xFE, 0, 0}},
};

const LeadRanges* DoubleBytePage(UINT cp) {
  for (const LeadRanges& p : kDoubleBytePages)
    if (p.codePage == cp) return &p;
  return nullptr;
}

UINT Resolve(UINT cp) {
  if (cp == CP_ACP || cp == CP_OEMCP) return gSystemCodePage.load(std::memory_order_relaxed);
  return cp;
}

// The reverse of one single-byte page's upper half, sorted by unit for binary search.
using ReverseTable = std::vector<std::pair<char16_t, BYTE>>;

const ReverseTable& Reverse(UINT cp) {
  static const auto tables = [] {
    std::array<std::pair<UINT, ReverseTable>, 10> all;
    const UINT pages[] = {874, 1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257, 1258};
    for (std::size_t i = 0; i < all.size(); ++i) {
      all[i].first = pages[i];
      const char16_t* high = platform::SingleByteHighHalf(pages[i]);
      for (int b = 0; b < 128; ++b)
        if (high[b] != 0xFFFD) all[i].second.emplace_back(high[b], static_cast<BYTE>(0x80 + b));
      std::sort(all[i].second.begin(), all[i].second.end());
    }
    return all;
  }();
  for (const auto& t : tables)
    if (t.first == cp) return t.second;
  static const ReverseTable empty;
  return empty;
}

// -1 when the page lacks the unit.
int UnitToByte(UINT cp, char16_t u) {
  if (u < 0x80) return u;
  const ReverseTable& r = Reverse(cp);
  auto it = std::lower_bound(r.begin(), r.end(), std::make_pair(u, BYTE{0}));
  if (it != r.end() && it->first == u) return it->second;
  return -1;
}

// A double-byte page's encoder: every unit the page holds (below 0x80 ASCII), as one byte below
// 0x100 or as lead << 8 | trail; 0 where the page lacks the unit. Built on first use.
const std::vector<std::uint16_t>& DoubleByteReverse(const platform::DoubleBytePageTables& t) {
  static std::vector<std::uint16_t> tables[4];
  static std::once_flag once[4];
  const std::size_t slot = t.codePage == 932 ? 0 : t.codePage == 936 ? 1 : t.codePage == 949 ? 2 : 3;
  std::call_once(once[slot], [&t, slot] {
    std::vector<std::uint16_t>& r = tables[slot];
    r.assign(0x10000, 0);
    for (unsigned b = 0x80; b < 0x100; ++b)
      if (t.single[b - 0x80] != 0xFFFD) r[t.single[b - 0x80]] = static_cast<std::uint16_t>(b);
    std::vector<std::uint16_t> skip;
    for (const std::uint16_t* d = t.decodeOnly; *d; ++d) skip.push_back(*d);
    std::sort(skip.begin(), skip.end());
    for (unsigned lead = 0x80; lead < 0x100; ++lead) {
      unsigned row = t.leadRow[lead - 0x80];
      if (!row) continue;
      for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
        char16_t u = t.rows[row - 1][trail - 0x40];
        auto seq = static_cast<std::uint16_t>(lead << 8 | trail);
        if (u != 0xFFFD && !std::binary_search(skip.begin(), skip.end(), seq)) r[u] = seq;
      }
    }
  });
  return tables[slot];
}

bool IsTrail(const platform::DoubleBytePageTables& t, BYTE b) { return (t.trail[b >> 6] >> (b & 63)) & 1; }

// A lead byte takes a following trail byte with it (one U+FFFD when the pair is undefined);
// before any other byte, or at the end, it stands alone as U+FFFD and the next byte is read
// again, so a damaged pair never swallows the ASCII after it.
bool DoubleByteToUtf16(const platform::DoubleBytePageTables& t, DWORD flags, std::string_view src,
                       std::u16string& out) {
  out.reserve(src.size());
  for (std::size_t i = 0; i < src.size(); ++i) {
    BYTE b = static_cast<BYTE>(src[i]);
    char16_t u;
    if (b < 0x80) {
      u = b;
    } else if (unsigned row = t.leadRow[b - 0x80]) {
      BYTE next = i + 1 < src.size() ? static_cast<BYTE>(src[i + 1]) : 0;
      if (i + 1 < src.size() && IsTrail(t, next)) {
        u = next >= 0x40 && next <= 0xFE ? t.rows[row - 1][next - 0x40] : char16_t{0xFFFD};
        ++i;
      } else {
        u = 0xFFFD;
      }
    } else {
      u = t.single[b - 0x80];
    }
    if (u == 0xFFFD && (flags & MB_ERR_INVALID_CHARS)) {
      SetLastError(ERROR_NO_UNICODE_TRANSLATION);
      return false;
    }
    out.push_back(u);
  }
  return true;
}

void DoubleByteFromUtf16(const platform::DoubleBytePageTables& t, std::u16string_view src, std::string& out,
                         char fallback, bool& usedDefault) {
  const std::vector<std::uint16_t>& r = DoubleByteReverse(t);
  out.reserve(src.size() * 2);
  for (char16_t u : src) {
    if (u < 0x80) {
      out.push_back(static_cast<char>(u));
    } else if (std::uint16_t seq = r[u]) {
      if (seq > 0xFF) out.push_back(static_cast<char>(seq >> 8));
      out.push_back(static_cast<char>(seq & 0xFF));
    } else {
      out.push_back(fallback);
      usedDefault = true;
    }
  }
}

// Converts into `out`; false with the last error set when the page cannot convert.
bool ToUtf16(UINT cp, DWORD flags, std::string_view src, std::u16string& out) {
  if (cp == CP_UTF8) {
    bool clean = platform::DecodeUtf8(src, out);
    if (!clean && (flags & MB_ERR_INVALID_CHARS)) {
      SetLastError(ERROR_NO_UNICODE_TRANSLATION);
      return false;
    }
    return true;
  }
  if (const platform::DoubleBytePageTables* t = platform::DoubleBytePageTablesFor(cp))
    return DoubleByteToUtf16(*t, flags, src, out);
  const char16_t* high = platform::SingleByteHighHalf(cp);
  if (!high) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  out.reserve(src.size());
  for (char c : src) {
    BYTE b = static_cast<BYTE>(c);
    char16_t u = b < 0x80 ? char16_t{b} : high[b - 0x80];
    if (u == 0xFFFD && (flags & MB_ERR_INVALID_CHARS)) {
      SetLastError(ERROR_NO_UNICODE_TRANSLATION);
      return false;
    }
    out.push_back(u);
  }
  return true;
}

bool FromUtf16(UINT cp, std::u16string_view src, std::string& out, LPCSTR defaultChar, bool& usedDefault) {
  usedDefault = false;
  if (cp == CP_UTF8) {
    usedDefault = !platform::EncodeUtf8(src, out);
    return true;
  }
  const char fallback = (defaultChar && *defaultChar) ? *defaultChar : '?';
  if (const platform::DoubleBytePageTables* t = platform::DoubleBytePageTablesFor(cp)) {
    DoubleByteFromUtf16(*t, src, out, fallback, usedDefault);
    return true;
  }
  if (!platform::SingleByteHighHalf(cp)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  out.reserve(src.size());
  for (char16_t u : src) {
    int b = UnitToByte(cp, u);
    if (b < 0) {
      out.push_back(fallback);
      usedDefault = true;
    } else {
      out.push_back(static_cast<char>(b));
    }
  }
  return true;
}

}  // namespace

UINT GetACP() { return gSystemCodePage.load(std::memory_order_relaxed); }
UINT GetOEMCP() { return GetACP(); }

bool SetSystemCodePage(UINT codePage) {
  if (codePage != CP_UTF8 && !platform::SingleByteHighHalf(codePage) && !DoubleBytePage(codePage))
    return false;
  gSystemCodePage.store(codePage, std::memory_order_relaxed);
  return true;
}

int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR src, int srcBytes, LPWSTR dst, int dstUnits) {
  if (!src || srcBytes == 0 || srcBytes < -1 || dstUnits < 0 || (dstUnits > 0 && !dst)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  std::size_t n = srcBytes == -1 ? std::strlen(src) + 1 : static_cast<std::size_t>(srcBytes);
  std::u16string out;
  if (!ToUtf16(Resolve(codePage), flags, std::string_view(src, n), out)) return 0;
  if (out.size() > 0x7FFFFFFF) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (dstUnits == 0) return static_cast<int>(out.size());
  if (out.size() > static_cast<std::size_t>(dstUnits)) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  std::copy(out.begin(), out.end(), dst);
  return static_cast<int>(out.size());
}

int WideCharToMultiByte(UINT codePage, DWORD /*flags*/, LPCWSTR src, int srcUnits, LPSTR dst, int dstBytes,
                        LPCSTR defaultChar, LPBOOL usedDefault) {
  if (!src || srcUnits == 0 || srcUnits < -1 || dstBytes < 0 || (dstBytes > 0 && !dst)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  std::size_t n = static_cast<std::size_t>(srcUnits);
  if (srcUnits == -1) {
    n = 0;
    while (src[n]) ++n;
    ++n;
  }
  std::string out;
  bool used = false;
  if (!FromUtf16(Resolve(codePage), std::u16string_view(src, n), out, defaultChar, used)) return 0;
  if (out.size() > 0x7FFFFFFF) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (dstBytes != 0 && out.size() > static_cast<std::size_t>(dstBytes)) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  if (usedDefault) *usedDefault = used ? TRUE : FALSE;
  if (dstBytes == 0) return static_cast<int>(out.size());
  std::memcpy(dst, out.data(), out.size());
  return static_cast<int>(out.size());
}

BOOL GetCPInfo(UINT codePage, LPCPINFO info) {
  UINT cp = Resolve(codePage);
  if (!info) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  CPINFO result{};
  result.DefaultChar[0] = '?';
  if (cp == CP_UTF8) {
    result.MaxCharSize = 4;
    result.LeadByte[0] = 0xC2;
    result.LeadByte[1] = 0xF4;
  } else if (const LeadRanges* d = DoubleBytePage(cp)) {
    result.MaxCharSize = 2;
    std::copy(std::begin(d->ranges), std::end(d->ranges), result.LeadByte);
  } else if (platform::SingleByteHighHalf(cp)) {
    result.MaxCharSize = 1;
  } else {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  *info = result;
  return TRUE;
}

BOOL IsDBCSLeadByteEx(UINT codePage, BYTE b) {
  UINT cp = Resolve(codePage);
  if (cp == CP_UTF8) return b >= 0xC2 && b <= 0xF4;
  if (const LeadRanges* d = DoubleBytePage(cp)) {
    for (int i = 0; i < 4 && d->ranges[i]; i += 2)
      if (b >= d->ranges[i] && b <= d->ranges[i + 1]) return TRUE;
    return FALSE;
  }
  if (!platform::SingleByteHighHalf(cp)) SetLastError(ERROR_INVALID_PARAMETER);
  return FALSE;
}

BOOL IsDBCSLeadByte(BYTE b) { return IsDBCSLeadByteEx(CP_ACP, b); }

TMbcsByteType StrByteType(const char* s, unsigned index) {
  if (!s) return mbSingleByte;
  UINT cp = GetACP();
  auto byteAt = [s](unsigned i) { return static_cast<BYTE>(s[i]); };
  if (cp == CP_UTF8) {
    BYTE b = byteAt(index);
    if (b >= 0xC2 && b <= 0xF4) return mbLeadByte;
    if (b >= 0x80 && b <= 0xBF) return mbTrailByte;
    return mbSingleByte;
  }
  if (!DoubleBytePage(cp)) return mbSingleByte;
  // A double-byte page needs the context: walk from the start, pairing each lead byte with the
  // byte after it (unless that is the terminator).
  unsigned i = 0;
  while (i < index) {
    if (IsDBCSLeadByteEx(cp, byteAt(i)) && byteAt(i + 1) != 0) {
      if (i + 1 == index) return mbTrailByte;
      i += 2;
    } else {
      ++i;
    }
  }
  return IsDBCSLeadByteEx(cp, byteAt(index)) ? mbLeadByte : mbSingleByte;
}

TMbcsByteType ByteType(const AnsiString& s, int index) {
  if (index < 1 || index > s.Length()) return mbSingleByte;
  return StrByteType(s.c_str(), static_cast<unsigned>(index - 1));
}

namespace platform {

std::u16string MultiByteToUtf16(std::string_view s, UINT codePage) {
  std::u16string out;
  DWORD saved = GetLastError();
  if (!ToUtf16(Resolve(codePage), 0, s, out))
    out.clear();
  else
    SetLastError(saved);
  return out;
}

std::string Utf16ToMultiByte(std::u16string_view s, UINT codePage) {
  std::string out;
  bool used = false;
  DWORD saved = GetLastError();
  if (!FromUtf16(Resolve(codePage), s, out, nullptr, used))
    out.clear();
  else
    SetLastError(saved);
  return out;
}

}  // namespace platform

AnsiString UTF8Encode(const WideString& s) { return AnsiString(platform::Utf16ToUtf8(s.ToU16())); }
WideString UTF8Decode(const AnsiString& utf8) { return WideString(platform::Utf8ToUtf16(utf8.ToStd())); }
AnsiString Utf8ToAnsi(const AnsiString& utf8) {
  return AnsiString(platform::Utf16ToMultiByte(platform::Utf8ToUtf16(utf8.ToStd())));
}
AnsiString AnsiToUtf8(const AnsiString& s) {
  return AnsiString(platform::Utf16ToUtf8(platform::MultiByteToUtf16(s.ToStd())));
}
