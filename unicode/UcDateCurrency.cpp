#include "unicode/UcDateCurrency.h"

#include <cstdint>
#include <cstdio>
#include <string>

#include "platform/rtl/DateText.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/LastError.h"
#include "platform/rtl/Variants.h"
#include "unicode/UcTextWrappers.h"
#include "unicode/WideErrorMessages.h"
#include "unicode/WideException.h"
#include "unicode/WideLocale.h"

namespace {

enum class Part : ULONG { DateTime = 0, TimeOnly = VAR_TIMEVALUEONLY, DateOnly = VAR_DATEVALUEONLY };

// The variant routine first; when it fails, the 8-bit parser of the same kind. `error` gets the
// variant routine's failure.
bool Parse(const WideString& s, Part part, TDateTime& value, DWORD& error) {
  DATE date = 0;
  SetLastError(0);
  if (VarDateFromStr(s.c_str(), UcThreadLocale(), static_cast<ULONG>(part), &date) >= 0) {
    value = date;
    return true;
  }
  error = GetLastError();
  AnsiString narrow(s);
  switch (part) {
    case Part::DateOnly:
      return TryStrToDate(narrow, value);
    case Part::TimeOnly:
      return TryStrToTime(narrow, value);
    default:
      return TryStrToDateTime(narrow, value);
  }
}

[[noreturn]] void Invalid(DWORD error, const char* what, const WideString& s) {
  WideString text = WideSysErrorMessage(error);
  while (!text.IsEmpty() && (text.ToU16().back() == u'\r' || text.ToU16().back() == u'\n'))
    text = WideString(text.ToU16().substr(0, text.ToU16().size() - 1));
  throw EConvertError(AnsiString(text) + "\r\n'" + AnsiString(s) + "' is not a valid " + what);
}

TDateTime Strict(const WideString& s, Part part, const char* what) {
  TDateTime v = 0;
  DWORD error = 0;
  if (!Parse(s, part, v, error)) Invalid(error, what, s);
  return v;
}

struct CurrencyStrings {
  std::u16string decimal, thousand, symbol;
};
thread_local CurrencyStrings tCurrencyStrings;

std::u16string LocaleText(LCTYPE item, const char16_t* fallback) {
  return WideGetLocaleStr(UcThreadLocale(), item, fallback).ToU16();
}

// The value as the currency formatter reads it: '.' decimals, no trailing zeros, every digit
// exact (a double would lose the last ones of large amounts).
std::u16string PlainDecimal(Currency value) {
  const bool negative = value < 0;
  const std::uint64_t magnitude =
      negative ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
  char text[32];
  int n = std::snprintf(text, sizeof text, "%s%llu.%04u", negative ? "-" : "",
                        static_cast<unsigned long long>(magnitude / 10000),
                        static_cast<unsigned>(magnitude % 10000));
  while (text[n - 1] == '0') --n;
  if (text[n - 1] == '.') --n;
  return std::u16string(text, text + n);
}

UINT LocaleNumber(LCTYPE item, UINT fallback) {
  std::u16string text = LocaleText(item, u"");
  if (text.empty() || text[0] < u'0' || text[0] > u'9') return fallback;
  UINT v = 0;
  for (char16_t c : text) {
    if (c < u'0' || c > u'9') break;
    v = v * 10 + static_cast<UINT>(c - u'0');
  }
  return v;
}

}  // namespace

bool UcTryStrToDateTime(const WideString& s, TDateTime& value) {
  DWORD e = 0;
  return Parse(s, Part::DateTime, value, e);
}
bool UcTryStrToDate(const WideString& s, TDateTime& value) {
  DWORD e = 0;
  return Parse(s, Part::DateOnly, value, e);
}
bool UcTryStrToTime(const WideString& s, TDateTime& value) {
  DWORD e = 0;
  return Parse(s, Part::TimeOnly, value, e);
}
bool ValidDateTimeStr(const WideString& s) {
  TDateTime v = 0;
  return UcTryStrToDateTime(s, v);
}
bool ValidDateStr(const WideString& s) {
  TDateTime v = 0;
  return UcTryStrToDate(s, v);
}
bool ValidTimeStr(const WideString& s) {
  TDateTime v = 0;
  return UcTryStrToTime(s, v);
}
TDateTime UcStrToDateTimeDef(const WideString& s, TDateTime def) {
  TDateTime v = def;
  return UcTryStrToDateTime(s, v) ? v : def;
}
TDateTime UcStrToDateDef(const WideString& s, TDateTime def) {
  TDateTime v = def;
  return UcTryStrToDate(s, v) ? v : def;
}
TDateTime UcStrToTimeDef(const WideString& s, TDateTime def) {
  TDateTime v = def;
  return UcTryStrToTime(s, v) ? v : def;
}
TDateTime UcStrToDateTime(const WideString& s) { return Strict(s, Part::DateTime, "date and time"); }
TDateTime UcStrToDate(const WideString& s) { return Strict(s, Part::DateOnly, "date"); }
TDateTime UcStrToTime(const WideString& s) { return Strict(s, Part::TimeOnly, "time"); }

Currency UcStrToCurr(const WideString& s) {
  CY value{};
  SetLastError(0);
  if (VarCyFromStr(s.c_str(), UcThreadLocale(), 0, &value) < 0) Invalid(GetLastError(), "currency value", s);
  return value.int64;
}

bool ValidCurrencyStr(const WideString& s) {
  CY value{};
  return VarCyFromStr(s.c_str(), UcThreadLocale(), 0, &value) >= 0;
}

Currency UcStrToCurrDef(const WideString& s, Currency def) {
  CY value{};
  return VarCyFromStr(s.c_str(), UcThreadLocale(), 0, &value) >= 0 ? value.int64 : def;
}

WideString UcCurrToStr(Currency value, const CURRENCYFMTW* format) {
  const std::u16string number = PlainDecimal(value);
  char16_t buffer[64];
  int n = Uc_GetCurrencyFormatW(UcThreadLocale(), 0, number.c_str(), format, buffer, 64);
  if (n <= 0) WideRaiseLastOSError();
  return WideString(std::u16string(buffer, static_cast<std::size_t>(n - 1)));
}

CURRENCYFMTW GetDefaultCurrencyFmt() {
  CurrencyStrings& s = tCurrencyStrings;
  s.decimal = LocaleText(LOCALE_SMONDECIMALSEP, u".");
  s.thousand = LocaleText(LOCALE_SMONTHOUSANDSEP, u",");
  s.symbol = LocaleText(LOCALE_SCURRENCY, u"");
  std::u16string grouping = LocaleText(LOCALE_SMONGROUPING, u"3");
  CURRENCYFMTW f{};
  f.NumDigits = LocaleNumber(LOCALE_ICURRDIGITS, 2);
  f.LeadingZero = LocaleNumber(LOCALE_ILZERO, 1);
  f.Grouping = !grouping.empty() && grouping[0] >= u'0' && grouping[0] <= u'9'
                   ? static_cast<UINT>(grouping[0] - u'0')
                   : 3;
  f.lpDecimalSep = s.decimal.data();
  f.lpThousandSep = s.thousand.data();
  f.NegativeOrder = LocaleNumber(LOCALE_INEGCURR, 0);
  f.PositiveOrder = LocaleNumber(LOCALE_ICURRENCY, 0);
  f.lpCurrencySymbol = s.symbol.data();
  return f;
}

void UcReleaseCurrencyFormatStrings() { tCurrencyStrings = CurrencyStrings{}; }
