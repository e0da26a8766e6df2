// A UTF-16 shadow kept beside a component's 8-bit property: it notices when the 8-bit value was
// changed directly, and a new wide value that looks the same in 8 bits still makes the 8-bit
// property change, so the component repaints and reports the change.
#pragma once

#include <functional>

#include "platform/rtl/AnsiString.h"
#include "platform/rtl/WideString.h"

using TUcAnsiSetter = std::function<void(const AnsiString& value)>;

WideString GetSyncedWideString(WideString& wideValue, const AnsiString& ansiValue);
void SetSyncedWideString(const WideString& value, WideString& wideValue, const AnsiString& ansiValue,
                         const TUcAnsiSetter& setAnsiValue);
