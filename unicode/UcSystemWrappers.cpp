#include "unicode/UcSystemWrappers.h"

#include <deque>
#include <string>
#include <vector>

#include "platform/rtl/StringRoutines.h"
#include "unicode/UcNarrowCopyBack.h"
#include "unicode/UcNarrowText.h"
#include "unicode/UcPlatformFlags.h"

namespace {

LPCWSTR NullWhenEmpty(LPCWSTR s) { return s && *s ? s : nullptr; }

// The widened version strings handed out by the 8-bit fallback, kept until the layer stops.
std::deque<std::u16string>& VersionStrings() {
  static std::deque<std::u16string> strings;
  return strings;
}

// An 8-bit system's computer or user name into the caller's buffer: success only when the name
// is not empty and fits; otherwise *size tells the 8-bit size needed.
BOOL NameInto(BOOL (*call)(LPSTR, LPDWORD), DWORD narrowSize, LPWSTR buffer, LPDWORD size) {
  std::vector<char> name(narrowSize + 1, '\0');
  DWORD n = narrowSize;
  if (!call(name.data(), &n)) return FALSE;
  AnsiString narrow(name.data());
  WideString wide = UcWiden(narrow);
  if (!narrow.IsEmpty() && size && static_cast<DWORD>(wide.Length()) < *size && buffer) {
    std::copy(wide.c_str(), wide.c_str() + wide.Length() + 1, buffer);
    *size = static_cast<DWORD>(wide.Length());
    return TRUE;
  }
  if (size) *size = static_cast<DWORD>(narrow.Length()) + 1;
  return FALSE;
}

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

BOOL Uc_CreateProcessW(LPCWSTR application, LPWSTR commandLine, LPSECURITY_ATTRIBUTES processAttributes,
                       LPSECURITY_ATTRIBUTES threadAttributes, BOOL inheritHandles, DWORD creationFlags,
                       LPVOID environment, LPCWSTR currentDirectory, STARTUPINFOW* startupInfo,
                       PROCESS_INFORMATION* processInformation) {
  if (Win32PlatformIsUnicode())
    return CreateProcessW(application, commandLine, processAttributes, threadAttributes, inheritHandles,
                          creationFlags, environment, currentDirectory, startupInfo, processInformation);
  AnsiString a, c, d, reserved, desktop, title;
  STARTUPINFOA narrow{};
  STARTUPINFOA* narrowInfo = nullptr;
  if (startupInfo) {
    narrow.cb = sizeof narrow;
    narrow.lpReserved = const_cast<LPSTR>(UcNarrowArg(NullWhenEmpty(startupInfo->lpReserved), reserved));
    narrow.lpDesktop = const_cast<LPSTR>(UcNarrowArg(NullWhenEmpty(startupInfo->lpDesktop), desktop));
    narrow.lpTitle = const_cast<LPSTR>(UcNarrowArg(NullWhenEmpty(startupInfo->lpTitle), title));
    narrow.dwX = startupInfo->dwX;
    narrow.dwY = startupInfo->dwY;
    narrow.dwXSize = startupInfo->dwXSize;
    narrow.dwYSize = startupInfo->dwYSize;
    narrow.dwXCountChars = startupInfo->dwXCountChars;
    narrow.dwYCountChars = startupInfo->dwYCountChars;
    narrow.dwFillAttribute = startupInfo->dwFillAttribute;
    narrow.dwFlags = startupInfo->dwFlags;
    narrow.wShowWindow = startupInfo->wShowWindow;
    narrow.cbReserved2 = startupInfo->cbReserved2;
    narrow.lpReserved2 = startupInfo->lpReserved2;
    narrow.hStdInput = startupInfo->hStdInput;
    narrow.hStdOutput = startupInfo->hStdOutput;
    narrow.hStdError = startupInfo->hStdError;
    narrowInfo = &narrow;
  }
  return CreateProcessA(UcNarrowArg(NullWhenEmpty(application), a),
                        const_cast<LPSTR>(UcNarrowArg(NullWhenEmpty(commandLine), c)), processAttributes,
                        threadAttributes, inheritHandles, creationFlags, environment,
                        UcNarrowArg(NullWhenEmpty(currentDirectory), d), narrowInfo, processInformation);
}

UINT Uc_GetWindowsDirectoryW(LPWSTR buffer, UINT size) {
  if (Win32PlatformIsUnicode()) return GetWindowsDirectoryW(buffer, size);
  AnsiString dir;
  if (!UcFetchNarrow([](char* b, DWORD s) { return GetWindowsDirectoryA(b, s); }, dir)) return 0;
  return UcCopyBack(UcWiden(dir), buffer, size, cbNone);
}

UINT Uc_GetSystemDirectoryW(LPWSTR buffer, UINT size) {
  if (Win32PlatformIsUnicode()) return GetSystemDirectoryW(buffer, size);
  AnsiString dir;
  if (!UcFetchNarrow([](char* b, DWORD s) { return GetSystemDirectoryA(b, s); }, dir)) return 0;
  return UcCopyBack(UcWiden(dir), buffer, size, cbNone);
}

BOOL Uc_GetComputerNameW(LPWSTR buffer, LPDWORD size) {
  if (Win32PlatformIsUnicode()) return GetComputerNameW(buffer, size);
  return NameInto(GetComputerNameA, 16, buffer, size);
}

BOOL Uc_GetUserNameW(LPWSTR buffer, LPDWORD size) {
  if (Win32PlatformIsUnicode()) return GetUserNameW(buffer, size);
  return NameInto(GetUserNameA, 255, buffer, size);
}

HMODULE Uc_LoadLibraryW(LPCWSTR name) {
  if (Win32PlatformIsUnicode()) return LoadLibraryW(name);
  AnsiString n;
  return LoadLibraryA(UcNarrowArg(name, n));
}

HMODULE Uc_LoadLibraryExW(LPCWSTR name, HANDLE file, DWORD flags) {
  if (Win32PlatformIsUnicode()) return LoadLibraryExW(name, file, flags);
  AnsiString n;
  return LoadLibraryExA(UcNarrowArg(name, n), file, flags);
}

DWORD Uc_GetFileVersionInfoSizeW(LPCWSTR fileName, LPDWORD handle) {
  if (Win32PlatformIsUnicode()) return GetFileVersionInfoSizeW(fileName, handle);
  AnsiString n;
  return GetFileVersionInfoSizeA(UcNarrowArg(fileName, n), handle);
}

BOOL Uc_GetFileVersionInfoW(LPCWSTR fileName, DWORD handle, DWORD size, LPVOID data) {
  if (Win32PlatformIsUnicode()) return GetFileVersionInfoW(fileName, handle, size, data);
  AnsiString n;
  return GetFileVersionInfoA(UcNarrowArg(fileName, n), handle, size, data);
}

BOOL Uc_VerQueryValueW(LPCVOID block, LPCWSTR subBlock, LPVOID* buffer, PUINT length) {
  if (Win32PlatformIsUnicode()) return VerQueryValueW(block, subBlock, buffer, length);
  AnsiString sub;
  const char* narrowSub = UcNarrowArg(subBlock, sub);
  BOOL ok = VerQueryValueA(block, narrowSub, buffer, length);
  static const AnsiString kStringFileInfo = "\\StringFileInfo";
  if (ok && buffer && *buffer && sub.Length() >= kStringFileInfo.Length() &&
      SameText(sub.SubString(1, kStringFileInfo.Length()), kStringFileInfo)) {
    VersionStrings().push_back(UcWiden(AnsiString(static_cast<const char*>(*buffer))).ToU16());
    *buffer = VersionStrings().back().data();
    if (length) *length = static_cast<UINT>(VersionStrings().back().size());
  }
  return ok;
}

void UcReleaseVersionStrings() { VersionStrings().clear(); }
