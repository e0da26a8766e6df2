// The run-time library's routines over text: numbers to text and back, trimming, quoting,
// replacing, line breaks, comparison and case. "Ansi" case routines and the case-insensitive
// comparisons go through the Unicode case tables (per unit); UpperCase and LowerCase stay ASCII.
#pragma once

#include <cstdint>

#include "platform/rtl/AnsiString.h"
#include "platform/rtl/Types.h"
#include "platform/rtl/WideString.h"

AnsiString IntToStr(int value);
AnsiString IntToStr(std::int64_t value);
AnsiString IntToHex(std::int64_t value, int digits);
// Raise EConvertError ("'%s' is not a valid integer value") for text that is not an integer.
int StrToInt(const AnsiString& s);
int StrToIntDef(const AnsiString& s, int defaultValue);
bool TryStrToInt(const AnsiString& s, int& value);
std::int64_t StrToInt64(const AnsiString& s);
// The shortest text that reads back ("2.5", "3", "0.1").
AnsiString FloatToStr(double value);
// Raises EConvertError ("'%s' is not a valid floating point value"); "." or DecimalSeparator.
double StrToFloat(const AnsiString& s);
bool TryStrToFloat(const AnsiString& s, double& value);

AnsiString UpperCase(const AnsiString& s);  // ASCII letters only
AnsiString LowerCase(const AnsiString& s);
AnsiString AnsiUpperCase(const AnsiString& s);  // through the system code page and the case tables
AnsiString AnsiLowerCase(const AnsiString& s);
WideString WideUpperCase(const WideString& s);
WideString WideLowerCase(const WideString& s);

AnsiString Trim(const AnsiString& s);  // drops bytes up to " " at both ends
AnsiString TrimLeft(const AnsiString& s);
AnsiString TrimRight(const AnsiString& s);
WideString Trim(const WideString& s);

AnsiString QuotedStr(const AnsiString& s);  // 'it''s'
AnsiString AnsiQuotedStr(const AnsiString& s, char quote);
// Reads a quoted text at `p`, undoubling inner quotes; advances p past it. Returns "" (p kept)
// when p does not start with `quote`.
AnsiString AnsiExtractQuotedStr(const char*& p, char quote);
// Pointer to the last character (whole multi-byte character) of s, or null for "".
const char* AnsiLastChar(const AnsiString& s);
// Every CR, LF or CR LF becomes CR LF.
AnsiString AdjustLineBreaks(const AnsiString& s);

enum TReplaceFlag { rfReplaceAll, rfIgnoreCase };
using TReplaceFlags = Set<TReplaceFlag, rfReplaceAll, rfIgnoreCase>;
AnsiString StringReplace(const AnsiString& s, const AnsiString& oldPattern, const AnsiString& newPattern,
                         TReplaceFlags flags);

// <0, 0, >0. CompareStr: bytes; CompareText/SameText and the Ansi/Wide forms: per-unit simple
// case folding, then unit order.
int CompareStr(const AnsiString& a, const AnsiString& b);
int AnsiCompareStr(const AnsiString& a, const AnsiString& b);
int CompareText(const AnsiString& a, const AnsiString& b);
bool SameText(const AnsiString& a, const AnsiString& b);
int AnsiCompareText(const AnsiString& a, const AnsiString& b);
bool AnsiSameText(const AnsiString& a, const AnsiString& b);
int WideCompareText(const WideString& a, const WideString& b);
bool WideSameText(const WideString& a, const WideString& b);
