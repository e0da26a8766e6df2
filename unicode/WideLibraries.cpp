#include "unicode/WideLibraries.h"

#include "platform/rtl/Format.h"
#include "platform/rtl/LastError.h"
#include "unicode/UcNarrowText.h"
#include "unicode/UcSystemWrappers.h"

HMODULE WideSafeLoadLibrary(const WideString& fileName, UINT errorMode) {
  const UINT oldMode = SetErrorMode(errorMode);
  HMODULE module = Uc_LoadLibraryW(fileName.c_str());
  const DWORD error = GetLastError();
  SetErrorMode(oldMode);
  SetLastError(error);
  return module;
}

HMODULE WideLoadPackage(const WideString& name) {
  HMODULE module = WideSafeLoadLibrary(name);
  if (!module) {
    const AnsiString reason = SysErrorMessage(GetLastError());
    throw EPackageError("Can't load package %s.\r\n%s", {TVarRec(UcNarrow(name.ToU16())), TVarRec(reason)});
  }
  if (FARPROC start = GetProcAddress(module, "Initialize")) {
    try {
      start();
    } catch (...) {
      FreeLibrary(module);
      throw;
    }
  }
  return module;
}
