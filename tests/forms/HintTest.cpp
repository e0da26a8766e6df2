// Hints: the short hint shows after a rest over a control with hints on and hides after the
// hide pause, on a press, or when the pointer leaves the area the control named; the control
// shapes its hint through CM_HINTSHOW (text, area, window class, refusal) and its pause through
// CM_HINTSHOWPAUSE; the long hint becomes the application's hint; ShowHint follows the parent.
#include <string>
#include <vector>

#include "platform/forms/TCustomAction.h"
#include "tests/forms/ShellFixture.h"

namespace shelltest {
namespace {

// A control that shows one hint per half of its width, as the slide strip does per cell.
class TStrip : public TBox {
 public:
  explicit TStrip(TComponent* owner) : TBox(owner) {}
  THintWindowClass windowClass;
  int pauses = 0;
  void Dispatch(void* message) override {
    auto& m = *static_cast<TMessage*>(message);
    if (m.Msg == CM_HINTSHOW) {
      auto* info = reinterpret_cast<THintInfo*>(m.LParam);
      EXPECT_EQ(info->HintControl, this);
      bool left = info->CursorPos.x < Width() / 2;
      if (info->CursorPos.y >= Height() / 2) {
        m.Result = 1;  // no hint in the lower half
        return;
      }
      info->HintStr = left ? "Left area" : "Right area";
      info->CursorRect =
          left ? RECT{0, 0, Width() / 2, Height() / 2} : RECT{Width() / 2, 0, Width(), Height() / 2};
      if (windowClass) info->HintWindowClass = windowClass;
      m.Result = 0;
      return;
    }
    if (m.Msg == CM_HINTSHOWPAUSE) {
      ++pauses;
      *reinterpret_cast<int*>(m.LParam) = 100;
      return;
    }
    TBox::Dispatch(message);
  }
};

class TOtherHintWindow : public THintWindow {
 public:
  explicit TOtherHintWindow(TComponent* owner) : THintWindow(owner) {}
};

class HintTest : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    Driver().UseFixedMetricFont(6, 13);
  }
  void TearDown() override {
    Driver().UseFixedMetricFont(0, 0);
    ShellTest::TearDown();
  }
  bool HintShown() {
    THintWindow* w = Application->HintWindow();
    return w && w->HandleAllocated() && IsWindowVisible(w->Handle());
  }
  std::string HintText() {
    return HintShown() ? Application->HintWindow()->Caption().ToStd() : std::string();
  }
};

TEST_F(HintTest, TheShortHintShowsAfterThePauseAndGoesAfterTheHidePauseOrAPress) {
  TForm* form = NewForm(100, 100, 300, 200);
  auto* box = Child<TBox>(form, "Box", 10, 10, 50, 30, clRed);
  box->SetHint("Short|The long story");
  box->SetShowHint(true);
  auto* plain = Child<TBox>(form, "Plain", 100, 10, 50, 30, clBlue);
  Driver().RunUntilIdle();
  HWND active = GetActiveWindow();

  MoveTo(At(box, 5, 5));
  EXPECT_EQ(Application->Hint(), "The long story");  // the long hint, at once
  Driver().Advance(499);
  EXPECT_FALSE(HintShown());
  Driver().Advance(1);
  ASSERT_TRUE(HintShown());
  EXPECT_EQ(HintText(), "Short");
  THintWindow* window = Application->HintWindow();
  RECT r{};
  GetWindowRect(window->Handle(), &r);
  // Below the pointer by the cursor's height; text 5 x 6 wide and 13 high plus the margins.
  EXPECT_EQ(r.left, 115);
  EXPECT_EQ(r.top, 115 + GetSystemMetrics(SM_CYCURSOR));
  EXPECT_EQ(r.right - r.left, 5 * 6 + 6);
  EXPECT_EQ(r.bottom - r.top, 13 + 2 + 4);
  EXPECT_TRUE(GetWindowLongA(window->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_EQ(GetActiveWindow(), active);  // it never takes activation
  platform::headless::CaptureImage shot = Driver().Capture(window->Handle());
  auto raw = [](TColor c) {
    COLORREF v = ColorToRGB(c);
    return (uint32_t(GetRValue(v)) << 16) | (uint32_t(GetGValue(v)) << 8) | GetBValue(v);
  };
  EXPECT_EQ(shot.At(0, 0), raw(clWindowFrame));  // the one-pixel frame
  EXPECT_EQ(shot.At(1, 1), raw(clInfoBk));

  // Moving inside the control keeps it; it goes after the hide pause.
  MoveTo(At(box, 20, 10));
  Driver().Advance(2499);
  EXPECT_TRUE(HintShown());
  Driver().Advance(1);
  EXPECT_FALSE(HintShown());

  // After a rest it comes back; a press ends it at once.
  MoveTo(At(box, 21, 10));
  Driver().Advance(500);
  ASSERT_TRUE(HintShown());
  Driver().Press(0, At(box, 21, 10));
  Driver().RunUntilIdle();
  EXPECT_FALSE(HintShown());
  Driver().Release(0, At(box, 21, 10));

  // A control without hints shows none, and the application hint follows the pointer.
  MoveTo(At(plain, 5, 5));
  Driver().Advance(3000);
  EXPECT_FALSE(HintShown());
  EXPECT_EQ(Application->Hint(), "");

  // With hints off for the whole program nothing shows.
  Application->SetShowHint(false);
  MoveTo(At(box, 6, 6));
  Driver().Advance(3000);
  EXPECT_FALSE(HintShown());
}

TEST_F(HintTest, TheControlShapesItsHintAndANewAreaShowsSooner) {
  TForm* form = NewForm(100, 100, 300, 200);
  auto* strip = Child<TStrip>(form, "Strip", 10, 10, 200, 100, clWhite);
  strip->SetHint("Strip");
  strip->SetShowHint(true);
  Driver().RunUntilIdle();

  MoveTo(At(strip, 10, 10));
  EXPECT_EQ(strip->pauses, 1);
  Driver().Advance(99);  // the control asked for 100 ms
  EXPECT_FALSE(HintShown());
  Driver().Advance(1);
  EXPECT_EQ(HintText(), "Left area");

  // Leaving the area the control named hides it; the next area follows after the short pause
  // (here the control's 100 ms again).
  MoveTo(At(strip, 150, 10));
  EXPECT_FALSE(HintShown());
  EXPECT_EQ(strip->pauses, 2);
  Driver().Advance(100);
  EXPECT_EQ(HintText(), "Right area");

  // An answer of non-zero refuses the hint.
  MoveTo(At(strip, 150, 80));
  Driver().Advance(1000);
  EXPECT_FALSE(HintShown());

  // The control may ask for another window class, made once and then reused.
  strip->windowClass = THintWindowClass::Of<TOtherHintWindow>();
  EXPECT_TRUE(strip->windowClass.InheritsFrom<THintWindow>());
  EXPECT_FALSE(THintWindowClass::Of<THintWindow>().InheritsFrom<TOtherHintWindow>());
  MoveTo(At(strip, 10, 10));
  Driver().Advance(100);
  ASSERT_TRUE(HintShown());
  THintWindow* first = Application->HintWindow();
  EXPECT_EQ(first->ClassType(), &typeid(TOtherHintWindow));
  MoveTo(At(strip, 150, 10));
  Driver().Advance(100);
  EXPECT_EQ(Application->HintWindow(), first);
  EXPECT_EQ(HintText(), "Right area");
}

TEST_F(HintTest, TheGlobalHintWindowClassAndActionShortcutsShapeEveryHint) {
  TForm* form = NewForm(100, 100, 300, 200);
  auto* box = Child<TBox>(form, "Box", 10, 10, 100, 30, clRed);
  auto* save = new TAction(form);
  save->SetHint("Save|Saves the message");
  save->SetShortCut(scCtrl | 'S');
  box->SetAction(save);
  box->SetShowHint(true);
  HintWindowClass = THintWindowClass::Of<TOtherHintWindow>();
  Driver().RunUntilIdle();

  MoveTo(At(box, 5, 5));
  Driver().Advance(500);
  ASSERT_TRUE(HintShown());
  EXPECT_EQ(HintText(), "Save (Ctrl+S)");
  EXPECT_EQ(Application->HintWindow()->ClassType(), &typeid(TOtherHintWindow));
  EXPECT_EQ(Application->Hint(), "Saves the message");

  Application->CancelHint();
  Application->HintShortCuts = false;
  MoveTo(At(box, 6, 6));
  Driver().Advance(500);
  EXPECT_EQ(HintText(), "Save");
}

// At shut-down the hint window is cancelled and freed before the forms, so a form going away can
// still hide the hint without reaching a freed window.
TEST_F(HintTest, TheHintWindowGoesBeforeTheFormsAtShutDown) {
  static THintWindow* seenAtShutDown;
  struct TRecordingForm : public TForm {
    explicit TRecordingForm(TComponent* owner) : TForm(owner) {}
    ~TRecordingForm() override {
      seenAtShutDown = Application ? Application->HintWindow() : nullptr;
      if (Application) Application->CancelHint();
    }
  };
  seenAtShutDown = reinterpret_cast<THintWindow*>(1);
  auto* form = NewForm<TRecordingForm>(100, 100, 300, 200);
  auto* box = Child<TBox>(form, "Box", 10, 10, 100, 30, clRed);
  box->SetHint("Hint");
  box->SetShowHint(true);
  MoveTo(At(box, 5, 5));
  Driver().Advance(500);
  ASSERT_TRUE(HintShown());
  FormsShutdown();
  EXPECT_EQ(seenAtShutDown, nullptr) << "the form saw a hint window that was already freed";
}

TEST_F(HintTest, ShortAndLongHintsSplitAtTheFirstBarAndHintsComeFromTheParents) {
  struct Case {
    const char* hint;
    const char* shortHint;
    const char* longHint;
  };
  const Case cases[] = {
      {"Open|Opens a message", "Open", "Opens a message"},
      {"Whole", "Whole", "Whole"},
      {"|Only long", "", "Only long"},
      {"Only short|", "Only short", ""},
      {"|", "", ""},
      {"a|b|c", "a", "b|c"},
      {"", "", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(GetShortHint(c.hint), c.shortHint) << c.hint;
    EXPECT_EQ(GetLongHint(c.hint), c.longHint) << c.hint;
  }

  TForm* form = NewForm(100, 100, 300, 200);
  auto* panel = Child<TSheet>(form, "Panel", 10, 10, 200, 150, clBlue);
  auto* inner = Child<TBox>(panel, "Inner", 10, 10, 50, 50, clRed);
  auto* own = Child<TBox>(panel, "Own", 100, 10, 50, 50, clRed);
  own->SetParentShowHint(false);  // its own choice: the parent's changes pass it by
  panel->SetHint("Panel|About the panel");
  form->SetShowHint(true);
  EXPECT_TRUE(panel->ShowHint());
  EXPECT_TRUE(inner->ShowHint());
  EXPECT_FALSE(own->ShowHint());
  EXPECT_EQ(GetHint(inner), "Panel|About the panel");

  // Over a control without a hint of its own its parent's shows.
  Driver().RunUntilIdle();
  MoveTo(At(inner, 5, 5));
  Driver().Advance(500);
  EXPECT_EQ(HintText(), "Panel");
  EXPECT_EQ(Application->Hint(), "About the panel");

  form->SetShowHint(false);
  EXPECT_FALSE(inner->ShowHint());
  own->SetParentShowHint(true);
  EXPECT_FALSE(own->ShowHint());
  form->SetShowHint(true);
  EXPECT_TRUE(own->ShowHint());

  // A new child takes its parent's setting.
  auto* late = Child<TBox>(panel, "Late", 10, 100, 20, 20, clRed);
  EXPECT_TRUE(late->ShowHint());
}

}  // namespace
}  // namespace shelltest
