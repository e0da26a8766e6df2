// The window tree: parents, owners, children and siblings, re-parenting, enumeration, and
// finding a top-level window by class and title in this process or another.
#include <algorithm>
#include <functional>

#include "platform/win/Endpoint.h"
#include "platform/win/WindowSystem.h"

namespace platform::win {

std::vector<HWND>& SiblingList(Window& w) {
  if (w.parent) {
    if (Window* p = Find(w.parent)) return p->children;
  }
  return S().topLevels;
}

void Unlink(Window& w) {
  auto& list = SiblingList(w);
  list.erase(std::remove(list.begin(), list.end(), w.handle), list.end());
}

}  // namespace platform::win

using namespace platform::win;
namespace gdi = platform::gdi;

BOOL IsChild(HWND parent, HWND hwnd) {
  Window* w = Find(hwnd);
  while (w && w->parent) {
    if (w->parent == parent) return TRUE;
    w = Find(w->parent);
  }
  return FALSE;
}
HWND GetParent(HWND hwnd) {
  Window* w = Find(hwnd);
  if (!w) return nullptr;
  return w->parent ? w->parent : w->owner;
}

HWND SetParent(HWND hwnd, HWND parent) {
  Window* w = Find(hwnd);
  if (!w || (parent && !Find(parent)) || parent == hwnd || (parent && IsChild(hwnd, parent))) return nullptr;
  const HWND previous = w->parent;
  Unlink(*w);
  if (parent) {
    if (!w->parent) {
      if (S().backend) S().backend->WindowDestroyed(hwnd);
      w->surface.reset();
    }
    w->parent = parent;
    w->owner = nullptr;
    w->style = (w->style | WS_CHILD) & ~WS_POPUP;
    Find(parent)->children.insert(Find(parent)->children.begin(), hwnd);
  } else {
    w->parent = nullptr;
    w->style &= ~WS_CHILD;
    PlaceTopLevel(*w, HWND_TOP);
    ReallocateSurface(*w);
    if (S().backend) S().backend->WindowCreated(hwnd);
  }
  ComputeClient(*w);
  InvalidateWindow(*w, nullptr, true, true);
  return previous;
}

HWND GetWindow(HWND hwnd, UINT relation) {
  Window* w = Find(hwnd);
  if (!w) return nullptr;
  if (relation == GW_OWNER) return w->owner;
  if (relation == GW_CHILD) return w->children.empty() ? nullptr : w->children.front();
  auto& list = SiblingList(*w);
  auto it = std::find(list.begin(), list.end(), hwnd);
  switch (relation) {
    case GW_HWNDFIRST:
      return list.empty() ? nullptr : list.front();
    case GW_HWNDLAST:
      return list.empty() ? nullptr : list.back();
    case GW_HWNDNEXT:
      return (it == list.end() || it + 1 == list.end()) ? nullptr : *(it + 1);
    case GW_HWNDPREV:
      return (it == list.begin() || it == list.end()) ? nullptr : *(it - 1);
    default:
      return nullptr;
  }
}

HWND GetDesktopWindow() { return nullptr; }
HWND GetTopWindow(HWND hwnd) {
  if (!hwnd) return S().topLevels.empty() ? nullptr : S().topLevels.front();
  return GetWindow(hwnd, GW_CHILD);
}

BOOL EnumWindows(WNDENUMPROC proc, LPARAM param) {
  for (HWND h : std::vector<HWND>(S().topLevels))
    if (Find(h) && !proc(h, param)) break;
  return TRUE;
}

BOOL EnumChildWindows(HWND parent, WNDENUMPROC proc, LPARAM param) {
  Window* p = Find(parent);
  if (!p) return FALSE;
  std::function<bool(HWND)> walk = [&](HWND h) {
    Window* w = Find(h);
    if (!w) return true;
    for (HWND c : std::vector<HWND>(w->children)) {
      if (!Find(c)) continue;
      if (!proc(c, param)) return false;
      if (!walk(c)) return false;
    }
    return true;
  };
  walk(parent);
  return TRUE;
}

namespace platform::win {

HWND FindTopLevel(const std::u16string* cls, const std::u16string* title) {
  for (HWND h : S().topLevels) {
    Window* w = Find(h);
    if (!w) continue;
    if (cls && !SameName(w->cls->name, *cls)) continue;
    if (title && w->text != *title) continue;
    return h;
  }
  return nullptr;
}

}  // namespace platform::win

// This process's windows from the top first, then the other processes' in slot order.
HWND FindWindowW(LPCWSTR cls, LPCWSTR title) {
  std::u16string c = cls ? ClassNameOf(cls, true) : u"", t = title ? std::u16string(title) : u"";
  if (HWND h = FindTopLevel(cls ? &c : nullptr, title ? &t : nullptr)) return h;
  return RemoteFind(cls ? &c : nullptr, title ? &t : nullptr);
}

HWND FindWindowA(LPCSTR cls, LPCSTR title) {
  std::u16string c = cls ? ClassNameOf(cls, false) : u"", t = title ? ToWide(title) : u"";
  if (HWND h = FindTopLevel(cls ? &c : nullptr, title ? &t : nullptr)) return h;
  return RemoteFind(cls ? &c : nullptr, title ? &t : nullptr);
}
