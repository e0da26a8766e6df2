#include "unicode/UcSystemWrappers.h"

#include "unicode/UcNarrowCopyBack.h"
#include "unicode/UcNarrowText.h"
#include "unicode/UcPlatformFlags.h"

namespace {

LPCWSTR NullWhenEmpty(LPCWSTR s) { return s && *s ? s : nullptr; }

}  // namespace

DWORD Uc_GetModuleFileNameW(HMODULE module, LPWSTR buffer, DWORD size) {
  if (Win32PlatformIsUnicode()) return GetModuleFileNameW(module, buffer, size);
  AnsiString path;
  if (!UcFetchNarrow([module](char* b, DWORD s) { return GetModuleFileNameA(module, b, s); }, path)) return 0;
  return UcCopyBack(UcWiden(path), buffer, size, cbTruncating);
}

HINSTANCE Uc_ShellExecuteW(HWND__* hwnd, LPCWSTR operation, LPCWSTR file, LPCWSTR parameters,
                           LPCWSTR directory, int show) {
  if (Win32PlatformIsUnicode())
    return ShellExecuteW(hwnd, NullWhenEmpty(operation), file, parameters, directory, show);
  AnsiString o, f, p, d;
  return ShellExecuteA(hwnd, UcNarrowArg(NullWhenEmpty(operation), o), UcNarrowArg(NullWhenEmpty(file), f),
                       UcNarrowArg(NullWhenEmpty(parameters), p), UcNarrowArg(NullWhenEmpty(directory), d),
                       show);
}
