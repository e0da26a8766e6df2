// Modal loops and scripted answers, moving a window with the mouse, introspection and the
// fixed-metric test font.
#include <functional>

#include "tests/win/WinTestSupport.h"

using wintest::HeadlessTest;
using wintest::Log;

namespace {

bool modalDone = false;

LRESULT Plain(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_USER) modalDone = true;
  if (m == WM_ENABLE) Log().push_back(w ? "enable" : "disable");
  if (m == WM_LBUTTONDOWN) Log().push_back("down");
  if (m == WM_RBUTTONDOWN) Log().push_back("right down");
  return DefWindowProcW(h, m, w, l);
}

class Modal : public HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    modalDone = false;
    WNDCLASSW wc{};
    wc.lpfnWndProc = Plain;
    wc.lpszClassName = u"Plain";
    RegisterClassW(&wc);
    main =
        CreateWindowExW(0, u"Plain", u"main", WS_VISIBLE, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
    dialog =
        CreateWindowExW(0, u"Plain", u"dialog", WS_VISIBLE, 200, 0, 50, 50, main, nullptr, nullptr, nullptr);
    driver().RunUntilIdle();
    Log().clear();
  }
  HWND main = nullptr, dialog = nullptr;
};

TEST_F(Modal, OtherWindowsAreDisabledAndTheScriptAnswers) {
  platform::win::ModalInfo info;
  info.kind = platform::win::ModalInfo::Kind::Form;
  info.hwnd = dialog;
  info.caption = u"dialog";
  driver().ExpectModal([](const platform::win::ModalInfo& i) { return i.caption == u"dialog"; },
                       platform::win::ModalAnswer::Drive([&] {
                         driver().Click(driver().ClientPoint(main, 5, 5));  // dropped: main is disabled
                         PostMessageW(dialog, WM_USER, 0, 0);
                       }));
  auto answer = platform::win::AskModal(info);
  ASSERT_TRUE(answer);
  ASSERT_EQ(answer->type, platform::win::ModalAnswer::Type::Drive);
  driver().SetIdleStep(answer->drive);
  EXPECT_TRUE(platform::win::RunModalLoop(dialog, [] { return modalDone; }));
  EXPECT_EQ(Log(), (std::vector<std::string>{"disable", "enable"}));
  EXPECT_TRUE(IsWindowEnabled(main));
  // Without a script a modal loop is a failure, not a hang.
  EXPECT_THROW(platform::win::AskModal(info), platform::headless::HeadlessStall);
}

TEST_F(Modal, QuitInsideAModalLoopEndsItAndTheOuterLoop) {
  driver().SetIdleStep([] { PostQuitMessage(7); });
  EXPECT_FALSE(platform::win::RunModalLoop(dialog, [] { return false; }));
  MSG m;
  EXPECT_FALSE(GetMessageW(&m, nullptr, 0, 0));  // posted again for the outer loop
  EXPECT_EQ(m.wParam, 7u);
  EXPECT_TRUE(IsWindowEnabled(main));
}

TEST_F(Modal, MovingAWindowWithTheMouse) {
  const POINT grab = driver().ClientPoint(dialog, 10, 10);
  driver().Press(0, grab);
  driver().RunUntilIdle();
  driver().SetIdleStep([&] {
    driver().MoveMouse({grab.x + 30, grab.y + 40});
    driver().Release(0, {grab.x + 30, grab.y + 40});
  });
  ReleaseCapture();
  SendMessageW(dialog, WM_SYSCOMMAND, 0xF012, 0);
  RECT r;
  GetWindowRect(dialog, &r);
  EXPECT_EQ(r.left, 230);
  EXPECT_EQ(r.top, 40);
  EXPECT_EQ(GetCapture(), nullptr);
}

// The window system's own move ends however the drag ends, not only on the release: a release
// that never reaches the window (a desktop that kept it) must not leave the program inside the
// move. A press that ends it still reaches the window under the pointer.
TEST_F(Modal, AMoveEndsOnReleaseOtherPressEscapeCancelAndDeactivation) {
  struct Case {
    const char* name;
    std::function<void(POINT)> end;
    std::vector<std::string> log;
  };
  auto& d = driver();
  const std::vector<Case> cases = {
      {"release", [&](POINT at) { d.Release(0, at); }, {}},
      {"right press", [&](POINT at) { d.Press(1, at); }, {"right down"}},
      {"second left press", [&](POINT at) { d.Press(0, at); }, {"down"}},  // the first release was lost
      {"escape", [&](POINT) { d.KeyDown(VK_ESCAPE); }, {}},
      {"cancel mode", [&](POINT) { PostMessageW(dialog, WM_CANCELMODE, 0, 0); }, {}},
      {"deactivation",
       [&](POINT at) {
         SetActiveWindow(main);
         d.MoveMouse(at);  // the next thing the loop hears of
       },
       {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetWindowPos(dialog, nullptr, 200, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    SetActiveWindow(dialog);
    const POINT grab = driver().ClientPoint(dialog, 10, 10);
    driver().Press(0, grab);
    driver().RunUntilIdle();
    Log().clear();
    const POINT to{grab.x + 30, grab.y + 40};
    // The drag, then its end: a move that never ended would wait for more and stall.
    driver().SetIdleStep([&] { driver().MoveMouse(to); });
    driver().SetIdleStep([&] { c.end(to); });
    ReleaseCapture();
    SendMessageW(dialog, WM_SYSCOMMAND, 0xF012, 0);
    RECT r;
    GetWindowRect(dialog, &r);
    EXPECT_EQ(r.left, 230);
    EXPECT_EQ(r.top, 40);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(Log(), c.log);
    // Whatever is left of the gesture (releases, the key) is served normally.
    driver().Release(0, to);
    driver().Release(1, to);
    driver().KeyUp(VK_ESCAPE);
    driver().RunUntilIdle();
  }
}

TEST_F(Modal, DescribeAndWindows) {
  const auto all = driver().Windows();
  EXPECT_EQ(all.size(), 2u);
  SetFocus(dialog);
  const auto d = driver().Describe(dialog);
  EXPECT_EQ(d.className, u"Plain");
  EXPECT_EQ(d.caption, u"dialog");
  EXPECT_TRUE(d.visible);
  EXPECT_TRUE(d.focused);
  EXPECT_EQ(d.rect.left, 200);
}

TEST_F(Modal, FixedMetricFontPinsTextGeometry) {
  driver().UseFixedMetricFont(6, 13);
  HDC dc = GetDC(main);
  RECT r{0, 0, 100, 0};
  EXPECT_EQ(DrawTextW(dc, u"ab cd\r\nxyz", -1, &r, DT_CALCRECT), 26);
  EXPECT_EQ(r.right, 30);
  SIZE s;
  GetTextExtentPoint32W(dc, u"\U0001F600x", 3, &s);  // a pair is one character
  EXPECT_EQ(s.cx, 12);
  EXPECT_EQ(s.cy, 13);
  ReleaseDC(main, dc);
  driver().UseFixedMetricFont(0, 0);
}

}  // namespace

namespace {

// A utility window made without a method is freed without taking the shared class procedure
// with it: utility windows made afterwards (here after a restart of the window system) still
// get their timers.
TEST_F(Modal, AUtilityWindowWithoutAMethodLeavesLaterOnesWorking) {
  DeallocateHWnd(AllocateHWnd(nullptr));
  platform::headless::Uninstall();
  platform::headless::Install();
  int ticks = 0;
  HWND h = AllocateHWnd([&](TMessage& m) {
    if (m.Msg == WM_TIMER) ++ticks;
  });
  SetTimer(h, 1, 100, nullptr);
  driver().Advance(250);
  EXPECT_EQ(ticks, 2);
  DeallocateHWnd(h);
}

}  // namespace
