// The layer's own classes are "dual": their procedure gets each message in the set of the
// window's current procedure, so one implementation serves 8-bit and UTF-16 windows.
#include "platform/win/SystemClassRegistry.h"

#include "platform/win/WindowSystem.h"

namespace platform::win {

bool RegisterSystemClass(const SystemClassInfo& info) {
  State& s = S();
  for (auto& c : s.classes)
    if (c->dual && c->name == info.name) return true;
  auto cls = std::make_shared<WindowClass>();
  cls->name = info.name;
  cls->style = info.style;
  cls->proc = WNDPROC(info.proc);
  cls->dual = true;
  cls->wndExtra = info.wndExtra;
  cls->cursor = info.cursor;
  cls->background = info.background;
  s.classes.push_back(std::move(cls));
  return true;
}

}  // namespace platform::win
