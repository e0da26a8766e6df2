// The window system's state and the look-ups every part of it makes: the window table, a
// window's top-level window, whether it is visible and enabled with all its parents, where its
// client area lies on the surface, and the shut-down that destroys what is left.
#include "platform/rtl/Clock.h"
#include "platform/win/WindowSystem.h"

namespace platform::win {

State& S() {
  static State* state = new State();  // outlives windows destroyed during exit
  return *state;
}

bool OnInterfaceThread() { return std::this_thread::get_id() == S().interfaceThread; }

Window* Find(HWND hwnd) {
  State& s = S();
  auto it = s.windows.find(Value(hwnd));
  return it == s.windows.end() ? nullptr : it->second.get();
}

int64_t Now() { return platform::GetClock().NowMs(); }

HWND TopLevelOf(HWND hwnd) {
  Window* w = Find(hwnd);
  while (w && w->parent) w = Find(w->parent);
  return w ? w->handle : nullptr;
}

POINT ClientOriginOnSurface(const Window& w) {
  // Surface coordinates = top-level client coordinates; child rectangles are parent-client based.
  POINT p{w.client.left, w.client.top};
  if (!w.parent) return {0, 0};
  const Window* cur = &w;
  p = {cur->client.left, cur->client.top};
  while (cur->parent) {
    const Window* parent = Find(cur->parent);
    if (!parent) break;
    if (parent->parent) p = {p.x + parent->client.left, p.y + parent->client.top};
    cur = parent;
  }
  return p;
}

bool IsVisibleDeep(const Window& w) {
  const Window* cur = &w;
  while (cur) {
    if (!(cur->style & WS_VISIBLE)) return false;
    cur = cur->parent ? Find(cur->parent) : nullptr;
  }
  return true;
}

bool IsEnabledDeep(const Window& w) {
  const Window* cur = &w;
  while (cur) {
    if (cur->style & WS_DISABLED) return false;
    cur = cur->parent ? Find(cur->parent) : nullptr;
  }
  return true;
}

void DestroyAll() {
  while (!S().topLevels.empty()) DestroyWindow(S().topLevels.front());
}

}  // namespace platform::win
