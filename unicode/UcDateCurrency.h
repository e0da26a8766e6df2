// Dates, times and currency values as UTF-16 text. Parsing goes through the system's variant
// routines in the layer's locale; where those fail (the system has no date parser) dates fall
// back on the form library's own 8-bit parsers. Currency is parsed and formatted by the system
// in the conventions of its number locale.
#pragma once

#include <cstdint>

#include "platform/rtl/Locale.h"
#include "platform/rtl/Types.h"
#include "platform/rtl/WideString.h"

// A currency value: a 64-bit count of ten-thousandths.
using Currency = std::int64_t;

bool UcTryStrToDateTime(const WideString& s, TDateTime& value);
bool UcTryStrToDate(const WideString& s, TDateTime& value);
bool UcTryStrToTime(const WideString& s, TDateTime& value);
bool ValidDateTimeStr(const WideString& s);
bool ValidDateStr(const WideString& s);
bool ValidTimeStr(const WideString& s);
TDateTime UcStrToDateTimeDef(const WideString& s, TDateTime def);
TDateTime UcStrToDateDef(const WideString& s, TDateTime def);
TDateTime UcStrToTimeDef(const WideString& s, TDateTime def);
// Raise EConvertError: the system's text of the failure, CR LF, and "'%s' is not a valid date
// and time" ("... date", "... time").
TDateTime UcStrToDateTime(const WideString& s);
TDateTime UcStrToDate(const WideString& s);
TDateTime UcStrToTime(const WideString& s);

// Raises EConvertError: the system's text, CR LF, "'%s' is not a valid currency value".
Currency UcStrToCurr(const WideString& s);
bool ValidCurrencyStr(const WideString& s);
Currency UcStrToCurrDef(const WideString& s, Currency def);
// Through the system's currency formatting (the locale's format when `format` is null); raises
// the last OS error when the system cannot format.
WideString UcCurrToStr(Currency value, const CURRENCYFMTW* format = nullptr);
// The locale's currency format. Its three strings belong to the calling thread and stay valid
// until its next call (or UcReleaseCurrencyFormatStrings).
CURRENCYFMTW GetDefaultCurrencyFmt();
void UcReleaseCurrencyFormatStrings();
