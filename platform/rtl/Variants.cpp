#include "platform/rtl/Variants.h"

#include "platform/rtl/LastError.h"

HRESULT VarDateFromStr(LPCOLESTR, LCID, ULONG, DATE*) {
  SetLastError(ERROR_NOT_SUPPORTED);
  return HRESULT_NOT_SUPPORTED;
}

HRESULT VarCyFromStr(LPCOLESTR, LCID, ULONG, CY*) {
  SetLastError(ERROR_NOT_SUPPORTED);
  return HRESULT_NOT_SUPPORTED;
}
