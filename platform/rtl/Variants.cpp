// Variant conversions from text: currency amounts in the selected number locale's conventions.
#include "platform/rtl/Variants.h"

#include <cerrno>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/rtl/LastError.h"
#include "platform/rtl/Locale.h"

namespace {

std::u16string LocaleText(LCTYPE item) {
  char16_t buffer[64];
  int n = GetLocaleInfoW(GetThreadLocale(), item, buffer, 64);
  return n > 1 ? std::u16string(buffer, static_cast<std::size_t>(n - 1)) : std::u16string();
}

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == 0xA0 || c == 0x2009 || c == 0x202F; }

void Trim(std::u16string_view& s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
}

// The separators and symbols an amount may hold in the selected locale.
struct Conventions {
  std::vector<std::u16string> symbols, decimals, thousands;
};

Conventions CurrentConventions() {
  Conventions c;
  for (LCTYPE item : {LOCALE_SCURRENCY, LOCALE_SINTLSYMBOL}) {
    std::u16string t = LocaleText(item);
    if (!t.empty()) c.symbols.push_back(t);
  }
  for (LCTYPE item : {LOCALE_SMONDECIMALSEP, LOCALE_SDECIMAL}) {
    std::u16string t = LocaleText(item);
    if (!t.empty()) c.decimals.push_back(t);
  }
  for (LCTYPE item : {LOCALE_SMONTHOUSANDSEP, LOCALE_STHOUSAND}) {
    std::u16string t = LocaleText(item);
    if (t.empty()) continue;
    bool isDecimal = false;
    for (const auto& d : c.decimals) isDecimal = isDecimal || d == t;
    if (isDecimal) continue;
    c.thousands.push_back(t);
    // A locale that groups with a narrow or fixed space also reads a plain one.
    if (t.size() == 1 && IsBlank(t[0])) c.thousands.push_back(u" ");
  }
  return c;
}

// The length of the first of `options` that `s` starts with, 0 for none.
std::size_t Prefix(std::u16string_view s, const std::vector<std::u16string>& options) {
  for (const auto& o : options)
    if (s.substr(0, o.size()) == o) return o.size();
  return 0;
}

std::size_t Suffix(std::u16string_view s, const std::vector<std::u16string>& options) {
  for (const auto& o : options)
    if (s.size() >= o.size() && s.substr(s.size() - o.size()) == o) return o.size();
  return 0;
}

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// The digits of the number, or false when the text holds anything else.
bool Digits(std::u16string_view s, const Conventions& c, std::string& whole, std::string& fraction) {
  bool point = false;
  std::size_t i = 0;
  while (i < s.size()) {
    if (IsDigit(s[i])) {
      (point ? fraction : whole) += static_cast<char>(s[i]);
      ++i;
      continue;
    }
    std::u16string_view rest = s.substr(i);
    if (std::size_t n = Prefix(rest, c.decimals); n && !point) {
      point = true;
      i += n;
      continue;
    }
    // A thousands separator only between two digits of the whole part.
    if (std::size_t n = Prefix(rest, c.thousands);
        n && !point && i > 0 && IsDigit(s[i - 1]) && i + n < s.size() && IsDigit(s[i + n])) {
      i += n;
      continue;
    }
    return false;
  }
  return !whole.empty() || !fraction.empty();
}

// Ten-thousandths, rounded half to even; false beyond the 64-bit range.
bool ToCurrency(const std::string& whole, const std::string& fraction, bool negative, LONGLONG& out) {
  const unsigned __int128 limit = negative ? (unsigned __int128)1 << 63 : ((unsigned __int128)1 << 63) - 1;
  unsigned __int128 v = 0;
  std::string kept = fraction.substr(0, 4);
  kept.append(4 - kept.size(), '0');
  for (char d : whole + kept) {
    v = v * 10 + static_cast<unsigned>(d - '0');
    if (v > limit) return false;
  }
  if (fraction.size() > 4) {
    std::string rest = fraction.substr(4);
    bool over = rest[0] > '5' || (rest[0] == '5' && rest.find_first_not_of('0', 1) != std::string::npos);
    bool half = rest[0] == '5' && !over;
    if (over || (half && (v & 1))) ++v;
    if (v > limit) return false;
  }
  out = negative ? static_cast<LONGLONG>(-static_cast<__int128>(v)) : static_cast<LONGLONG>(v);
  return true;
}

HRESULT Fail(HRESULT result, DWORD error) {
  SetLastError(error);
  return result;
}

}  // namespace

HRESULT VarDateFromStr(LPCOLESTR, LCID, ULONG, DATE*) {
  SetLastError(ERROR_NOT_SUPPORTED);
  return HRESULT_NOT_SUPPORTED;
}

HRESULT VarCyFromStr(LPCOLESTR text, LCID, ULONG, CY* result) {
  if (!text || !result) return Fail(E_INVALIDARG, ERROR_INVALID_PARAMETER);
  const Conventions c = CurrentConventions();
  const HRESULT mismatch = DISP_E_TYPEMISMATCH;
  std::u16string_view s(text);
  Trim(s);
  bool negative = false, parenthesised = false, signed_ = false, symbol = false;
  if (s.size() >= 2 && s.front() == u'(' && s.back() == u')') {
    negative = parenthesised = true;
    s = s.substr(1, s.size() - 2);
    Trim(s);
  }
  // A sign and a symbol, each at most once, in either order before or after the number.
  auto sign = [&](char16_t unit) {
    if (signed_ || parenthesised || (unit != u'-' && unit != u'+')) return false;
    signed_ = true;
    negative = unit == u'-';
    return true;
  };
  for (bool more = true; more;) {
    more = false;
    if (std::size_t n = symbol ? 0 : Prefix(s, c.symbols)) {
      s.remove_prefix(n);
      symbol = more = true;
    } else if (!s.empty() && sign(s.front())) {
      s.remove_prefix(1);
      more = true;
    }
    Trim(s);
  }
  for (bool more = true; more;) {
    more = false;
    if (std::size_t n = symbol ? 0 : Suffix(s, c.symbols)) {
      s.remove_suffix(n);
      symbol = more = true;
    } else if (!s.empty() && sign(s.back())) {
      s.remove_suffix(1);
      more = true;
    }
    Trim(s);
  }
  std::string whole, fraction;
  if (!Digits(s, c, whole, fraction)) return Fail(mismatch, ERROR_INVALID_PARAMETER);
  LONGLONG value = 0;
  if (!ToCurrency(whole, fraction, negative, value))
    return Fail(DISP_E_OVERFLOW, platform::ErrorFromErrno(ERANGE));
  result->int64 = value;
  return 0;
}
