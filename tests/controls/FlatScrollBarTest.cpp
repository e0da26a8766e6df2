// Flat scroll bars: the state stored for a started window, and the ordinary bars for others.
#include "ControlsTestSupport.h"
#include "platform/controls/FlatScrollBars.h"

using namespace controlstest;

namespace {

class FlatScrollBarTest : public ControlsTest {
 protected:
  HWND Window() {
    HWND h = CreateWindowExW(0, u"EDIT", u"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE,
                             10, 10, 200, 100, parent, nullptr, nullptr, nullptr);
    driver().RunUntilIdle();
    return h;
  }
};

TEST_F(FlatScrollBarTest, AStartedWindowKeepsItsBarsApart) {
  HWND h = Window();
  SCROLLINFO system{sizeof(SCROLLINFO), SIF_ALL, 0, 50, 10, 7, 0};
  SetScrollInfo(h, SB_VERT, &system, TRUE);
  EXPECT_EQ(platform::controls::FlatScrollBarState(h), nullptr);
  ASSERT_TRUE(InitializeFlatSB(h));
  const auto* state = platform::controls::FlatScrollBarState(h);
  ASSERT_NE(state, nullptr);
  EXPECT_EQ(state->Vertical.Info.nMax, 50);  // starts from the ordinary bar
  EXPECT_EQ(state->Vertical.Info.nPos, 7);

  EXPECT_TRUE(FlatSB_SetScrollProp(h, WSB_PROP_VSTYLE, FSB_FLAT_MODE, TRUE));
  EXPECT_TRUE(FlatSB_SetScrollProp(h, WSB_PROP_HSTYLE, FSB_ENCARTA_MODE, TRUE));
  EXPECT_FALSE(FlatSB_SetScrollProp(h, WSB_PROP_HSTYLE, 7, TRUE));
  int style = -1;
  ASSERT_TRUE(FlatSB_GetScrollProp(h, WSB_PROP_VSTYLE, &style));
  EXPECT_EQ(style, FSB_FLAT_MODE);
  ASSERT_TRUE(FlatSB_GetScrollProp(h, WSB_PROP_HSTYLE, &style));
  EXPECT_EQ(style, FSB_ENCARTA_MODE);

  SCROLLINFO flat{sizeof(SCROLLINFO), SIF_POS | SIF_RANGE, 0, 200, 0, 120, 0};
  EXPECT_EQ(FlatSB_SetScrollInfo(h, SB_VERT, &flat, TRUE), 120);
  SCROLLINFO read{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
  ASSERT_TRUE(FlatSB_GetScrollInfo(h, SB_VERT, &read));
  EXPECT_EQ(read.nMax, 200);
  EXPECT_EQ(read.nPos, 120);
  EXPECT_EQ(read.nPage, 10u);
  EXPECT_EQ(GetScrollPos(h, SB_VERT), 7);  // the ordinary bar is not touched
  EXPECT_TRUE(FlatSB_EnableScrollBar(h, SB_BOTH, ESB_DISABLE_BOTH));
  EXPECT_TRUE(FlatSB_ShowScrollBar(h, SB_HORZ, FALSE));
  EXPECT_EQ(state->Horizontal.Arrows, ESB_DISABLE_BOTH);
  EXPECT_EQ(state->Vertical.Arrows, ESB_DISABLE_BOTH);
  EXPECT_FALSE(state->Horizontal.Shown);
  EXPECT_TRUE(state->Vertical.Shown);

  EXPECT_EQ(UninitializeFlatSB(h), 0);
  EXPECT_EQ(platform::controls::FlatScrollBarState(h), nullptr);
  EXPECT_LT(UninitializeFlatSB(h), 0);
  // Not started: the calls reach the ordinary bar.
  SCROLLINFO ordinary{sizeof(SCROLLINFO), SIF_POS, 0, 0, 0, 9, 0};
  FlatSB_SetScrollInfo(h, SB_VERT, &ordinary, TRUE);
  EXPECT_EQ(GetScrollPos(h, SB_VERT), 9);
  EXPECT_FALSE(FlatSB_GetScrollProp(h, WSB_PROP_VSTYLE, &style));
}

TEST_F(FlatScrollBarTest, AWindowGoneWithoutEndingItsBarsLeavesNoState) {
  HWND h = Window();
  ASSERT_TRUE(InitializeFlatSB(h));
  DestroyWindow(h);
  EXPECT_EQ(platform::controls::FlatScrollBarState(h), nullptr);
  EXPECT_FALSE(InitializeFlatSB(h));
}

}  // namespace
