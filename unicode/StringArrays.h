// Lists of UTF-16 strings kept one after another in memory, each ended by a separator unit
// (0 by default) and the list by an empty string, as the shell and dialog services use them.
#pragma once

#include <vector>

#include "platform/rtl/WideString.h"

// The whole list as one string, separators and both final zero units included.
WideString ExtractStringArrayStr(const char16_t* p);
// The string at p; p moves past its separator (to the end when there is none).
WideString ExtractStringFromStringArray(const char16_t*& p, char16_t separator = 0);
// Every string up to the first empty one.
std::vector<WideString> ExtractStringsFromStringArray(const char16_t* p, char16_t separator = 0);
