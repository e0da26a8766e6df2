// Locale services: the locale identifiers the program runs in (US English), locale information
// (the system code page, and number and currency conventions from the user's locale), character
// classes of text, and the collation CompareString uses when case matters.
#pragma once

#include <string>
#include <string_view>

#include "platform/rtl/Types.h"

using LCTYPE = DWORD;
using LPWORD = WORD*;

constexpr LCTYPE LOCALE_NOUSEROVERRIDE = 0x80000000;
constexpr LCTYPE LOCALE_SDECIMAL = 0x0E;
constexpr LCTYPE LOCALE_STHOUSAND = 0x0F;
constexpr LCTYPE LOCALE_SGROUPING = 0x10;
constexpr LCTYPE LOCALE_IDIGITS = 0x11;
constexpr LCTYPE LOCALE_ILZERO = 0x12;
constexpr LCTYPE LOCALE_SNATIVEDIGITS = 0x13;
constexpr LCTYPE LOCALE_SCURRENCY = 0x14;
constexpr LCTYPE LOCALE_SINTLSYMBOL = 0x15;
constexpr LCTYPE LOCALE_SMONDECIMALSEP = 0x16;
constexpr LCTYPE LOCALE_SMONTHOUSANDSEP = 0x17;
constexpr LCTYPE LOCALE_SMONGROUPING = 0x18;
constexpr LCTYPE LOCALE_ICURRDIGITS = 0x19;
constexpr LCTYPE LOCALE_IINTLCURRDIGITS = 0x1A;
constexpr LCTYPE LOCALE_ICURRENCY = 0x1B;
constexpr LCTYPE LOCALE_INEGCURR = 0x1C;
constexpr LCTYPE LOCALE_IDEFAULTANSICODEPAGE = 0x1004;

constexpr DWORD CT_CTYPE1 = 0x1;
constexpr WORD C1_UPPER = 0x0001;
constexpr WORD C1_LOWER = 0x0002;
constexpr WORD C1_DIGIT = 0x0004;
constexpr WORD C1_SPACE = 0x0008;
constexpr WORD C1_PUNCT = 0x0010;
constexpr WORD C1_CNTRL = 0x0020;
constexpr WORD C1_BLANK = 0x0040;
constexpr WORD C1_XDIGIT = 0x0080;
constexpr WORD C1_ALPHA = 0x0100;

// Both 0x0409 (US English): the program's messages and conventions are those of that locale.
LCID GetThreadLocale();
LCID GetUserDefaultLCID();
LCID GetSystemDefaultLCID();

// LOCALE_IDEFAULTANSICODEPAGE answers the system code page; items 0x0E-0x1C come from the user's
// locale (LC_NUMERIC, LC_MONETARY), with the classic US values when it has no conventions of its
// own (unset, "C", "POSIX" or not installed). Other items fail with ERROR_INVALID_FLAGS. A size
// of 0 asks for the size needed, terminator included; a buffer too small fails with
// ERROR_INSUFFICIENT_BUFFER.
int GetLocaleInfoW(LCID locale, LCTYPE type, LPWSTR data, int size);
int GetLocaleInfoA(LCID locale, LCTYPE type, LPSTR data, int size);

// CT_CTYPE1 classes (the nine C1 bits) from the C library's wide character classes in C.UTF-8.
// A count of -1 classifies up to and including the terminator. The A form classifies each byte
// as the character it belongs to in the system code page.
BOOL GetStringTypeExW(LCID locale, DWORD infoType, LPCWSTR src, int count, LPWORD types);
BOOL GetStringTypeExA(LCID locale, DWORD infoType, LPCSTR src, int count, LPWORD types);

struct CURRENCYFMTA {
  UINT NumDigits;
  UINT LeadingZero;
  UINT Grouping;
  LPSTR lpDecimalSep;
  LPSTR lpThousandSep;
  UINT NegativeOrder;
  UINT PositiveOrder;
  LPSTR lpCurrencySymbol;
};
struct CURRENCYFMTW {
  UINT NumDigits;
  UINT LeadingZero;
  UINT Grouping;
  LPWSTR lpDecimalSep;
  LPWSTR lpThousandSep;
  UINT NegativeOrder;
  UINT PositiveOrder;
  LPWSTR lpCurrencySymbol;
};
// The value ("-1234.5": an optional leading '-', digits and at most one '.') as an amount of
// money: rounded half away from zero to the record's digits, grouped, with its symbol and sign
// in the record's orders; with no record, in those of the selected number locale. A value of
// any other form fails with ERROR_INVALID_PARAMETER, flags other than LOCALE_NOUSEROVERRIDE
// (which goes only without a record) with ERROR_INVALID_FLAGS. Sizing as GetLocaleInfo.
int GetCurrencyFormatA(LCID locale, DWORD flags, LPCSTR value, const CURRENCYFMTA* format, LPSTR out,
                       int size);
int GetCurrencyFormatW(LCID locale, DWORD flags, LPCWSTR value, const CURRENCYFMTW* format, LPWSTR out,
                       int size);

namespace platform {
// Selects the locale ("de_DE.UTF-8") whose number and currency conventions the items above,
// currency formatting and currency parsing follow; by default the user's, as the C library
// would choose it from the environment. An empty name goes back to that default, "C" or
// "POSIX" to the classic US conventions. False, with nothing changed, for a locale that is not
// installed.
bool SelectNumberLocale(const std::string& name);
// Negative, 0 or positive: the two texts in the collation order of the user's UTF-8 locale, or of
// en_US.UTF-8 when the user's cannot be loaded or orders by code point ("C"), else by code point.
int CollateUtf16(std::u16string_view a, std::u16string_view b);
}  // namespace platform
