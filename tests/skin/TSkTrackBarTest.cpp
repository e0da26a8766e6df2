// The owner-drawn track bar: its range rules, keys, dragging, paging with auto-repeat on the
// fake clock, orientation and its pictures on the screen.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "FakeThemes.h"
#include "FormFixture.h"
#include "controls/TSkTrackBar.h"
#include "platform/backend/HeadlessDriver.h"
#include "platform/forms/ClassRegistry.h"
#include "platform/forms/PlatformStartup.h"
#include "platform/forms/TApplication.h"
#include "platform/forms/TForm.h"
#include "platform/forms/TReader.h"
#include "platform/rtl/Program.h"

namespace {

using platform::headless::Driver;

class TrackBarTest : public skintest::FormFixture {
 protected:
  void SetUp() override {
    FormFixture::SetUp();
    RegisterSkTrackBar();
    MakeForm(300, 200);
    bar = Place<TSkTrackBar>(form, 10, 10, 200, 35);
    bar->SetColor(clWhite);
    bar->OnChanging = [this](TObject*, int value, bool& allow) {
      changing.push_back(value);
      allow = allowChanges;
    };
    bar->OnChange = [this](TObject* sender) {
      EXPECT_EQ(sender, bar);
      changes.push_back(bar->Position());
    };
    ShowForm();
  }
  POINT Screen(int x, int y) { return Driver().ClientPoint(bar->Handle(), x, y); }

  TSkTrackBar* bar = nullptr;
  std::vector<int> changing, changes;
  bool allowChanges = true;
};

TEST_F(TrackBarTest, TheRangeAlwaysHoldsThePosition) {
  bar->SetMin(5);
  EXPECT_EQ(bar->Position(), 5);
  bar->SetMax(5);  // not above Min: one more
  EXPECT_EQ(bar->Max(), 6);
  bar->SetMax(10);
  bar->SetPosition(10);
  bar->SetMin(10);  // not below Max: one less
  EXPECT_EQ(bar->Min(), 9);
  bar->SetMax(9 + 1);
  EXPECT_EQ(changes, (std::vector<int>{5, 10}));

  // The compression dialog's bars: a request beyond the range still reports, with the kept value.
  bar->SetMin(1);
  bar->SetMax(100);
  bar->SetPosition(100);
  changing.clear();
  changes.clear();
  bar->SetPosition(150);
  EXPECT_EQ(bar->Position(), 100);
  EXPECT_EQ(changing, std::vector<int>{100});
  EXPECT_EQ(changes, std::vector<int>{100});
  bar->SetPosition(100);
  EXPECT_EQ(changes.size(), 1u);

  bar->SetTrackWidth(2);
  EXPECT_EQ(bar->TrackWidth(), 4);
}

TEST_F(TrackBarTest, KeysMoveByStepsPagesAndToTheEnds) {
  bar->SetMax(100);
  bar->SetPageSize(20);
  bar->SetPosition(50);
  struct Case {
    WORD key;
    int expected;
  } horizontal[] = {{VK_RIGHT, 51}, {VK_ADD, 52}, {VK_LEFT, 51}, {VK_SUBTRACT, 50}, {VK_PRIOR, 70},
                    {VK_NEXT, 50},  {VK_HOME, 0}, {VK_LEFT, 0},  {VK_END, 100},     {VK_UP, 100}};
  for (const Case& c : horizontal) {
    bar->Perform(WM_KEYDOWN, c.key, 0);
    EXPECT_EQ(bar->Position(), c.expected) << c.key;
  }
  // Taller than wide: vertical, and Home goes to the top, which is Max.
  bar->SetBounds(10, 10, 35, 150);
  EXPECT_EQ(bar->Orientation(), orVertical);
  bar->Perform(WM_KEYDOWN, VK_HOME, 0);
  EXPECT_EQ(bar->Position(), 100);
  bar->Perform(WM_KEYDOWN, VK_END, 0);
  EXPECT_EQ(bar->Position(), 0);

  allowChanges = false;
  bar->Perform(WM_KEYDOWN, VK_END + 1, 0);  // an unrelated key
  bar->Perform(WM_KEYDOWN, VK_UP, 0);
  EXPECT_EQ(bar->Position(), 0);
  EXPECT_EQ(bar->Perform(WM_GETDLGCODE, 0, 0), DLGC_WANTARROWS);
}

TEST_F(TrackBarTest, TurningVerticalSwapsTheThumbsSides) {
  RECT r = bar->ThumbRect();
  EXPECT_EQ(r.right - r.left, 11);
  EXPECT_EQ(r.bottom - r.top, 21);
  bar->SetBounds(10, 10, 35, 150);
  Driver().RunUntilIdle();
  r = bar->ThumbRect();
  EXPECT_EQ(r.right - r.left, 21);
  EXPECT_EQ(r.bottom - r.top, 11);
  // The minimum is at the bottom.
  EXPECT_EQ(r.bottom, 150 - 4);
}

TEST_F(TrackBarTest, HoldingTheMouseOnTheTrackPagesUntilTheThumbArrives) {
  // Range 181 pixels for 10 steps; the thumb at 5 lies under x = 100.
  const POINT held = Screen(100, 24);
  Driver().Press(0, held);
  Driver().RunUntilIdle();
  EXPECT_EQ(bar->Position(), 1);
  Driver().Advance(199);
  EXPECT_EQ(bar->Position(), 1);
  Driver().Advance(1);
  EXPECT_EQ(bar->Position(), 2);
  Driver().Advance(100);
  EXPECT_EQ(bar->Position(), 3);
  Driver().Advance(200);
  EXPECT_EQ(bar->Position(), 5);
  Driver().Advance(1000);
  EXPECT_EQ(bar->Position(), 5);
  Driver().Release(0, held);
  Driver().RunUntilIdle();
  EXPECT_EQ(changes, (std::vector<int>{1, 2, 3, 4, 5}));
}

TEST_F(TrackBarTest, DraggingTheThumbFollowsTheMouse) {
  RECT thumb = bar->ThumbRect();
  const int cx = (thumb.left + thumb.right) / 2, cy = (thumb.top + thumb.bottom) / 2;
  Driver().Press(0, Screen(cx, cy));
  Driver().MoveMouse(Screen(cx + 91, cy));  // half the track
  Driver().RunUntilIdle();
  EXPECT_EQ(bar->Position(), 5);
  Driver().MoveMouse(Screen(cx + 500, cy + 40));  // far outside: clamped
  Driver().RunUntilIdle();
  EXPECT_EQ(bar->Position(), 10);
  Driver().Release(0, Screen(cx + 500, cy + 40));
  Driver().RunUntilIdle();
  Driver().MoveMouse(Screen(cx, cy));
  Driver().RunUntilIdle();
  EXPECT_EQ(bar->Position(), 10);  // released: moving no longer drags

  allowChanges = false;
  thumb = bar->ThumbRect();
  const int tx = (thumb.left + thumb.right) / 2;
  Driver().Press(0, Screen(tx, cy));
  Driver().MoveMouse(Screen(tx - 100, cy));
  Driver().Release(0, Screen(tx - 100, cy));
  Driver().RunUntilIdle();
  EXPECT_EQ(bar->Position(), 10);
}

TEST_F(TrackBarTest, TheThumbIsDrawnThroughItsMaskInTheDesktopsColours) {
  bar->SetThumbStyle(tsBox);
  bar->SetPosition(5);
  Driver().RunUntilIdle();
  const RECT t = bar->ThumbRect();
  auto at = [&](int x, int y) {
    const platform::headless::CaptureImage image = Driver().Capture(bar->Handle());
    return image.At(x, y);
  };
  // The face is the key grey mapped to the button face; the grip stripe is the highlight colour.
  EXPECT_EQ(at(t.left + 3, t.top + 10), skintest::Rgb(clBtnFace));
  EXPECT_EQ(at(t.left + 5, t.top + 10), skintest::Rgb(clHighlight) + 0x010000);

  // The pointer's tip leaves the background showing beside it.
  bar->SetThumbStyle(tsPointer);
  Driver().RunUntilIdle();
  const RECT p = bar->ThumbRect();
  EXPECT_EQ(at(p.left, p.bottom - 1), 0xFFFFFFu);
  EXPECT_NE(at(p.left + 5, p.bottom - 2), 0xFFFFFFu);
}

TEST_F(TrackBarTest, TheMouseOverTheThumbLightsItUntilItLeaves) {
  std::vector<std::string> events;
  bar->OnMouseEnter = [&](TObject* sender) {
    EXPECT_EQ(sender, bar);
    events.push_back("enter");
  };
  bar->OnMouseLeave = [&](TObject*) { events.push_back("leave"); };
  const RECT t = bar->ThumbRect();
  const int cx = (t.left + t.right) / 2, cy = (t.top + t.bottom) / 2;
  auto face = [&] { return Driver().Capture(bar->Handle()).At(cx - 2, cy); };
  const std::uint32_t normal = face();
  Driver().MoveMouse(Screen(150, 30));
  Driver().RunUntilIdle();
  Driver().MoveMouse(Screen(cx, cy));
  Driver().RunUntilIdle();
  EXPECT_NE(face(), normal);
  Driver().MoveMouse(Screen(cx, 300));  // off the bar, onto the form
  Driver().RunUntilIdle();
  EXPECT_EQ(face(), normal);
  EXPECT_EQ(events, (std::vector<std::string>{"enter", "leave"}));
}

TEST_F(TrackBarTest, MixerAndFlatThumbsNarrowTheTrack) {
  bar->SetThumbStyle(tsMixer);
  EXPECT_EQ(bar->TrackWidth(), 6);
  bar->SetThumbStyle(tsBox);
  EXPECT_EQ(bar->TrackWidth(), 8);
  bar->SetThumbStyle(tsFlat);
  EXPECT_EQ(bar->TrackWidth(), 6);
  Driver().RunUntilIdle();
  EXPECT_EQ(bar->ThumbRect().right - bar->ThumbRect().left, 10);
}

TEST_F(TrackBarTest, TheIntegerLimitsNeitherHangNorOverflow) {
  bar->SetMin(INT_MIN);
  bar->SetMax(INT_MAX);
  bar->SetTickStep(1);
  bar->SetShowTicks(true);
  bar->Invalidate();
  Driver().RunUntilIdle();  // one paint of four billion values' ticks returns
  bar->SetFocus();
  bar->SetPosition(INT_MAX);
  bar->SetPageSize(20);
  Driver().KeyDown(VK_PRIOR);
  Driver().RunUntilIdle();
  EXPECT_EQ(bar->Position(), INT_MAX);
  bar->SetPosition(INT_MIN);
  Driver().KeyDown(VK_NEXT);
  Driver().RunUntilIdle();
  EXPECT_EQ(bar->Position(), INT_MIN);
  // Dragging across the whole range.
  RECT t = bar->ThumbRect();
  Driver().Press(0, Screen(t.left + 5, (t.top + t.bottom) / 2));
  Driver().MoveMouse(Screen(500, 20));
  Driver().RunUntilIdle();
  EXPECT_EQ(bar->Position(), INT_MAX);
  Driver().Release(0, Screen(500, 20));
  Driver().RunUntilIdle();

  // A bar narrower than its thumb: nothing to travel, dragging and paging do not fault.
  bar->SetBounds(10, 10, 10, 35);
  bar->SetOrientation(orHorizontal);
  bar->SetMin(0);
  bar->SetMax(10);
  Driver().RunUntilIdle();
  t = bar->ThumbRect();
  Driver().Press(0, Screen(t.left + 2, (t.top + t.bottom) / 2));
  Driver().MoveMouse(Screen(t.left + 40, (t.top + t.bottom) / 2));
  Driver().Release(0, Screen(t.left + 40, (t.top + t.bottom) / 2));
  Driver().RunUntilIdle();
  EXPECT_GE(bar->Position(), 0);
  EXPECT_LE(bar->Position(), 10);
}

// A bar with the picture compression dialog's settings, read from a layout of its own (the
// dialog's own layout is read in the editor's tests).
class TDialogForm : public TForm {
 public:
  using TForm::TForm;
  void TrackBar1Change(TObject*) { ++changes; }
  int changes = 0;
};

TEST_F(TrackBarTest, ABarWithTheCompressionDialogsSettingsFromALayout) {
  RegisterProperties<TDialogForm>("TDialogForm", "TForm")
      .Handler("TrackBar1Change", &TDialogForm::TrackBar1Change);
  auto* dialog = new TDialogForm(Application);
  ReadComponentText(dialog, R"(object Dialog: TDialogForm
  Left = 0
  Top = 0
  Width = 400
  Height = 400
  object TrackBar1: TSkTrackBar
    Left = 20
    Top = 340
    Width = 157
    Height = 17
    Max = 100
    Min = 1
    Position = 100
    PageSize = 20
    ShowTicks = False
    TabOnEnter = True
    TickStep = 20
    TrackColor = clGradientInactiveCaption
    TrackOffset = 5
    TrackFrame = fsRaised
    TrackFrameColor = clPurple
    TrackWidth = 6
    ThumbStyle = tsXPPointer
    Color = 14803425
    HighlightColor = clNavy
    HotTrackColor = clMaroon
    OnChange = TrackBar1Change
  end
end
)");
  auto* b = dynamic_cast<TSkTrackBar*>(dialog->FindComponent("TrackBar1"));
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(dialog->changes, 0);
  EXPECT_EQ(b->Position(), 100);
  EXPECT_EQ(b->TrackWidth(), 6);  // the thumb style read after it does not force 8
  dialog->Show();
  Driver().RunUntilIdle();
  // The track and the thumb at the dialog's size.
  const RECT track = b->TrackRect();
  EXPECT_EQ(track.left, 9);
  EXPECT_EQ(track.top, 5);
  EXPECT_EQ(track.right, 148);
  EXPECT_EQ(track.bottom, 11);
  for (auto [position, left] : {std::pair{1, 4}, {2, 5}, {50, 72}, {99, 140}, {100, 142}}) {
    b->SetPosition(position);
    EXPECT_EQ(b->ThumbRect().left, left) << position;
  }
  // Pressing the thumb's centre and moving back to the same x gives one less, as it always has.
  b->SetPosition(100);
  Driver().RunUntilIdle();
  const RECT t = b->ThumbRect();
  const int cx = t.left + (t.right - t.left) / 2, cy = (t.top + t.bottom) / 2;
  Driver().Press(0, Driver().ClientPoint(b->Handle(), cx, cy));
  Driver().MoveMouse(Driver().ClientPoint(b->Handle(), cx + 1, cy));
  Driver().MoveMouse(Driver().ClientPoint(b->Handle(), cx, cy));
  Driver().Release(0, Driver().ClientPoint(b->Handle(), cx, cy));
  Driver().RunUntilIdle();
  EXPECT_EQ(b->Position(), 99);
  delete dialog;
}

TEST_F(TrackBarTest, TheHighlightColourIsMappedOneAboveItsValue) {
  bar->SetThumbStyle(tsBox);
  bar->SetHighlightColor(clNavy);
  bar->SetPosition(5);
  Driver().RunUntilIdle();
  const RECT t = bar->ThumbRect();
  const auto shot = Driver().Capture(bar->Handle());
  int mapped = 0, unmapped = 0;
  for (int y = t.top; y < t.bottom; ++y)
    for (int x = t.left; x < t.right; ++x) {
      mapped += (shot.At(x, y) & 0xFFFFFF) == 0x010080;  // RGB(1, 0, 128)
      unmapped += (shot.At(x, y) & 0xFFFFFF) == 0x0000FF;
    }
  EXPECT_GT(mapped, 0);
  EXPECT_EQ(unmapped, 0);
}

TEST_F(TrackBarTest, EnterWithTabOnEnterMovesTheFocusOn) {
  auto* next = new TSkTrackBar(form);
  next->SetParent(form);
  next->SetBounds(10, 100, 200, 35);
  bar->TabOnEnter = true;
  bar->SetFocus();
  Driver().RunUntilIdle();
  Driver().KeyDown(VK_RETURN);
  Driver().KeyUp(VK_RETURN);
  Driver().RunUntilIdle();
  EXPECT_TRUE(next->Focused());
  bar->TabOnEnter = false;
  bar->SetFocus();
  Driver().KeyDown(VK_RETURN);
  Driver().RunUntilIdle();
  EXPECT_TRUE(bar->Focused());
}

TEST_F(TrackBarTest, APointerThumbTurnsXPStyleOnAThemedDesktop) {
  const RECT classic = bar->ThumbRect();
  const auto before = Driver().Capture(bar->Handle());
  skintest::RemoveFakeThemes();  // the theme object made without themes is made again
  skintest::InstallFakeThemes();
  auto* themed = new TSkTrackBar(form);
  themed->SetParent(form);
  themed->SetBounds(10, 10, 200, 35);
  themed->SetColor(clWhite);
  bar->SetVisible(false);
  Driver().RunUntilIdle();
  const auto after = Driver().Capture(themed->Handle());
  int differ = 0;
  for (int y = classic.top; y < classic.bottom; ++y)
    for (int x = classic.left; x < classic.right; ++x) differ += before.At(x, y) != after.At(x, y);
  EXPECT_GT(differ, 10);                       // the XP pointer is drawn, not the classic one
  EXPECT_EQ(themed->ThumbStyle(), tsPointer);  // the property keeps what was asked for
  skintest::RemoveFakeThemes();
}

TEST_F(TrackBarTest, AMovedThumbLeavesTheBackgroundBehind) {
  bar->SetShowTicks(false);
  const auto empty = [&] {
    Driver().RunUntilIdle();
    return Driver().Capture(bar->Handle());
  };
  bar->SetPosition(0);
  const auto at0 = empty();
  const RECT old = bar->ThumbRect();
  bar->SetPosition(10);
  const auto at10 = empty();
  bar->SetPosition(0);
  bar->SetPosition(10);  // drawn at once, without a full repaint
  const auto again = Driver().Capture(bar->Handle());
  for (int y = old.top; y < old.bottom; ++y)
    for (int x = old.left; x < old.right; ++x) ASSERT_EQ(again.At(x, y), at10.At(x, y)) << x << "," << y;
  (void)at0;
}

TEST_F(TrackBarTest, TheThumbShowsItsOwnDragCursor) {
  const HCURSOR horizontal = LoadCursorA(HInstance, "SKTRKBAR_H_CURSOR");
  ASSERT_NE(horizontal, nullptr);
  ASSERT_NE(LoadCursorA(HInstance, "SKTRKBAR_V_CURSOR"), nullptr);
  const RECT t = bar->ThumbRect();
  const int cx = (t.left + t.right) / 2, cy = (t.top + t.bottom) / 2;
  Driver().MoveMouse(Screen(cx, cy));
  Driver().Press(0, Screen(cx, cy));
  Driver().MoveMouse(Screen(cx + 30, cy));
  Driver().RunUntilIdle();
  EXPECT_EQ(reinterpret_cast<HCURSOR>(Driver().Describe(bar->Handle()).cursor), horizontal);
  Driver().Release(0, Screen(cx + 30, cy));
  Driver().RunUntilIdle();
}

}  // namespace
