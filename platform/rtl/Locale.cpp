// Locale services over the C library's locales.
#include "platform/rtl/Locale.h"

#include <langinfo.h>
#include <locale.h>
#include <wctype.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>

#include "platform/rtl/CodePage.h"
#include "platform/rtl/LastError.h"
#include "platform/rtl/Utf8.h"

namespace {

constexpr LCID kUsEnglish = 0x0409;

// The user's locale name for one category, as the C library would choose it.
std::string UserLocaleName(const char* category) {
  for (const char* name : {"LC_ALL", category, "LANG"}) {
    const char* v = std::getenv(name);
    if (v && *v) return v;
  }
  return {};
}

bool OrdersByCodePoint(const std::string& name) {
  return name.empty() || name == "C" || name == "POSIX" || name.rfind("C.", 0) == 0;
}

bool IsUtf8Locale(const std::string& name) {
  auto dot = name.find('.');
  if (dot == std::string::npos) return false;
  std::string charset = name.substr(dot + 1, name.find('@', dot) - dot - 1);
  for (char& c : charset) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return charset == "utf-8" || charset == "utf8";
}

// The locale collation goes through: null when only code-point order is left.
locale_t CollationLocale() {
  static locale_t locale = [] {
    std::string name = UserLocaleName("LC_COLLATE");
    locale_t l = nullptr;
    if (!OrdersByCodePoint(name) && IsUtf8Locale(name))
      l = newlocale(LC_COLLATE_MASK | LC_CTYPE_MASK, name.c_str(), nullptr);
    if (!l) l = newlocale(LC_COLLATE_MASK | LC_CTYPE_MASK, "en_US.UTF-8", nullptr);
    return l;
  }();
  return locale;
}

locale_t ClassLocale() {
  static locale_t locale = newlocale(LC_CTYPE_MASK, "C.UTF-8", nullptr);
  return locale;
}

// The user's number and currency conventions; null when it has none of its own.
locale_t NumbersLocale() {
  static locale_t locale = [] {
    std::string numeric = UserLocaleName("LC_NUMERIC");
    std::string monetary = UserLocaleName("LC_MONETARY");
    if (OrdersByCodePoint(numeric) || OrdersByCodePoint(monetary)) return locale_t{nullptr};
    locale_t l = newlocale(LC_NUMERIC_MASK, numeric.c_str(), nullptr);
    if (!l) return locale_t{nullptr};
    locale_t both = newlocale(LC_MONETARY_MASK, monetary.c_str(), l);
    if (!both) freelocale(l);
    return both;
  }();
  return locale;
}

std::string Grouping(const char* g) {
  // The C library's grouping bytes (sizes from the right, the last repeating, CHAR_MAX: no more
  // grouping) as "3;0" style text.
  std::string out;
  bool repeats = true;
  for (; *g; ++g) {
    if (*g == 127 || *g < 0) {
      repeats = false;
      break;
    }
    if (!out.empty()) out += ';';
    out += std::to_string(static_cast<int>(*g));
  }
  if (out.empty()) return "0";
  if (repeats) out += ";0";
  return out;
}

int NegativeCurrency(int csPrecedes, int sepBySpace, int signPosn) {
  bool space = sepBySpace == 1;
  switch (signPosn) {
    case 0:
      return csPrecedes ? (space ? 14 : 0) : (space ? 15 : 4);
    case 1:
      return csPrecedes ? (space ? 9 : 1) : (space ? 8 : 5);
    case 2:
      return csPrecedes ? (space ? 11 : 3) : (space ? 13 : 7);
    case 3:
      return csPrecedes ? (space ? 9 : 1) : (space ? 10 : 6);
    default:
      return csPrecedes ? (space ? 12 : 2) : (space ? 13 : 7);
  }
}

// The text of an item, or false for an item this layer does not answer.
bool LocaleItem(LCTYPE type, std::string& out) {
  type &= ~LOCALE_NOUSEROVERRIDE;
  if (type == LOCALE_IDEFAULTANSICODEPAGE) {
    out = std::to_string(GetACP());
    return true;
  }
  if (type < LOCALE_SDECIMAL || type > LOCALE_INEGCURR) return false;
  locale_t l = NumbersLocale();
  if (!l) {
    static const char* const kUs[] = {".", ",", "3;0", "2", "1", "0123456789", "$", "USD",
                                      ".", ",", "3;0", "2", "2", "0",          "0"};
    out = kUs[type - LOCALE_SDECIMAL];
    return true;
  }
  auto info = [l](nl_item item) { return std::string(nl_langinfo_l(item, l)); };
  auto number = [l](nl_item item) {
    int v = static_cast<unsigned char>(*nl_langinfo_l(item, l));
    return v == 127 ? 0 : v;
  };
  switch (type) {
    case LOCALE_SDECIMAL:
      out = info(RADIXCHAR);
      break;
    case LOCALE_STHOUSAND:
      out = info(THOUSEP);
      break;
    case LOCALE_SGROUPING:
      out = Grouping(nl_langinfo_l(GROUPING, l));
      break;
    case LOCALE_IDIGITS:
      out = std::to_string(number(FRAC_DIGITS));
      break;
    case LOCALE_ILZERO:
      out = "1";
      break;
    case LOCALE_SNATIVEDIGITS:
      out = "0123456789";
      break;
    case LOCALE_SCURRENCY:
      out = info(CURRENCY_SYMBOL);
      break;
    case LOCALE_SINTLSYMBOL: {
      out = info(INT_CURR_SYMBOL);
      while (!out.empty() && out.back() == ' ') out.pop_back();
      break;
    }
    case LOCALE_SMONDECIMALSEP:
      out = info(MON_DECIMAL_POINT);
      break;
    case LOCALE_SMONTHOUSANDSEP:
      out = info(MON_THOUSANDS_SEP);
      break;
    case LOCALE_SMONGROUPING:
      out = Grouping(nl_langinfo_l(MON_GROUPING, l));
      break;
    case LOCALE_ICURRDIGITS:
      out = std::to_string(number(FRAC_DIGITS));
      break;
    case LOCALE_IINTLCURRDIGITS:
      out = std::to_string(number(INT_FRAC_DIGITS));
      break;
    case LOCALE_ICURRENCY: {
      int precedes = number(P_CS_PRECEDES), space = number(P_SEP_BY_SPACE) == 1;
      out = std::to_string(precedes ? (space ? 2 : 0) : (space ? 3 : 1));
      break;
    }
    default:
      out = std::to_string(
          NegativeCurrency(number(N_CS_PRECEDES), number(N_SEP_BY_SPACE), number(N_SIGN_POSN)));
  }
  return true;
}

template <class Char>
int CopyOut(const std::basic_string<Char>& text, Char* data, int size) {
  int needed = static_cast<int>(text.size()) + 1;
  if (size < 0 || (size > 0 && !data)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (size == 0) return needed;
  if (size < needed) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  std::copy(text.begin(), text.end(), data);
  data[text.size()] = Char{};
  return needed;
}

WORD ClassOf(char32_t c) {
  locale_t l = ClassLocale();
  if (!l) return c < 0x80 ? 0 : 0;
  auto w = static_cast<wint_t>(c);
  WORD t = 0;
  if (iswupper_l(w, l)) t |= C1_UPPER;
  if (iswlower_l(w, l)) t |= C1_LOWER;
  if (iswdigit_l(w, l)) t |= C1_DIGIT;
  if (iswspace_l(w, l)) t |= C1_SPACE;
  if (iswpunct_l(w, l)) t |= C1_PUNCT;
  if (iswcntrl_l(w, l)) t |= C1_CNTRL;
  if (iswblank_l(w, l)) t |= C1_BLANK;
  if (iswxdigit_l(w, l)) t |= C1_XDIGIT;
  if (iswalpha_l(w, l)) t |= C1_ALPHA;
  return t;
}

std::u32string ToUtf32(std::u16string_view s) {
  std::u32string out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size(); ++i) {
    char32_t c = s[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (s[i + 1] - 0xDC00);
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = 0xFFFD;
    }
    out.push_back(c);
  }
  return out;
}

}  // namespace

LCID GetThreadLocale() { return kUsEnglish; }
LCID GetUserDefaultLCID() { return kUsEnglish; }
LCID GetSystemDefaultLCID() { return kUsEnglish; }

int GetLocaleInfoW(LCID, LCTYPE type, LPWSTR data, int size) {
  std::string text;
  if (!LocaleItem(type, text)) {
    SetLastError(ERROR_INVALID_FLAGS);
    return 0;
  }
  return CopyOut(platform::Utf8ToUtf16(text), reinterpret_cast<char16_t*>(data), size);
}

int GetLocaleInfoA(LCID, LCTYPE type, LPSTR data, int size) {
  std::string text;
  if (!LocaleItem(type, text)) {
    SetLastError(ERROR_INVALID_FLAGS);
    return 0;
  }
  return CopyOut(platform::Utf16ToMultiByte(platform::Utf8ToUtf16(text)), data, size);
}

BOOL GetStringTypeExW(LCID, DWORD infoType, LPCWSTR src, int count, LPWORD types) {
  if (infoType != CT_CTYPE1 || !src || !types || count == 0 || count < -1) {
    SetLastError(infoType != CT_CTYPE1 ? ERROR_INVALID_FLAGS : ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::size_t n = static_cast<std::size_t>(count);
  if (count == -1) {
    n = 0;
    while (src[n]) ++n;
    ++n;
  }
  for (std::size_t i = 0; i < n; ++i) {
    char32_t c = src[i];
    // Both halves of a pair take the class of the character they make.
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < n && src[i + 1] >= 0xDC00 && src[i + 1] <= 0xDFFF) {
      types[i] = types[i + 1] = ClassOf(0x10000 + ((c - 0xD800) << 10) + (src[i + 1] - 0xDC00));
      ++i;
      continue;
    }
    types[i] = c >= 0xD800 && c <= 0xDFFF ? WORD{0} : ClassOf(c);
  }
  return TRUE;
}

BOOL GetStringTypeExA(LCID locale, DWORD infoType, LPCSTR src, int count, LPWORD types) {
  if (infoType != CT_CTYPE1 || !src || !types || count == 0 || count < -1) {
    SetLastError(infoType != CT_CTYPE1 ? ERROR_INVALID_FLAGS : ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::size_t n = count == -1 ? std::strlen(src) + 1 : static_cast<std::size_t>(count);
  const UINT cp = GetACP();
  std::size_t i = 0;
  while (i < n) {
    auto b = static_cast<unsigned char>(src[i]);
    std::size_t len = 1;
    if (cp == CP_UTF8) {
      len = b >= 0xF0 && b <= 0xF4 ? 4 : b >= 0xE0 && b < 0xF0 ? 3 : b >= 0xC2 && b < 0xE0 ? 2 : 1;
    } else if (IsDBCSLeadByteEx(cp, b)) {
      len = 2;
    }
    if (i + len > n) len = n - i;
    std::u16string units = platform::MultiByteToUtf16(std::string_view(src + i, len));
    WORD t = 0;
    if (!units.empty()) {
      WORD pair[2] = {0, 0};
      GetStringTypeExW(locale, CT_CTYPE1, reinterpret_cast<LPCWSTR>(units.data()),
                       static_cast<int>(std::min<std::size_t>(units.size(), 2)), pair);
      t = pair[0];
    }
    for (std::size_t k = 0; k < len; ++k) types[i + k] = t;
    i += len;
  }
  return TRUE;
}

int GetCurrencyFormatA(LCID, DWORD, LPCSTR, const CURRENCYFMTA*, LPSTR, int) {
  SetLastError(ERROR_NOT_SUPPORTED);
  return 0;
}

int GetCurrencyFormatW(LCID, DWORD, LPCWSTR, const CURRENCYFMTW*, LPWSTR, int) {
  SetLastError(ERROR_NOT_SUPPORTED);
  return 0;
}

namespace platform {

int CollateUtf16(std::u16string_view a, std::u16string_view b) {
  std::u32string x = ToUtf32(a), y = ToUtf32(b);
  locale_t l = CollationLocale();
  // The C library's collation reads terminated texts: compare the pieces between zero units in
  // turn, the shorter list of pieces first when all that both have are equal.
  std::size_t i = 0, j = 0;
  while (true) {
    std::size_t ei = x.find(U'\0', i), ej = y.find(U'\0', j);
    std::u32string px = x.substr(i, ei == std::u32string::npos ? std::u32string::npos : ei - i);
    std::u32string py = y.substr(j, ej == std::u32string::npos ? std::u32string::npos : ej - j);
    int c;
    if (l) {
      std::wstring wx(px.begin(), px.end()), wy(py.begin(), py.end());
      c = wcscoll_l(wx.c_str(), wy.c_str(), l);
    } else {
      c = px.compare(py);
    }
    if (c != 0) return c < 0 ? -1 : 1;
    bool endX = ei == std::u32string::npos, endY = ej == std::u32string::npos;
    if (endX || endY) return endX == endY ? 0 : endX ? -1 : 1;
    i = ei + 1;
    j = ej + 1;
  }
}

}  // namespace platform
