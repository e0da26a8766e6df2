// The one monitor, dialog navigation by the keyboard, and the key names of the US layout.
#include <gtest/gtest.h>

#include <string>

#include "platform/backend/HeadlessDriver.h"
#include "platform/win/Win.h"

namespace {

class DialogKeys : public ::testing::Test {
 protected:
  void SetUp() override { platform::headless::Install(); }
  void TearDown() override { platform::headless::Uninstall(); }
};

LRESULT CommandsLogged(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
  if (msg == WM_COMMAND) SetWindowLongPtrW(hwnd, GWL_USERDATA, LONG_PTR(w));
  return DefWindowProcW(hwnd, msg, w, l);
}

// A child that wants Enter for itself.
LRESULT WantsEnter(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
  if (msg == WM_GETDLGCODE) return DLGC_WANTALLKEYS;
  return DefWindowProcW(hwnd, msg, w, l);
}

TEST_F(DialogKeys, TabMovesBetweenTabStopsAndEnterAndEscPressOkAndCancel) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = &CommandsLogged;
  wc.lpszClassName = u"DialogKeysBox";
  RegisterClassW(&wc);
  wc.lpfnWndProc = &WantsEnter;
  wc.lpszClassName = u"DialogKeysEnter";
  RegisterClassW(&wc);
  HWND dialog = CreateWindowExW(0, u"DialogKeysBox", u"", WS_POPUP | WS_VISIBLE, 0, 0, 200, 200, nullptr,
                                nullptr, nullptr, nullptr);
  HWND a = CreateWindowExW(0, u"DialogKeysBox", u"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 0, 10, 10, dialog,
                           nullptr, nullptr, nullptr);
  HWND skipped = CreateWindowExW(0, u"DialogKeysBox", u"", WS_CHILD | WS_VISIBLE, 0, 20, 10, 10, dialog,
                                 nullptr, nullptr, nullptr);
  HWND b = CreateWindowExW(0, u"DialogKeysEnter", u"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 40, 10, 10,
                           dialog, nullptr, nullptr, nullptr);
  (void)skipped;
  SetFocus(a);
  auto key = [&](WPARAM vk) {
    MSG m{GetFocus(), WM_KEYDOWN, vk, 1, 0, {0, 0}};
    return IsDialogMessageW(dialog, &m);
  };
  EXPECT_TRUE(key(VK_TAB));
  EXPECT_EQ(GetFocus(), b);
  EXPECT_TRUE(key(VK_TAB));
  EXPECT_EQ(GetFocus(), a);  // round again
  EXPECT_TRUE(key(VK_RETURN));
  EXPECT_EQ(GetWindowLongPtrW(dialog, GWL_USERDATA), 1);  // IDOK
  EXPECT_TRUE(key(VK_ESCAPE));
  EXPECT_EQ(GetWindowLongPtrW(dialog, GWL_USERDATA), 2);  // IDCANCEL
  SetFocus(b);
  SetWindowLongPtrW(dialog, GWL_USERDATA, 0);
  EXPECT_FALSE(key(VK_RETURN));  // the focused window wants it
  EXPECT_EQ(GetWindowLongPtrW(dialog, GWL_USERDATA), 0);
  MSG other{a, WM_KEYDOWN, 'A', 1, 0, {0, 0}};
  EXPECT_FALSE(IsDialogMessageA(dialog, &other));
  EXPECT_FALSE(IsDialogMessageA(nullptr, &other));
  DestroyWindow(dialog);
}

TEST_F(DialogKeys, TheOneMonitorIsTheScreen) {
  HWND w = CreateWindowExW(0, u"STATIC", u"", WS_POPUP, 900, 700, 10, 10, nullptr, nullptr, nullptr, nullptr);
  HMONITOR m = MonitorFromWindow(w, MONITOR_DEFAULTTONEAREST);
  ASSERT_NE(m, nullptr);
  EXPECT_EQ(MonitorFromWindow(nullptr, MONITOR_DEFAULTTONEAREST), m);
  MONITORINFO info{};
  info.cbSize = sizeof info;
  ASSERT_TRUE(GetMonitorInfoW(m, &info));
  EXPECT_EQ(info.rcMonitor.right, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(info.rcMonitor.bottom, GetSystemMetrics(SM_CYSCREEN));
  EXPECT_EQ(info.dwFlags, DWORD(MONITORINFOF_PRIMARY));
  info.cbSize = 4;
  EXPECT_FALSE(GetMonitorInfoA(m, &info));
  DestroyWindow(w);
}

TEST(KeyNames, KeysScanCodesCharactersAndNamesOfTheUsLayout) {
  EXPECT_EQ(MapVirtualKeyW('S', 2), UINT('S'));
  EXPECT_EQ(MapVirtualKeyW(VK_F1, 0), 0x3Bu);
  EXPECT_EQ(MapVirtualKeyW(0x1F, 1), UINT('S'));
  EXPECT_EQ(MapVirtualKeyW(0x60, 2), UINT('0'));
  EXPECT_EQ(MapVirtualKeyW(VK_F1, 2), 0u);
  EXPECT_EQ(VkKeyScanW(u's'), 0x53);
  EXPECT_EQ(VkKeyScanW(u'S'), 0x153);
  EXPECT_EQ(VkKeyScanW(u'!'), 0x131);
  EXPECT_EQ(VkKeyScanW(u'\u1780'), -1);
  struct Case {
    LONG lParam;
    const char16_t* name;
  };
  const Case cases[] = {{0x1C << 16, u"Enter"},
                        {0x1F << 16, u"S"},
                        {0x3B << 16, u"F1"},
                        {0x53 << 16, u"Num Del"},
                        {(0x53 << 16) | (1 << 24), u"Delete"},
                        {0x37 << 16, u"Num *"},
                        {(0x37 << 16) | (1 << 24), u"Prnt Scrn"},
                        {0x7F << 16, u""}};
  for (const Case& c : cases) {
    char16_t buffer[32] = {};
    const int n = GetKeyNameTextW(c.lParam, buffer, 32);
    EXPECT_EQ(std::u16string(buffer), std::u16string(c.name));
    EXPECT_EQ(n, int(std::u16string(c.name).size()));
  }
  char16_t small[3] = {};
  EXPECT_EQ(GetKeyNameTextW(0x1C << 16, small, 3), 2);  // cut to the buffer
  EXPECT_EQ(std::u16string(small), u"En");
}

}  // namespace
