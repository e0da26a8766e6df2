// SCROLLBAR: arrows, track and thumb report to the parent with SB_ENDSCROLL after each action,
// holding repeats after 400 ms then every 50 ms on the platform clock, the thumb drag reports
// its positions, and the bar never moves its own position.
#include "ControlsTestSupport.h"

using namespace controlstest;

namespace {

std::vector<std::pair<WORD, int>>& Scrolls() {
  static std::vector<std::pair<WORD, int>> log;
  return log;
}

LRESULT ScrollParentProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
  if (msg == WM_VSCROLL) Scrolls().push_back({LOWORD(w), int(int16_t(HIWORD(w)))});
  return DefWindowProcW(hwnd, msg, w, l);
}

class ScrollBarTest : public ControlsTest {
 protected:
  void SetUp() override {
    ControlsTest::SetUp();
    owner = TopWindow(u"ScrollParent", &ScrollParentProc, 200, 300);
    bar = CreateWindowExW(0, u"SCROLLBAR", u"", WS_CHILD | WS_VISIBLE | SBS_VERT, 10, 10, 17, 217, owner,
                          nullptr, nullptr, nullptr);
    SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 100, 10, 20, 0};
    SetScrollInfo(bar, SB_CTL, &si, TRUE);
    driver().RunUntilIdle();
    Scrolls().clear();
  }
  HWND owner = nullptr, bar = nullptr;
};

TEST_F(ScrollBarTest, ArrowsAndTrackReportAndRepeatWhileHeld) {
  struct Case {
    int y;
    WORD code;
  } cases[] = {{5, SB_LINEUP}, {210, SB_LINEDOWN}, {20, SB_PAGEUP}, {190, SB_PAGEDOWN}};
  for (const Case& c : cases) {
    Scrolls().clear();
    driver().Click(driver().ClientPoint(bar, 8, c.y));
    driver().RunUntilIdle();
    ASSERT_EQ(Scrolls().size(), 2u) << c.y;
    EXPECT_EQ(Scrolls()[0].first, c.code);
    EXPECT_EQ(Scrolls()[1].first, SB_ENDSCROLL);
  }
  Scrolls().clear();
  driver().Press(0, driver().ClientPoint(bar, 8, 210));
  driver().RunUntilIdle();
  driver().Advance(399);
  EXPECT_EQ(Scrolls().size(), 1u);
  driver().Advance(1);
  EXPECT_EQ(Scrolls().size(), 2u);
  driver().Advance(100);
  EXPECT_EQ(Scrolls().size(), 4u);
  driver().Release(0, driver().ClientPoint(bar, 8, 210));
  driver().RunUntilIdle();
  EXPECT_EQ(Scrolls().back().first, SB_ENDSCROLL);
  EXPECT_EQ(GetScrollPos(bar, SB_CTL), 20);  // the owner moves it, not the bar
}

TEST_F(ScrollBarTest, ThumbDragReportsTrackAndFinalPosition) {
  // Track 183 px, thumb 18 px, positions 0..91: the thumb of position 20 starts near 17 + 36.
  SCROLLINFO si{sizeof si, SIF_ALL, 0, 0, 0, 0, 0};
  ASSERT_TRUE(GetScrollInfo(bar, SB_CTL, &si));
  EXPECT_EQ(si.nPos, 20);
  EXPECT_EQ(si.nPage, 10u);
  driver().Press(0, driver().ClientPoint(bar, 8, 17 + 36 + 5));
  driver().RunUntilIdle();
  driver().MoveMouse(driver().ClientPoint(bar, 8, 17 + 36 + 5 + 82));
  driver().RunUntilIdle();
  driver().Release(0, driver().ClientPoint(bar, 8, 17 + 36 + 5 + 82));
  driver().RunUntilIdle();
  ASSERT_GE(Scrolls().size(), 3u);
  EXPECT_EQ(Scrolls()[0].first, SB_THUMBTRACK);
  EXPECT_NEAR(Scrolls()[0].second, 65, 1);
  EXPECT_EQ(Scrolls()[Scrolls().size() - 2].first, SB_THUMBPOSITION);
  EXPECT_EQ(Scrolls().back().first, SB_ENDSCROLL);
  // Positions are kept inside the range less the page.
  EXPECT_EQ(SetScrollPos(bar, SB_CTL, 500, TRUE), 20);
  EXPECT_EQ(GetScrollPos(bar, SB_CTL), 91);
}

}  // namespace
