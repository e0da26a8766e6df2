// One small application of raw window procedures, the way the product's layers use the window
// system: a UTF-16 main window with an 8-bit child subclassed by a UTF-16 procedure, Khmer and
// Vietnamese typed inside a nested modal loop with the get-message hook installed, text and a
// bitmap painted, and the pixels and messages checked.
#include <string>

#include "support/TempDir.h"
#include "tests/win/WinTestSupport.h"

using wintest::HeadlessTest;

namespace {

std::string typedBytes;      // what the 8-bit child received
std::u16string subclassSaw;  // what its UTF-16 subclass saw
std::u16string hookSaw;      // what the hook saw
WNDPROC childOriginal;
HHOOK hook;
HBITMAP picture;
bool finished = false;

LRESULT NarrowChild(HWND h, UINT m, WPARAM w, LPARAM l) {
  switch (m) {
    case WM_CHAR:
      typedBytes.push_back(char(w));
      SetWindowTextA(h, typedBytes.c_str());
      InvalidateRect(h, nullptr, TRUE);
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(h, &ps);
      char text[256];
      const int n = GetWindowTextA(h, text, 256);
      RECT r;
      GetClientRect(h, &r);
      SetBkMode(dc, TRANSPARENT);
      DrawTextA(dc, text, n, &r, DT_SINGLELINE | DT_NOPREFIX);
      EndPaint(h, &ps);
      return 0;
    }
    default:
      return DefWindowProcA(h, m, w, l);
  }
}

LRESULT WideSubclass(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_CHAR) subclassSaw.push_back(char16_t(w));
  return CallWindowProcW(childOriginal, h, m, w, l);
}

LRESULT WideMain(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_USER) finished = true;
  if (m == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(h, &ps);
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(memory, picture);
    BitBlt(dc, 2, 2, 4, 4, memory, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
    EndPaint(h, &ps);
    return 0;
  }
  return DefWindowProcW(h, m, w, l);
}

LRESULT Hook(int code, WPARAM w, LPARAM l) {
  const MSG* m = reinterpret_cast<const MSG*>(l);
  if (m->message == WM_CHAR && w == PM_REMOVE) hookSaw.push_back(char16_t(m->wParam));
  return CallNextHookEx(hook, code, w, l);
}

class Scenario : public HeadlessTest {};

TEST_F(Scenario, MixedProceduresTypingPaintingAndPixels) {
  typedBytes.clear();
  subclassSaw.clear();
  hookSaw.clear();
  finished = false;
  driver().UseFixedMetricFont(6, 13);
  HDC screen = GetDC(nullptr);
  picture = CreateCompatibleBitmap(screen, 4, 4);
  ReleaseDC(nullptr, screen);
  {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, picture);
    RECT all{0, 0, 4, 4};
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    FillRect(dc, &all, red);
    DeleteObject(red);
    SelectObject(dc, old);
    DeleteDC(dc);
  }
  WNDCLASSW main{};
  main.lpfnWndProc = WideMain;
  main.lpszClassName = u"ScenarioMain";
  main.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  RegisterClassW(&main);
  WNDCLASSA child{};
  child.lpfnWndProc = NarrowChild;
  child.lpszClassName = "ScenarioChild";
  child.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  RegisterClassA(&child);
  HWND top = CreateWindowExW(0, u"ScenarioMain", u"Scenario", WS_VISIBLE | WS_CLIPCHILDREN, 50, 50, 200, 60,
                             nullptr, nullptr, nullptr, nullptr);
  HWND edit = CreateWindowExA(0, "ScenarioChild", "", WS_CHILD | WS_VISIBLE, 10, 20, 180, 20, top,
                              reinterpret_cast<HMENU>(5), nullptr, nullptr);
  ASSERT_FALSE(IsWindowUnicode(edit));
  childOriginal = WNDPROC(GetWindowLongPtrW(edit, GWL_WNDPROC));  // a stand-in for the 8-bit procedure
  SetWindowLongPtrW(edit, GWL_WNDPROC, LONG_PTR(WNDPROC(WideSubclass)));
  ASSERT_TRUE(IsWindowUnicode(edit));
  hook = SetWindowsHookExW(WH_GETMESSAGE, Hook, nullptr, 0);
  SetFocus(edit);

  const std::u16string text = u"Vi\u1EC7t \u1781\u17D2\u1798\u17C2\u179A";
  driver().SetIdleStep([&] { driver().Type(text); });
  driver().SetIdleStep([&] { PostMessageW(top, WM_USER, 0, 0); });
  EXPECT_TRUE(platform::win::RunModalLoop(top, [] { return finished; }));
  UnhookWindowsHookEx(hook);

  EXPECT_EQ(hookSaw, text);
  EXPECT_EQ(subclassSaw, text);
  char16_t back[64];
  EXPECT_EQ(GetWindowTextW(edit, back, 64), int(text.size()));
  EXPECT_EQ(std::u16string(back), text);
  EXPECT_EQ(SendMessageW(edit, WM_GETTEXTLENGTH, 0, 0), LRESULT(text.size()));
  EXPECT_EQ(SendMessageA(edit, WM_GETTEXTLENGTH, 0, 0), LRESULT(typedBytes.size()));
  EXPECT_EQ(PostMessageW(edit, WM_USER + 3, 0, 0), TRUE);

  const auto image = driver().Capture(top);
  EXPECT_EQ(image.At(2, 2), 0xFF0000u);  // the bitmap
  EXPECT_EQ(image.At(5, 5), 0xFF0000u);
  EXPECT_EQ(image.At(6, 6), 0xFFFFFFu);  // the class brush around it
  // The child's text: one 6 x 13 box per character (blanks empty), from the child's origin.
  const int characters = 10;
  for (int i = 0; i < characters; ++i) {
    const bool blank = i == 4;
    EXPECT_EQ(image.At(10 + i * 6 + 2, 20 + 6), blank ? 0xFFFFFFu : 0x000000u) << i;
  }
  EXPECT_EQ(image.At(10 + characters * 6 + 2, 26), 0xFFFFFFu);
  testsupport::TempDir dir;
  EXPECT_TRUE(driver().SavePng(top, dir.file("scenario.png")));
  driver().UseFixedMetricFont(0, 0);
  DeleteObject(picture);
}

}  // namespace
