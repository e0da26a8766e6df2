// The skin demo's form on the desktop backend under Xvfb: xdotool moves over a picture button (the
// X screen shows its hot frame), clicks it, drags a track bar's thumb and types into the integer
// edit; the form's handlers see each step, and the X screen then equals the headless form given
// the same input.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <string>

#include "DesktopForms.h"
#include "DesktopSession.h"
#include "TSkinDemo.h"
#include "platform/backend/HeadlessDriver.h"
#include "platform/backend/gtk/GtkBackend.h"
#include "platform/forms/PlatformStartup.h"
#include "platform/forms/TApplication.h"

namespace {

using desktoptest::PumpUntil;
using platform::headless::CaptureImage;
using platform::headless::Driver;

// The points the input goes to, in the form's client coordinates.
struct Points {
  POINT button, thumb, dragged, edit, done;
};

Points PointsOf(TSkinDemo* form) {
  Points p{};
  p.button = {form->PictureButton->Left() + 20, form->PictureButton->Top() + 14};
  const RECT thumb = form->Track1->ThumbRect();
  p.thumb = {form->Track1->Left() + (thumb.left + thumb.right) / 2,
             form->Track1->Top() + (thumb.top + thumb.bottom) / 2};
  p.dragged = {p.thumb.x + 40, p.thumb.y};
  p.edit = {form->IntEdit->Left() + 30, form->IntEdit->Top() + 11};
  // Last, a click on a button takes the focus from the edit, so no caret blinks in the capture.
  auto* normal = dynamic_cast<TControl*>(form->FindComponent("NormalButton"));
  p.done = {normal->Left() + 20, normal->Top() + 14};
  return p;
}

// The form headless: at rest with the pointer over the picture button, and after the whole input.
struct Expected {
  CaptureImage hot, after;
  std::string status, typed;
};

Expected HeadlessDemo() {
  Expected e;
  platform::Startup();
  RegisterSkinDemo();
  TSkinDemo* form = nullptr;
  Application->CreateForm(form);
  form->Show();
  auto& d = Driver();
  d.RunUntilIdle();
  const Points p = PointsOf(form);
  auto at = [&](POINT c) { return d.ClientPoint(form->Handle(), c.x, c.y); };
  d.MoveMouse(at(p.button));
  d.RunUntilIdle();
  e.hot = d.Capture(form->Handle());
  d.Click(at(p.button));
  d.RunUntilIdle();
  d.Press(0, at(p.thumb));
  d.MoveMouse(at(p.dragged));
  d.Release(0, at(p.dragged));
  d.RunUntilIdle();
  e.status = form->Status->Caption().ToStd();
  d.Click(at(p.edit));
  d.RunUntilIdle();
  d.Type(u"a-1x2");
  d.RunUntilIdle();
  e.typed = form->IntEdit->Text().ToStd();
  d.Click(at(p.done));
  d.RunUntilIdle();
  e.after = d.Capture(form->Handle());
  platform::Shutdown();
  return e;
}

TEST(SkinDemoOnTheDesktop, HotFrameClickDragAndTypingMatchTheHeadlessForm) {
  const Expected expected = HeadlessDemo();
  ASSERT_GT(expected.hot.width, 0);
  EXPECT_EQ(expected.typed, "-12");

  std::string error;
  ASSERT_TRUE(desktoptest::EnsureDisplay(&error)) << error;
  const std::string folder = desktoptest::StartFormsOnDesktop();
  ASSERT_FALSE(folder.empty());
  RegisterSkinDemo();
  TSkinDemo* form = nullptr;
  Application->CreateForm(form);
  form->Show();
  const HWND hwnd = form->Handle();
  RECT r{};
  GetWindowRect(hwnd, &r);
  ASSERT_EQ(r.right - r.left, expected.hot.width);
  ASSERT_EQ(r.bottom - r.top, expected.hot.height);
  EXPECT_TRUE(PumpUntil(
      [&] { return platform::desktop::DesktopDraws(hwnd) > 0 && platform::win::QueueIdle(); }, 20000));
  const Points p = PointsOf(form);
  auto x = [&](POINT c) { return std::to_string(r.left + c.x); };
  auto y = [&](POINT c) { return std::to_string(r.top + c.y); };

  // Over the picture button: the X screen shows its hot frame.
  EXPECT_EQ(desktoptest::Run({"xdotool", "mousemove", x(p.button), y(p.button)}, 20000), 0);
  EXPECT_TRUE(PumpUntil([&] { return platform::win::QueueIdle(); }, 20000));
  desktoptest::Pump(300);
  desktoptest::Screenshot shot;
  ASSERT_TRUE(desktoptest::Capture(shot, &error)) << error;
  const int bx = form->PictureButton->Left() + 10, by = form->PictureButton->Top() + 20;
  EXPECT_NE(expected.hot.At(bx, by), expected.after.At(bx, by));  // the hot frame is not the normal one
  EXPECT_EQ(shot.At(r.left + bx, r.top + by), expected.hot.At(bx, by));
  EXPECT_EQ(desktoptest::Differing(shot, r, expected.hot), 0);

  // A click on it, then a drag of the first bar's thumb.
  EXPECT_EQ(desktoptest::Run({"xdotool", "click", "1"}, 20000), 0);
  EXPECT_TRUE(PumpUntil([&] { return form->Status->Caption() == "Click: PictureButton"; }, 20000))
      << form->Status->Caption().c_str();
  EXPECT_EQ(desktoptest::Run({"xdotool", "mousemove", x(p.thumb), y(p.thumb), "mousedown", "1", "mousemove",
                              x(p.dragged), y(p.dragged), "mouseup", "1"},
                             20000),
            0);
  EXPECT_TRUE(PumpUntil([&] { return form->Status->Caption().ToStd() == expected.status; }, 20000))
      << form->Status->Caption().c_str() << " against " << expected.status;

  // Typing into the integer edit keeps what its type allows.
  EXPECT_EQ(desktoptest::Run({"xdotool", "mousemove", x(p.edit), y(p.edit), "click", "1", "type", "--delay",
                              "40", "a-1x2"},
                             20000),
            0);
  EXPECT_TRUE(PumpUntil([&] { return form->IntEdit->Text() == "-12"; }, 20000))
      << form->IntEdit->Text().c_str();
  EXPECT_EQ(desktoptest::Run({"xdotool", "mousemove", x(p.done), y(p.done), "click", "1"}, 20000), 0);
  EXPECT_TRUE(PumpUntil([&] { return form->Status->Caption() == "Click: NormalButton"; }, 20000));
  EXPECT_TRUE(PumpUntil([&] { return platform::win::QueueIdle(); }, 20000));
  desktoptest::Pump(300);
  ASSERT_TRUE(desktoptest::Capture(shot, &error)) << error;
  EXPECT_EQ(desktoptest::Differing(shot, r, expected.after), 0);

  EXPECT_TRUE(desktoptest::StopFormsOnDesktop(folder));
}

}  // namespace
