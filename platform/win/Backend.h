// The seam between the window system and where windows really go (headless in tests, a desktop
// later). The window system owns windows, surfaces and the queue; a backend shows surfaces,
// supplies time and screen size, and waits. Backend input only enters the queue through
// platform::win::PostInput, never by calling window procedures.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/gdi/Bitmap.h"
#include "platform/win/WinTypes.h"

namespace platform::win {

struct InputEvent {
  enum class Kind { MouseMove, ButtonDown, ButtonUp, Wheel, KeyDown, KeyUp, Text };
  Kind kind = Kind::MouseMove;
  POINT screen{0, 0};
  int button = 0;  // 0 left, 1 right, 2 middle
  int wheelDelta = 0;
  int vk = 0;
  char16_t unit = 0;  // Text: one UTF-16 unit
};

class Backend {
 public:
  virtual ~Backend() = default;
  // Milliseconds on the platform clock.
  virtual int64_t NowMs() = 0;
  virtual SIZE ScreenSize() = 0;
  // A top-level window appeared, changed or went away.
  virtual void WindowCreated(HWND) {}
  virtual void WindowDestroyed(HWND) {}
  virtual void WindowShown(HWND, bool) {}
  virtual void WindowMoved(HWND, const RECT&) {}
  virtual void WindowTitled(HWND, const std::u16string&) {}
  virtual void WindowShaped(HWND, const std::vector<RECT>&) {}
  // Rectangles of a top-level window's surface changed after a paint cycle.
  virtual void Present(HWND, const std::shared_ptr<gdi::Bitmap>&, const std::vector<RECT>&) {}
  virtual void SetCursorShape(uintptr_t) {}
  virtual void Beep() {}
  // The interface thread has nothing to do until `deadlineMs` (-1: none). Returns when something
  // may have arrived; a headless backend runs its next scripted step or reports a stall.
  virtual void Wait(int64_t deadlineMs) = 0;
  // Another thread queued something for the interface thread.
  virtual void Wake() {}
};

// Installs the backend and makes the calling thread the interface thread.
void Startup(std::unique_ptr<Backend> backend);
// Destroys every window and drops the backend.
void Shutdown();
Backend* CurrentBackend();

// Queues input from the backend (any thread).
void PostInput(const InputEvent& event);
// True when the interface thread has nothing to retrieve right now (no time passes).
bool QueueIdle();
// The deadline of the next timer, or -1.
int64_t NextTimerDue();
// The surface of a top-level window after its pending paints (nullptr for others).
std::shared_ptr<gdi::Bitmap> WindowSurface(HWND topLevel);
// Top-level windows, topmost first.
std::vector<HWND> TopLevelWindows();

}  // namespace platform::win
