// A fixture that runs each test over a fresh headless window system with the system classes, a
// parent window that records the notifications its controls send, and helpers to read texts.
#pragma once

#include <gtest/gtest.h>

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

class ControlsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::headless::Install();
    platform::controls::Startup();
    Notifications().clear();
    WNDCLASSW wc{};
    wc.lpfnWndProc = &ParentProc;
    wc.lpszClassName = u"TestParent";
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    RegisterClassW(&wc);
    parent = CreateWindowExW(0, u"TestParent", u"Parent", WS_VISIBLE, 10, 10, 400, 300, nullptr, nullptr,
                             nullptr, nullptr);
  }
  void TearDown() override { platform::headless::Uninstall(); }
  platform::headless::HeadlessDriver& driver() { return platform::headless::Driver(); }

  HWND Child(const char16_t* cls, const char16_t* text, DWORD style, int x, int y, int w, int h, int id = 1) {
    return CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                           reinterpret_cast<HMENU>(uintptr_t(id)), nullptr, nullptr);
  }
  static std::u16string TextOf(HWND hwnd) {
    std::u16string s(size_t(GetWindowTextLengthW(hwnd)) + 1, u'\0');
    s.resize(size_t(GetWindowTextW(hwnd, s.data(), int(s.size()))));
    return s;
  }
  static int Count(WORD code) {
    int n = 0;
    for (const auto& x : Notifications()) n += x.code == code;
    return n;
  }

  HWND parent = nullptr;
};

}  // namespace controlstest
