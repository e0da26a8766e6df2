#include "unicode/TUcSaveDialog.h"

#include "unicode/UcPlatformFlags.h"

bool TUcSaveDialog::Execute() {
  if (Win32PlatformIsUnicode()) return DoExecuteW(&GetSaveFileNameW, GetModalParentWnd());
  return DoExecute(&GetSaveFileNameA);
}
