// Window properties: values kept on a window under a name or an atom.
#include "platform/win/WindowSystem.h"

using namespace platform::win;

namespace {

ATOM PropAtom(const void* name, bool unicode, bool create) {
  if (!name) return 0;
  if (!(reinterpret_cast<uintptr_t>(name) >> 16)) return ATOM(reinterpret_cast<uintptr_t>(name));
  const std::u16string n =
      unicode ? std::u16string(static_cast<const char16_t*>(name)) : ToWide(static_cast<const char*>(name));
  return create ? AddAtom(n) : FindAtom(n);
}

BOOL SetProp(HWND hwnd, const void* name, HANDLE value, bool unicode) {
  Window* w = Find(hwnd);
  const ATOM a = PropAtom(name, unicode, true);
  if (!w || !a) return FALSE;
  w->props[a] = value;
  return TRUE;
}

HANDLE GetProp(HWND hwnd, const void* name, bool unicode) {
  Window* w = Find(hwnd);
  const ATOM a = PropAtom(name, unicode, false);
  if (!w || !a) return nullptr;
  auto it = w->props.find(a);
  return it == w->props.end() ? nullptr : it->second;
}

HANDLE RemoveProp(HWND hwnd, const void* name, bool unicode) {
  Window* w = Find(hwnd);
  const ATOM a = PropAtom(name, unicode, false);
  if (!w || !a) return nullptr;
  auto it = w->props.find(a);
  if (it == w->props.end()) return nullptr;
  HANDLE v = it->second;
  w->props.erase(it);
  return v;
}

}  // namespace

BOOL SetPropA(HWND hwnd, LPCSTR name, HANDLE value) { return SetProp(hwnd, name, value, false); }
BOOL SetPropW(HWND hwnd, LPCWSTR name, HANDLE value) { return SetProp(hwnd, name, value, true); }
HANDLE GetPropA(HWND hwnd, LPCSTR name) { return GetProp(hwnd, name, false); }
HANDLE GetPropW(HWND hwnd, LPCWSTR name) { return GetProp(hwnd, name, true); }
HANDLE RemovePropA(HWND hwnd, LPCSTR name) { return RemoveProp(hwnd, name, false); }
HANDLE RemovePropW(HWND hwnd, LPCWSTR name) { return RemoveProp(hwnd, name, true); }
