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

  // The headless backend writes down the programs it would start instead of starting them.
  int clicks = 0;
  link->OnClick = [&](TObject*) { ++clicks; };
  const size_t before = Driver().ProgramStarts().size();
  link->Click();  // no target: only the event
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(Driver().ProgramStarts().size(), before);
  // Spaces, a semicolon and a shell expansion are one argument, passed as they stand.
  link->SetURLString("https://example.org/a b;$(x)");
  link->Click();
  EXPECT_EQ(clicks, 2);
  ASSERT_EQ(Driver().ProgramStarts().size(), before + 1);
  const std::vector<std::string> expected{"xdg-open", "https://example.org/a b;$(x)"};
  EXPECT_EQ(Driver().ProgramStarts().back().argv, expected);
  delete form;
  platform::Shutdown();
}

}  // namespace
