// The forms demo's form, built from its layout resource, on the headless backend: clicks and
// typed keys reach their handlers with their senders, the fake clock drives its timer, its
// pixels are what its layout says, and an exception leaving a handler reaches the application
// while the loop goes on.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TFormsDemo.h"
#include "platform/backend/HeadlessDriver.h"
#include "platform/forms/PlatformStartup.h"
#include "platform/forms/TApplication.h"
#include "platform/rtl/Program.h"
#include "platform/rtl/Resources.h"

namespace {

using platform::headless::Driver;

class FormsDemo : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::Startup();
    RegisterFormsDemo();
    Application->OnException = [this](TObject* sender, Exception* e) {
      auto* c = dynamic_cast<TComponent*>(sender);
      exceptions.push_back((c ? c->Name().ToStd() : std::string("?")) + ": " + e->Message.ToStd());
    };
    Application->CreateForm(form);
    form->Show();
    Driver().RunUntilIdle();
  }
  void TearDown() override { platform::Shutdown(); }

  POINT At(int x, int y) { return Driver().ClientPoint(form->Handle(), x, y); }

  TFormsDemo* form = nullptr;
  std::vector<std::string> exceptions;
};

TEST_F(FormsDemo, IsBuiltFromTheLayoutCompiledIntoTheProgram) {
  // The layout is a resource named after the form's class, not a text registered by code.
  EXPECT_NE(FindResourceA(HInstance, "TFormsDemo", RT_RCDATA), nullptr);
  ASSERT_NE(form->Picture, nullptr);
  ASSERT_NE(form->Ticker, nullptr);
  EXPECT_EQ(form->Caption(), "Forms demo");
  EXPECT_EQ(form->Width(), 360);
  EXPECT_EQ(form->Picture->Picture()->Width(), 16);
  EXPECT_EQ(form->Events, (std::vector<std::string>{"FormCreate FormsDemo"}));
}

TEST_F(FormsDemo, ThePictureIsDrawnStretchedAndAClickShowsItAtItsOwnSize) {
  // The 16 x 16 picture: red, green, blue and yellow quarters crossed by white diagonals,
  // stretched over the 64 x 64 box at (8, 8).
  platform::headless::CaptureImage image = Driver().Capture(form->Handle());
  ASSERT_EQ(image.width, 360);
  EXPECT_EQ(image.At(8 + 8, 8 + 24), 0xFF0000u);   // top left quarter
  EXPECT_EQ(image.At(8 + 56, 8 + 24), 0x008000u);  // top right
  EXPECT_EQ(image.At(8 + 8, 8 + 40), 0x0000FFu);   // bottom left
  EXPECT_EQ(image.At(8 + 56, 8 + 40), 0xFFFF00u);  // bottom right
  EXPECT_EQ(image.At(8 + 1, 8 + 1), 0xFFFFFFu);    // the diagonal
  const uint32_t face = image.At(200, 200);
  EXPECT_EQ(image.At(8 + 70, 8 + 8), face);  // the form around it

  Driver().Click(At(8 + 40, 8 + 20));
  Driver().RunUntilIdle();
  EXPECT_EQ(form->Events.back(), "PictureClick Picture");
  image = Driver().Capture(form->Handle());
  EXPECT_EQ(image.At(8 + 4, 8 + 2), 0xFF0000u);  // at its own size now
  EXPECT_EQ(image.At(8 + 40, 8 + 40), face);     // the rest of the box shows the form
}

TEST_F(FormsDemo, TypedKeysReachTheFormFirstAndTheFakeClockDrivesTheTimer) {
  Driver().Type(u"ab");
  Driver().RunUntilIdle();
  EXPECT_EQ(form->Typed, "ab");
  EXPECT_EQ(form->Events.back(), "FormKeyPress FormsDemo");

  EXPECT_EQ(form->Ticks, 0);
  Driver().Advance(499);
  EXPECT_EQ(form->Ticks, 0);
  Driver().Advance(1);
  EXPECT_EQ(form->Ticks, 1);
  EXPECT_EQ(form->Events.back(), "TickerTimer Ticker");
  Driver().Advance(1000);
  EXPECT_EQ(form->Ticks, 3);
}

TEST_F(FormsDemo, ItsShortcutRunsItsActionWithTheActionAsSenderAndTypesNothing) {
  Driver().Type(u"ab");
  Driver().Advance(500);
  Driver().Chord("Ctrl+R");
  Application->ProcessMessages();  // the application's loop is where shortcuts are looked for
  EXPECT_EQ(form->Events.back(), "ResetActionExecute ResetAction");
  EXPECT_EQ(form->Typed, "");  // the chord's character never reached the form
  EXPECT_EQ(form->Ticks, 0);
}

TEST_F(FormsDemo, ItsLabelPanelDockedFormAndScrollBarWork) {
  ASSERT_NE(form->Title, nullptr);
  ASSERT_NE(form->Dock, nullptr);
  ASSERT_NE(form->Slider, nullptr);
  // The second form lives inside the panel, fills it, and is drawn there.
  ASSERT_TRUE(form->Pane->HandleAllocated());
  EXPECT_EQ(GetParent(form->Pane->Handle()), form->Dock->Handle());
  EXPECT_EQ(form->Pane->Width(), form->Dock->Width() - 2);  // inside the panel's one-pixel bevel
  EXPECT_EQ(form->Pane->Height(), form->Dock->Height() - 2);
  const platform::headless::CaptureImage screen = Driver().Capture(form->Handle());
  EXPECT_EQ(screen.At(form->Dock->Left() + 60, form->Dock->Top() + 60), 0xFFFF00u);  // the pane's yellow
  // The label's text is drawn over the form's face.
  bool inked = false;
  for (int x = form->Title->Left(); x < form->Title->Left() + form->Title->Width(); ++x)
    for (int y = form->Title->Top(); y < form->Title->Top() + form->Title->Height(); ++y)
      inked |= screen.At(x, y) != screen.At(form->Title->Left() - 2, form->Title->Top());
  EXPECT_TRUE(inked);

  Driver().Click(At(form->Dock->Left() + 60, form->Dock->Top() + 60));
  Driver().RunUntilIdle();
  // The scroll bar's right arrow moves it one step.
  Driver().Click(At(form->Slider->Left() + form->Slider->Width() - 5, form->Slider->Top() + 8));
  Driver().RunUntilIdle();
  EXPECT_EQ(form->Slider->Position(), 1);
  const std::vector<std::string> tail(form->Events.end() - 2, form->Events.end());
  EXPECT_EQ(tail, (std::vector<std::string>{"PaneClick Pane", "SliderChange Slider"}));
}

TEST_F(FormsDemo, AnExceptionInAHandlerReachesTheApplicationAndTheLoopGoesOn) {
  Driver().Type(u"x!y");
  Driver().RunUntilIdle();
  EXPECT_EQ(exceptions, (std::vector<std::string>{"FormsDemo: The demo was asked to fail"}));
  EXPECT_EQ(form->Typed, "xy");  // the key after it was handled as usual
  Driver().Advance(500);
  EXPECT_EQ(form->Ticks, 1);
}

TEST_F(FormsDemo, EscapeClosesTheMainFormAndEndsTheApplication) {
  Driver().KeyDown(VK_ESCAPE);
  Driver().KeyUp(VK_ESCAPE);
  // The quit request ends the program's own loop.
  Application->Run();
  EXPECT_TRUE(Application->Terminated());
}

}  // namespace
