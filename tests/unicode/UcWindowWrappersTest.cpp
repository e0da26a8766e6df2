#include <gtest/gtest.h>

#include <string>

#include "CodePageScope.h"
#include "platform/backend/HeadlessDriver.h"
#include "platform/controls/Controls.h"
#include "platform/controls/Menus.h"
#include "platform/win/Win.h"
#include "unicode/UcTextWrappers.h"

namespace {

// A window and a menu of the headless window system, for the wrappers that name them.
class UcWindowWrappers : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::headless::Install();
    platform::controls::Startup();
    window = CreateWindowExW(0, u"STATIC", u"", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    menu = CreateMenu();
  }
  void TearDown() override {
    DestroyMenu(menu);
    DestroyWindow(window);
    platform::headless::Uninstall();
  }
  std::u16string WindowText() {
    char16_t buffer[64] = {};
    GetWindowTextW(window, buffer, 64);
    return buffer;
  }
  std::u16string MenuText(UINT position) {
    char16_t buffer[64] = {};
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STRING;
    info.dwTypeData = buffer;
    info.cch = 64;
    GetMenuItemInfoW(menu, position, TRUE, &info);
    return buffer;
  }
  void InsertText(UINT position, const char16_t* text) {
    MENUITEMINFOW item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_STRING | MIIM_ID;
    item.wID = 100 + position;
    item.dwTypeData = const_cast<LPWSTR>(text);
    ASSERT_TRUE(Uc_InsertMenuItemW(menu, position, TRUE, &item));
  }
  HWND window = nullptr;
  HMENU menu = nullptr;
};

// Through the 8-bit calls a text keeps what the system code page can hold: under 1252 a "?"
// for each Khmer letter, under UTF-8 every letter.
TEST_F(UcWindowWrappers, TextsGoThroughTheSystemCodePageOnAnEightBitSystem) {
  {
    CodePageScope scope(1252, true);
    ASSERT_TRUE(Uc_SetWindowTextW(window, u"\u1780\u1781 \u00E9"));
    InsertText(0, u"\u1780 \u00E9");
  }
  EXPECT_EQ(WindowText(), u"?? \u00E9");
  EXPECT_EQ(MenuText(0), u"? \u00E9");
  {
    CodePageScope scope(CP_UTF8, true);
    ASSERT_TRUE(Uc_SetWindowTextW(window, u"\u1780\u1781 \u00E9"));
    InsertText(1, u"\u1780 \u00E9");
  }
  EXPECT_EQ(WindowText(), u"\u1780\u1781 \u00E9");
  EXPECT_EQ(MenuText(1), u"\u1780 \u00E9");
  ASSERT_TRUE(Uc_SetWindowTextW(window, u"\U0001F600"));
  EXPECT_EQ(WindowText(), u"\U0001F600");
}

}  // namespace
