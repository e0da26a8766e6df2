// UTF-16 text routines: case-mapped copies, searching, line-break conversion and word wrapping.
#pragma once

#include <string_view>

#include "platform/rtl/StringRoutines.h"
#include "platform/rtl/WideString.h"

enum TUcTextLineBreakStyle { tlbsLF, tlbsCRLF, tlbsCR };

WideString Uc_WideUpperCase(const WideString& s);
WideString Uc_WideLowerCase(const WideString& s);
// 1-based position of `sub` in `s`, ignoring case; 0 when absent.
int WideTextPos(const WideString& sub, const WideString& s);
// The text starts with "{\rtf" or "{urtf", in any case.
bool IsRTF(const WideString& s);
// The last unit, 0 for an empty string.
char16_t UcWideLastChar(const WideString& s);

// Replaces the first match of `oldPattern` (every match with rfReplaceAll; case ignored with
// rfIgnoreCase). With `wholeWord` a match counts only when the units on either side of it are
// white space, punctuation or nothing; other matches stay as they are.
WideString Uc_WideStringReplace(const WideString& s, const WideString& oldPattern,
                                const WideString& newPattern, TReplaceFlags flags, bool wholeWord = false);

// Every line break (CR LF, a lone CR, LF, U+2028) written in the given style.
WideString UcAdjustLineBreaks(const WideString& s, TUcTextLineBreakStyle style = tlbsCRLF);
int UcAdjustLineBreaksLength(const WideString& s, TUcTextLineBreakStyle style = tlbsCRLF);

// Breaks `line` into lines of at most `maxCol` units where it can: after one of the 8-bit
// `breakChars` outside quotes, and at the existing `breakStr` breaks. The short form breaks with
// CR LF after tab, space or hyphen.
WideString WideWrapText(const WideString& line, const WideString& breakStr, std::string_view breakChars,
                        int maxCol);
WideString WideWrapText(const WideString& line, int maxCol = 45);
