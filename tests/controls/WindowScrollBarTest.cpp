// Window scroll bars: any child window with WS_VSCROLL/WS_HSCROLL has its bars beside the
// client area, hit-tested as HTVSCROLL/HTHSCROLL; presses report WM_VSCROLL/WM_HSCROLL to the
// window itself; SetScrollInfo shows and hides a bar by what there is to scroll; ShowScrollBar
// changes the client area; a multi-line edit scrolls its lines by its bar.
#include "ControlsTestSupport.h"

using namespace controlstest;

namespace {

struct Scroll {
  UINT msg;
  WORD code;
  int pos;
  LPARAM from;
};
std::vector<Scroll>& Scrolls() {
  static std::vector<Scroll> log;
  return log;
}

LRESULT CanvasProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
  if (msg == WM_VSCROLL || msg == WM_HSCROLL)
    Scrolls().push_back({msg, LOWORD(w), int(int16_t(HIWORD(w))), l});
  return DefWindowProcW(hwnd, msg, w, l);
}

class WindowScrollBarTest : public ControlsTest {
 protected:
  void SetUp() override {
    ControlsTest::SetUp();
    Scrolls().clear();
    RegisterTestClass(u"Canvas", &CanvasProc, GetSysColorBrush(COLOR_WINDOW));
  }
  HWND Canvas(DWORD style) {
    HWND h = CreateWindowExW(0, u"Canvas", u"", WS_CHILD | WS_VISIBLE | style, 20, 20, 200, 150, parent,
                             nullptr, nullptr, nullptr);
    driver().RunUntilIdle();
    return h;
  }
};

TEST_F(WindowScrollBarTest, BarsTakeTheirPlaceAndAnswerHitTests) {
  HWND h = Canvas(WS_VSCROLL | WS_HSCROLL | WS_BORDER);
  EXPECT_EQ(ClientSize(h).cx, 200 - 2 - 17);
  EXPECT_EQ(ClientSize(h).cy, 150 - 2 - 17);
  RECT wr;
  GetWindowRect(h, &wr);
  struct Case {
    POINT at;
    LRESULT hit;
  } cases[] = {{{wr.right - 5, wr.top + 50}, HTVSCROLL},
               {{wr.left + 50, wr.bottom - 5}, HTHSCROLL},
               {{wr.left + 50, wr.top + 50}, HTCLIENT},
               {{wr.right - 5, wr.bottom - 5}, HTBORDER},
               {{wr.left, wr.top + 50}, HTBORDER}};
  for (const Case& c : cases)
    EXPECT_EQ(SendMessageW(h, WM_NCHITTEST, 0, MAKELPARAM(WORD(c.at.x), WORD(c.at.y))), c.hit)
        << c.at.x << "," << c.at.y;
}

TEST_F(WindowScrollBarTest, PressesOnTheBarsReportToTheWindowItself) {
  HWND h = Canvas(WS_VSCROLL | WS_HSCROLL);
  SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 99, 10, 40, 0};
  SetScrollInfo(h, SB_VERT, &si, TRUE);
  SetScrollInfo(h, SB_HORZ, &si, TRUE);
  RECT wr;
  GetWindowRect(h, &wr);
  struct Case {
    POINT at;
    UINT msg;
    WORD code;
  } cases[] = {{{wr.right - 8, wr.top + 5}, WM_VSCROLL, SB_LINEUP},
               {{wr.right - 8, wr.bottom - 17 - 5}, WM_VSCROLL, SB_LINEDOWN},
               {{wr.right - 8, wr.top + 20}, WM_VSCROLL, SB_PAGEUP},
               {{wr.left + 5, wr.bottom - 8}, WM_HSCROLL, SB_LINELEFT},
               {{wr.right - 17 - 30, wr.bottom - 8}, WM_HSCROLL, SB_PAGEDOWN}};
  for (const Case& c : cases) {
    Scrolls().clear();
    driver().Click(c.at);
    driver().RunUntilIdle();
    ASSERT_EQ(Scrolls().size(), 2u) << c.code;
    EXPECT_EQ(Scrolls()[0].msg, c.msg);
    EXPECT_EQ(Scrolls()[0].code, c.code);
    EXPECT_EQ(Scrolls()[0].from, 0);  // a window's own bar, not a control
    EXPECT_EQ(Scrolls()[1].code, SB_ENDSCROLL);
  }
  EXPECT_EQ(GetScrollPos(h, SB_VERT), 40);  // the window moves its bar, not the bar itself
  EXPECT_EQ(GetCapture(), nullptr);
  // Dragging the thumb tracks and ends with the position the owner can also ask for.
  Scrolls().clear();
  SetScrollPos(h, SB_VERT, 0, TRUE);
  const POINT thumb{wr.right - 8, wr.top + 17 + 3};
  driver().Press(0, thumb);
  driver().RunUntilIdle();
  driver().MoveMouse(POINT{thumb.x, thumb.y + 40});
  driver().RunUntilIdle();
  driver().Release(0, POINT{thumb.x, thumb.y + 40});
  driver().RunUntilIdle();
  ASSERT_GE(Scrolls().size(), 3u);
  EXPECT_EQ(Scrolls().front().code, SB_THUMBTRACK);
  const Scroll& final = Scrolls()[Scrolls().size() - 2];
  EXPECT_EQ(final.code, SB_THUMBPOSITION);
  EXPECT_GT(final.pos, 0);
  EXPECT_EQ(Scrolls().back().code, SB_ENDSCROLL);
}

TEST_F(WindowScrollBarTest, ScrollInfoShowsAndHidesTheBar) {
  HWND h = Canvas(0);
  EXPECT_EQ(ClientSize(h).cx, 200);
  SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE, 0, 99, 20, 0, 0};
  SetScrollInfo(h, SB_VERT, &si, TRUE);
  EXPECT_TRUE(GetWindowLongW(h, GWL_STYLE) & WS_VSCROLL);
  EXPECT_EQ(ClientSize(h).cx, 200 - 17);
  si.nPage = 100;  // everything fits
  SetScrollInfo(h, SB_VERT, &si, TRUE);
  EXPECT_FALSE(GetWindowLongW(h, GWL_STYLE) & WS_VSCROLL);
  EXPECT_EQ(ClientSize(h).cx, 200);
  si.fMask |= SIF_DISABLENOSCROLL;  // kept, disabled
  SetScrollInfo(h, SB_VERT, &si, TRUE);
  EXPECT_TRUE(GetWindowLongW(h, GWL_STYLE) & WS_VSCROLL);
  ShowScrollBar(h, SB_BOTH, FALSE);
  EXPECT_EQ(ClientSize(h).cx, 200);
  ShowScrollBar(h, SB_HORZ, TRUE);
  EXPECT_EQ(ClientSize(h).cy, 150 - 17);
  // The values survive hiding; a disabled or idle bar takes no presses.
  SCROLLINFO got{sizeof got, SIF_ALL, 0, 0, 0, 0, 0};
  ASSERT_TRUE(GetScrollInfo(h, SB_VERT, &got));
  EXPECT_EQ(got.nMax, 99);
  EXPECT_EQ(got.nPage, 100u);
}

TEST_F(WindowScrollBarTest, MultiLineEditScrollsItsLinesByItsBar) {
  driver().UseFixedMetricFont(6, 10);
  std::u16string text;
  for (int i = 0; i < 30; ++i) text += u"line " + std::u16string(1, char16_t(u'A' + i)) + u"\r\n";
  HWND e = Child(u"EDIT", text.c_str(), ES_MULTILINE | WS_VSCROLL | WS_BORDER, 10, 10, 150, 106, 4);
  driver().RunUntilIdle();
  SCROLLINFO si{sizeof si, SIF_ALL, 0, 0, 0, 0, 0};
  ASSERT_TRUE(GetScrollInfo(e, SB_VERT, &si));
  EXPECT_EQ(si.nMax, 30);  // 31 lines, the last one empty
  EXPECT_EQ(si.nPage, 10u);
  EXPECT_EQ(si.nPos, 0);
  RECT wr;
  GetWindowRect(e, &wr);
  driver().Click(POINT{wr.right - 9, wr.bottom - 6});  // the down arrow
  driver().RunUntilIdle();
  EXPECT_EQ(SendMessageW(e, EM_GETFIRSTVISIBLELINE, 0, 0), 1);
  EXPECT_EQ(GetScrollPos(e, SB_VERT), 1);
  driver().Click(POINT{wr.right - 9, wr.bottom - 30});  // the track below the thumb
  driver().RunUntilIdle();
  EXPECT_EQ(SendMessageW(e, EM_GETFIRSTVISIBLELINE, 0, 0), 11);
  // Moving the caret to the end scrolls the view and the bar follows.
  SendMessageW(e, EM_SETSEL, WPARAM(text.size()), LPARAM(text.size()));
  SendMessageW(e, EM_SCROLLCARET, 0, 0);
  EXPECT_EQ(GetScrollPos(e, SB_VERT), 21);
  // Scrolling by the bar leaves the text and the caret alone.
  DWORD start = 0, end = 0;
  SendMessageW(e, EM_GETSEL, WPARAM(&start), LPARAM(&end));
  EXPECT_EQ(start, DWORD(text.size()));
  EXPECT_EQ(Count(EN_CHANGE), 0);
}

TEST_F(WindowScrollBarTest, MultiLineEditScrollsSidewaysByItsHorizontalBar) {
  driver().UseFixedMetricFont(6, 10);
  const std::u16string line(60, u'x');  // 360 pixels
  HWND e = Child(u"EDIT", (line + u"\r\nshort").c_str(),
                 ES_MULTILINE | ES_AUTOHSCROLL | WS_HSCROLL | WS_BORDER, 10, 10, 150, 80, 4);
  driver().RunUntilIdle();
  SCROLLINFO si{sizeof si, SIF_ALL, 0, 0, 0, 0, 0};
  ASSERT_TRUE(GetScrollInfo(e, SB_HORZ, &si));
  EXPECT_EQ(si.nMax, 360);
  EXPECT_EQ(si.nPage, 144u);  // the client width less the margins
  EXPECT_EQ(si.nPos, 0);
  RECT wr;
  GetWindowRect(e, &wr);
  driver().Click(POINT{wr.right - 6, wr.bottom - 9});  // the right arrow
  driver().RunUntilIdle();
  EXPECT_EQ(GetScrollPos(e, SB_HORZ), 8);
  driver().Click(POINT{wr.right - 30, wr.bottom - 9});  // the track right of the thumb
  driver().RunUntilIdle();
  EXPECT_EQ(GetScrollPos(e, SB_HORZ), 8 + 144);
  // The view, not the caret, moved: the caret still starts the text.
  DWORD start = 1, end = 1;
  SendMessageW(e, EM_GETSEL, WPARAM(&start), LPARAM(&end));
  EXPECT_EQ(start, 0u);
}

}  // namespace
