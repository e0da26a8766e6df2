// Nested modal loops and the modal answer hook.
#include "platform/rtl/ScopeExit.h"
#include "platform/win/WindowSystem.h"

namespace platform::win {

std::optional<ModalAnswer> AskModal(const ModalInfo& info) {
  Backend* b = CurrentBackend();
  return b ? b->Modal(info) : std::nullopt;
}

bool RunModalLoop(HWND modal, const std::function<bool()>& done, const std::function<bool()>& pump) {
  State& s = S();
  const HWND previousActive = s.active;
  std::vector<HWND> disabled;
  for (HWND t : s.topLevels) {
    Window* w = Find(t);
    if (!w || t == modal || w->owner == modal || (w->style & WS_DISABLED)) continue;
    disabled.push_back(t);
  }
  for (HWND t : disabled) EnableWindow(t, FALSE);
  platform::ScopeExit restore([&] {
    for (HWND t : disabled)
      if (Find(t)) EnableWindow(t, TRUE);
    if (previousActive && Find(previousActive) && IsWindowVisible(previousActive))
      SetActiveWindow(previousActive);
  });
  bool quit = false;
  MSG m;
  while (!done()) {
    if (pump) {
      if (!pump()) {
        quit = true;
        PostQuitMessage(0);  // for the loops outside the pump's own
        break;
      }
      continue;
    }
    if (!GetMessageA(&m, nullptr, 0, 0)) {
      quit = true;
      PostQuitMessage(int(m.wParam));  // the outer loops end as well
      break;
    }
    TranslateMessage(&m);
    DispatchMessageA(&m);
  }
  return !quit;
}

}  // namespace platform::win

namespace {

// The procedure of utility windows before their object instance is installed.
LRESULT UtilityWindowProc(HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProcW(h, m, w, l); }

}  // namespace

HWND AllocateHWnd(TWndMethod method) {
  WNDCLASSW probe;
  if (!GetClassInfoW(nullptr, u"TPUtilWindow", &probe)) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = UtilityWindowProc;
    wc.lpszClassName = u"TPUtilWindow";
    RegisterClassW(&wc);
  }
  HWND h = CreateWindowExW(WS_EX_TOOLWINDOW, u"TPUtilWindow", u"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                           nullptr, nullptr);
  if (!h) return h;
  // Without a method the window still gets an instance of its own, which DeallocateHWnd frees;
  // freeing the shared class procedure instead would break every later utility window.
  if (!method) method = [h](TMessage& m) { m.Result = DefWindowProcW(h, m.Msg, m.WParam, m.LParam); };
  SetWindowLongPtrW(h, GWL_WNDPROC, LONG_PTR(MakeObjectInstance(std::move(method))));
  return h;
}

void DeallocateHWnd(HWND hwnd) {
  if (!IsWindow(hwnd)) return;
  const WNDPROC instance(GetWindowLongPtrW(hwnd, GWL_WNDPROC));
  DestroyWindow(hwnd);
  FreeObjectInstance(instance);
}
