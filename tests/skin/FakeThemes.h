// A pretend theme library and common controls, installed through the platform's library
// loader, for tests of what the controls do on a desktop with visual styles on.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <type_traits>

#include "controls/TThemeServices.h"
#include "controls/ThemeLibrary.h"

namespace skintest {

// The pretend theme library and common controls.
struct FakeThemes {
  static inline bool appThemed = true;
  static inline DWORD appProperties = STAP_ALLOW_NONCLIENT | STAP_ALLOW_CONTROLS;
  static inline DWORD comctlMajor = 6;
  static inline int opened = 0, closed = 0;
  static inline std::map<std::u16string, int> classes;

  static BOOL IsAppThemed() { return appThemed; }
  static BOOL IsThemeActive() { return TRUE; }
  static DWORD GetThemeAppProperties() { return appProperties; }
  static HTHEME OpenThemeData(HWND, LPCWSTR name) {
    ++opened;
    ++classes[name];
    return reinterpret_cast<HTHEME>(static_cast<std::uintptr_t>(0x1000 + opened));
  }
  static HRESULT CloseThemeData(HTHEME) {
    ++closed;
    return 0;
  }
  static HRESULT DllGetVersion(DLLVERSIONINFO* v) {
    v->dwMajorVersion = comctlMajor;
    v->dwMinorVersion = 0;
    return 0;
  }
};
// The pretend entry point has the very type the theme code calls it through.
static_assert(std::is_same_v<decltype(&FakeThemes::DllGetVersion), DLLGETVERSIONPROC>);

inline HMODULE const kUxTheme = reinterpret_cast<HMODULE>(0x51);
inline HMODULE const kComCtl = reinterpret_cast<HMODULE>(0x52);

inline void InstallFakeThemes() {
  platform::controls::SetLibraryLoader(
      [](const std::string& name) -> HMODULE {
        if (name == "uxtheme.dll") return kUxTheme;
        if (name == "comctl32.dll") return kComCtl;
        return nullptr;
      },
      [](HMODULE module, const std::string& name) -> FARPROC {
        if (module == kComCtl && name == "DllGetVersion")
          return reinterpret_cast<FARPROC>(&FakeThemes::DllGetVersion);
        if (module != kUxTheme) return nullptr;
        if (name == "IsAppThemed") return reinterpret_cast<FARPROC>(&FakeThemes::IsAppThemed);
        if (name == "IsThemeActive") return reinterpret_cast<FARPROC>(&FakeThemes::IsThemeActive);
        if (name == "GetThemeAppProperties")
          return reinterpret_cast<FARPROC>(&FakeThemes::GetThemeAppProperties);
        if (name == "OpenThemeData") return reinterpret_cast<FARPROC>(&FakeThemes::OpenThemeData);
        if (name == "CloseThemeData") return reinterpret_cast<FARPROC>(&FakeThemes::CloseThemeData);
        return nullptr;  // every other entry point is missing
      });
}

// Back to a desktop without themes; the theme object is made again on next use.
inline void RemoveFakeThemes() {
  FreeThemeServices();
  controls_internal::ReleaseThemeLibrary();
  platform::controls::SetLibraryLoader(nullptr, nullptr);
}

}  // namespace skintest
