// The owner-drawn track bar: its range rules, keys, dragging, paging with auto-repeat on the
// fake clock, orientation and its pictures on the screen.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/TSkTrackBar.h"
#include "platform/backend/HeadlessDriver.h"
#include "platform/forms/PlatformStartup.h"
#include "platform/forms/TApplication.h"
#include "platform/forms/TForm.h"

namespace {

using platform::headless::Driver;

class TrackBarTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::Startup();
    RegisterSkTrackBar();
    form = new TForm(Application);
    form->SetBounds(0, 0, 300, 200);
    bar = new TSkTrackBar(form);
    bar->SetParent(form);
    bar->SetBounds(10, 10, 200, 35);
    bar->SetColor(clWhite);
    bar->OnChanging = [this](TObject*, int value, bool& allow) {
      changing.push_back(value);
      allow = allowChanges;
    };
    bar->OnChange = [this](TObject* sender) {
      EXPECT_EQ(sender, bar);
      changes.push_back(bar->Position());
    };
    form->Show();
    Driver().RunUntilIdle();
  }
  void TearDown() override {
    delete form;
    platform::Shutdown();
  }
  POINT Screen(int x, int y) { return Driver().ClientPoint(bar->Handle(), x, y); }

  TForm* form = nullptr;
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
  auto rgb = [](TColor c) {
    const COLORREF v = ColorToRGB(c);
    return (GetRValue(v) << 16) | (GetGValue(v) << 8) | GetBValue(v);
  };
  // The face is the key grey mapped to the button face; the grip stripe is the highlight colour.
  EXPECT_EQ(at(t.left + 3, t.top + 10), static_cast<std::uint32_t>(rgb(clBtnFace)));
  EXPECT_EQ(at(t.left + 5, t.top + 10), static_cast<std::uint32_t>(rgb(clHighlight) + 0x010000));

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

}  // namespace
