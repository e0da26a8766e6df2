// Null-terminated UTF-16 text: blocks with a stored size, copying, appending, scanning,
// comparing, case mapping and quoting. Pointers may be null where a routine says so.
#pragma once

#include <cstddef>

#include "platform/rtl/WideString.h"

using PWideChar = char16_t*;

// A block for n units (size word n * 2 + 4 before the returned address).
PWideChar WStrAlloc(unsigned n);
unsigned WStrBufSize(const char16_t* p);
// A new block holding a copy of `s` and its terminator; null for null.
PWideChar WStrNew(const char16_t* s);
void WStrDispose(PWideChar p);

PWideChar WStrMove(PWideChar dest, const char16_t* source, unsigned count);
unsigned WStrLen(const char16_t* s);
PWideChar WStrEnd(const char16_t* s);
PWideChar WStrCopy(PWideChar dest, const char16_t* source);
// At most `maxLen` units, always terminated.
PWideChar WStrLCopy(PWideChar dest, const char16_t* source, unsigned maxLen);
PWideChar WStrPCopy(PWideChar dest, const WideString& source);
PWideChar WStrPLCopy(PWideChar dest, const WideString& source, unsigned maxLen);
// Returns the address of dest's new terminator.
PWideChar WStrECopy(PWideChar dest, const char16_t* source);
PWideChar WStrCat(PWideChar dest, const char16_t* source);
// Appends so that dest holds at most `maxLen` units; nothing when it already holds that many.
PWideChar WStrLCat(PWideChar dest, const char16_t* source, unsigned maxLen);

// The first (last) unit equal to c, the terminator for c = 0, null when absent.
PWideChar WStrScan(const char16_t* s, char16_t c);
PWideChar WStrRScan(const char16_t* s, char16_t c);
// The first occurrence of sub; null when either is null or empty or sub does not occur.
PWideChar WStrPos(const char16_t* s, const char16_t* sub);

// Locale order (negative, zero, positive); the I forms ignore case. The L forms compare at most
// maxLen units of each (0x7FFFFFFF: whole texts).
int WStrComp(const char16_t* a, const char16_t* b);
int WStrIComp(const char16_t* a, const char16_t* b);
int WStrLComp(const char16_t* a, const char16_t* b, unsigned maxLen);
int WStrLIComp(const char16_t* a, const char16_t* b, unsigned maxLen);
int Uc_WStrComp(const char16_t* a, const char16_t* b);
PWideChar Uc_WStrPos(const char16_t* s, const char16_t* sub);

PWideChar WStrLower(PWideChar s);
PWideChar WStrUpper(PWideChar s);
WideString WStrPas(const char16_t* s);

// The last unit of a string, null when it is empty.
const char16_t* WideLastChar(const WideString& s);
WideString WideQuotedStr(const WideString& s, char16_t quote);
// The quoted text at p with doubled quotes made single; p moves past the closing quote (to the
// terminator when there is none, the text then running to it). Empty, p unmoved, when p is not
// at a quote.
WideString WideExtractQuotedStr(const char16_t*& p, char16_t quote);
// The unquoted text, or `s` itself when it is not a quoted text.
WideString WideDequotedStr(const WideString& s, char16_t quote);
