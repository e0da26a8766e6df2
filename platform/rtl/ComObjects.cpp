#include "platform/rtl/ComObjects.h"

#include "platform/rtl/LastError.h"

HRESULT ProgIDFromCLSID(REFCLSID, LPOLESTR* progId) {
  if (progId) *progId = nullptr;
  SetLastError(ERROR_NOT_SUPPORTED);
  return HRESULT_NOT_SUPPORTED;
}
