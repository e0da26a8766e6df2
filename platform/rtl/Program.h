// The running program: its command line (ParamStr, GetCommandLineW), its own path (from
// /proc/self/exe) and folder, and the version the platform reports.
#pragma once

#include "platform/rtl/AnsiString.h"
#include "platform/rtl/Types.h"
#include "platform/rtl/WideString.h"

constexpr int MAX_PATH = 260;

// ParamStr(0) is the executable's absolute path; ParamStr(n) the n-th argument's bytes ("" past
// the end). WideParamStr decodes them as UTF-8.
AnsiString ParamStr(int index);
int ParamCount();
WideString WideParamStr(int index);
int WideParamCount();
// The command line as UTF-16: each argument, quoted when it holds a blank or a quote.
LPCWSTR GetCommandLineW();

// Module 0 (or HInstance) is the executable. Copies at most size - 1 units plus a terminator;
// when the path does not fit, the result is cut, the return value is `size` and the last error
// ERROR_INSUFFICIENT_BUFFER. 0 with ERROR_INVALID_HANDLE for another module.
DWORD GetModuleFileNameA(HMODULE module, LPSTR buffer, DWORD size);
DWORD GetModuleFileNameW(HMODULE module, LPWSTR buffer, DWORD size);

// The one module instance of the program.
extern const HINSTANCE HInstance;
HINSTANCE MainInstance();

constexpr int VER_PLATFORM_WIN32_NT = 2;
extern const int Win32Platform;      // 2
extern const int Win32MajorVersion;  // 6
extern const int Win32MinorVersion;  // 1

namespace platform {
// For tests of layers with 8-bit fallbacks: when set, such layers behave as on an 8-bit system
// (they read this at call time). The product never sets it.
void SetNarrowSystemForTesting(bool narrow);
bool NarrowSystemForTesting();
}  // namespace platform
struct OSVERSIONINFOA {
  DWORD dwOSVersionInfoSize;
  DWORD dwMajorVersion;
  DWORD dwMinorVersion;
  DWORD dwBuildNumber;
  DWORD dwPlatformId;
  CHAR szCSDVersion[128];
};
static_assert(sizeof(OSVERSIONINFOA) == 148);
using OSVERSIONINFO = OSVERSIONINFOA;
// Platform id 2, version 6.1; FALSE when dwOSVersionInfoSize is not the structure's size.
BOOL GetVersionExA(OSVERSIONINFOA* info);
inline BOOL GetVersionEx(OSVERSIONINFOA* info) { return GetVersionExA(info); }
struct TSysLocale {
  bool FarEast = false;
  bool MiddleEast = false;
};
extern const TSysLocale SysLocale;

[[noreturn]] void ExitProcess(UINT exitCode);

namespace platform {
// Start-up hands the program's arguments over (argv[0] is ignored: ParamStr(0) is the
// executable's real path). Tests may call it again.
void SetCommandLine(int argc, const char* const* argv);
// The executable's absolute path and its folder (with a trailing "/").
AnsiString ExecutablePath();
AnsiString ApplicationFolder();
}  // namespace platform
