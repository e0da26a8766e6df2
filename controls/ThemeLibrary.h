// The theme library bound at run time by name ("uxtheme.dll"), so the program also runs where it
// does not exist: a reference-counted load under a lock and one function pointer per entry
// point, empty while the library is not loaded or lacks that export. On this system no theme
// library loads unless a test installs a loader (platform/controls/ThemeServices.h).
#pragma once

#include "platform/controls/ThemeServices.h"
#include "platform/gdi/GdiTypes.h"
#include "platform/win/WinTypes.h"

using HIMAGELIST = void*;
struct MARGINS {
  int cxLeftWidth, cxRightWidth, cyTopHeight, cyBottomHeight;
};
struct INTLIST {
  int iValueCount;
  int iValues[402];
};

// X(name, result, parameters): the entry points, in the order they are resolved.
#define MMS_THEME_FUNCTIONS(X)                                                                        \
  X(OpenThemeData, HTHEME, (HWND, LPCWSTR))                                                           \
  X(CloseThemeData, HRESULT, (HTHEME))                                                                \
  X(DrawThemeBackground, HRESULT, (HTHEME, HDC, int, int, const RECT*, const RECT*))                  \
  X(DrawThemeText, HRESULT, (HTHEME, HDC, int, int, LPCWSTR, int, DWORD, DWORD, const RECT*))         \
  X(GetThemeBackgroundContentRect, HRESULT, (HTHEME, HDC, int, int, const RECT*, RECT*))              \
  X(GetThemeBackgroundExtent, HRESULT, (HTHEME, HDC, int, int, const RECT*, RECT*))                   \
  X(GetThemePartSize, HRESULT, (HTHEME, HDC, int, int, const RECT*, int, SIZE*))                      \
  X(GetThemeTextExtent, HRESULT, (HTHEME, HDC, int, int, LPCWSTR, int, DWORD, const RECT*, RECT*))    \
  X(GetThemeTextMetrics, HRESULT, (HTHEME, HDC, int, int, TEXTMETRICW*))                              \
  X(GetThemeBackgroundRegion, HRESULT, (HTHEME, HDC, int, int, const RECT*, HRGN*))                   \
  X(HitTestThemeBackground, HRESULT, (HTHEME, HDC, int, int, DWORD, const RECT*, HRGN, POINT, WORD*)) \
  X(DrawThemeEdge, HRESULT, (HTHEME, HDC, int, int, const RECT*, UINT, UINT, RECT*))                  \
  X(DrawThemeIcon, HRESULT, (HTHEME, HDC, int, int, const RECT*, HIMAGELIST, int))                    \
  X(IsThemePartDefined, BOOL, (HTHEME, int, int))                                                     \
  X(IsThemeBackgroundPartiallyTransparent, BOOL, (HTHEME, int, int))                                  \
  X(GetThemeColor, HRESULT, (HTHEME, int, int, int, COLORREF*))                                       \
  X(GetThemeMetric, HRESULT, (HTHEME, HDC, int, int, int, int*))                                      \
  X(GetThemeString, HRESULT, (HTHEME, int, int, int, LPWSTR, int))                                    \
  X(GetThemeBool, HRESULT, (HTHEME, int, int, int, BOOL*))                                            \
  X(GetThemeInt, HRESULT, (HTHEME, int, int, int, int*))                                              \
  X(GetThemeEnumValue, HRESULT, (HTHEME, int, int, int, int*))                                        \
  X(GetThemePosition, HRESULT, (HTHEME, int, int, int, POINT*))                                       \
  X(GetThemeFont, HRESULT, (HTHEME, HDC, int, int, int, LOGFONTW*))                                   \
  X(GetThemeRect, HRESULT, (HTHEME, int, int, int, RECT*))                                            \
  X(GetThemeMargins, HRESULT, (HTHEME, HDC, int, int, int, RECT*, MARGINS*))                          \
  X(GetThemeIntList, HRESULT, (HTHEME, int, int, int, INTLIST*))                                      \
  X(GetThemePropertyOrigin, HRESULT, (HTHEME, int, int, int, int*))                                   \
  X(SetWindowTheme, HRESULT, (HWND, LPCWSTR, LPCWSTR))                                                \
  X(GetThemeFilename, HRESULT, (HTHEME, int, int, int, LPWSTR, int))                                  \
  X(GetThemeSysColor, COLORREF, (HTHEME, int))                                                        \
  X(GetThemeSysColorBrush, HBRUSH, (HTHEME, int))                                                     \
  X(GetThemeSysBool, BOOL, (HTHEME, int))                                                             \
  X(GetThemeSysSize, int, (HTHEME, int))                                                              \
  X(GetThemeSysFont, HRESULT, (HTHEME, int, LOGFONTW*))                                               \
  X(GetThemeSysString, HRESULT, (HTHEME, int, LPWSTR, int))                                           \
  X(GetThemeSysInt, HRESULT, (HTHEME, int, int*))                                                     \
  X(IsThemeActive, BOOL, ())                                                                          \
  X(IsAppThemed, BOOL, ())                                                                            \
  X(GetWindowTheme, HTHEME, (HWND))                                                                   \
  X(EnableThemeDialogTexture, HRESULT, (HWND, DWORD))                                                 \
  X(IsThemeDialogTextureEnabled, BOOL, (HWND))                                                        \
  X(GetThemeAppProperties, DWORD, ())                                                                 \
  X(SetThemeAppProperties, void, (DWORD))                                                             \
  X(GetCurrentThemeName, HRESULT, (LPWSTR, int, LPWSTR, int, LPWSTR, int))                            \
  X(GetThemeDocumentationProperty, HRESULT, (LPCWSTR, LPCWSTR, LPWSTR, int))                          \
  X(DrawThemeParentBackground, HRESULT, (HWND, HDC, const RECT*))                                     \
  X(EnableTheming, HRESULT, (BOOL))

#define MMS_THEME_DECLARE(name, result, params) extern result(*name) params;
MMS_THEME_FUNCTIONS(MMS_THEME_DECLARE)
#undef MMS_THEME_DECLARE

// Adds a reference; loads the library and resolves its functions the first time. True when loaded.
bool InitThemeLibrary();
// Drops a reference; the last one unloads the library and empties every pointer.
void FreeThemeLibrary();
// The library is loaded and both the application and the desktop are themed.
bool UseThemes();
// The version record the common controls fill in through their "DllGetVersion" entry point,
// and that entry point's type: whoever provides the entry uses these, so the call through the
// resolved pointer has the type of the function behind it.
struct DLLVERSIONINFO {
  DWORD cbSize, dwMajorVersion, dwMinorVersion, dwBuildNumber, dwPlatformID;
};
using DLLGETVERSIONPROC = HRESULT (*)(DLLVERSIONINFO*);
// The common controls' version as major << 16 | minor: the library's own answer when one is
// loadable, else the platform's.
DWORD GetComCtlVersion();

namespace controls_internal {
// Drops every reference (the end of the program, and tests).
void ReleaseThemeLibrary();
}  // namespace controls_internal
