// A popup menu on the desktop backend under Xvfb holds the pointer: a press outside the program
// (on the bare desktop) closes it, and a press on one of its items still chooses that item.
#include <gtest/gtest.h>

#include <string>

#include "DesktopSession.h"
#include "platform/controls/Controls.h"
#include "platform/controls/Menus.h"
#include "platform/win/Win.h"

namespace {

bool watchdogFired = false;

// The menu did not close in time: close it, so the test fails instead of hanging.
void Watchdog(HWND, UINT, UINT_PTR, DWORD) {
  watchdogFired = true;
  EndMenu();
}

class MenuOnTheDesktop : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(desktoptest::EnsureDisplay(&error)) << error;
    desktoptest::StartDesktop();
    started_ = true;
    platform::controls::Startup();
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.lpszClassName = u"MenuOwner";
    RegisterClassW(&wc);
    owner_ = CreateWindowExW(0, u"MenuOwner", u"Owner", WS_POPUP | WS_VISIBLE, 20, 20, 200, 150, nullptr,
                             nullptr, nullptr, nullptr);
    menu_ = CreatePopupMenu();
    AppendMenuW(menu_, MF_STRING, 101, u"First");
    AppendMenuW(menu_, MF_STRING, 102, u"Second");
    desktoptest::Pump(200);
  }
  void TearDown() override {
    if (menu_) DestroyMenu(menu_);
    if (started_) desktoptest::StopDesktop();
  }

  // Opens the menu at (60, 60) while xdotool clicks at (x, y) once the menu is on the screen;
  // the command the menu returns.
  UINT TrackWithClickAt(int x, int y) {
    const int clicker = desktoptest::Spawn({"timeout", "10", "xdotool", "sleep", "0.7", "mousemove",
                                            std::to_string(x), std::to_string(y), "click", "1"});
    EXPECT_GT(clicker, 0);
    watchdogFired = false;
    const UINT_PTR watchdog = SetTimer(nullptr, 0, 8000, Watchdog);
    const UINT chosen = UINT(TrackPopupMenu(menu_, TPM_RETURNCMD, 60, 60, 0, owner_, nullptr));
    KillTimer(nullptr, watchdog);
    EXPECT_EQ(desktoptest::Reap(clicker, 20000), 0);
    EXPECT_FALSE(watchdogFired) << "the menu stayed open";
    return chosen;
  }

  HWND owner_ = nullptr;
  HMENU menu_ = nullptr;
  bool started_ = false;
};

TEST_F(MenuOnTheDesktop, APressOnTheBareDesktopClosesTheMenu) { EXPECT_EQ(TrackWithClickAt(600, 450), 0u); }

TEST_F(MenuOnTheDesktop, APressOnAnItemStillChoosesIt) { EXPECT_EQ(TrackWithClickAt(75, 68), 101u); }

}  // namespace
