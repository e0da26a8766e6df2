// The headless backend: everything in memory, time only moves when a test advances it.
#include "platform/backend/HeadlessDriver.h"

#include <png.h>
#include <unistd.h>

#include <chrono>
#include <climits>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>

#include "platform/gdi/Bitmap.h"
#include "platform/rtl/CodePage.h"
#include "platform/rtl/Process.h"
#include "platform/win/LayeredWindows.h"

namespace platform::headless {

namespace {

std::string Utf8(const std::u16string& s) { return platform::Utf16ToMultiByte(s, CP_UTF8); }

HeadlessDriver* theDriver = nullptr;

}  // namespace

class HeadlessBackend : public win::Backend {
 public:
  explicit HeadlessBackend(HeadlessDriver& d) : driver_(d) {}
  SIZE ScreenSize() override { return driver_.screen_; }
  void Beep() override { ++driver_.beeps_; }
  void Wait(int64_t) override {
    if (!driver_.steps_.empty()) {
      auto step = std::move(driver_.steps_.front());
      driver_.steps_.erase(driver_.steps_.begin());
      step();
      return;
    }
    // Other threads may still post, send or synchronise: give them a moment of real time.
    std::unique_lock lock(mutex_);
    if (woken_ || wakeup_.wait_for(lock, std::chrono::seconds(2), [&] { return woken_; })) {
      woken_ = false;
      return;
    }
    throw HeadlessStall(
        "headless stall: the interface thread would wait with nothing due and no scripted step");
  }
  void ClipboardPublish(const std::vector<win::ClipboardItem>& items) override {
    driver_.clipboard_ = items;
    driver_.foreignClipboard_ = false;
  }
  bool ClipboardForeign(std::vector<win::ClipboardItem>& items) override {
    if (!driver_.foreignClipboard_) return false;
    driver_.foreignClipboard_ = false;
    items = driver_.clipboard_;
    return true;
  }
  std::optional<win::ModalAnswer> Modal(const win::ModalInfo& info) override {
    driver_.modalsSeen_.push_back(info);
    if (!driver_.expectedModals_.empty()) {
      auto [matcher, answer] = std::move(driver_.expectedModals_.front());
      driver_.expectedModals_.erase(driver_.expectedModals_.begin());
      if (!matcher(info))
        throw HeadlessStall("headless: an unexpected modal window appeared: " + Utf8(info.caption));
      return answer;
    }
    if (driver_.modalHandler_) return driver_.modalHandler_(info);
    throw HeadlessStall("headless: a modal loop started without a modal handler: " + Utf8(info.caption));
  }
  void Wake() override {
    std::lock_guard lock(mutex_);
    woken_ = true;
    wakeup_.notify_all();
  }

 private:
  HeadlessDriver& driver_;
  std::mutex mutex_;
  std::condition_variable wakeup_;
  bool woken_ = false;
};

HeadlessDriver& Driver() {
  if (!theDriver) theDriver = new HeadlessDriver();
  return *theDriver;
}

void Install() {
  // The runtime folder follows the one rule of every backend (see win::RuntimeFolder): a headless
  // program (a connection manager without a display) meets the editors of its user there. Tests
  // keep to themselves by naming a folder of their own in PLATFORM_RUNTIME_DIR.
  platform::SetClock(nullptr);
  delete theDriver;
  theDriver = new HeadlessDriver();
  platform::SetClock(&theDriver->clock());
  theDriver->clock().SetDueHooks(
      [] {
        const int64_t next = win::NextTimerDue();
        return next < 0 ? INT64_MAX : next;
      },
      [](int64_t) { Driver().RunUntilIdle(); });
  win::Startup(std::make_unique<HeadlessBackend>(*theDriver));
  audio::SetDevice(std::make_unique<audio::RecordingDevice>());
  platform::SetProgramStarter([](const std::vector<std::string>& argv, const std::string& directory) {
    Driver().programStarts_.push_back({argv, directory});
    return 0;
  });
}

void Uninstall() {
  platform::SetProgramStarter(nullptr);
  audio::SetDevice(nullptr);
  win::Shutdown();
  platform::SetClock(nullptr);
}

const std::vector<audio::SoundEvent>& HeadlessDriver::Sounds() const {
  static const std::vector<audio::SoundEvent> none;
  const auto* recorder = dynamic_cast<const audio::RecordingDevice*>(&audio::Device());
  return recorder ? recorder->Events() : none;
}

void HeadlessDriver::SetSoundDevices(int wave, int midi) {
  if (auto* recorder = dynamic_cast<audio::RecordingDevice*>(&audio::Device()))
    recorder->SetDevices(wave, midi);
}

void HeadlessDriver::SetScreenSize(int width, int height) { screen_ = {width, height}; }

namespace {

void Input(win::InputEvent::Kind kind, POINT p, int button = 0, int vk = 0, char16_t unit = 0,
           int wheel = 0) {
  win::InputEvent e;
  e.kind = kind;
  e.screen = p;
  e.button = button;
  e.vk = vk;
  e.unit = unit;
  e.wheelDelta = wheel;
  win::PostInput(e);
}

void Modifiers(int modifiers, bool down) {
  const int keys[3][2] = {{kShift, VK_SHIFT}, {kCtrl, VK_CONTROL}, {kAlt, VK_MENU}};
  for (auto& [flag, vk] : keys)
    if (modifiers & flag)
      Input(down ? win::InputEvent::Kind::KeyDown : win::InputEvent::Kind::KeyUp, {}, 0, vk);
}

}  // namespace

void HeadlessDriver::MoveMouse(POINT p) { Input(win::InputEvent::Kind::MouseMove, p); }
void HeadlessDriver::Press(int button, POINT p) {
  MoveMouse(p);
  Input(win::InputEvent::Kind::ButtonDown, p, button);
}
void HeadlessDriver::Release(int button, POINT p) { Input(win::InputEvent::Kind::ButtonUp, p, button); }
void HeadlessDriver::Click(POINT p) {
  Press(0, p);
  Release(0, p);
}
void HeadlessDriver::DoubleClick(POINT p) {
  Click(p);
  Click(p);
}
void HeadlessDriver::Wheel(int delta, POINT p) { Input(win::InputEvent::Kind::Wheel, p, 0, 0, 0, delta); }

POINT HeadlessDriver::ClientPoint(HWND hwnd, int x, int y) const {
  POINT p{x, y};
  ClientToScreen(hwnd, &p);
  return p;
}

void HeadlessDriver::KeyDown(int vk, int modifiers) {
  Modifiers(modifiers, true);
  Input(win::InputEvent::Kind::KeyDown, {}, 0, vk);
}

void HeadlessDriver::KeyUp(int vk, int modifiers) {
  Input(win::InputEvent::Kind::KeyUp, {}, 0, vk);
  Modifiers(modifiers, false);
}

void HeadlessDriver::Chord(const std::string& chord) {
  static const std::map<std::string, int> names = {
      {"Enter", VK_RETURN},   {"Tab", VK_TAB},       {"Esc", VK_ESCAPE},    {"Space", VK_SPACE},
      {"Backspace", VK_BACK}, {"Delete", VK_DELETE}, {"Insert", VK_INSERT}, {"Home", VK_HOME},
      {"End", VK_END},        {"Left", VK_LEFT},     {"Right", VK_RIGHT},   {"Up", VK_UP},
      {"Down", VK_DOWN},      {"PageUp", VK_PRIOR},  {"PageDown", VK_NEXT}, {"F10", VK_F10}};
  int modifiers = 0;
  std::string rest = chord;
  for (;;) {
    const size_t plus = rest.find('+');
    if (plus == std::string::npos || plus + 1 >= rest.size()) break;
    const std::string part = rest.substr(0, plus);
    if (part == "Ctrl")
      modifiers |= kCtrl;
    else if (part == "Alt")
      modifiers |= kAlt;
    else if (part == "Shift")
      modifiers |= kShift;
    else
      break;
    rest = rest.substr(plus + 1);
  }
  int vk = 0;
  if (auto it = names.find(rest); it != names.end())
    vk = it->second;
  else if (rest.size() == 1 && rest[0] >= 'a' && rest[0] <= 'z')
    vk = rest[0] - 32;
  else if (rest.size() == 1 && ((rest[0] >= 'A' && rest[0] <= 'Z') || (rest[0] >= '0' && rest[0] <= '9')))
    vk = rest[0];
  else if (rest.size() >= 2 && rest[0] == 'F')
    vk = VK_F1 + std::atoi(rest.c_str() + 1) - 1;
  if (!vk) throw std::invalid_argument("unknown key in chord: " + chord);
  KeyDown(vk, modifiers);
  KeyUp(vk, modifiers);
}

void HeadlessDriver::Type(const std::u16string& text) {
  for (char16_t u : text) Input(win::InputEvent::Kind::Text, {}, 0, 0, u);
}

void HeadlessDriver::RunUntilIdle() {
  for (int guard = 0; guard < 1000000; ++guard) {
    MSG m;
    if (!PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) return;
    if (m.message == WM_QUIT) {
      PostQuitMessage(int(m.wParam));
      return;
    }
    TranslateMessage(&m);
    DispatchMessageW(&m);
  }
  throw HeadlessStall("headless stall: messages keep coming (a paint that never validates?)");
}

void HeadlessDriver::Advance(int64_t ms) {
  RunUntilIdle();
  clock_.Advance(ms);
  RunUntilIdle();
}

void HeadlessDriver::SetIdleStep(std::function<void()> step) { steps_.push_back(std::move(step)); }

CaptureImage HeadlessDriver::Capture(HWND hwnd) {
  RunUntilIdle();
  CaptureImage out;
  HWND top = hwnd;
  while (GetWindowLongPtrW(top, GWL_STYLE) & WS_CHILD) top = GetParent(top);
  auto surface = win::WindowSurface(top);
  if (!surface) return out;
  RECT r{0, 0, surface->width(), surface->height()};
  if (top != hwnd) {
    RECT wr, tr;
    GetWindowRect(hwnd, &wr);
    GetWindowRect(top, &tr);
    r = {wr.left - tr.left, wr.top - tr.top, wr.right - tr.left, wr.bottom - tr.top};
  }
  out.width = std::max<LONG>(0, std::min<LONG>(r.right, surface->width()) - std::max<LONG>(r.left, 0));
  out.height = std::max<LONG>(0, std::min<LONG>(r.bottom, surface->height()) - std::max<LONG>(r.top, 0));
  out.pixels.resize(size_t(out.width) * size_t(out.height));
  // A translucent window shows over the empty (black) headless screen.
  const uint32_t alpha = WindowOpacity(top);
  for (int y = 0; y < out.height; ++y)
    for (int x = 0; x < out.width; ++x) {
      uint32_t p = surface->GetRaw(x + std::max<LONG>(r.left, 0), y + std::max<LONG>(r.top, 0)) & 0xFFFFFF;
      if (alpha != 255)
        p = ((p >> 16 & 0xFF) * alpha / 255) << 16 | ((p >> 8 & 0xFF) * alpha / 255) << 8 |
            (p & 0xFF) * alpha / 255;
      out.pixels[size_t(y) * size_t(out.width) + size_t(x)] = p;
    }
  return out;
}

void HeadlessDriver::OnModal(std::function<ModalAnswer(const ModalInfo&)> handler) {
  modalHandler_ = std::move(handler);
}

void HeadlessDriver::ExpectModal(std::function<bool(const ModalInfo&)> matcher, ModalAnswer answer) {
  expectedModals_.emplace_back(std::move(matcher), std::move(answer));
}

std::vector<HWND> HeadlessDriver::Windows() const {
  std::vector<HWND> out;
  std::function<void(HWND)> add = [&](HWND h) {
    out.push_back(h);
    for (HWND c = GetWindow(h, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) add(c);
  };
  for (HWND t : win::TopLevelWindows()) add(t);
  return out;
}

WindowDescription HeadlessDriver::Describe(HWND hwnd) const {
  WindowDescription d;
  if (!IsWindow(hwnd)) return d;
  char16_t buffer[512];
  if (GetClassNameW(hwnd, buffer, 512)) d.className = buffer;
  const int n = GetWindowTextW(hwnd, buffer, 512);
  d.caption.assign(buffer, size_t(n));
  d.visible = IsWindowVisible(hwnd);
  d.enabled = IsWindowEnabled(hwnd);
  d.focused = GetFocus() == hwnd;
  d.captured = GetCapture() == hwnd;
  GetWindowRect(hwnd, &d.rect);
  d.cursor = reinterpret_cast<uintptr_t>(GetCursor());
  if (win::CaretOwner() == hwnd) {
    d.hasCaret = true;
    GetCaretPos(&d.caret);
  }
  return d;
}

void HeadlessDriver::UseFixedMetricFont(int advance, int height) { gdi::UseFixedMetricFont(advance, height); }

void HeadlessDriver::ClipboardPut(UINT format, const std::vector<uint8_t>& bytes, const std::string& name) {
  if (!foreignClipboard_) clipboard_.clear();  // another program's copy replaces everything
  clipboard_.push_back(win::ClipboardItem{format, name, bytes});
  foreignClipboard_ = true;
}

std::vector<uint8_t> HeadlessDriver::ClipboardRead(UINT format, const std::string& name) const {
  for (const auto& item : clipboard_)
    if ((name.empty() && item.format == format) || (!name.empty() && item.name == name)) return item.bytes;
  return {};
}

bool HeadlessDriver::SavePng(HWND hwnd, const std::string& path) {
  const CaptureImage c = Capture(hwnd);
  return WritePng(path, c.width, c.height, c.pixels.data());
}

bool WritePng(const std::string& path, int width, int height, const uint32_t* pixels) {
  if (width <= 0 || height <= 0) return false;
  const std::string temporary = path + ".part";
  FILE* f = std::fopen(temporary.c_str(), "wb");
  if (!f) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  std::vector<uint8_t> row(size_t(width) * 3);
  volatile bool ok = png && info;
  if (ok && setjmp(png_jmpbuf(png))) ok = false;
  if (ok) {
    png_init_io(png, f);
    png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        const uint32_t p = pixels[size_t(y) * size_t(width) + size_t(x)];
        row[size_t(x) * 3] = uint8_t(p >> 16);
        row[size_t(x) * 3 + 1] = uint8_t(p >> 8);
        row[size_t(x) * 3 + 2] = uint8_t(p);
      }
      png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
  }
  png_destroy_write_struct(png ? &png : nullptr, info ? &info : nullptr);
  const bool closed = std::fclose(f) == 0;
  if (!ok || !closed || std::rename(temporary.c_str(), path.c_str()) != 0) {
    std::remove(temporary.c_str());
    return false;
  }
  return true;
}

}  // namespace platform::headless
