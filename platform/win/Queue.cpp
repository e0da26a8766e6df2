// The interface thread's queue: sending, posting, retrieval in the classic order (sent, posted,
// input, quit, paint, timers), with the get-message hooks called on retrieval, and dispatch;
// start-up and shut-down of the window system.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <map>

#include "platform/gdi/WindowDrawing.h"
#include "platform/rtl/MainThread.h"
#include "platform/rtl/Synchronize.h"
#include "platform/rtl/Utf8.h"
#include "platform/win/Endpoint.h"
#include "platform/win/WindowScrollBars.h"
#include "platform/win/WindowSystem.h"

namespace platform::win {

namespace {

bool Matches(const MSG& m, HWND filter, UINT first, UINT last) {
  if (filter && m.hwnd != filter && !IsChild(filter, m.hwnd)) return false;
  if (first == 0 && last == 0) return true;
  return m.message >= first && m.message <= last;
}

MSG Make(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
  State& s = S();
  return MSG{hwnd, msg, w, l, DWORD(Now()), s.cursorPos};
}

void RunSentMessages() {
  State& s = S();
  CheckSynchronize(0);
  ServeEndpoint(0);
  for (;;) {
    SentMessage* m = nullptr;
    {
      std::lock_guard lock(s.mutex);
      if (s.sent.empty()) break;
      m = s.sent.front();
      s.sent.pop_front();
    }
    LRESULT r = 0;
    if (Find(m->hwnd)) r = SendTo(m->hwnd, m->msg, m->wParam, m->lParam, m->unicode);
    {
      std::lock_guard lock(s.mutex);
      m->result = r;
      m->done = true;
    }
    s.sentDone.notify_all();
  }
  std::lock_guard lock(s.mutex);
  while (!s.crossPosted.empty()) {
    s.posted.push_back(s.crossPosted.front());
    s.crossPosted.pop_front();
  }
}

void CallHooks(UINT remove, MSG* m) {
  State& s = S();
  if (s.hooks.empty()) return;
  s.hooks.back().proc(HC_ACTION, remove, LPARAM(m));
}

WPARAM MouseKeys() {
  const State& s = S();
  WPARAM k = 0;
  if (s.keys[VK_LBUTTON] & 0x80) k |= MK_LBUTTON;
  if (s.keys[VK_RBUTTON] & 0x80) k |= MK_RBUTTON;
  if (s.keys[VK_MBUTTON] & 0x80) k |= MK_MBUTTON;
  if (s.keys[VK_SHIFT] & 0x80) k |= MK_SHIFT;
  if (s.keys[VK_CONTROL] & 0x80) k |= MK_CONTROL;
  return k;
}

bool TopLevelAccepts(HWND hwnd) {
  Window* top = Find(TopLevelOf(hwnd));
  return top && !(top->style & WS_DISABLED);
}

// Turns one input event into the message it produces (false: dropped).
bool FromInput(const InputEvent& e, MSG& out) {
  State& s = S();
  switch (e.kind) {
    case InputEvent::Kind::MouseMove:
    case InputEvent::Kind::ButtonDown:
    case InputEvent::Kind::ButtonUp:
    case InputEvent::Kind::Wheel: {
      s.cursorPos = e.screen;
      const int vkButton = e.button == 0 ? VK_LBUTTON : e.button == 1 ? VK_RBUTTON : VK_MBUTTON;
      if (e.kind == InputEvent::Kind::ButtonDown) s.keys[vkButton] |= 0x80;
      if (e.kind == InputEvent::Kind::ButtonUp) s.keys[vkButton] &= 0x7F;
      HWND target = s.capture ? s.capture : WindowFromPoint(e.screen);
      if (s.lastMouseWindow && s.lastMouseWindow != target) {
        if (Window* old = Find(s.lastMouseWindow); old && old->trackLeave) {
          old->trackLeave = false;
          s.posted.push_back(Make(s.lastMouseWindow, WM_MOUSELEAVE, 0, 0));
        }
      }
      s.lastMouseWindow = target;
      if (!target || !Find(target)) return false;
      if (!s.capture && !TopLevelAccepts(target)) return false;
      const LRESULT hit =
          s.capture ? HTCLIENT
                    : SendTo(target, WM_NCHITTEST, 0, MAKELPARAM(WORD(e.screen.x), WORD(e.screen.y)), true);
      if (!Find(target)) return false;
      UINT msg = WM_MOUSEMOVE;
      if (e.kind == InputEvent::Kind::Wheel) msg = WM_MOUSEWHEEL;
      if (e.kind == InputEvent::Kind::ButtonDown) msg = UINT(WM_LBUTTONDOWN + 3 * e.button);
      if (e.kind == InputEvent::Kind::ButtonUp) msg = UINT(WM_LBUTTONUP + 3 * e.button);
      if (e.kind == InputEvent::Kind::ButtonDown) {
        const HWND top = TopLevelOf(target);
        if (top != s.active) {
          const LRESULT ma =
              SendTo(target, WM_MOUSEACTIVATE, WPARAM(Value(top)), MAKELPARAM(WORD(hit), WORD(msg)), true);
          if (ma != MA_NOACTIVATE && ma != MA_NOACTIVATEANDEAT) Activate(top, true);
          if (ma == MA_ACTIVATEANDEAT || ma == MA_NOACTIVATEANDEAT) return false;
        }
        if (!Find(target)) return false;
        // Double click: same button and window within the time and the 4 x 4 box.
        Window* w = Find(target);
        const bool dbl = (w->cls->style & CS_DBLCLKS) && !s.lastWasDouble && s.lastPressWindow == target &&
                         s.lastPressButton == e.button && Now() - s.lastPressTime <= 500 &&
                         std::abs(e.screen.x - s.lastPressPos.x) <= 2 &&
                         std::abs(e.screen.y - s.lastPressPos.y) <= 2;
        if (dbl) msg = UINT(WM_LBUTTONDBLCLK + 3 * e.button);
        s.lastWasDouble = dbl;
        s.lastPressWindow = target;
        s.lastPressButton = e.button;
        s.lastPressTime = Now();
        s.lastPressPos = e.screen;
      }
      if (!s.capture)
        SendTo(target, WM_SETCURSOR, WPARAM(Value(target)), MAKELPARAM(WORD(hit), WORD(msg)), true);
      if (!Find(target)) return false;
      POINT p = e.screen;
      if ((hit == HTVSCROLL || hit == HTHSCROLL) && msg != WM_MOUSEWHEEL) {
        // A window scroll bar gets the non-client form: hit code and screen position.
        out = Make(target, msg - (WM_MOUSEMOVE - WM_NCMOUSEMOVE), WPARAM(hit),
                   MAKELPARAM(WORD(p.x), WORD(p.y)));
        return true;
      }
      if (msg != WM_MOUSEWHEEL) ScreenToClient(target, &p);
      WPARAM w = MouseKeys();
      if (msg == WM_MOUSEWHEEL) w |= WPARAM(WORD(int16_t(e.wheelDelta))) << 16;
      out = Make(target, msg, w, MAKELPARAM(WORD(p.x), WORD(p.y)));
      return true;
    }
    case InputEvent::Kind::KeyDown:
    case InputEvent::Kind::KeyUp: {
      const bool down = e.kind == InputEvent::Kind::KeyDown;
      const bool wasDown = (s.keys[e.vk & 0xFF] & 0x80) != 0;
      if (down) {
        s.keys[e.vk & 0xFF] |= 0x80;
        if (!wasDown) s.keys[e.vk & 0xFF] ^= 0x01;
      } else {
        s.keys[e.vk & 0xFF] &= 0x7F;
      }
      const bool alt = (s.keys[VK_MENU] & 0x80) != 0;
      const HWND target = s.focus ? s.focus : s.active;
      if (!target || !Find(target) || !TopLevelAccepts(target)) return false;
      const bool sys = (alt && !(s.keys[VK_CONTROL] & 0x80)) || e.vk == VK_F10 || e.vk == VK_MENU;
      const UINT msg = down ? (sys ? WM_SYSKEYDOWN : WM_KEYDOWN) : (sys ? WM_SYSKEYUP : WM_KEYUP);
      LPARAM l = 1;
      l |= LPARAM(e.vk & 0xFF) << 16;  // our scan codes are the key codes
      if (alt) l |= LPARAM(1) << 29;
      if (down ? wasDown : true) l |= LPARAM(1) << 30;
      if (!down) l |= LPARAM(1) << 31;
      out = Make(target, msg, WPARAM(e.vk), l);
      return true;
    }
    case InputEvent::Kind::Text: {
      const HWND target = s.focus ? s.focus : s.active;
      if (!target || !Find(target) || !TopLevelAccepts(target)) return false;
      out = Make(target, WM_CHAR, WPARAM(e.unit), 1);
      return true;
    }
  }
  return false;
}

thread_local char16_t queueHigh = 0;

// An 8-bit retriever gets a character as bytes: the first now, the rest next.
bool NarrowChar(MSG& m, bool remove) {
  State& s = S();
  const char16_t unit = char16_t(m.wParam);
  std::string bytes;
  if (unit >= 0xD800 && unit <= 0xDBFF) {
    if (!remove) {
      m.wParam = 0xEF;
      return true;
    }
    queueHigh = unit;
    return false;  // waits for its low surrogate
  }
  if (unit >= 0xDC00 && unit <= 0xDFFF && queueHigh) {
    const char16_t pair[2] = {queueHigh, unit};
    bytes = ToAnsi(pair, 2);
  } else {
    if (queueHigh && remove) bytes = SystemPageIsUtf8() ? "\xEF\xBF\xBD" : "?";
    bytes += ToAnsi(&unit, 1);
  }
  if (remove) queueHigh = 0;
  if (bytes.empty()) return false;
  m.wParam = WPARAM(uint8_t(bytes[0]));
  if (remove)
    for (size_t i = 1; i < bytes.size(); ++i)
      s.pendingAnsiChars.push_back(MSG{m.hwnd, m.message, WPARAM(uint8_t(bytes[i])), m.lParam, m.time, m.pt});
  return true;
}

bool Retrieve(MSG* out, HWND filter, UINT first, UINT last, bool remove, bool unicode) {
  State& s = S();
  for (;;) {
    if (!unicode && !s.pendingAnsiChars.empty() && Matches(s.pendingAnsiChars.front(), filter, first, last)) {
      *out = s.pendingAnsiChars.front();
      if (remove) s.pendingAnsiChars.pop_front();
      return true;
    }
    RunSentMessages();
    MSG m{};
    bool found = false;
    auto take = [&](std::deque<MSG>& q) {
      for (auto it = q.begin(); it != q.end(); ++it) {
        if (!Matches(*it, filter, first, last)) continue;
        m = *it;
        if (remove) q.erase(it);
        return true;
      }
      return false;
    };
    found = take(s.translated) || take(s.posted);
    while (!found) {
      InputEvent e;
      {
        std::lock_guard lock(s.mutex);
        if (s.input.empty()) break;
        e = s.input.front();
        s.input.pop_front();
      }
      MSG produced;
      if (!FromInput(e, produced)) continue;
      if (Matches(produced, filter, first, last)) {
        m = produced;
        found = true;
        if (!remove) s.posted.push_front(produced);
      } else {
        s.posted.push_back(produced);
      }
    }
    // Input that produced no message of its own may have posted one (WM_MOUSELEAVE when the
    // pointer left every window): it is due now, before quit, paint and timers.
    if (!found) found = take(s.posted);
    if (!found && s.quit && (first == 0 || (WM_QUIT >= first && WM_QUIT <= last))) {
      m = Make(nullptr, WM_QUIT, WPARAM(s.quitCode), 0);
      if (remove) s.quit = false;
      found = true;
    }
    if (!found) {
      const HWND paint = NextWindowToPaint();
      if (Window* framed = Find(paint); framed && framed->frameDirty) {
        // The border is drawn first, by WM_NCPAINT sent in place.
        framed->frameDirty = false;
        SendTo(paint, WM_NCPAINT, 1, 0, true);
        continue;
      }
      if (paint && Matches(Make(paint, WM_PAINT, 0, 0), filter, first, last)) {
        m = Make(paint, WM_PAINT, 0, 0);
        found = true;
      }
    }
    if (!found) {
      PresentDirty();
      const int64_t now = Now();
      Timer* due = nullptr;
      for (Timer& t : s.timers) {
        if (t.due > now) continue;
        if (!Matches(Make(t.hwnd, WM_TIMER, t.id, 0), filter, first, last)) continue;
        if (!due || t.due < due->due || (t.due == due->due && t.sequence < due->sequence)) due = &t;
      }
      if (due) {
        m = Make(due->hwnd, WM_TIMER, due->id, 0);
        if (remove) due->due = now + due->period;
        found = true;
      }
    }
    if (!found) return false;
    s.messageTime = LONG(m.time);
    s.messagePos = m.pt;
    CallHooks(remove ? PM_REMOVE : PM_NOREMOVE, &m);
    if (!unicode && (m.message == WM_CHAR || m.message == WM_SYSCHAR) && !NarrowChar(m, remove)) continue;
    *out = m;
    return true;
  }
}

bool Get(MSG* msg, HWND hwnd, UINT first, UINT last, bool unicode) {
  State& s = S();
  for (;;) {
    if (Retrieve(msg, hwnd, first, last, true, unicode)) return msg->message != WM_QUIT;
    if (s.backend) s.backend->Wait(NextTimerDue());
  }
}

LRESULT Send(HWND hwnd, UINT msg, WPARAM w, LPARAM l, bool unicode) {
  State& s = S();
  if (hwnd == HWND_BROADCAST) {
    for (HWND t : std::vector<HWND>(s.topLevels))
      if (Find(t)) SendTo(t, msg, w, l, unicode);
    return 0;
  }
  if (IsForeign(hwnd)) return RemoteSend(hwnd, msg, w, l);
  if (OnInterfaceThread()) {
    if (!Find(hwnd)) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return 0;
    }
    return SendTo(hwnd, msg, w, l, unicode);
  }
  SentMessage m{hwnd, msg, w, l, unicode};
  std::unique_lock lock(s.mutex);
  s.sent.push_back(&m);
  if (s.backend) s.backend->Wake();
  s.sentDone.wait(lock, [&] { return m.done; });
  return m.result;
}

thread_local platform::Utf8Collector postPartial;

BOOL Post(HWND hwnd, UINT msg, WPARAM w, LPARAM l, bool unicode) {
  State& s = S();
  if (CarriesPointer(msg)) {
    SetLastError(ERROR_MESSAGE_SYNC_ONLY);
    return FALSE;
  }
  if (IsForeign(hwnd)) return RemotePost(hwnd, msg, w, l);
  if (!unicode && (msg == WM_CHAR || msg == WM_SYSCHAR)) {
    // Queued characters are UTF-16: collect a multi-byte sequence before posting its units.
    if (!SystemPageIsUtf8()) {
      const char c = char(w);
      const std::u16string unit = ToWide(&c, 1);
      return unit.empty() ? FALSE : Post(hwnd, msg, WPARAM(unit[0]), l, true);
    }
    const std::u16string units = postPartial.Add(char(w));
    for (char16_t u : units)
      if (!Post(hwnd, msg, WPARAM(u), l, true)) return FALSE;
    return TRUE;
  }
  if (hwnd == HWND_BROADCAST) {
    for (HWND t : std::vector<HWND>(s.topLevels)) Post(t, msg, w, l, true);
    return TRUE;
  }
  if (!OnInterfaceThread()) {
    std::lock_guard lock(s.mutex);
    s.crossPosted.push_back(MSG{hwnd, msg, w, l, 0, {0, 0}});
    if (s.backend) s.backend->Wake();
    return TRUE;
  }
  if (hwnd && !Find(hwnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  s.posted.push_back(Make(hwnd, msg, w, l));
  return TRUE;
}

LRESULT Dispatch(const MSG* m, bool unicode) {
  State& s = S();
  if (!m) return 0;
  if (const auto& bars = ScrollBarHooks(); bars.filter && bars.filter(*m)) return 0;
  if (m->message == WM_TIMER) {
    for (const Timer& t : s.timers) {
      if (t.hwnd == m->hwnd && t.id == UINT_PTR(m->wParam) && t.proc) {
        const TIMERPROC proc = t.proc;
        proc(m->hwnd, WM_TIMER, UINT_PTR(m->wParam), DWORD(Now()));
        return 0;
      }
    }
  }
  if (!m->hwnd || !Find(m->hwnd)) return 0;
  return SendTo(m->hwnd, m->message, m->wParam, m->lParam, unicode);
}

}  // namespace

void Startup(std::unique_ptr<Backend> backend) {
  State& s = S();
  s.backend = std::move(backend);
  s.interfaceThread = std::this_thread::get_id();
  platform::SetMainThread();
  std::string error;
  const bool listening = StartEndpoint(&error);
  s.slot = listening ? EndpointSlot() : 1;
  if (!listening) {
    // Said once, where the user who started the program sees it: without its endpoint no other
    // program reaches this one, and the locks kept in the runtime folder do not hold.
    std::fprintf(stderr,
                 "%s: %s; other programs cannot reach this one and its runtime-folder locks are off\n",
                 program_invocation_short_name, error.c_str());
  }
  platform::SetWakeMainThreadHook([] {
    if (Backend* b = CurrentBackend()) b->Wake();
  });
  if (s.backend) gdi::ScreenSize() = s.backend->ScreenSize();
}

void Shutdown() {
  State& s = S();
  DestroyAll();
  s.timers.clear();
  s.hooks.clear();
  s.posted.clear();
  s.translated.clear();
  s.pendingAnsiChars.clear();
  s.quit = false;
  {
    std::lock_guard lock(s.mutex);
    s.input.clear();
    s.crossPosted.clear();
  }
  s.classes.erase(std::remove_if(s.classes.begin(), s.classes.end(), [](auto& c) { return !c->dual; }),
                  s.classes.end());
  s.focus = s.active = s.capture = s.lastMouseWindow = s.lastPressWindow = nullptr;
  s.appActive = false;
  std::memset(s.keys, 0, sizeof s.keys);
  platform::SetWakeMainThreadHook(nullptr);
  ResetClipboard();
  StopEndpoint();
  s.backend.reset();
}

Backend* CurrentBackend() { return S().backend.get(); }

void PostInput(const InputEvent& event) {
  State& s = S();
  {
    std::lock_guard lock(s.mutex);
    if (event.kind == InputEvent::Kind::MouseMove && !s.input.empty() &&
        s.input.back().kind == InputEvent::Kind::MouseMove)
      s.input.back() = event;  // an unread move is replaced by the latest position
    else
      s.input.push_back(event);
  }
  if (s.backend && !OnInterfaceThread()) s.backend->Wake();
}

bool QueueIdle() {
  if (platform::SynchronizePending()) return false;
  MSG m;
  return !Retrieve(&m, nullptr, 0, 0, false, true);
}

std::vector<HWND> TopLevelWindows() { return S().topLevels; }

void RemoveMessagesFor(HWND hwnd) {
  State& s = S();
  auto drop = [&](std::deque<MSG>& q) {
    q.erase(std::remove_if(q.begin(), q.end(), [&](const MSG& m) { return m.hwnd == hwnd; }), q.end());
  };
  drop(s.posted);
  drop(s.translated);
  drop(s.pendingAnsiChars);
}

}  // namespace platform::win

using namespace platform::win;
namespace gdi = platform::gdi;

LRESULT SendMessageA(HWND hwnd, UINT msg, WPARAM w, LPARAM l) { return Send(hwnd, msg, w, l, false); }
LRESULT SendMessageW(HWND hwnd, UINT msg, WPARAM w, LPARAM l) { return Send(hwnd, msg, w, l, true); }
BOOL PostMessageA(HWND hwnd, UINT msg, WPARAM w, LPARAM l) { return Post(hwnd, msg, w, l, false); }
BOOL PostMessageW(HWND hwnd, UINT msg, WPARAM w, LPARAM l) { return Post(hwnd, msg, w, l, true); }

void PostQuitMessage(int code) {
  S().quit = true;
  S().quitCode = code;
}

BOOL GetMessageA(MSG* msg, HWND hwnd, UINT first, UINT last) { return Get(msg, hwnd, first, last, false); }
BOOL GetMessageW(MSG* msg, HWND hwnd, UINT first, UINT last) { return Get(msg, hwnd, first, last, true); }
BOOL PeekMessageA(MSG* msg, HWND hwnd, UINT first, UINT last, UINT remove) {
  return Retrieve(msg, hwnd, first, last, (remove & PM_REMOVE) != 0, false);
}
BOOL PeekMessageW(MSG* msg, HWND hwnd, UINT first, UINT last, UINT remove) {
  return Retrieve(msg, hwnd, first, last, (remove & PM_REMOVE) != 0, true);
}

LRESULT DispatchMessageA(const MSG* msg) { return Dispatch(msg, false); }
LRESULT DispatchMessageW(const MSG* msg) { return Dispatch(msg, true); }

BOOL WaitMessage() {
  State& s = S();
  while (QueueIdle()) {
    if (!s.backend) return FALSE;
    s.backend->Wait(NextTimerDue());
  }
  return TRUE;
}

LONG GetMessageTime() { return S().messageTime; }
DWORD GetMessagePos() { return DWORD(MAKELONG(WORD(S().messagePos.x), WORD(S().messagePos.y))); }
