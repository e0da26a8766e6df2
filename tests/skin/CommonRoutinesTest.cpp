// The control library's text routines, boxes and the shared blink timer.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "Sheet.h"
#include "controls/BoxDrawing.h"
#include "controls/ColorArithmetic.h"
#include "controls/SkTextRoutines.h"
#include "controls/TSkBlinkingControlsList.h"
#include "controls/TThemeServices.h"
#include "controls/XPColors.h"
#include "platform/backend/HeadlessDriver.h"
#include "platform/forms/PlatformStartup.h"
#include "platform/forms/TBitmap.h"
#include "platform/forms/TGraphicControl.h"

namespace {

TEST(SkTextRoutines, StringsAndNames) {
  EXPECT_EQ(LastChar("abc"), 'c');
  EXPECT_EQ(LastChar(""), '\0');
  EXPECT_EQ(CountChar("a,b,,c", ','), 3);
  EXPECT_EQ(CopyEx("one,two,three", 1, ',', 2), "one,two");
  EXPECT_EQ(CopyEx("one,two,three", 5, ',', 1), "two");
  EXPECT_EQ(CopyEx("one,two", 5, ',', 3), "two");
  EXPECT_EQ(CopyEx("x", 3, ',', 1), "");
  EXPECT_EQ(RemoveChar("a-b-c", '-'), "ab-c");
  EXPECT_EQ(RemovePrefixChars("&Save && &Quit"), "Save & Quit");
  setenv("SK_TEST_HOME", "/home/sk", 1);
  EXPECT_EQ(ExpandEnvironmentVariables("%SK_TEST_HOME%/skins"), "/home/sk/skins");
  EXPECT_EQ(ExpandEnvironmentVariables("%SK_NO_SUCH_NAME%/x"), "%SK_NO_SUCH_NAME%/x");
  EXPECT_EQ(ExpandEnvironmentVariables("50%"), "50%");
  EXPECT_EQ(CreateValidIdent("Button_1", "X"), "Button_1");
  EXPECT_EQ(CreateValidIdent("9 lives!", "X"), "lives");
  EXPECT_EQ(CreateValidIdent("123", "X"), "X");

  TComponent owner(nullptr);
  for (const char* name : {"Form1", "Form2"}) (new TComponent(&owner))->SetName(name);
  EXPECT_EQ(GetNewComponentName(&owner, "Form"), "Form3");
  EXPECT_EQ(GetNewComponentName(&owner, "Form", true), "Form");
  EXPECT_EQ(GetNewComponentName(&owner, "Panel"), "Panel1");
  (new TComponent(&owner))->SetName("BASE1");
  EXPECT_EQ(GetNewComponentName(&owner, "base"), "base2");  // names compare without case
}

using skintest::Sheet;

TEST(BoxDrawing, BoxesCornersShadowsAndFocus) {
  const RECT c = CenterRect(RECT{0, 0, 11, 10}, 4, 3);
  EXPECT_EQ(c.left, 3);
  EXPECT_EQ(c.top, 3);
  EXPECT_EQ(c.right, 7);

  Sheet corners(10, 10);
  DrawBoxCorners(corners.bitmap.Canvas(), RECT{0, 0, 10, 10}, clRed, 3);
  EXPECT_EQ(corners.at(0, 0), ColorToRGB(clRed));
  EXPECT_EQ(corners.at(2, 0), ColorToRGB(clRed));
  EXPECT_EQ(corners.at(4, 0), ColorToRGB(clWhite));
  EXPECT_EQ(corners.at(9, 9), ColorToRGB(clRed));
  EXPECT_EQ(corners.at(9, 5), ColorToRGB(clWhite));

  Sheet rounded(10, 10);
  DrawRoundedFlatBorder(rounded.bitmap.Canvas(), RECT{0, 0, 10, 10}, clBlue, kAllSides);
  EXPECT_EQ(rounded.at(0, 0), ColorToRGB(clWhite));  // the corner is cut
  EXPECT_EQ(rounded.at(1, 0), ColorToRGB(clBlue));
  EXPECT_EQ(rounded.at(0, 1), ColorToRGB(clBlue));
  EXPECT_EQ(rounded.at(9, 9), ColorToRGB(clWhite));

  Sheet focus(6, 6);
  DrawFocusBorder(focus.bitmap.Canvas(), RECT{0, 0, 6, 6});
  EXPECT_EQ(focus.at(0, 0), 0u);
  EXPECT_EQ(focus.at(1, 0), 0xFFFFFFu);
  DrawFocusBorder(focus.bitmap.Canvas(), RECT{0, 0, 6, 6});
  EXPECT_EQ(focus.at(0, 0), 0xFFFFFFu);  // drawn twice: gone

  Sheet shadow(20, 20);
  DrawDropShadow(shadow.bitmap.Canvas(), RECT{0, 0, 10, 10}, 4, clBlack);
  const COLORREF nearest = shadow.at(10, 5), farthest = shadow.at(13, 5);
  EXPECT_LT(GetRValue(nearest), GetRValue(farthest));  // darkest next to the box
  EXPECT_LT(GetRValue(farthest), 255);
  Sheet flat(20, 20);
  DrawDropShadow(flat.bitmap.Canvas(), RECT{0, 0, 10, 10}, 0, clBlack);  // no depth: nothing drawn
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x) ASSERT_EQ(flat.at(x, y), 0xFFFFFFu) << x << "," << y;
  EXPECT_EQ(shadow.at(5, 5), 0xFFFFFFu);
}

// A control that blinks while it says so.
class TBlinker : public TGraphicControl {
 public:
  using TGraphicControl::TGraphicControl;
  bool blinking = true;
  std::vector<int> states;
  void Dispatch(void* message) override {
    auto& m = *static_cast<TMessage*>(message);
    if (m.Msg == CM_SKBLINKQUERY) {
      m.Result = blinking ? 1 : 0;
      return;
    }
    if (m.Msg == CM_SKBLINKSTATE) {
      states.push_back(static_cast<int>(m.WParam));
      return;
    }
    TGraphicControl::Dispatch(message);
  }
};

TEST(BlinkingControls, TheSharedTimerFlipsEveryHalfSecond) {
  platform::Startup();
  {
    TBlinker a(nullptr), b(nullptr);
    b.blinking = false;
    BlinkingControlsList()->Add(&a);
    BlinkingControlsList()->Add(&b);
    EXPECT_FALSE(FreeBlinkingControlsListIfEmpty());
    platform::headless::Driver().Advance(1500);
    EXPECT_EQ(a.states, (std::vector<int>{0, 1, 0}));
    EXPECT_TRUE(b.states.empty());
    BlinkingControlsList()->Remove(&a);
    BlinkingControlsList()->Remove(&b);
    EXPECT_TRUE(FreeBlinkingControlsListIfEmpty());
  }
  platform::Shutdown();
}

TEST(BlinkingControls, AFreedControlLeavesTheList) {
  platform::Startup();
  {
    TBlinker kept(nullptr);
    auto* freed = new TBlinker(nullptr);
    BlinkingControlsList()->Add(&kept);
    BlinkingControlsList()->Add(freed);
    EXPECT_EQ(BlinkingControlsList()->GetCount(), 2);
    delete freed;  // the next tick must not reach it
    EXPECT_EQ(BlinkingControlsList()->GetCount(), 1);
    platform::headless::Driver().Advance(600);
    EXPECT_EQ(kept.states, (std::vector<int>{0}));
    BlinkingControlsList()->Remove(&kept);
    EXPECT_TRUE(FreeBlinkingControlsListIfEmpty());
  }
  platform::Shutdown();
}

TEST(XPColors, WithoutThemesTheColoursComeFromTheSystemColours) {
  platform::Startup();
  EXPECT_EQ(GetXPColorScheme(), 0);  // no theme colour name: blue
  EXPECT_TRUE(IsFullColorSupported());
  EXPECT_EQ(GetXPThemeColor(xptcEditBorder), clBtnFace);
  // Office colours are asked for, but without themes the system's are used.
  const TSkSelectionColors s = GetGradientSelectionColors(gcsMSOffice);
  EXPECT_EQ(s.Frame, clHighlight);
  EXPECT_EQ(s.End, BlendColors(clHighlight, clWindow, 77));
  EXPECT_EQ(s.Start, LighterColor(s.End, 20));
  TColor start, end;
  GetGradientPanelColors(gcsSystem, start, end);
  EXPECT_EQ(start, clWindow);
  EXPECT_EQ(end, DarkerColor(clBtnFace, 10));
  EXPECT_EQ(GetGradientPanelFrameColor(gcsMSOffice), clBtnShadow);
  FreeThemeServices();
  platform::Shutdown();
}

}  // namespace
