// The run-time library's routines over terminated 8-bit strings. StrNew/StrAlloc blocks carry
// their size in front, so StrBufSize can answer and StrDispose frees them.
#pragma once

#include "platform/rtl/AnsiString.h"

unsigned StrLen(const char* s);
char* StrEnd(const char* s);
char* StrCopy(char* dest, const char* source);
// Copies at most maxLen bytes plus a terminator.
char* StrLCopy(char* dest, const char* source, unsigned maxLen);
char* StrPCopy(char* dest, const AnsiString& source);
char* StrPLCopy(char* dest, const AnsiString& source, unsigned maxLen);
char* StrCat(char* dest, const char* source);
int StrComp(const char* a, const char* b);
int StrIComp(const char* a, const char* b);  // ASCII letters ignore case
int StrLComp(const char* a, const char* b, unsigned maxLen);
char* StrScan(const char* s, char c);  // finds the terminator too
char* StrPos(const char* s, const char* sub);
char* StrAlloc(unsigned size);
char* StrNew(const char* s);  // null for null or ""
unsigned StrBufSize(const char* s);
void StrDispose(char* s);
AnsiString StrPas(const char* s);

// Raises EAssertionFailed with the message (and where) when `condition` is false.
void Assert(bool condition, const AnsiString& message = "Assertion failed");
