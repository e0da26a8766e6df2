// Locale services over the C library's locales.
#include "platform/rtl/Locale.h"

#include <langinfo.h>
#include <locale.h>
#include <wctype.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

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

// A locale whose number and currency conventions apply; null when there are none of its own.
using LocaleHandle = std::shared_ptr<std::remove_pointer_t<locale_t>>;

LocaleHandle OpenNumbersLocale(const std::string& numeric, const std::string& monetary) {
  if (OrdersByCodePoint(numeric) || OrdersByCodePoint(monetary)) return nullptr;
  locale_t l = newlocale(LC_NUMERIC_MASK, numeric.c_str(), nullptr);
  if (!l) return nullptr;
  locale_t both = newlocale(LC_MONETARY_MASK, monetary.c_str(), l);
  if (!both) {
    freelocale(l);
    return nullptr;
  }
  return LocaleHandle(both, freelocale);
}

struct NumbersSelection {
  std::mutex lock;
  bool chosen = false;
  LocaleHandle locale;
};

NumbersSelection& Selection() {
  static NumbersSelection* selection = new NumbersSelection();
  return *selection;
}

// The conventions in force: the one a caller selected, else the user's from the environment.
// Callers hold the handle while they read, so a new selection never frees it under them.
LocaleHandle NumbersLocale() {
  NumbersSelection& s = Selection();
  std::lock_guard<std::mutex> guard(s.lock);
  if (!s.chosen) {
    s.locale = OpenNumbersLocale(UserLocaleName("LC_NUMERIC"), UserLocaleName("LC_MONETARY"));
    s.chosen = true;
  }
  return s.locale;
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

// The classic negative order for the C library's placement of symbol, sign and space. Where
// the sign stands between the number and a following symbol, or after it, with a space, the
// classic orders have no exact match and the nearest keeps the sign on the same side.
int NegativeCurrency(int csPrecedes, int sepBySpace, int signPosn) {
  bool space = sepBySpace == 1;
  switch (signPosn) {
    case 0:  // ($1.1) (1.1$)
      return csPrecedes ? (space ? 14 : 0) : (space ? 15 : 4);
    case 1:  // -$1.1 -1.1$
      return csPrecedes ? (space ? 9 : 1) : (space ? 8 : 5);
    case 2:  // $1.1- 1.1$-
      return csPrecedes ? (space ? 11 : 3) : (space ? 10 : 7);
    case 3:  // -$1.1 1.1-$
      return csPrecedes ? (space ? 9 : 1) : (space ? 13 : 6);
    default:  // $-1.1 1.1$-
      return csPrecedes ? (space ? 12 : 2) : (space ? 10 : 7);
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
  LocaleHandle held = NumbersLocale();
  locale_t l = held.get();
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

namespace {

// A currency format as both forms of the call take it, its texts in UTF-16.
struct CurrencyLayout {
  UINT digits = 2;
  bool leadingZero = true;
  std::vector<int> groups;  // sizes from the decimal separator leftwards
  bool repeatLast = true;   // the last size repeats; else the rest stays in one piece
  std::u16string decimal, thousand, symbol;
  UINT negativeOrder = 0, positiveOrder = 0;
};

// A record's Grouping: 0 none, 1-9 one size repeating, 32 three then twos.
bool RecordGrouping(UINT grouping, CurrencyLayout& layout) {
  if (grouping == 32) {
    layout.groups = {3, 2};
  } else if (grouping <= 9) {
    if (grouping) layout.groups = {static_cast<int>(grouping)};
  } else {
    return false;
  }
  return true;
}

// A locale's grouping text ("3;0", "3;2;0", "3", "0").
void TextGrouping(const std::string& text, CurrencyLayout& layout) {
  layout.groups.clear();
  layout.repeatLast = false;
  std::size_t at = 0;
  while (at <= text.size()) {
    std::size_t end = text.find(';', at);
    if (end == std::string::npos) end = text.size();
    int size = std::atoi(text.substr(at, end - at).c_str());
    if (size <= 0) {
      layout.repeatLast = !layout.groups.empty();
      break;
    }
    layout.groups.push_back(size);
    at = end + 1;
  }
}

bool FromRecord(UINT digits, UINT leadingZero, UINT grouping, UINT negativeOrder, UINT positiveOrder,
                CurrencyLayout& layout) {
  if (digits > 9 || leadingZero > 1 || negativeOrder > 15 || positiveOrder > 3 ||
      !RecordGrouping(grouping, layout))
    return false;
  layout.digits = digits;
  layout.leadingZero = leadingZero == 1;
  layout.negativeOrder = negativeOrder;
  layout.positiveOrder = positiveOrder;
  return true;
}

CurrencyLayout LocaleLayout() {
  auto text = [](LCTYPE item) {
    std::string t;
    LocaleItem(item, t);
    return t;
  };
  CurrencyLayout layout;
  layout.digits = static_cast<UINT>(std::atoi(text(LOCALE_ICURRDIGITS).c_str()));
  layout.leadingZero = text(LOCALE_ILZERO) != "0";
  TextGrouping(text(LOCALE_SMONGROUPING), layout);
  layout.decimal = platform::Utf8ToUtf16(text(LOCALE_SMONDECIMALSEP));
  layout.thousand = platform::Utf8ToUtf16(text(LOCALE_SMONTHOUSANDSEP));
  layout.symbol = platform::Utf8ToUtf16(text(LOCALE_SCURRENCY));
  layout.negativeOrder = static_cast<UINT>(std::atoi(text(LOCALE_INEGCURR).c_str()));
  layout.positiveOrder = static_cast<UINT>(std::atoi(text(LOCALE_ICURRENCY).c_str()));
  return layout;
}

// The digits left of the decimal separator with the layout's separators put in.
std::u16string Grouped(const std::string& digits, const CurrencyLayout& layout) {
  std::u16string out;
  std::size_t end = digits.size();
  std::size_t group = 0;
  while (end > 0) {
    std::size_t size = end;
    if (group < layout.groups.size())
      size = static_cast<std::size_t>(layout.groups[group]);
    else if (layout.repeatLast && !layout.groups.empty())
      size = static_cast<std::size_t>(layout.groups.back());
    size = std::min(size, end);
    std::u16string piece(digits.begin() + static_cast<std::ptrdiff_t>(end - size),
                         digits.begin() + static_cast<std::ptrdiff_t>(end));
    out.insert(0, piece);
    end -= size;
    if (end > 0) out.insert(0, layout.thousand);
    ++group;
  }
  return out;
}

// The value in the classic form: an optional leading '-', digits, at most one '.', at least one
// digit, nothing else.
bool SplitValue(std::u16string_view value, bool& negative, std::string& whole, std::string& fraction) {
  negative = !value.empty() && value[0] == u'-';
  if (negative) value.remove_prefix(1);
  bool point = false, digit = false;
  for (char16_t c : value) {
    if (c == u'.' && !point) {
      point = true;
    } else if (c >= u'0' && c <= u'9') {
      (point ? fraction : whole) += static_cast<char>(c);
      digit = true;
    } else {
      return false;
    }
  }
  return digit;
}

// Rounds half away from zero to `digits` places.
void Round(std::string& whole, std::string& fraction, UINT digits) {
  if (fraction.size() <= digits) {
    fraction.append(digits - fraction.size(), '0');
    return;
  }
  bool up = fraction[digits] >= '5';
  fraction.resize(digits);
  if (!up) return;
  std::string all = whole + fraction;
  std::size_t i = all.size();
  while (i > 0 && all[i - 1] == '9') all[--i] = '0';
  if (i == 0)
    all.insert(all.begin(), '1');
  else
    ++all[i - 1];
  whole = all.substr(0, all.size() - digits);
  fraction = all.substr(all.size() - digits);
}

bool FormatCurrency(std::u16string_view value, const CurrencyLayout& layout, std::u16string& out) {
  bool negative = false;
  std::string whole, fraction;
  if (!SplitValue(value, negative, whole, fraction)) return false;
  Round(whole, fraction, layout.digits);
  whole.erase(0, std::min(whole.find_first_not_of('0'), whole.size()));
  if (whole.empty() && fraction.find_first_not_of('0') == std::string::npos) negative = false;
  std::u16string number;
  if (!whole.empty() || layout.leadingZero || layout.digits == 0)
    number = whole.empty() ? u"0" : Grouped(whole, layout);
  if (layout.digits > 0) number += layout.decimal + std::u16string(fraction.begin(), fraction.end());
  // The orders as patterns: S stands for the symbol, N for the number. Orders are checked when a
  // layout is made; an order past the table takes its last pattern.
  static constexpr std::u16string_view kPositive[] = {u"SN", u"NS", u"S N", u"N S"};
  static constexpr std::u16string_view kNegative[] = {u"(SN)", u"-SN",  u"S-N",   u"SN-",  u"(NS)", u"-NS",
                                                      u"N-S",  u"NS-",  u"-N S",  u"-S N", u"N S-", u"S N-",
                                                      u"S -N", u"N- S", u"(S N)", u"(N S)"};
  const std::u16string_view pattern =
      negative ? kNegative[std::min<UINT>(layout.negativeOrder, std::size(kNegative) - 1)]
               : kPositive[std::min<UINT>(layout.positiveOrder, std::size(kPositive) - 1)];
  out.clear();
  for (const char16_t c : pattern) {
    if (c == u'S')
      out += layout.symbol;
    else if (c == u'N')
      out += number;
    else
      out += c;
  }
  return true;
}

// The layout a call asks for, or false with the last error set.
template <class Record, class Widen>
bool CallLayout(DWORD flags, const Record* format, Widen widen, CurrencyLayout& layout) {
  if ((flags & ~LOCALE_NOUSEROVERRIDE) || (format && flags)) {
    SetLastError(ERROR_INVALID_FLAGS);
    return false;
  }
  if (!format) {
    layout = LocaleLayout();
    return true;
  }
  if (!format->lpDecimalSep || !format->lpThousandSep || !format->lpCurrencySymbol ||
      !FromRecord(format->NumDigits, format->LeadingZero, format->Grouping, format->NegativeOrder,
                  format->PositiveOrder, layout)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  layout.decimal = widen(format->lpDecimalSep);
  layout.thousand = widen(format->lpThousandSep);
  layout.symbol = widen(format->lpCurrencySymbol);
  return true;
}

}  // namespace

int GetCurrencyFormatA(LCID, DWORD flags, LPCSTR value, const CURRENCYFMTA* format, LPSTR out, int size) {
  CurrencyLayout layout;
  auto widen = [](LPCSTR s) { return platform::MultiByteToUtf16(s); };
  if (!CallLayout(flags, format, widen, layout)) return 0;
  std::u16string text;
  if (!value || !FormatCurrency(widen(value), layout, text)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  return CopyOut(platform::Utf16ToMultiByte(text), out, size);
}

int GetCurrencyFormatW(LCID, DWORD flags, LPCWSTR value, const CURRENCYFMTW* format, LPWSTR out, int size) {
  CurrencyLayout layout;
  auto widen = [](LPCWSTR s) { return std::u16string(s); };
  if (!CallLayout(flags, format, widen, layout)) return 0;
  std::u16string text;
  if (!value || !FormatCurrency(widen(value), layout, text)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  return CopyOut(text, out, size);
}

namespace platform {

bool SelectNumberLocale(const std::string& name) {
  LocaleHandle chosen;
  if (!name.empty() && !OrdersByCodePoint(name)) {
    chosen = OpenNumbersLocale(name, name);
    if (!chosen) return false;
  }
  NumbersSelection& s = Selection();
  std::lock_guard<std::mutex> guard(s.lock);
  s.locale = chosen;
  s.chosen = !name.empty();
  return true;
}

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
