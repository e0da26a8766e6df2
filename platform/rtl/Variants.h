// Variant conversions from text of the component object model. This system has none: they fail
// cleanly (an HRESULT carrying ERROR_NOT_SUPPORTED), and callers fall back on their own parsers.
#pragma once

#include "platform/rtl/ComObjects.h"
#include "platform/rtl/Types.h"

using DATE = double;
struct CY {
  LONGLONG int64;
};
using LPCOLESTR = const char16_t*;

constexpr ULONG VAR_TIMEVALUEONLY = 1;
constexpr ULONG VAR_DATEVALUEONLY = 2;

HRESULT VarDateFromStr(LPCOLESTR text, LCID locale, ULONG flags, DATE* result);
HRESULT VarCyFromStr(LPCOLESTR text, LCID locale, ULONG flags, CY* result);
