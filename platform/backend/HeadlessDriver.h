// The headless backend and the driver tests use to run the window system without a desktop:
// injected input, a fake clock that fires timers, running until idle, scripted steps for when
// the interface thread would block, and captures of window pixels (with PNG dumps).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/controls/AudioDevice.h"
#include "platform/rtl/FakeClock.h"
#include "platform/win/Backend.h"
#include "platform/win/Win.h"

namespace platform::headless {

// Thrown when the interface thread would block with nothing due and no scripted step left.
class HeadlessStall : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Modifier keys held around a key press.
enum Modifier : int { kShift = 1, kCtrl = 2, kAlt = 4 };

using win::ModalAnswer;
using win::ModalInfo;

// What Describe tells about a window.
struct WindowDescription {
  std::u16string className, caption;
  bool visible = false, enabled = false, focused = false, captured = false;
  RECT rect{};  // screen coordinates
  uintptr_t cursor = 0;
  bool hasCaret = false;
  POINT caret{0, 0};
};

struct CaptureImage {
  int width = 0, height = 0;
  std::vector<uint32_t> pixels;  // top-down, 0x00RRGGBB
  uint32_t At(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
};

class HeadlessDriver {
 public:
  void SetScreenSize(int width, int height);

  void MoveMouse(POINT screen);
  void Press(int button, POINT screen);
  void Release(int button, POINT screen);
  void Click(POINT screen);
  void DoubleClick(POINT screen);
  void Wheel(int delta, POINT screen);
  POINT ClientPoint(HWND hwnd, int x, int y) const;

  void KeyDown(int vk, int modifiers = 0);
  void KeyUp(int vk, int modifiers = 0);
  // "Ctrl+Alt+A", "Shift+Tab", "Enter": presses and releases the chord.
  void Chord(const std::string& chord);
  // Committed text: one character message per UTF-16 unit.
  void Type(const std::u16string& text);

  // Retrieves and dispatches everything pending (messages, input, paints, due timers,
  // Synchronize calls) without moving time. Stops at a quit request, leaving it for the
  // program's own loop.
  void RunUntilIdle();
  // Moves the fake clock, stopping at every deadline inside the interval to let what became due
  // run (timers, timed waits of other threads).
  void Advance(int64_t ms);
  int64_t Now() { return clock_.NowMs(); }
  platform::FakeClock& clock() { return clock_; }
  void SetIdleStep(std::function<void()> step);

  // The pixels of a window as its top-level window shows them (a translucent layered window over
  // the black headless screen).
  CaptureImage Capture(HWND hwnd);
  // The window's region (window coordinates; empty without one), as handed to the desktop.
  std::vector<RECT> Shape(HWND hwnd) const { return win::WindowShape(hwnd); }
  bool SavePng(HWND hwnd, const std::string& path);

  // Modal loops: expectations are answered first, in order (a window that does not match is a
  // failure); then the handler; a modal loop with neither is a failure (HeadlessStall).
  void OnModal(std::function<ModalAnswer(const ModalInfo&)> handler);
  void ExpectModal(std::function<bool(const ModalInfo&)> matcher, ModalAnswer answer);
  const std::vector<ModalInfo>& ModalsSeen() const { return modalsSeen_; }

  // Every window, top-level ones topmost first, each followed by its children.
  std::vector<HWND> Windows() const;
  WindowDescription Describe(HWND hwnd) const;
  // Every character a box of this advance and height (0 turns it off), for tests that pin
  // text geometry whatever fonts are installed.
  void UseFixedMetricFont(int advance, int height);

  // The in-memory system clipboard: another program's content, and what this one published.
  void ClipboardPut(UINT format, const std::vector<uint8_t>& bytes, const std::string& registeredName = "");
  std::vector<uint8_t> ClipboardRead(UINT format, const std::string& registeredName = "") const;
  int Beeps() const { return beeps_; }
  // One program the process asked to start: nothing is spawned under the headless backend.
  struct ProgramStart {
    std::vector<std::string> argv;
    std::string directory;
  };
  // Every start since Install, in order.
  const std::vector<ProgramStart>& ProgramStarts() const { return programStarts_; }
  // The plays and stops of the sound output (the recording device Install puts in place, or
  // one a test installed), and its device counts; empty when another kind of device is in use.
  const std::vector<audio::SoundEvent>& Sounds() const;
  void SetSoundDevices(int wave, int midi);

 private:
  friend class HeadlessBackend;
  friend void Install();
  platform::FakeClock clock_;
  SIZE screen_{1280, 800};
  std::vector<std::function<void()>> steps_;
  std::vector<win::ClipboardItem> clipboard_;
  std::function<ModalAnswer(const ModalInfo&)> modalHandler_;
  std::vector<std::pair<std::function<bool(const ModalInfo&)>, ModalAnswer>> expectedModals_;
  std::vector<ModalInfo> modalsSeen_;
  std::vector<ProgramStart> programStarts_;
  bool foreignClipboard_ = false;
  int beeps_ = 0;
};

// The process's driver; valid after Install().
HeadlessDriver& Driver();
// Starts the window system over a fresh headless backend (the calling thread becomes the
// interface thread) with a program starter that only logs (ProgramStarts). Uninstall() shuts it
// down and puts the real starter back.
void Install();
void Uninstall();

// Writes 32-bit top-down pixels as a PNG file (for a person to look at); false on failure.
bool WritePng(const std::string& path, int width, int height, const uint32_t* pixels);

}  // namespace platform::headless
