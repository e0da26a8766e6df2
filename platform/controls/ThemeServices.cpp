#include "platform/controls/ThemeServices.h"

#include "platform/rtl/LastError.h"

namespace {
platform::controls::LibraryLoader& Loader() {
  static platform::controls::LibraryLoader loader;
  return loader;
}
platform::controls::ProcResolver& Resolver() {
  static platform::controls::ProcResolver resolver;
  return resolver;
}
}  // namespace

namespace platform::controls {
void SetLibraryLoader(LibraryLoader loader, ProcResolver resolver) {
  Loader() = std::move(loader);
  Resolver() = std::move(resolver);
}
}  // namespace platform::controls

HMODULE LoadLibraryA(LPCSTR name) {
  HMODULE module = name && Loader() ? Loader()(name) : nullptr;
  if (!module) SetLastError(126);  // ERROR_MOD_NOT_FOUND
  return module;
}

FARPROC GetProcAddress(HMODULE module, LPCSTR name) {
  FARPROC proc = module && name && Resolver() ? Resolver()(module, name) : nullptr;
  if (!proc) SetLastError(127);  // ERROR_PROC_NOT_FOUND
  return proc;
}

BOOL FreeLibrary(HMODULE module) { return module != nullptr; }

namespace {
HMODULE NoModule() {
  SetLastError(ERROR_NOT_SUPPORTED);
  return nullptr;
}
}  // namespace

HMODULE LoadLibraryW(LPCWSTR) { return NoModule(); }
HMODULE LoadLibraryExA(LPCSTR, HANDLE, DWORD) { return NoModule(); }
HMODULE LoadLibraryExW(LPCWSTR, HANDLE, DWORD) { return NoModule(); }

UINT SetErrorMode(UINT) {
  SetLastError(ERROR_NOT_SUPPORTED);
  return 0;
}
