// A fixture that runs each test over a fresh headless window system, and a message log that
// raw window procedures append to.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/backend/HeadlessDriver.h"
#include "platform/win/Win.h"

namespace wintest {

inline std::vector<std::string>& Log() {
  static std::vector<std::string> log;
  return log;
}

inline std::string Name(UINT msg) {
  switch (msg) {
    case WM_GETMINMAXINFO:
      return "GETMINMAXINFO";
    case WM_NCCREATE:
      return "NCCREATE";
    case WM_NCCALCSIZE:
      return "NCCALCSIZE";
    case WM_CREATE:
      return "CREATE";
    case WM_SIZE:
      return "SIZE";
    case WM_MOVE:
      return "MOVE";
    case WM_SHOWWINDOW:
      return "SHOWWINDOW";
    case WM_WINDOWPOSCHANGING:
      return "WINDOWPOSCHANGING";
    case WM_WINDOWPOSCHANGED:
      return "WINDOWPOSCHANGED";
    case WM_ACTIVATEAPP:
      return "ACTIVATEAPP";
    case WM_NCACTIVATE:
      return "NCACTIVATE";
    case WM_ACTIVATE:
      return "ACTIVATE";
    case WM_SETFOCUS:
      return "SETFOCUS";
    case WM_KILLFOCUS:
      return "KILLFOCUS";
    case WM_PARENTNOTIFY:
      return "PARENTNOTIFY";
    case WM_DESTROY:
      return "DESTROY";
    case WM_NCDESTROY:
      return "NCDESTROY";
    case WM_PAINT:
      return "PAINT";
    case WM_ERASEBKGND:
      return "ERASEBKGND";
    case WM_TIMER:
      return "TIMER";
    case WM_CHAR:
      return "CHAR";
    case WM_KEYDOWN:
      return "KEYDOWN";
    case WM_KEYUP:
      return "KEYUP";
    case WM_LBUTTONDOWN:
      return "LBUTTONDOWN";
    case WM_LBUTTONUP:
      return "LBUTTONUP";
    case WM_LBUTTONDBLCLK:
      return "LBUTTONDBLCLK";
    case WM_MOUSEMOVE:
      return "MOUSEMOVE";
    case WM_SETCURSOR:
      return "SETCURSOR";
    case WM_NCHITTEST:
      return "NCHITTEST";
    case WM_MOUSEACTIVATE:
      return "MOUSEACTIVATE";
    case WM_USER:
      return "USER";
    case WM_SETTEXT:
      return "SETTEXT";
    case WM_GETTEXT:
      return "GETTEXT";
    case WM_GETTEXTLENGTH:
      return "GETTEXTLENGTH";
    default:
      return "0x" + std::to_string(msg);
  }
}

class HeadlessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::headless::Install();
    Log().clear();
  }
  void TearDown() override { platform::headless::Uninstall(); }
  platform::headless::HeadlessDriver& driver() { return platform::headless::Driver(); }
};

}  // namespace wintest
