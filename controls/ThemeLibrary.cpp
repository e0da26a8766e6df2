#include "controls/ThemeLibrary.h"

#include "platform/rtl/SyncObjs.h"

#define MMS_THEME_DEFINE(name, result, params) result(*name) params = nullptr;
MMS_THEME_FUNCTIONS(MMS_THEME_DEFINE)
#undef MMS_THEME_DEFINE

namespace {

struct LibraryState {
  TCriticalSection lock;
  HMODULE module = nullptr;
  int references = 0;
};

LibraryState& State() {
  static LibraryState state;
  return state;
}

void ResolveAll(HMODULE module) {
#define MMS_THEME_RESOLVE(name, result, params) \
  name = reinterpret_cast<result(*) params>(GetProcAddress(module, #name));
  MMS_THEME_FUNCTIONS(MMS_THEME_RESOLVE)
#undef MMS_THEME_RESOLVE
}

void ClearAll() {
#define MMS_THEME_CLEAR(name, result, params) name = nullptr;
  MMS_THEME_FUNCTIONS(MMS_THEME_CLEAR)
#undef MMS_THEME_CLEAR
}

}  // namespace

bool InitThemeLibrary() {
  LibraryState& s = State();
  s.lock.Enter();
  ++s.references;
  if (!s.module) {
    s.module = LoadLibraryA("uxtheme.dll");
    if (s.module) ResolveAll(s.module);
  }
  const bool loaded = s.module != nullptr;
  s.lock.Leave();
  return loaded;
}

void FreeThemeLibrary() {
  LibraryState& s = State();
  s.lock.Enter();
  if (s.references > 0) --s.references;
  if (s.references == 0 && s.module) {
    FreeLibrary(s.module);
    s.module = nullptr;
    ClearAll();
  }
  s.lock.Leave();
}

bool UseThemes() {
  LibraryState& s = State();
  s.lock.Enter();
  const bool loaded = s.module != nullptr;
  s.lock.Leave();
  return loaded && IsAppThemed && IsThemeActive && IsAppThemed() && IsThemeActive();
}

DWORD GetComCtlVersion() {
  DWORD version = platform::controls::kCommonControlsVersion;
  if (HMODULE module = LoadLibraryA("comctl32.dll")) {
    if (auto get = reinterpret_cast<DLLGETVERSIONPROC>(GetProcAddress(module, "DllGetVersion"))) {
      DLLVERSIONINFO info{sizeof(DLLVERSIONINFO), 0, 0, 0, 0};
      if (get(&info) >= 0) version = info.dwMajorVersion << 16 | (info.dwMinorVersion & 0xFFFF);
    }
    FreeLibrary(module);
  }
  return version;
}

namespace controls_internal {
void ReleaseThemeLibrary() {
  while (true) {
    LibraryState& s = State();
    s.lock.Enter();
    const bool more = s.references > 0;
    s.lock.Leave();
    if (!more) break;
    FreeThemeLibrary();
  }
}
}  // namespace controls_internal
