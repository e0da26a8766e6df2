// Dates and times as text in the classic US conventions: ShortDateFormat "M/d/yyyy" (the order
// of month, day and year is taken from it), DateSeparator "/", TimeSeparator ":", times as
// "h:nn:ss" with an optional AM/PM. The parsers raise EConvertError "'%s' is not a valid date"
// (" ... date and time", " ... time"); the Try forms answer false instead.
#pragma once

#include "platform/rtl/AnsiString.h"
#include "platform/rtl/Types.h"

extern AnsiString ShortDateFormat;
extern char DateSeparator;
extern char TimeSeparator;

// Raises EConvertError "Invalid argument to time encode" for hours, minutes, seconds or
// milliseconds out of range.
TDateTime EncodeTime(WORD hour, WORD minute, WORD second, WORD millisecond);
void DecodeTime(TDateTime time, WORD& hour, WORD& minute, WORD& second, WORD& millisecond);

bool TryStrToDate(const AnsiString& s, TDateTime& value);
bool TryStrToTime(const AnsiString& s, TDateTime& value);
bool TryStrToDateTime(const AnsiString& s, TDateTime& value);
TDateTime StrToDate(const AnsiString& s);
TDateTime StrToTime(const AnsiString& s);
TDateTime StrToDateTime(const AnsiString& s);

AnsiString DateToStr(TDateTime value);
AnsiString TimeToStr(TDateTime value);
// The date, and the time after a blank unless it is midnight.
AnsiString DateTimeToStr(TDateTime value);
