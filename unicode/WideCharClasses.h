// Whether UTF-16 text survives the trip to the layer's default code page: no character of it
// needs the default character.
#pragma once

#include "platform/rtl/WideString.h"

bool IsWideCharMappableToAnsi(char16_t c);
bool IsWideStringMappableToAnsi(const WideString& s);
