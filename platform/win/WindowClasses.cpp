// Window classes: registration (8-bit, UTF-16 and the system classes usable from both), look-up
// by name, class information and class names.
#include <algorithm>
#include <cstring>

#include "platform/win/WindowSystem.h"

namespace platform::win {

bool SameName(const std::u16string& a, const std::u16string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char16_t x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z') x = char16_t(x - 32);
    if (y >= 'a' && y <= 'z') y = char16_t(y - 32);
    if (x != y) return false;
  }
  return true;
}

std::shared_ptr<WindowClass> FindClass(const std::u16string& name, HINSTANCE instance) {
  for (auto& c : S().classes)
    if (SameName(c->name, name) && (c->instance == instance || c->dual || !instance || !c->instance))
      return c;
  return nullptr;
}

std::u16string ClassNameOf(const void* name, bool unicode) {
  if (!name) return {};
  const uintptr_t v = reinterpret_cast<uintptr_t>(name);
  if ((v >> 16) == 0) return AtomName(ATOM(v));
  return unicode ? std::u16string(static_cast<const char16_t*>(name))
                 : ToWide(static_cast<const char*>(name));
}

}  // namespace platform::win

using namespace platform::win;
namespace gdi = platform::gdi;

namespace {

ATOM Register(const WNDCLASSW& wc, const std::u16string& name, bool unicode, const char* menuA) {
  if (name.empty() || !wc.lpfnWndProc) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  for (auto& c : S().classes) {
    if (SameName(c->name, name) && c->instance == wc.hInstance) {
      SetLastError(ERROR_CLASS_ALREADY_EXISTS);
      return 0;
    }
  }
  auto c = std::make_shared<WindowClass>();
  c->name = name;
  c->instance = wc.hInstance;
  c->style = wc.style;
  if (!ResolveInstall(wc.lpfnWndProc, unicode, c->proc, c->unicode)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  c->clsExtra = wc.cbClsExtra;
  c->wndExtra = wc.cbWndExtra;
  c->icon = wc.hIcon;
  c->cursor = wc.hCursor;
  c->background = wc.hbrBackground;
  if (unicode && wc.lpszMenuName) {
    if (reinterpret_cast<uintptr_t>(wc.lpszMenuName) >> 16)
      c->menuNameW = wc.lpszMenuName;
    else
      c->menuId = reinterpret_cast<uintptr_t>(wc.lpszMenuName);
  } else if (menuA) {
    if (reinterpret_cast<uintptr_t>(menuA) >> 16)
      c->menuNameA = menuA;
    else
      c->menuId = reinterpret_cast<uintptr_t>(menuA);
  }
  S().classes.push_back(c);
  return AddAtom(name);
}

}  // namespace

ATOM platform::win::RegisterSystemClass(const WNDCLASSW& wc) {
  const ATOM atom = Register(wc, ClassNameOf(wc.lpszClassName, true), true, nullptr);
  if (atom) S().classes.back()->dual = true;
  return atom;
}

ATOM RegisterClassW(const WNDCLASSW* wc) {
  if (!wc) return 0;
  return Register(*wc, ClassNameOf(wc->lpszClassName, true), true, nullptr);
}

ATOM RegisterClassA(const WNDCLASSA* wc) {
  if (!wc) return 0;
  WNDCLASSW w{wc->style, wc->lpfnWndProc, wc->cbClsExtra,    wc->cbWndExtra, wc->hInstance,
              wc->hIcon, wc->hCursor,     wc->hbrBackground, nullptr,        nullptr};
  return Register(w, ClassNameOf(wc->lpszClassName, false), false, wc->lpszMenuName);
}

namespace {

BOOL Unregister(const std::u16string& name, HINSTANCE instance) {
  auto& classes = S().classes;
  for (auto it = classes.begin(); it != classes.end(); ++it) {
    if (SameName((*it)->name, name) && (*it)->instance == instance) {
      if ((*it)->windows > 0) {
        SetLastError(ERROR_CLASS_HAS_WINDOWS);
        return FALSE;
      }
      classes.erase(it);
      return TRUE;
    }
  }
  SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
  return FALSE;
}

}  // namespace

BOOL UnregisterClassA(LPCSTR name, HINSTANCE instance) {
  return Unregister(ClassNameOf(name, false), instance);
}
BOOL UnregisterClassW(LPCWSTR name, HINSTANCE instance) {
  return Unregister(ClassNameOf(name, true), instance);
}

BOOL GetClassInfoW(HINSTANCE instance, LPCWSTR name, WNDCLASSW* out) {
  auto c = FindClass(ClassNameOf(name, true), instance);
  if (!c || !out) {
    SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
    return FALSE;
  }
  *out = WNDCLASSW{c->style,
                   ProcForVariant(c->proc, c->dual ? true : c->unicode, true),
                   c->clsExtra,
                   c->wndExtra,
                   c->instance,
                   c->icon,
                   c->cursor,
                   c->background,
                   c->menuId ? reinterpret_cast<LPCWSTR>(c->menuId)
                             : (c->menuNameW.empty() ? nullptr : c->menuNameW.c_str()),
                   c->name.c_str()};
  return TRUE;
}

BOOL GetClassInfoA(HINSTANCE instance, LPCSTR name, WNDCLASSA* out) {
  auto c = FindClass(ClassNameOf(name, false), instance);
  if (!c || !out) {
    SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
    return FALSE;
  }
  // The 8-bit class name lives as long as the class.
  static thread_local std::string nameStore;
  nameStore = ToAnsi(c->name.data(), c->name.size());
  *out = WNDCLASSA{c->style,
                   ProcForVariant(c->proc, c->dual ? false : c->unicode, false),
                   c->clsExtra,
                   c->wndExtra,
                   c->instance,
                   c->icon,
                   c->cursor,
                   c->background,
                   c->menuId ? reinterpret_cast<LPCSTR>(c->menuId)
                             : (c->menuNameA.empty() ? nullptr : c->menuNameA.c_str()),
                   nameStore.c_str()};
  return TRUE;
}

int GetClassNameW(HWND hwnd, LPWSTR buffer, int size) {
  Window* w = Find(hwnd);
  if (!w || !buffer || size <= 0) return 0;
  const size_t n = std::min<size_t>(w->cls->name.size(), size_t(size) - 1);
  std::memcpy(buffer, w->cls->name.data(), n * 2);
  buffer[n] = 0;
  return int(n);
}

int GetClassNameA(HWND hwnd, LPSTR buffer, int size) {
  Window* w = Find(hwnd);
  if (!w || !buffer || size <= 0) return 0;
  const std::string a = ToAnsi(w->cls->name.data(), w->cls->name.size());
  const size_t n = std::min<size_t>(a.size(), size_t(size) - 1);
  std::memcpy(buffer, a.data(), n);
  buffer[n] = 0;
  return int(n);
}
