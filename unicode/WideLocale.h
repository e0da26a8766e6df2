// Locale texts as UTF-16.
#pragma once

#include "platform/rtl/Locale.h"
#include "platform/rtl/WideString.h"

// The locale's text for `item` (at most 254 units), or `defaultValue` when the system has none.
WideString WideGetLocaleStr(LCID locale, LCTYPE item, const WideString& defaultValue);
