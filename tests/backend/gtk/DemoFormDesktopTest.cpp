// The forms demo's form on the desktop backend under Xvfb: the X screen shows the pixels the
// headless backend draws for the same form, and clicks and typing from xdotool reach its
// handlers, after which the screen still matches the headless form given the same input.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <string>

#include "DesktopForms.h"
#include "DesktopSession.h"
#include "TFormsDemo.h"
#include "platform/backend/HeadlessDriver.h"
#include "platform/backend/gtk/GtkBackend.h"
#include "platform/forms/PlatformStartup.h"
#include "platform/forms/TApplication.h"

namespace {

using desktoptest::PumpUntil;

// The demo form headless, optionally after a click on the picture.
platform::headless::CaptureImage HeadlessDemo(bool clicked) {
  platform::Startup();
  RegisterFormsDemo();
  TFormsDemo* form = nullptr;
  Application->CreateForm(form);
  form->Show();
  platform::headless::Driver().RunUntilIdle();
  if (clicked) {
    platform::headless::Driver().Click(platform::headless::Driver().ClientPoint(form->Handle(), 20, 20));
    platform::headless::Driver().RunUntilIdle();
  }
  platform::headless::CaptureImage image = platform::headless::Driver().Capture(form->Handle());
  platform::Shutdown();
  return image;
}

TEST(DemoFormOnTheDesktop, ShowsTheHeadlessPixelsAndTakesClicksAndTyping) {
  const platform::headless::CaptureImage before = HeadlessDemo(false), after = HeadlessDemo(true);
  ASSERT_GT(before.width, 0);

  std::string error;
  ASSERT_TRUE(desktoptest::EnsureDisplay(&error)) << error;
  const std::string folder = desktoptest::StartFormsOnDesktop();
  ASSERT_FALSE(folder.empty());
  RegisterFormsDemo();
  TFormsDemo* form = nullptr;
  Application->CreateForm(form);
  form->Show();
  const HWND hwnd = form->Handle();
  RECT r{};
  GetWindowRect(hwnd, &r);
  ASSERT_EQ(r.right - r.left, before.width);
  ASSERT_EQ(r.bottom - r.top, before.height);
  EXPECT_TRUE(PumpUntil(
      [&] { return platform::desktop::DesktopDraws(hwnd) > 0 && platform::win::QueueIdle(); }, 10000));

  desktoptest::Screenshot shot;
  ASSERT_TRUE(desktoptest::Capture(shot, &error)) << error;
  EXPECT_EQ(desktoptest::Differing(shot, r, before), 0);

  // A click on the picture and two typed letters, from outside the program.
  const std::string x = std::to_string(r.left + 20), y = std::to_string(r.top + 20);
  EXPECT_EQ(
      desktoptest::Run({"xdotool", "mousemove", x, y, "click", "1", "type", "--delay", "30", "hi"}, 10000),
      0);
  EXPECT_TRUE(PumpUntil([&] { return form->Typed == "hi"; }, 20000)) << form->Typed;
  // The timer runs in real time here, so its first tick may come before or after the click.
  EXPECT_EQ(std::count(form->Events.begin(), form->Events.end(), "PictureClick Picture"), 1);
  EXPECT_TRUE(PumpUntil([&] { return platform::win::QueueIdle(); }, 20000));
  ASSERT_TRUE(desktoptest::Capture(shot, &error)) << error;
  EXPECT_EQ(desktoptest::Differing(shot, r, after), 0);

  // The endpoint's socket and lock go with the shut-down.
  EXPECT_TRUE(desktoptest::StopFormsOnDesktop(folder));
}

}  // namespace
