// Class identifiers of the component object model. No component registry exists here: the
// queries fail cleanly with ERROR_NOT_SUPPORTED, as a system without the class would.
#pragma once

#include "platform/rtl/Types.h"

struct GUID {
  DWORD Data1;
  WORD Data2;
  WORD Data3;
  BYTE Data4[8];
};
using CLSID = GUID;
using REFCLSID = const CLSID&;
using LPOLESTR = char16_t*;

// HRESULT_FROM_WIN32(ERROR_NOT_SUPPORTED).
constexpr HRESULT HRESULT_NOT_SUPPORTED = static_cast<HRESULT>(0x80070032);

// Fails: *progId is set to null, the last error to ERROR_NOT_SUPPORTED.
HRESULT ProgIDFromCLSID(REFCLSID clsid, LPOLESTR* progId);
