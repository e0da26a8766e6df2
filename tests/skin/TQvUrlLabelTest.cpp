// The link label: its look, the colour under the mouse and what a click opens.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>

#include "controls/TQvUrlLabel.h"
#include "platform/backend/HeadlessDriver.h"
#include "platform/forms/FormMessages.h"
#include "platform/forms/PlatformStartup.h"
#include "platform/forms/TApplication.h"
#include "platform/forms/TForm.h"
#include "support/TempDir.h"

namespace {

TEST(UrlLabel, LooksLikeALinkAndOpensItsTarget) {
  platform::Startup();
  RegisterUrlLabel();
  auto* form = new TForm(Application);
  auto* link = new TQvUrlLabel(form);
  link->SetParent(form);
  link->SetCaption("Help");
  EXPECT_EQ(link->Cursor(), crHandPoint);
  EXPECT_TRUE(link->Transparent());
  EXPECT_TRUE(link->Font()->Style() & (1u << fsUnderline));
  EXPECT_EQ(link->Font()->Color(), clBlue);
  link->Perform(CM_MOUSEENTER, 0, 0);
  EXPECT_EQ(link->Font()->Color(), clRed);
  link->Perform(CM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(link->Font()->Color(), clBlue);
  // The pointer itself: over the label the colours swap, off it they swap back.
  using platform::headless::Driver;
  form->SetBounds(0, 0, 200, 100);
  link->SetBounds(10, 10, 60, 20);
  form->Show();
  Driver().RunUntilIdle();
  Driver().MoveMouse(Driver().ClientPoint(form->Handle(), 20, 15));
  Driver().RunUntilIdle();
  EXPECT_EQ(link->Font()->Color(), clRed);
  Driver().MoveMouse(Driver().ClientPoint(form->Handle(), 150, 80));
  Driver().RunUntilIdle();
  EXPECT_EQ(link->Font()->Color(), clBlue);

  // The desktop's opener is a stand-in that writes down what it was given.
  testsupport::TempDir dir;
  const std::string log = dir.file("opened.txt");
  const std::string opener = dir.write("xdg-open", "#!/bin/sh\necho \"$#|$1\" > '" + log + "'\n");
  chmod(opener.c_str(), 0755);
  const std::string oldPath = std::getenv("PATH") ? std::getenv("PATH") : "";
  setenv("PATH", (dir.path() + ":" + oldPath).c_str(), 1);
  int clicks = 0;
  link->OnClick = [&](TObject*) { ++clicks; };
  link->Click();  // no target: only the event
  EXPECT_EQ(clicks, 1);
  // Spaces, a semicolon and a shell expansion are one argument, passed as they stand.
  link->SetURLString("https://example.org/a b;$(x)");
  link->Click();
  EXPECT_EQ(clicks, 2);
  std::string opened;
  for (int i = 0; i < 200 && opened.empty(); ++i) {
    std::ifstream in(log);
    std::getline(in, opened);
    if (opened.empty()) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  setenv("PATH", oldPath.c_str(), 1);
  EXPECT_EQ(opened, "1|https://example.org/a b;$(x)");
  delete form;
  platform::Shutdown();
}

}  // namespace
