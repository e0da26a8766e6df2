#include "unicode/UcTextWrappers.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "platform/rtl/LastError.h"
#include "unicode/CodePageConversion.h"
#include "unicode/UcNarrowText.h"
#include "unicode/UcPlatformFlags.h"
#include "unicode/WideCharClasses.h"

namespace {

// A counted input: -1 runs to the terminator, any other count takes at most that many units.
std::u16string_view Counted(LPCWSTR s, int count) {
  if (!s) return {};
  std::u16string_view whole(s);
  if (count < 0) return whole;
  return whole.substr(0, static_cast<std::size_t>(count));
}

AnsiString Narrow(std::u16string_view s) { return WideStringToStringEx(WideString(s), CP_ACP); }

// One character through the 8-bit case mapping, when it survives the round trip as one unit.
char16_t MapNarrow(char16_t c, LPSTR (*map)(LPSTR)) {
  if (!IsWideCharMappableToAnsi(c)) return c;
  AnsiString bytes = Narrow(std::u16string_view(&c, 1));
  std::string mapped(bytes.c_str());
  map(mapped.data());
  WideString back = StringToWideStringEx(AnsiString(mapped), CP_ACP);
  return back.Length() == 1 ? back[1] : c;
}

LPWSTR MapNarrowString(LPWSTR s, LPSTR (*map)(LPSTR)) {
  auto value = reinterpret_cast<std::uintptr_t>(s);
  if ((value >> 16) == 0)
    return reinterpret_cast<LPWSTR>(std::uintptr_t{MapNarrow(static_cast<char16_t>(value), map)});
  for (LPWSTR p = s; *p; ++p) *p = MapNarrow(*p, map);
  return s;
}

DWORD MapNarrowBuffer(LPWSTR s, DWORD length, LPSTR (*map)(LPSTR)) {
  for (DWORD i = 0; i < length; ++i) s[i] = MapNarrow(s[i], map);
  return length;
}

// Reads entry `id` of the string table from its block of sixteen counted UTF-16 texts.
int LoadStringFromBlock(HINSTANCE instance, UINT id, LPWSTR buffer, int size) {
  if ((id >> 16) == 0xFFFF) id = 0u - id;
  HRSRC block =
      FindResourceW(instance, MAKEINTRESOURCEW(static_cast<WORD>(id / 16 + 1)), MAKEINTRESOURCEW(6));
  if (!block) return 0;
  const auto* bytes = static_cast<const std::uint8_t*>(LockResource(LoadResource(instance, block)));
  std::size_t total = SizeofResource(instance, block);
  std::size_t at = 0;
  auto readLength = [&](std::size_t& length) {
    if (!bytes || total - at < 2 || at > total) return false;
    length = bytes[at] | (bytes[at + 1] << 8);
    at += 2;
    return total - at >= length * 2;
  };
  std::size_t length = 0;
  for (UINT skip = id % 16; skip > 0; --skip) {
    if (!readLength(length)) return 0;
    at += length * 2;
  }
  if (!readLength(length)) return 0;
  if (!buffer || size <= 0) return static_cast<int>(length);
  std::size_t n = std::min(length, static_cast<std::size_t>(size - 1));
  for (std::size_t i = 0; i < n; ++i)
    buffer[i] = static_cast<char16_t>(bytes[at + 2 * i] | (bytes[at + 2 * i + 1] << 8));
  buffer[n] = 0;
  return static_cast<int>(n);
}

}  // namespace

LCID UcThreadLocale() { return 0x0409; }

BOOL Uc_SetWindowTextW(HWND hwnd, LPCWSTR text) {
  if (Win32PlatformIsUnicode()) return SetWindowTextW(hwnd, text);
  return SetWindowTextA(hwnd, Narrow(Counted(text, -1)).c_str());
}

int Uc_DrawTextW(HDC dc, LPCWSTR text, int count, RECT* rect, UINT format) {
  if (Win32PlatformIsUnicode()) return DrawTextW(dc, text, count, rect, format);
  return DrawTextA(dc, Narrow(Counted(text, count)).c_str(), -1, rect, format);
}

int Uc_CompareStringW(LCID locale, DWORD flags, LPCWSTR a, int na, LPCWSTR b, int nb) {
  if (Win32PlatformIsUnicode()) return CompareStringW(locale, flags, a, na, b, nb);
  std::u16string_view x = Counted(a, na), y = Counted(b, nb);
  if (flags == 0) {
    int r = x.compare(y);
    return r < 0 ? CSTR_LESS_THAN : r == 0 ? CSTR_EQUAL : CSTR_GREATER_THAN;
  }
  return CompareStringA(locale, flags, Narrow(x).c_str(), -1, Narrow(y).c_str(), -1);
}

LPWSTR Uc_CharUpperW(LPWSTR s) {
  return Win32PlatformIsUnicode() ? CharUpperW(s) : MapNarrowString(s, CharUpperA);
}
LPWSTR Uc_CharLowerW(LPWSTR s) {
  return Win32PlatformIsUnicode() ? CharLowerW(s) : MapNarrowString(s, CharLowerA);
}

DWORD Uc_CharUpperBuffW(LPWSTR s, DWORD length) {
  return Win32PlatformIsUnicode() ? CharUpperBuffW(s, length) : MapNarrowBuffer(s, length, CharUpperA);
}

DWORD Uc_CharLowerBuffW(LPWSTR s, DWORD length) {
  return Win32PlatformIsUnicode() ? CharLowerBuffW(s, length) : MapNarrowBuffer(s, length, CharLowerA);
}

int Uc_LoadStringW(HINSTANCE instance, UINT id, LPWSTR buffer, int size) {
  if (Win32PlatformIsUnicode()) return LoadStringW(instance, id, buffer, size);
  return LoadStringFromBlock(instance, id, buffer, size);
}

BOOL Uc_InsertMenuItemW(HMENU menu, UINT item, BOOL byPosition, const MENUITEMINFOW* info) {
  if (Win32PlatformIsUnicode() || !info) return InsertMenuItemW(menu, item, byPosition, info);
  MENUITEMINFOA narrow{};
  std::memcpy(&narrow, info, sizeof narrow);  // same layout: the text pointer is the only change
  AnsiString text;
  bool isText = (info->fMask & MIIM_STRING) ||
                ((info->fMask & MIIM_TYPE) && !(info->fType & (MFT_BITMAP | MFT_OWNERDRAW | MFT_SEPARATOR)));
  if (info->dwTypeData && isText) {
    text = Narrow(Counted(info->dwTypeData, -1));
    narrow.dwTypeData = const_cast<LPSTR>(text.c_str());
    narrow.cch = static_cast<UINT>(text.Length());
  }
  return InsertMenuItemA(menu, item, byPosition, &narrow);
}

BOOL Uc_GetStringTypeExW(LCID locale, DWORD infoType, LPCWSTR src, int count, LPWORD types) {
  if (Win32PlatformIsUnicode()) return GetStringTypeExW(locale, infoType, src, count, types);
  if (!src || !types) return GetStringTypeExA(locale, infoType, nullptr, -1, types);
  // The 8-bit call classifies bytes, and with -1 the terminator too: one character at a time,
  // so each unit gets its character's class and nothing lands past the caller's array.
  std::u16string_view text = Counted(src, count);
  std::size_t n = count == -1 ? text.size() + 1 : text.size();
  for (std::size_t i = 0; i < n;) {
    std::size_t units = i + 1 < text.size() && text[i] >= 0xD800 && text[i] <= 0xDBFF &&
                                text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF
                            ? 2
                            : 1;
    AnsiString bytes = i < text.size() ? Narrow(text.substr(i, units)) : AnsiString();
    std::vector<WORD> byteTypes(static_cast<std::size_t>(bytes.Length()) + 1, 0);
    if (!GetStringTypeExA(locale, infoType, bytes.c_str(), bytes.IsEmpty() ? -1 : bytes.Length(),
                          byteTypes.data()))
      return FALSE;
    for (std::size_t k = 0; k < units; ++k) types[i + k] = byteTypes[0];
    i += units;
  }
  return TRUE;
}

int Uc_GetCurrencyFormatW(LCID locale, DWORD flags, LPCWSTR value, const CURRENCYFMTW* format, LPWSTR out,
                          int size) {
  if (Win32PlatformIsUnicode()) return GetCurrencyFormatW(locale, flags, value, format, out, size);
  AnsiString v = Narrow(Counted(value, -1)), decimal, thousand, symbol;
  CURRENCYFMTA narrowFormat{};
  const CURRENCYFMTA* formatA = nullptr;
  if (format) {
    narrowFormat.NumDigits = format->NumDigits;
    narrowFormat.LeadingZero = format->LeadingZero;
    narrowFormat.Grouping = format->Grouping;
    narrowFormat.NegativeOrder = format->NegativeOrder;
    narrowFormat.PositiveOrder = format->PositiveOrder;
    decimal = Narrow(Counted(format->lpDecimalSep ? format->lpDecimalSep : u"", -1));
    thousand = Narrow(Counted(format->lpThousandSep ? format->lpThousandSep : u"", -1));
    symbol = Narrow(Counted(format->lpCurrencySymbol ? format->lpCurrencySymbol : u"", -1));
    narrowFormat.lpDecimalSep = const_cast<LPSTR>(decimal.c_str());
    narrowFormat.lpThousandSep = const_cast<LPSTR>(thousand.c_str());
    narrowFormat.lpCurrencySymbol = const_cast<LPSTR>(symbol.c_str());
    formatA = &narrowFormat;
  }
  int n = GetCurrencyFormatA(locale, flags, v.c_str(), formatA, nullptr, 0);
  if (n <= 0) return 0;
  std::vector<char> text(static_cast<std::size_t>(n) + 1, '\0');
  if (GetCurrencyFormatA(locale, flags, v.c_str(), formatA, text.data(), n) <= 0) return 0;
  WideString wide = UcWiden(AnsiString(text.data()));
  int needed = wide.Length() + 1;
  if (size == 0) return needed;
  if (needed > size || !out) return 0;
  std::copy(wide.c_str(), wide.c_str() + needed, out);
  return needed;
}

bool Uc_Is_IntResource(const void* p) { return (reinterpret_cast<std::uintptr_t>(p) >> 16) == 0; }
