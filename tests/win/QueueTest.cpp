// The queue: retrieval order, posting rules, timers on the fake clock, the get-message hook in a
// nested loop, painting into the surface and captures.
#include <thread>

#include "platform/rtl/Synchronize.h"
#include "tests/win/WinTestSupport.h"

using wintest::HeadlessTest;
using wintest::Log;
using wintest::Name;

namespace {

LRESULT Logging(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_PAINT) {
    Log().push_back("PAINT");
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(h, &ps);
    RECT r;
    GetClientRect(h, &r);
    HBRUSH b = CreateSolidBrush(RGB(0, 0, 255));
    FillRect(dc, &r, b);
    DeleteObject(b);
    EndPaint(h, &ps);
    return 0;
  }
  if (m == WM_TIMER) Log().push_back("TIMER " + std::to_string(w));
  if (m == WM_USER + 2) return LRESULT(w * 2);
  if (m == WM_USER || m == WM_CHAR || m == WM_KEYDOWN || m == WM_LBUTTONDOWN || m == WM_LBUTTONUP ||
      m == WM_LBUTTONDBLCLK)
    Log().push_back(Name(m));
  return DefWindowProcW(h, m, w, l);
}

class Queue : public HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    WNDCLASSW wc{};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = Logging;
    wc.lpszClassName = u"Q";
    wc.hbrBackground = reinterpret_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    RegisterClassW(&wc);
    hwnd =
        CreateWindowExW(0, u"Q", u"queue", WS_VISIBLE, 100, 100, 40, 30, nullptr, nullptr, nullptr, nullptr);
  }
  void Pump() {
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&m);
      DispatchMessageW(&m);
    }
  }
  HWND hwnd = nullptr;
};

TEST_F(Queue, PostedThenInputThenQuitThenPaintThenTimers) {
  SetFocus(hwnd);
  driver().RunUntilIdle();
  SetTimer(hwnd, 2, 10, nullptr);
  driver().Advance(0);
  Log().clear();
  // Everything becomes pending at once; the timer is due at the end of the interval.
  InvalidateRect(hwnd, nullptr, TRUE);
  driver().Type(u"y");
  PostMessageW(hwnd, WM_USER, 0, 0);
  PostQuitMessage(4);
  driver().SetIdleStep([] {});
  std::vector<std::string> order;
  MSG m;
  for (int i = 0; i < 4 && PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE); ++i) {
    order.push_back(Name(m.message));
    if (m.message == WM_QUIT) {
      EXPECT_EQ(m.wParam, 4u);
    }
    DispatchMessageW(&m);
  }
  EXPECT_EQ(order, (std::vector<std::string>{"USER", "CHAR", "0x18", "PAINT"}));
  EXPECT_FALSE(PeekMessageW(&m, nullptr, 0, 0, PM_NOREMOVE));
  driver().Advance(10);
  EXPECT_EQ(Log().back(), "TIMER 2");
}

TEST_F(Queue, OtherThreadsSendPostAndSynchronizeIntoTheWaitingLoop) {
  driver().RunUntilIdle();
  LRESULT sent = 0;
  bool synchronized = false;
  std::thread worker([&] {
    sent = SendMessageW(hwnd, WM_USER + 2, 21, 0);  // blocks until the interface thread ran it
    platform::RunSynchronized([&] { synchronized = true; });
    PostMessageW(hwnd, WM_USER + 1, 0, 0);
  });
  MSG m;
  while (GetMessageW(&m, nullptr, 0, 0) && m.message != WM_USER + 1) DispatchMessageW(&m);
  worker.join();
  EXPECT_EQ(sent, 42);
  EXPECT_TRUE(synchronized);
}

TEST_F(Queue, TimersFireOnTheFakeClockWithoutCatchingUp) {
  driver().RunUntilIdle();
  Log().clear();
  SetTimer(hwnd, 7, 100, nullptr);
  SetTimer(hwnd, 8, 3, nullptr);  // clamped to 10 ms
  driver().Advance(50);
  EXPECT_EQ(std::count(Log().begin(), Log().end(), "TIMER 8"), 5);
  EXPECT_EQ(std::count(Log().begin(), Log().end(), "TIMER 7"), 0);
  KillTimer(hwnd, 8);
  Log().clear();
  // Late: one message, not one per missed period.
  MSG m;
  EXPECT_FALSE(PeekMessageW(&m, nullptr, WM_TIMER, WM_TIMER, PM_NOREMOVE));
  driver().Advance(60);
  EXPECT_EQ(Log(), (std::vector<std::string>{"TIMER 7"}));
}

TEST_F(Queue, PostingPointerMessagesFailsAndDeadWindowsGetNothing) {
  EXPECT_FALSE(PostMessageW(hwnd, WM_SETTEXT, 0, LPARAM(u"x")));
  EXPECT_EQ(GetLastError(), ERROR_MESSAGE_SYNC_ONLY);
  PostMessageW(hwnd, WM_USER, 0, 0);
  DestroyWindow(hwnd);
  MSG m;
  EXPECT_FALSE(PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE));
}

int hookCalls = 0;
std::vector<WPARAM> hookedChars;
HHOOK hook;
LRESULT GetMessageHook(int code, WPARAM w, LPARAM l) {
  ++hookCalls;
  auto* m = reinterpret_cast<MSG*>(l);
  if (m->message == WM_CHAR && w == PM_REMOVE) {
    hookedChars.push_back(m->wParam);
    if (m->wParam == u'!') m->message = WM_NULL;  // a hook may change the record
  }
  return CallNextHookEx(hook, code, w, l);
}

TEST_F(Queue, HookSeesUtf16CharactersInsideANestedModalLoop) {
  hookCalls = 0;
  hookedChars.clear();
  hook = SetWindowsHookExW(WH_GETMESSAGE, GetMessageHook, nullptr, 0);
  ASSERT_NE(hook, nullptr);
  SetFocus(hwnd);
  driver().RunUntilIdle();
  Log().clear();
  // The scripted step types while the modal loop waits; then the loop is ended.
  driver().SetIdleStep([&] { driver().Type(u"\u1780!"); });
  driver().SetIdleStep([&] { PostMessageW(hwnd, WM_USER + 1, 0, 0); });
  MSG m;
  while (GetMessageA(&m, nullptr, 0, 0)) {  // an 8-bit modal loop, as the form library runs it
    if (m.message == WM_USER + 1) break;
    TranslateMessage(&m);
    DispatchMessageA(&m);
  }
  EXPECT_EQ(hookedChars, (std::vector<WPARAM>{0x1780, u'!'}));
  EXPECT_EQ(Log(), (std::vector<std::string>{"CHAR"}));  // '!' became WM_NULL
  EXPECT_TRUE(UnhookWindowsHookEx(hook));
  EXPECT_THROW(GetMessageW(&m, nullptr, 0, 0), platform::headless::HeadlessStall);
}

TEST_F(Queue, KeysTranslateToCharactersAndDoubleClicksFollowTheRules) {
  SetFocus(hwnd);
  driver().RunUntilIdle();
  Log().clear();
  driver().Chord("Shift+A");
  driver().Chord("Ctrl+V");
  Pump();
  EXPECT_EQ(Log(), (std::vector<std::string>{"KEYDOWN", "KEYDOWN", "CHAR", "KEYDOWN", "KEYDOWN", "CHAR"}));
  Log().clear();
  const POINT p = driver().ClientPoint(hwnd, 5, 5);
  driver().Click(p);
  driver().Click(p);
  driver().Click(p);  // a third quick press is a plain press
  Pump();
  EXPECT_EQ(Log(), (std::vector<std::string>{"LBUTTONDOWN", "LBUTTONUP", "LBUTTONDBLCLK", "LBUTTONUP",
                                             "LBUTTONDOWN", "LBUTTONUP"}));
  Log().clear();
  driver().Advance(600);
  driver().Click(p);
  Pump();
  EXPECT_EQ(Log(), (std::vector<std::string>{"LBUTTONDOWN", "LBUTTONUP"}));
}

LRESULT RedChild(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(h, &ps);
    HBRUSH b = CreateSolidBrush(RGB(255, 0, 0));
    RECT r{-100, -100, 100, 100};  // clipped to the child
    FillRect(dc, &r, b);
    DeleteObject(b);
    EndPaint(h, &ps);
    return 0;
  }
  return DefWindowProcW(h, m, w, l);
}

TEST_F(Queue, ChildrenPaintAfterTheirParentIntoTheSurface) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = RedChild;
  wc.lpszClassName = u"Red";
  RegisterClassW(&wc);
  CreateWindowExW(0, u"Red", u"", WS_CHILD | WS_VISIBLE, 10, 5, 4, 3, hwnd, nullptr, nullptr, nullptr);
  const auto image = driver().Capture(hwnd);
  ASSERT_EQ(image.width, 40);
  ASSERT_EQ(image.height, 30);
  EXPECT_EQ(image.At(0, 0), 0x0000FFu);   // parent: blue
  EXPECT_EQ(image.At(10, 5), 0xFF0000u);  // child: red
  EXPECT_EQ(image.At(13, 7), 0xFF0000u);
  EXPECT_EQ(image.At(14, 7), 0x0000FFu);  // outside the child
  MSG m;
  EXPECT_FALSE(PeekMessageW(&m, nullptr, WM_PAINT, WM_PAINT, PM_NOREMOVE));
}

}  // namespace

namespace {

TEST_F(Queue, ChildBordersAreDrawnBeforeTheirClientArea) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.lpszClassName = u"Framed";
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_INFOBK + 1);
  RegisterClassW(&wc);
  HWND child = CreateWindowExW(WS_EX_CLIENTEDGE, u"Framed", u"", WS_CHILD | WS_VISIBLE | WS_BORDER, 5, 5, 12,
                               10, hwnd, nullptr, nullptr, nullptr);
  RECT client;
  GetClientRect(child, &client);
  EXPECT_EQ(client.right, 12 - 6);  // one pixel of border and two of edge on each side
  const auto image = driver().Capture(hwnd);
  EXPECT_EQ(image.At(5, 5), 0x000000u);  // window frame
  EXPECT_EQ(image.At(6, 6), 0x808080u);  // edge: shadow
  EXPECT_EQ(image.At(7, 7), 0x404040u);  // edge: dark shadow
  EXPECT_EQ(image.At(8, 8), 0xFFFFE1u);  // client: the class brush
  EXPECT_EQ(image.At(5 + 11, 5 + 9), 0x000000u);
  EXPECT_EQ(image.At(5 + 10, 5 + 8), 0xFFFFFFu);  // edge: highlight
}

}  // namespace

namespace {

TEST_F(Queue, UtilityWindowsDeliverTimersToTheirMethod) {
  int ticks = 0;
  HWND utility = AllocateHWnd([&](TMessage& m) {
    if (m.Msg == WM_TIMER) ++ticks;
    m.Result = DefWindowProcW(nullptr, m.Msg, m.WParam, m.LParam);
  });
  ASSERT_NE(utility, nullptr);
  EXPECT_FALSE(IsWindowVisible(utility));
  SetTimer(utility, 1, 100, nullptr);
  driver().Advance(350);
  EXPECT_EQ(ticks, 3);
  DeallocateHWnd(utility);
  EXPECT_FALSE(IsWindow(utility));
}

}  // namespace
