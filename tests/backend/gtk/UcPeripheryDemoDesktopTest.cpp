// The Unicode controls demo form on the desktop backend under Xvfb: the X screen shows the
// pixels the headless backend draws for the same form; a button of its radio group clicked, and
// its combo dropped down and an item chosen, from outside the program with xdotool, leave the
// screen matching the headless form given the same clicks.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <string>

#include "DesktopForms.h"
#include "DesktopSession.h"
#include "TUcPeripheryDemo.h"
#include "platform/backend/HeadlessDriver.h"
#include "platform/backend/gtk/GtkBackend.h"
#include "platform/forms/PlatformStartup.h"
#include "platform/forms/TApplication.h"
#include "unicode/TUcGroupButton.h"
#include "unicode/UcLayer.h"

namespace {

using desktoptest::PumpUntil;

// The chosen radio-group button, and where in it the click goes.
constexpr int kChosen = 3, kClickX = 6;

TUcPeripheryDemo* ShowDemo() {
  RegisterUcPeripheryDemo();
  TUcPeripheryDemo* form = nullptr;
  Application->CreateForm(form);
  form->Show();
  return form;
}

// The demo form headless, optionally after a click on the chosen radio-group button.
platform::headless::CaptureImage HeadlessDemo(bool clicked) {
  unicode::RegisterLayer();
  platform::Startup();
  TUcPeripheryDemo* form = ShowDemo();
  auto& driver = platform::headless::Driver();
  driver.RunUntilIdle();
  if (clicked) {
    TUcGroupButton* b = form->Languages->Buttons(kChosen);
    driver.Click(driver.ClientPoint(b->Handle(), kClickX, b->Height() / 2));
    driver.RunUntilIdle();
  }
  platform::headless::CaptureImage image = driver.Capture(form->Handle());
  platform::Shutdown();
  platform::AddLayer("unicode", nullptr, nullptr);
  return image;
}

// The demo form headless after its combo was dropped down and item `kPicked` chosen by mouse.
constexpr int kPicked = 2;
platform::headless::CaptureImage HeadlessDemoAfterComboPick() {
  unicode::RegisterLayer();
  platform::Startup();
  TUcPeripheryDemo* form = ShowDemo();
  auto& driver = platform::headless::Driver();
  driver.RunUntilIdle();
  driver.Click(
      driver.ClientPoint(form->Places->Handle(), form->Places->Width() - 8, form->Places->Height() / 2));
  driver.RunUntilIdle();
  RECT item{};
  SendMessageW(form->Places->ListHandle(), LB_GETITEMRECT, kPicked, reinterpret_cast<LPARAM>(&item));
  driver.Click(driver.ClientPoint(form->Places->ListHandle(), item.left + 10, (item.top + item.bottom) / 2));
  driver.RunUntilIdle();
  platform::headless::CaptureImage image = driver.Capture(form->Handle());
  platform::Shutdown();
  platform::AddLayer("unicode", nullptr, nullptr);
  return image;
}

TEST(UcPeripheryDemoOnTheDesktop, ShowsTheHeadlessPixelsAndTakesARadioGroupClick) {
  const platform::headless::CaptureImage before = HeadlessDemo(false), after = HeadlessDemo(true);
  ASSERT_GT(before.width, 0);

  std::string error;
  ASSERT_TRUE(desktoptest::EnsureDisplay(&error)) << error;
  unicode::RegisterLayer();
  const std::string folder = desktoptest::StartFormsOnDesktop();
  ASSERT_FALSE(folder.empty());
  TUcPeripheryDemo* form = ShowDemo();
  const HWND hwnd = form->Handle();
  RECT r{};
  GetWindowRect(hwnd, &r);
  ASSERT_EQ(r.right - r.left, before.width);
  EXPECT_TRUE(PumpUntil(
      [&] { return platform::desktop::DesktopDraws(hwnd) > 0 && platform::win::QueueIdle(); }, 10000));
  desktoptest::Screenshot shot;
  ASSERT_TRUE(desktoptest::Capture(shot, &error)) << error;
  EXPECT_EQ(desktoptest::Differing(shot, r, before), 0);

  TUcGroupButton* b = form->Languages->Buttons(kChosen);
  RECT br{};
  GetWindowRect(b->Handle(), &br);
  const std::string x = std::to_string(br.left + kClickX), y = std::to_string(br.top + b->Height() / 2);
  EXPECT_EQ(desktoptest::Run({"xdotool", "mousemove", x, y, "click", "1"}, 10000), 0);
  EXPECT_TRUE(PumpUntil([&] { return form->Languages->ItemIndex() == kChosen; }, 20000));
  EXPECT_EQ(form->Events, (std::vector<std::string>{"LanguagesClick Languages"}));
  EXPECT_TRUE(PumpUntil([&] { return platform::win::QueueIdle(); }, 20000));
  ASSERT_TRUE(desktoptest::Capture(shot, &error)) << error;
  EXPECT_EQ(desktoptest::Differing(shot, r, after), 0);

  EXPECT_TRUE(desktoptest::StopFormsOnDesktop(folder));
  platform::AddLayer("unicode", nullptr, nullptr);
}

TEST(UcPeripheryDemoOnTheDesktop, ItsComboDropsDownAndAKhmerItemIsChosenWithTheMouse) {
  const platform::headless::CaptureImage expected = HeadlessDemoAfterComboPick();
  ASSERT_GT(expected.width, 0);

  std::string error;
  ASSERT_TRUE(desktoptest::EnsureDisplay(&error)) << error;
  unicode::RegisterLayer();
  const std::string folder = desktoptest::StartFormsOnDesktop();
  ASSERT_FALSE(folder.empty());
  TUcPeripheryDemo* form = ShowDemo();
  const HWND hwnd = form->Handle();
  EXPECT_TRUE(PumpUntil(
      [&] { return platform::desktop::DesktopDraws(hwnd) > 0 && platform::win::QueueIdle(); }, 10000));
  RECT r{}, cr{};
  GetWindowRect(hwnd, &r);
  GetWindowRect(form->Places->Handle(), &cr);
  // The arrow at the right end of the field drops the list down.
  EXPECT_EQ(desktoptest::Run({"xdotool", "mousemove", std::to_string(cr.right - 8),
                              std::to_string((cr.top + cr.bottom) / 2), "click", "1"},
                             10000),
            0);
  ASSERT_TRUE(PumpUntil([&] { return form->Places->DroppedDown(); }, 20000));
  const HWND list = form->Places->ListHandle();
  EXPECT_TRUE(PumpUntil(
      [&] { return platform::desktop::DesktopDraws(GetParent(list)) > 0 && platform::win::QueueIdle(); },
      10000));
  RECT item{}, lr{};
  ASSERT_NE(SendMessageW(list, LB_GETITEMRECT, kPicked, reinterpret_cast<LPARAM>(&item)), LB_ERR);
  GetWindowRect(list, &lr);
  EXPECT_EQ(desktoptest::Run({"xdotool", "mousemove", std::to_string(lr.left + item.left + 10),
                              std::to_string(lr.top + (item.top + item.bottom) / 2), "click", "1"},
                             10000),
            0);
  EXPECT_TRUE(
      PumpUntil([&] { return !form->Places->DroppedDown() && form->Places->ItemIndex() == kPicked; }, 20000));
  EXPECT_EQ(form->Events, (std::vector<std::string>{"PlacesSelect Places"}));
  EXPECT_TRUE(PumpUntil([&] { return platform::win::QueueIdle(); }, 20000));
  desktoptest::Screenshot shot;
  ASSERT_TRUE(desktoptest::Capture(shot, &error)) << error;
  EXPECT_EQ(desktoptest::Differing(shot, r, expected), 0);

  EXPECT_TRUE(desktoptest::StopFormsOnDesktop(folder));
  platform::AddLayer("unicode", nullptr, nullptr);
}

}  // namespace
