#include "unicode/CodePageConversion.h"

#include <bit>
#include <cstring>
#include <string>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/LastError.h"
#include "platform/rtl/Locale.h"
#include "platform/rtl/Utf8.h"
#include "platform/win/Win.h"
#include "unicode/Utf7.h"

UINT DefaultSystemCodePage() { return CP_ACP; }

namespace {
// The page a conversion really goes through: the system's for CP_ACP and CP_OEMCP.
UINT Resolved(UINT codePage) { return codePage == CP_ACP || codePage == CP_OEMCP ? GetACP() : codePage; }
}  // namespace

WideString StringToWideStringEx(const AnsiString& s, UINT codePage) {
  codePage = Resolved(codePage);
  if (codePage == CP_UTF7) return UTF7ToWideString(s);
  if (codePage == CP_UTF8) return UTF8ToWideString(s);
  if (s.IsEmpty()) return WideString();
  // Every page left here gives at most one unit per byte: one pass into a buffer of that size.
  std::u16string out(static_cast<std::size_t>(s.Length()), u'\0');
  int written = MultiByteToWideChar(codePage, 0, s.data(), s.Length(), out.data(), s.Length());
  if (written <= 0) RaiseLastOSError();
  out.resize(static_cast<std::size_t>(written));
  return WideString(std::move(out));
}

AnsiString WideStringToStringEx(const WideString& s, UINT codePage) {
  codePage = Resolved(codePage);
  if (codePage == CP_UTF7) return WideStringToUTF7(s);
  if (codePage == CP_UTF8) return WideStringToUTF8(s);
  if (s.IsEmpty()) return AnsiString();
  // Every page left here writes at most two bytes per unit: one pass into a buffer of that size.
  const int room = s.Length() * 2;
  std::string out(static_cast<std::size_t>(room), '\0');
  int written = WideCharToMultiByte(codePage, 0, s.data(), s.Length(), out.data(), room, nullptr, nullptr);
  if (written <= 0) RaiseLastOSError();
  out.resize(static_cast<std::size_t>(written));
  return AnsiString(std::move(out));
}

AnsiString WideStringToUTF8(const WideString& s) { return AnsiString(platform::Utf16ToUtf8(s.ToU16())); }

WideString UTF8ToWideString(const AnsiString& s) {
  return WideString(platform::Utf8ToUtf16(std::string_view(s.data(), static_cast<std::size_t>(s.Length()))));
}

WideString UCS2ToWideString(const AnsiString& bytes) {
  std::u16string out(static_cast<std::size_t>(bytes.Length() / 2), u'\0');
  if constexpr (std::endian::native == std::endian::little) {
    std::memcpy(out.data(), bytes.data(), out.size() * 2);
  } else {
    for (std::size_t i = 0; i < out.size(); ++i) {
      auto lo = static_cast<unsigned char>(bytes.data()[2 * i]);
      auto hi = static_cast<unsigned char>(bytes.data()[2 * i + 1]);
      out[i] = static_cast<char16_t>(lo | (hi << 8));
    }
  }
  return WideString(std::move(out));
}

AnsiString WideStringToUCS2(const WideString& s) {
  std::string out(static_cast<std::size_t>(s.Length()) * 2, '\0');
  if constexpr (std::endian::native == std::endian::little) {
    std::memcpy(out.data(), s.data(), out.size());
  } else {
    for (std::size_t i = 0; i < static_cast<std::size_t>(s.Length()); ++i) {
      out[2 * i] = static_cast<char>(s.data()[i] & 0xFF);
      out[2 * i + 1] = static_cast<char>(s.data()[i] >> 8);
    }
  }
  return AnsiString(std::move(out));
}

void StrSwapByteOrder(char16_t* s) {
  if (!s) return;
  for (; *s; ++s) *s = static_cast<char16_t>((*s << 8) | (*s >> 8));
}

UINT CharSetToCodePage(DWORD charSet) {
  struct Entry {
    DWORD charSet;
    UINT codePage;
  };
  static constexpr Entry kTable[] = {{0, 1252},   {128, 932},  {129, 949},  {134, 936},  {136, 950},
                                     {161, 1253}, {162, 1254}, {163, 1258}, {177, 1255}, {178, 1256},
                                     {186, 1257}, {204, 1251}, {222, 874},  {238, 1250}};
  for (const Entry& e : kTable)
    if (e.charSet == charSet) return e.codePage;
  SetLastError(ERROR_INVALID_PARAMETER);
  RaiseLastOSError();
}

UINT LCIDToCodePage(LCID locale) {
  char16_t text[8] = {};
  if (GetLocaleInfoW(locale, LOCALE_IDEFAULTANSICODEPAGE, reinterpret_cast<LPWSTR>(text), 8) <= 1)
    return GetACP();
  UINT page = 0;
  for (const char16_t* p = text; *p >= u'0' && *p <= u'9'; ++p)
    page = page * 10 + static_cast<UINT>(*p - u'0');
  return page ? page : GetACP();
}

UINT KeyboardCodePage() {
  auto layout = reinterpret_cast<std::uintptr_t>(GetKeyboardLayout(0));
  return LCIDToCodePage(static_cast<LCID>(layout & 0xFFFF));
}

char16_t KeyUnicode(char16_t c) {
  if (c >= 256) return c;
  char byte = static_cast<char>(c);
  char16_t out[2] = {};
  int n = MultiByteToWideChar(KeyboardCodePage(), MB_USEGLYPHCHARS | MB_ERR_INVALID_CHARS, &byte, 1, out, 2);
  return n == 1 ? out[0] : c;
}
