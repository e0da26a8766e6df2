// The seam between the window system and where windows really go (headless in tests, a desktop
// later). The window system owns windows, surfaces and the queue; a backend shows surfaces,
// supplies time and screen size, and waits. Backend input only enters the queue through
// platform::win::PostInput, never by calling window procedures.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/gdi/WindowDrawing.h"
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

// One format of clipboard content as it crosses to the system clipboard: the format id (a
// registered format also by name) and the block's bytes (CF_BITMAP travels as CF_DIB).
struct ClipboardItem {
  UINT format = 0;
  std::string name;
  std::vector<uint8_t> bytes;
};

// What a modal loop is about to show, so a test script (headless) can answer it.
struct ModalInfo {
  enum class Kind { Form, MessageBox, OpenDialog, SaveDialog, PopupMenu, Exception };
  Kind kind = Kind::Form;
  HWND hwnd = nullptr;
  std::u16string className, caption;
  std::vector<std::u16string> texts;                     // labels, buttons, items
  std::u16string title, filter, defaultExt, initialDir;  // file dialogs
  std::u16string fileName;                               // file dialogs: the name the dialog starts with
  DWORD flags = 0;                                       // file dialogs: the OFN_* flags (multiple selection)
};

// A scripted answer: a modal result, file names, cancel, a menu item (by id or caption), or
// "drive": code that injects input or sets texts, after which the loop runs until it closes.
struct ModalAnswer {
  enum class Type { Result, Files, Cancel, MenuItem, Drive };
  Type type = Type::Cancel;
  int result = 0;
  std::vector<std::u16string> files;
  int menuId = 0;
  std::u16string menuCaption;
  std::function<void()> drive;

  static ModalAnswer Result(int r) { return ModalAnswer{Type::Result, r, {}, 0, {}, {}}; }
  static ModalAnswer Files(std::vector<std::u16string> f) {
    return ModalAnswer{Type::Files, 0, std::move(f), 0, {}, {}};
  }
  static ModalAnswer Cancel() { return ModalAnswer{}; }
  static ModalAnswer MenuItem(int id) { return ModalAnswer{Type::MenuItem, 0, {}, id, {}, {}}; }
  static ModalAnswer MenuItem(std::u16string caption) {
    return ModalAnswer{Type::MenuItem, 0, {}, 0, std::move(caption), {}};
  }
  static ModalAnswer Drive(std::function<void()> fn) {
    return ModalAnswer{Type::Drive, 0, {}, 0, {}, std::move(fn)};
  }
};

class Backend {
 public:
  virtual ~Backend() = default;
  virtual SIZE ScreenSize() = 0;
  // A top-level window appeared, changed or went away.
  virtual void WindowCreated(HWND) {}
  virtual void WindowDestroyed(HWND) {}
  virtual void WindowShown(HWND, bool) {}
  virtual void WindowMoved(HWND, const RECT&) {}
  virtual void WindowTitled(HWND, const std::u16string&) {}
  virtual void WindowShaped(HWND, const std::vector<RECT>&) {}
  // A layered top-level window's opacity changed (255: opaque).
  virtual void WindowOpacityChanged(HWND, BYTE) {}
  // Rectangles of a top-level window's surface changed after a paint cycle.
  virtual void Present(HWND, const std::shared_ptr<gdi::Bitmap>&, const std::vector<RECT>&) {}
  virtual void SetCursorShape(uintptr_t) {}
  // A drag on a top-level window's background moves it: the pointer moved from `start` with the
  // left button held. True when the desktop took the move over (its window manager moves the
  // window and the button's release is queued here), false to let the window system move it.
  virtual bool MoveByDesktop(HWND, POINT /*start*/) { return false; }
  // The clipboard was closed after changes: this is the new content.
  virtual void ClipboardPublish(const std::vector<ClipboardItem>&) {}
  // Content another program put on the system clipboard since our last publish, if any.
  virtual bool ClipboardForeign(std::vector<ClipboardItem>&) { return false; }
  virtual void Beep() {}
  // A modal loop starts: the answer a test scripted (headless), or nothing to let the person
  // using the desktop answer.
  virtual std::optional<ModalAnswer> Modal(const ModalInfo&) { return std::nullopt; }
  // The interface thread has nothing to do until `deadlineMs` on the platform clock (-1: none).
  // Returns when something may have arrived (input, a wake-up, the endpoint socket, the
  // deadline); a headless backend runs its next scripted step or reports a stall.
  virtual void Wait(int64_t deadlineMs) = 0;
  // Another thread queued something for the interface thread (any thread may call this).
  virtual void Wake() {}
};

// Installs the backend and makes the calling thread the interface thread.
void Startup(std::unique_ptr<Backend> backend);
// Destroys every window and drops the backend.
void Shutdown();
Backend* CurrentBackend();

// A descriptor readable while whole requests of other processes wait (-1 without an endpoint),
// for a backend to include in its wait, and serving them (any retrieval of the interface thread
// serves them too).
int EndpointFd();
bool ServeEndpoint(int timeoutMs);
// The per-user runtime folder (empty when it is unusable; `error` says why).
std::string RuntimeFolder(std::string* error);

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

// Registers one of the system classes (EDIT, BUTTON ...): a dual class whose windows are 8-bit
// or UTF-16 by the create call, kept across Shutdown, visible to every module instance.
ATOM RegisterSystemClass(const WNDCLASSW& wc);
// A window's region (window coordinates), empty when it has none.
std::vector<RECT> WindowShape(HWND hwnd);

// The window that owns the caret (0 for none).
HWND CaretOwner();

// Every modal loop asks this first (the backend's scripted answer, if any).
std::optional<ModalAnswer> AskModal(const ModalInfo& info);
// Runs a nested loop for a modal window: the process's other top-level windows are disabled
// (input to them is dropped) and enabled again afterwards, with activation restored. Messages
// are retrieved in 8-bit form as the form library does, through the same retrieval as every
// loop (hooks, timers, paints, Synchronize, cross-process sends). Returns false when a quit
// request ended the loop; the request is posted again so the outer loops end too.
// With `pump`, each step of the loop is pump() (the form library's message handling), which
// answers false once a quit request was retrieved.
bool RunModalLoop(HWND modal, const std::function<bool()>& done, const std::function<bool()>& pump = nullptr);

}  // namespace platform::win
