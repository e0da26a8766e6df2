// The get-message hooks: installed on the interface thread, the newest called first, each
// passing on to the one before it through CallNextHookEx.
#include <algorithm>

#include "platform/win/WindowSystem.h"

using namespace platform::win;

HHOOK SetWindowsHookExW(int id, HOOKPROC proc, HINSTANCE, DWORD) {
  State& s = S();
  if (id != WH_GETMESSAGE || !proc || !OnInterfaceThread()) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  const HHOOK h = reinterpret_cast<HHOOK>(0x5000000 + ++s.nextHook);
  s.hooks.push_back(Hook{h, proc, true});
  return h;
}
HHOOK SetWindowsHookExA(int id, HOOKPROC proc, HINSTANCE module, DWORD thread) {
  return SetWindowsHookExW(id, proc, module, thread);
}

LRESULT CallNextHookEx(HHOOK hook, int code, WPARAM w, LPARAM l) {
  auto& hooks = S().hooks;
  for (size_t i = hooks.size(); i-- > 0;) {
    if (hooks[i].handle != hook) continue;
    if (i == 0) return 0;
    return hooks[i - 1].proc(code, w, l);
  }
  return 0;
}

BOOL UnhookWindowsHookEx(HHOOK hook) {
  auto& hooks = S().hooks;
  auto it = std::find_if(hooks.begin(), hooks.end(), [&](const Hook& h) { return h.handle == hook; });
  if (it == hooks.end()) return FALSE;
  hooks.erase(it);
  return TRUE;
}
