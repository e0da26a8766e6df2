// Character classes of UTF-16 units in the layer's locale, and whether UTF-16 text survives the
// trip to the layer's default code page (no character of it needs the default character).
#pragma once

#include "platform/rtl/WideString.h"

// The type-1 classes of the system's string-type service; a failing call raises the last OS
// error. A unit of a surrogate pair alone has no class.
bool IsWideCharUpper(char16_t c);
bool IsWideCharLower(char16_t c);
bool IsWideCharDigit(char16_t c);
bool IsWideCharSpace(char16_t c);
bool IsWideCharPunct(char16_t c);
bool IsWideCharCntrl(char16_t c);
bool IsWideCharBlank(char16_t c);
bool IsWideCharXDigit(char16_t c);
bool IsWideCharAlpha(char16_t c);
// A letter or a decimal digit.
bool IsWideCharAlphaNumeric(char16_t c);

bool IsWideCharMappableToAnsi(char16_t c);
bool IsWideStringMappableToAnsi(const WideString& s);
