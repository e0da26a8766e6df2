// Theme services, absent: the theme library cannot be loaded, every entry point is missing,
// themes are neither available nor enabled, and themed controls draw their classic look. The
// loader is a seam so that a test can pretend a themed system.
#pragma once

#include <functional>
#include <string>

#include "platform/win/WinTypes.h"

using HMODULE = HINSTANCE;
using FARPROC = void (*)();
using HTHEME = void*;

constexpr DWORD STAP_ALLOW_NONCLIENT = 1, STAP_ALLOW_CONTROLS = 2, STAP_ALLOW_WEBCONTENT = 4;
constexpr int TMT_BORDERCOLOR = 3801, TMT_FILLCOLOR = 3802, TMT_TEXTCOLOR = 3803, TMT_GRADIENTCOLOR1 = 3810;

// The classic library loader: no library of this system is loadable by name, so the theme
// library (and any other) gives 0 with ERROR_MOD_NOT_FOUND.
HMODULE LoadLibraryA(LPCSTR name);
FARPROC GetProcAddress(HMODULE module, LPCSTR name);
BOOL FreeLibrary(HMODULE module);
// The other loaders: no module is loadable here, so they give 0 with ERROR_NOT_SUPPORTED.
HMODULE LoadLibraryW(LPCWSTR name);
HMODULE LoadLibraryExA(LPCSTR name, HANDLE file, DWORD flags);
HMODULE LoadLibraryExW(LPCWSTR name, HANDLE file, DWORD flags);
// There are no system error boxes to suppress: 0 (no previous mode) with ERROR_NOT_SUPPORTED.
UINT SetErrorMode(UINT mode);

namespace platform::controls {
// The common-controls version this system answers: 5.82.
constexpr DWORD kCommonControlsVersion = 0x50052;
// The seam: resolves a library name to a module (0 = absent). Tests install a loader to
// simulate a themed system; null restores the default (nothing loads).
using LibraryLoader = std::function<HMODULE(const std::string& name)>;
using ProcResolver = std::function<FARPROC(HMODULE, const std::string& name)>;
void SetLibraryLoader(LibraryLoader loader, ProcResolver resolver);
}  // namespace platform::controls
