// Creation and destruction message order, classes, procedures replaced on the first message,
// window data and parent/child relations.
#include "tests/win/WinTestSupport.h"

using wintest::HeadlessTest;
using wintest::Log;
using wintest::Name;

namespace {

const char* creating = nullptr;

// Logs the creation and destruction messages this test cares about, by window tag.
LRESULT CALLBACK_LogW(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
  const char* tag = reinterpret_cast<const char*>(GetPropA(hwnd, "tag"));
  if (!tag) tag = creating;
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTW*>(l);
    SetPropA(hwnd, "tag", reinterpret_cast<HANDLE>(const_cast<void*>(cs->lpCreateParams)));
    tag = static_cast<const char*>(cs->lpCreateParams);
  }
  static const UINT logged[] = {WM_GETMINMAXINFO, WM_NCCREATE,     WM_NCCALCSIZE, WM_CREATE,
                                WM_SIZE,          WM_MOVE,         WM_SHOWWINDOW, WM_ACTIVATE,
                                WM_SETFOCUS,      WM_PARENTNOTIFY, WM_DESTROY,    WM_NCDESTROY};
  for (UINT m : logged)
    if (m == msg) Log().push_back(std::string(tag ? tag : "?") + ":" + Name(msg));
  return DefWindowProcW(hwnd, msg, w, l);
}

HWND Make(const char* tag, DWORD style, HWND parent = nullptr, int id = 0) {
  creating = tag;
  return CreateWindowExW(0, u"LogW", u"", style, 10, 20, 100, 50, parent,
                         reinterpret_cast<HMENU>(uintptr_t(id)), nullptr, const_cast<char*>(tag));
}

class WindowLife : public HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    WNDCLASSW wc{};
    wc.lpfnWndProc = CALLBACK_LogW;
    wc.lpszClassName = u"LogW";
    ASSERT_NE(RegisterClassW(&wc), 0);
  }
};

TEST_F(WindowLife, CreationDeliversTheFirstMessagesInOrder) {
  HWND top = Make("top", WS_OVERLAPPED);
  ASSERT_NE(top, nullptr);
  EXPECT_EQ(Log(), (std::vector<std::string>{"top:GETMINMAXINFO", "top:NCCREATE", "top:NCCALCSIZE",
                                             "top:CREATE", "top:SIZE", "top:MOVE"}));
  Log().clear();
  HWND child = Make("child", WS_CHILD | WS_VISIBLE, top, 7);
  ASSERT_NE(child, nullptr);
  EXPECT_EQ(Log(),
            (std::vector<std::string>{"child:NCCREATE", "child:NCCALCSIZE", "child:CREATE", "child:SIZE",
                                      "child:MOVE", "child:SHOWWINDOW", "top:PARENTNOTIFY"}));
  EXPECT_EQ(GetDlgCtrlID(child), 7);
  EXPECT_EQ(GetParent(child), top);
  EXPECT_TRUE(IsChild(top, child));
  Log().clear();
  ShowWindow(top, SW_SHOW);
  EXPECT_EQ(Log(), (std::vector<std::string>{"top:SHOWWINDOW", "top:ACTIVATE", "top:SETFOCUS"}));
}

TEST_F(WindowLife, DestroyingSendsDestroyThenChildrenThenNcDestroy) {
  HWND top = Make("top", WS_OVERLAPPED);
  HWND a = Make("a", WS_CHILD, top);
  Make("a1", WS_CHILD, a);
  Make("b", WS_CHILD, top);
  Log().clear();
  ASSERT_TRUE(DestroyWindow(top));
  // Children are kept topmost first.
  EXPECT_EQ(Log(), (std::vector<std::string>{"top:DESTROY", "b:DESTROY", "b:NCDESTROY", "a:DESTROY",
                                             "a1:DESTROY", "a1:NCDESTROY", "a:NCDESTROY", "top:NCDESTROY"}));
  EXPECT_FALSE(IsWindow(top));
  EXPECT_FALSE(IsWindow(a));
  // A stale handle is never a live window, and messages to it go nowhere.
  HWND again = Make("again", WS_OVERLAPPED);
  EXPECT_NE(again, top);
  EXPECT_EQ(SendMessageW(top, WM_USER, 0, 0), 0);
  EXPECT_FALSE(PostMessageW(top, WM_USER, 0, 0));
}

LRESULT FailCreate(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
  if (msg == WM_CREATE) return -1;
  if (msg == WM_DESTROY || msg == WM_NCDESTROY) Log().push_back(Name(msg));
  return DefWindowProcW(hwnd, msg, w, l);
}

TEST_F(WindowLife, FailingCreationReturnsNullAfterDestroyMessages) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = FailCreate;
  wc.lpszClassName = u"Fail";
  RegisterClassW(&wc);
  EXPECT_EQ(CreateWindowExW(0, u"Fail", u"", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr), nullptr);
  EXPECT_EQ(Log(), (std::vector<std::string>{"DESTROY", "NCDESTROY"}));
  EXPECT_EQ(CreateWindowExW(0, u"Nope", u"", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_CLASS_DOES_NOT_EXIST);
}

LRESULT Second(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
  Log().push_back("second:" + Name(msg));
  return DefWindowProcW(hwnd, msg, w, l);
}

LRESULT ReplaceOnFirst(HWND hwnd, UINT msg, WPARAM, LPARAM) {
  Log().push_back("first:" + Name(msg));
  SetWindowLongPtrW(hwnd, GWL_WNDPROC, LONG_PTR(WNDPROC(Second)));
  return CallWindowProcW(Second, hwnd, msg, 0, 0);
}

TEST_F(WindowLife, ProcedureReplacedOnTheFirstMessageGetsTheRest) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = ReplaceOnFirst;
  wc.lpszClassName = u"Replace";
  RegisterClassW(&wc);
  HWND h = CreateWindowExW(0, u"Replace", u"", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(h, nullptr);
  ASSERT_GE(Log().size(), 3u);
  EXPECT_EQ(Log()[0], "first:GETMINMAXINFO");
  EXPECT_EQ(Log()[1], "second:GETMINMAXINFO");
  EXPECT_EQ(Log()[2], "second:NCCREATE");
  for (size_t i = 2; i < Log().size(); ++i) EXPECT_EQ(Log()[i].rfind("second:", 0), 0u) << Log()[i];
}

TEST_F(WindowLife, ClassesRegisterOnceAndStayWhileWindowsExist) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = CALLBACK_LogW;
  wc.lpszClassName = u"logw";  // names compare ASCII-case-insensitively
  EXPECT_EQ(RegisterClassW(&wc), 0);
  EXPECT_EQ(GetLastError(), ERROR_CLASS_ALREADY_EXISTS);
  HWND h = Make("x", WS_OVERLAPPED);
  EXPECT_FALSE(UnregisterClassW(u"LogW", nullptr));
  EXPECT_EQ(GetLastError(), ERROR_CLASS_HAS_WINDOWS);
  DestroyWindow(h);
  EXPECT_TRUE(UnregisterClassW(u"LogW", nullptr));
}

TEST_F(WindowLife, WindowDataAndExtraBytes) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.cbWndExtra = 16;
  wc.lpszClassName = "Data";
  RegisterClassA(&wc);
  HWND h = CreateWindowExA(0, "Data", "caption", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  EXPECT_EQ(SetWindowLongPtrA(h, 8, 0x1234), 0);
  EXPECT_EQ(GetWindowLongPtrA(h, 8), 0x1234);
  SetWindowLongPtrA(h, GWL_USERDATA, 99);
  EXPECT_EQ(GetWindowLongPtrA(h, GWL_USERDATA), 99);
  EXPECT_EQ(GetWindowLongPtrA(h, 64), 0);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  char text[32];
  EXPECT_EQ(GetWindowTextA(h, text, 32), 7);
  EXPECT_STREQ(text, "caption");
  EXPECT_EQ(FindWindowA(nullptr, "caption"), h);
  EXPECT_EQ(FindWindowA("DATA", "caption"), h);
  EXPECT_EQ(FindWindowA("Other", "caption"), nullptr);
}

TEST_F(WindowLife, AtomsRegisteredMessagesAndProperties) {
  const UINT a = RegisterWindowMessageA("MsgNetAppHandle");
  EXPECT_GE(a, 0xC000u);
  EXPECT_EQ(RegisterWindowMessageA("msgnetapphandle"), a);
  EXPECT_NE(RegisterWindowMessageA("Other"), a);
  EXPECT_EQ(GlobalAddAtomA("#123"), 123);
  HWND h = Make("p", WS_OVERLAPPED);
  EXPECT_TRUE(SetPropA(h, "Key", reinterpret_cast<HANDLE>(5)));
  EXPECT_EQ(GetPropA(h, "KEY"), reinterpret_cast<HANDLE>(5));
  EXPECT_EQ(RemovePropA(h, "Key"), reinterpret_cast<HANDLE>(5));
  EXPECT_EQ(GetPropA(h, "Key"), nullptr);
}

}  // namespace
