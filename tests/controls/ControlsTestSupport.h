// A fixture that runs each test over a fresh headless window system with the system classes, a
// parent window that records the notifications its controls send, an owner-draw parent that
// records what it was asked to measure and draw, and helpers to type keys and read texts.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/backend/HeadlessDriver.h"
#include "platform/controls/Controls.h"
#include "platform/win/Win.h"

namespace controlstest {

struct Notification {
  WORD id, code;
  HWND from;
};

inline std::vector<Notification>& Notifications() {
  static std::vector<Notification> log;
  return log;
}

inline LRESULT ParentProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
  if (msg == WM_COMMAND) Notifications().push_back({LOWORD(w), HIWORD(w), reinterpret_cast<HWND>(l)});
  return DefWindowProcW(hwnd, msg, w, l);
}

// What the parent of owner-drawn controls was asked, in order. `itemHeight` answers each
// WM_MEASUREITEM; `paint`, when set, draws each item the parent is asked to draw.
struct OwnerDrawLog {
  std::vector<MEASUREITEMSTRUCT> measured;
  std::vector<DRAWITEMSTRUCT> drawn;
  std::function<UINT(const MEASUREITEMSTRUCT&)> itemHeight;
  std::function<void(const DRAWITEMSTRUCT&)> paint;
};

inline OwnerDrawLog& OwnerDrawn() {
  static OwnerDrawLog log;
  return log;
}

// A parent that answers the owner-draw questions into OwnerDrawn(), besides the commands.
inline LRESULT OwnerDrawParentProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
  if (msg == WM_MEASUREITEM) {
    auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(l);
    if (OwnerDrawn().itemHeight) mis->itemHeight = OwnerDrawn().itemHeight(*mis);
    OwnerDrawn().measured.push_back(*mis);
    return TRUE;
  }
  if (msg == WM_DRAWITEM) {
    const auto* d = reinterpret_cast<const DRAWITEMSTRUCT*>(l);
    OwnerDrawn().drawn.push_back(*d);
    if (OwnerDrawn().paint) OwnerDrawn().paint(*d);
    return TRUE;
  }
  return ParentProc(hwnd, msg, w, l);
}

// A colour as the captured pixels hold it (0x00RRGGBB).
inline uint32_t Pixel(COLORREF c) {
  return uint32_t(GetRValue(c)) << 16 | uint32_t(GetGValue(c)) << 8 | GetBValue(c);
}

inline void RegisterTestClass(const char16_t* name, WNDPROC proc, HBRUSH background = nullptr) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = proc;
  wc.lpszClassName = name;
  wc.hbrBackground = background;
  RegisterClassW(&wc);
}

class ControlsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::headless::Install();
    platform::controls::Startup();
    Notifications().clear();
    OwnerDrawn() = OwnerDrawLog{};
    RegisterTestClass(u"TestParent", &ParentProc, GetSysColorBrush(COLOR_BTNFACE));
    parent = CreateWindowExW(0, u"TestParent", u"Parent", WS_VISIBLE, 10, 10, 400, 300, nullptr, nullptr,
                             nullptr, nullptr);
  }
  // The text metrics a test fixed go back to the real font's for the next test.
  void TearDown() override {
    driver().UseFixedMetricFont(0, 0);
    platform::headless::Uninstall();
  }
  platform::headless::HeadlessDriver& driver() { return platform::headless::Driver(); }

  HWND Child(const char16_t* cls, const char16_t* text, DWORD style, int x, int y, int w, int h, int id = 1) {
    return CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                           reinterpret_cast<HMENU>(uintptr_t(id)), nullptr, nullptr);
  }
  // A shown top-level window of a class of its own, for a parent that answers more than commands.
  static HWND TopWindow(const char16_t* cls, WNDPROC proc, int w = 300, int h = 300) {
    RegisterTestClass(cls, proc);
    return CreateWindowExW(0, cls, u"", WS_VISIBLE, 0, 0, w, h, nullptr, nullptr, nullptr, nullptr);
  }
  // An owner-draw parent: what it is asked goes to OwnerDrawn().
  static HWND OwnerDrawParent(int w = 300, int h = 300) {
    return TopWindow(u"OwnerDrawParent", &OwnerDrawParentProc, w, h);
  }

  void Key(int vk, int mods = 0) {
    driver().KeyDown(vk, mods);
    driver().KeyUp(vk, mods);
    driver().RunUntilIdle();
  }
  // Focus moved to a control before a test starts listening: what it said on the way is dropped.
  void FocusQuietly(HWND hwnd) {
    SetFocus(hwnd);
    driver().RunUntilIdle();
    Notifications().clear();
  }

  static std::u16string TextOf(HWND hwnd) {
    std::u16string s(size_t(GetWindowTextLengthW(hwnd)) + 1, u'\0');
    s.resize(size_t(GetWindowTextW(hwnd, s.data(), int(s.size()))));
    return s;
  }
  // An item of a list or a combo box, read by its length and text messages ("<error>" for a bad
  // index).
  static std::u16string ItemText(HWND hwnd, UINT lengthMessage, UINT textMessage, int i) {
    const LRESULT n = SendMessageW(hwnd, lengthMessage, WPARAM(i), 0);
    if (n < 0) return u"<error>";
    std::u16string s(size_t(n) + 1, u'\0');
    s.resize(size_t(SendMessageW(hwnd, textMessage, WPARAM(i), LPARAM(s.data()))));
    return s;
  }
  static SIZE ClientSize(HWND hwnd) {
    RECT r;
    GetClientRect(hwnd, &r);
    return {r.right, r.bottom};
  }
  static int Count(WORD code) {
    int n = 0;
    for (const auto& x : Notifications()) n += x.code == code;
    return n;
  }

  HWND parent = nullptr;
};

}  // namespace controlstest
