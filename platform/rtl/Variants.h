// Variant conversions from text of the component object model. Currency values are parsed in
// the conventions of the selected number locale; dates have no parser here and fail cleanly
// (an HRESULT carrying ERROR_NOT_SUPPORTED), so callers fall back on their own.
#pragma once

#include "platform/rtl/ComObjects.h"
#include "platform/rtl/Types.h"

using DATE = double;
// A currency value: a 64-bit count of ten-thousandths.
struct CY {
  LONGLONG int64;
};
using LPCOLESTR = const char16_t*;

constexpr ULONG VAR_TIMEVALUEONLY = 1;
constexpr ULONG VAR_DATEVALUEONLY = 2;

constexpr HRESULT DISP_E_TYPEMISMATCH = static_cast<HRESULT>(0x80020005);
constexpr HRESULT DISP_E_OVERFLOW = static_cast<HRESULT>(0x8002000A);
constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057);

HRESULT VarDateFromStr(LPCOLESTR text, LCID locale, ULONG flags, DATE* result);
// An amount as people write it in the selected number locale: blanks around it, the locale's
// currency symbol (or its international code) before or after the number, a sign before or
// after it or parentheses around the whole, thousands separators between digits, and the
// decimal separator; more than four decimals round half to even. Text that is not an amount
// gives DISP_E_TYPEMISMATCH, an amount beyond the 64-bit range DISP_E_OVERFLOW; *result is then
// left alone and the last error is set, to a code whose text says why.
HRESULT VarCyFromStr(LPCOLESTR text, LCID locale, ULONG flags, CY* result);
