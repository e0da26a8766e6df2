// The screen and the mouse: the fixed desktop answers, the form list and the active form and
// control, the cursor each control shows and the screen-wide cursor that overrides them, and
// the enter and leave notices as the pointer moves across nested windowed and windowless
// controls (also while a control holds the mouse, and off every window).
#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "tests/forms/ShellFixture.h"

namespace shelltest {
namespace {

using ScreenTest = ShellTest;

TEST_F(ScreenTest, AnswersTheFixedDesktopAndFollowsFormsAndActivation) {
  EXPECT_EQ(Screen->PixelsPerInch(), 96);
  EXPECT_EQ(Screen->Width(), 1280);
  EXPECT_EQ(Screen->Height(), 800);
  EXPECT_EQ(Screen->MonitorCount(), 1);
  RECT desktop = Screen->DesktopRect(), work = Screen->WorkAreaRect(),
       monitor = Screen->Monitors(0)->BoundsRect();
  EXPECT_TRUE(EqualRect(&desktop, &work));
  EXPECT_TRUE(EqualRect(&desktop, &monitor));
  EXPECT_THROW(Screen->Monitors(1), EListError);
  EXPECT_GE(Screen->Fonts()->Count(), 1);

  TForm* first = NewForm(10, 10, 100, 100);
  TForm* second = NewForm(300, 10, 100, 100);
  ASSERT_EQ(Screen->FormCount(), 2);
  EXPECT_EQ(Screen->Forms(0), first);
  EXPECT_EQ(Screen->Forms(1), second);
  EXPECT_EQ(Screen->ActiveForm(), second);  // the last shown is active

  auto* sheet = Child<TSheet>(first, "Sheet", 10, 10, 50, 50, clBlue);
  sheet->SetFocus();
  Driver().RunUntilIdle();
  EXPECT_EQ(Screen->ActiveForm(), first);
  EXPECT_EQ(Screen->ActiveControl(), sheet);

  delete second;
  ASSERT_EQ(Screen->FormCount(), 1);
  EXPECT_EQ(Screen->Forms(0), first);
}

TEST_F(ScreenTest, EachControlShowsItsCursorUntilTheScreenCursorOverridesThemAll) {
  TForm* form = NewForm(100, 100, 200, 150);
  auto* hand = Child<TSheet>(form, "Hand", 10, 10, 60, 60, clBlue);
  hand->SetCursor(crHandPoint);
  auto* cross = Child<TBox>(form, "Cross", 100, 10, 40, 40, clRed);
  cross->SetCursor(crCross);
  // A program cursor under a positive id; an id nobody set shows the default arrow.
  HCURSOR mine = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_SIZEALL));
  Screen->SetCursors(1, mine);
  auto* custom = Child<TBox>(form, "Custom", 10, 100, 40, 40, clGreen);
  custom->SetCursor(1);
  auto* unknown = Child<TBox>(form, "Unknown", 100, 100, 40, 40, clGreen);
  unknown->SetCursor(7);
  Driver().RunUntilIdle();

  HCURSOR arrow = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  EXPECT_EQ(Screen->Cursors(crHandPoint), LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_HAND)));
  EXPECT_EQ(Screen->Cursors(crDefault), arrow);
  EXPECT_EQ(Screen->Cursors(7), arrow);

  struct Case {
    POINT where;
    HCURSOR shown;
  };
  const Case cases[] = {
      {At(hand, 5, 5), Screen->Cursors(crHandPoint)},  // a windowed control
      {At(cross, 5, 5), Screen->Cursors(crCross)},     // a windowless one, through its parent
      {At(custom, 5, 5), mine},
      {At(unknown, 5, 5), arrow},
      {At(form, 180, 140), arrow},  // the form itself: its class cursor
  };
  for (const Case& c : cases) {
    MoveTo(c.where);
    EXPECT_EQ(GetCursor(), c.shown) << c.where.x << "," << c.where.y;
  }

  // The screen's cursor shows at once and over every control until it is reset.
  MoveTo(At(hand, 5, 5));
  Screen->SetCursor(crHourGlass);
  HCURSOR wait = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT));
  EXPECT_EQ(GetCursor(), wait);
  for (const Case& c : cases) {
    MoveTo(c.where);
    EXPECT_EQ(GetCursor(), wait);
  }
  MoveTo(At(cross, 5, 5));
  Screen->SetCursor(crDefault);
  EXPECT_EQ(GetCursor(), Screen->Cursors(crCross));  // at once, without a move
}

// Logs enter and leave events, and what the form hears passed on from its children.
class EnterLeaveTest : public ShellTest {
 protected:
  void Watch(TControl* c) {
    c->OnMouseEnter = [this](TObject* s) {
      log.push_back("enter " + static_cast<TComponent*>(s)->Name().ToStd());
    };
    c->OnMouseLeave = [this](TObject* s) {
      log.push_back("leave " + static_cast<TComponent*>(s)->Name().ToStd());
    };
  }
  struct Spy {
    TWndMethodValue saved;
    std::vector<std::pair<UINT, LPARAM>> seen;
    void Proc(TMessage& m) {
      if (m.Msg == CM_MOUSEENTER || m.Msg == CM_MOUSELEAVE) seen.emplace_back(m.Msg, m.LParam);
      saved(m);
    }
  };
  std::vector<std::string> log;
};

TEST_F(EnterLeaveTest, ThePointerMovingAcrossNestedControlsEntersAndLeavesEachInTurn) {
  TForm* form = NewForm(100, 100, 300, 200);
  form->SetName("Form");
  auto* panel = Child<TSheet>(form, "Panel", 10, 10, 150, 150, clBlue);
  auto* image = Child<TBox>(panel, "Image", 10, 10, 40, 40, clRed);
  auto* button = Child<TSheet>(panel, "Button", 80, 10, 40, 40, clGreen);
  auto* box = Child<TBox>(form, "Box", 200, 10, 40, 40, clYellow);
  for (TControl* c : std::vector<TControl*>{form, panel, image, button, box}) Watch(c);
  Spy spy;
  spy.saved = form->WindowProc;
  form->WindowProc = TWndMethodValue::Of<Spy, &Spy::Proc>(&spy);
  Driver().RunUntilIdle();

  MoveTo(POINT{50, 50});  // on no window of ours
  EXPECT_TRUE(log.empty());
  MoveTo(At(form, 250, 150));
  MoveTo(At(panel, 5, 5));
  MoveTo(At(image, 5, 5));
  MoveTo(At(button, 5, 5));
  MoveTo(At(panel, 140, 140));
  MoveTo(At(box, 5, 5));
  MoveTo(POINT{1000, 700});  // off every window: leaving counts
  EXPECT_EQ(log, (std::vector<std::string>{"enter Form", "leave Form", "enter Panel", "leave Panel",
                                           "enter Image", "leave Image", "enter Button", "leave Button",
                                           "enter Panel", "leave Panel", "enter Box", "leave Box"}));
  EXPECT_EQ(Application->MouseControl(), nullptr);

  // The form heard every notice of its nested controls with the control as lParam.
  auto heard = [&](UINT msg, TControl* c) {
    return std::count(spy.seen.begin(), spy.seen.end(), std::make_pair(msg, reinterpret_cast<LPARAM>(c)));
  };
  EXPECT_EQ(heard(CM_MOUSEENTER, image), 1);
  EXPECT_EQ(heard(CM_MOUSELEAVE, image), 1);
  EXPECT_EQ(heard(CM_MOUSEENTER, button), 1);
  EXPECT_EQ(heard(CM_MOUSEENTER, box), 1);
  EXPECT_EQ(heard(CM_MOUSEENTER, form), 1);
  form->WindowProc = spy.saved;
}

TEST_F(EnterLeaveTest, WhileAControlHoldsTheMouseOnlyItHearsAndOthersHearOnceItLetsGo) {
  TForm* form = NewForm(100, 100, 300, 200);
  form->SetName("Form");
  auto* button = Child<TSheet>(form, "Button", 10, 10, 40, 40, clGreen);
  auto* box = Child<TBox>(form, "Box", 200, 10, 40, 40, clYellow);
  Watch(button);
  Watch(box);
  Driver().RunUntilIdle();

  MoveTo(At(button, 5, 5));
  Driver().Press(0, At(button, 5, 5));
  Driver().RunUntilIdle();
  ASSERT_TRUE(button->MouseCapture());
  MoveTo(At(box, 5, 5));     // dragged out: the holder leaves, the box hears nothing
  MoveTo(At(button, 6, 6));  // and back in
  MoveTo(At(box, 6, 6));
  Driver().Release(0, At(box, 6, 6));
  Driver().RunUntilIdle();
  MoveTo(At(box, 7, 7));  // let go over the box: now it is entered
  EXPECT_EQ(log, (std::vector<std::string>{"enter Button", "leave Button", "enter Button", "leave Button",
                                           "enter Box"}));

  // A control freed under the pointer is forgotten, not told.
  delete box;
  MoveTo(At(form, 150, 150));
  EXPECT_EQ(Application->MouseControl(), form);
}

}  // namespace
}  // namespace shelltest
