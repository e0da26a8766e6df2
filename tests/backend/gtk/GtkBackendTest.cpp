// The desktop backend under Xvfb: a small window tree of raw window procedures shows the same
// pixels on the X screen as the headless backend draws, clicks and typing from xdotool reach the
// window under the pointer as the classic messages, the window region shapes the X window,
// dragging by the caption moves it, and text crosses the system clipboard both ways.
#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "DesktopSession.h"
#include "platform/backend/HeadlessDriver.h"
#include "platform/backend/gtk/GtkBackend.h"
#include "platform/rtl/CodePage.h"
#include "platform/win/Win.h"

namespace {

using desktoptest::Capture;
using desktoptest::Pump;
using desktoptest::PumpUntil;
using desktoptest::Screenshot;

constexpr int kLeft = 50, kTop = 40, kWidth = 240, kHeight = 160;

struct Record {
  std::vector<POINT> presses;  // client coordinates of the child
  std::u16string chars;
  int topPresses = 0;
} record;

bool dragByCaption = false;

LRESULT TopProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      RECT r{0, 0, kWidth, kHeight};
      HBRUSH face = CreateSolidBrush(RGB(236, 233, 216));
      FillRect(dc, &r, face);
      DeleteObject(face);
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, RGB(20, 20, 120));
      const std::u16string text = u"Tiếng Việt ភាសាខ្មែរ";
      TextOutW(dc, 8, 100, text.c_str(), int(text.size()));
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_LBUTTONDOWN:
      ++record.topPresses;
      if (dragByCaption) {
        ReleaseCapture();
        SendMessageW(hwnd, WM_NCLBUTTONDOWN, HTCAPTION, 0);
      }
      return 0;
    default:
      return DefWindowProcW(hwnd, msg, w, l);
  }
}

LRESULT ChildProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      RECT r;
      GetClientRect(hwnd, &r);
      HBRUSH fill = CreateSolidBrush(GetFocus() == hwnd ? RGB(0, 120, 215) : RGB(40, 160, 60));
      FillRect(dc, &r, fill);
      DeleteObject(fill);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_LBUTTONDOWN:
      record.presses.push_back(POINT{GET_X_LPARAM(l), GET_Y_LPARAM(l)});
      SetFocus(hwnd);
      return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case WM_CHAR:
      record.chars.push_back(char16_t(w));
      return 0;
    default:
      return DefWindowProcW(hwnd, msg, w, l);
  }
}

struct Tree {
  HWND top = nullptr, child = nullptr;
};

// The same windows under either backend: a borderless top-level window with a notch cut out of
// its region, a child that takes clicks and characters.
Tree BuildTree() {
  static int round = 0;
  ++round;
  WNDCLASSW top{};
  top.lpfnWndProc = TopProc;
  top.lpszClassName = u"DeskTop";
  top.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  RegisterClassW(&top);
  WNDCLASSW child{};
  child.lpfnWndProc = ChildProc;
  child.lpszClassName = u"DeskChild";
  child.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_HAND));
  RegisterClassW(&child);
  Tree t;
  t.top = CreateWindowExW(0, u"DeskTop", u"Desktop test", WS_POPUP, kLeft, kTop, kWidth, kHeight, nullptr,
                          nullptr, nullptr, nullptr);
  t.child = CreateWindowExW(0, u"DeskChild", u"", WS_CHILD | WS_VISIBLE, 20, 20, 100, 60, t.top, nullptr,
                            nullptr, nullptr);
  HRGN shape = CreateRectRgn(0, 0, kWidth, kHeight);
  HRGN notch = CreateRectRgn(kWidth - 40, 0, kWidth, 30);
  CombineRgn(shape, shape, notch, RGN_DIFF);
  DeleteObject(notch);
  SetWindowRgn(t.top, shape, TRUE);
  ShowWindow(t.top, SW_SHOW);
  UpdateWindow(t.top);
  return t;
}

class GtkDesktop : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(desktoptest::EnsureDisplay(&error)) << error;
    record = Record();
    dragByCaption = false;
    desktoptest::StartDesktop();
    started_ = true;
  }
  void TearDown() override {
    if (started_) desktoptest::StopDesktop();
  }

  // Shows the tree and waits until the X server holds its pixels.
  Tree ShowTree() {
    Tree t = BuildTree();
    EXPECT_TRUE(PumpUntil(
        [&] { return platform::desktop::DesktopDraws(t.top) > 0 && platform::win::QueueIdle(); }, 10000));
    platform::desktop::SyncDesktop();
    Pump(100);
    return t;
  }

  static std::string Xdotool() { return "xdotool"; }

  bool started_ = false;
};

platform::headless::CaptureImage HeadlessPixels() {
  platform::headless::Install();
  const Tree t = BuildTree();
  platform::headless::CaptureImage image = platform::headless::Driver().Capture(t.top);
  platform::headless::Uninstall();
  return image;
}

TEST(GtkDesktopPixels, TheXScreenShowsWhatTheHeadlessBackendDrawsInsideTheWindowRegion) {
  const platform::headless::CaptureImage expected = HeadlessPixels();
  ASSERT_EQ(expected.width, kWidth);
  ASSERT_EQ(expected.height, kHeight);

  std::string error;
  ASSERT_TRUE(desktoptest::EnsureDisplay(&error)) << error;
  desktoptest::StartDesktop();
  const Tree t = BuildTree();
  ASSERT_TRUE(PumpUntil(
      [&] { return platform::desktop::DesktopDraws(t.top) > 0 && platform::win::QueueIdle(); }, 10000));
  Screenshot shot;
  const bool captured = Capture(shot, &error);
  desktoptest::StopDesktop();
  ASSERT_TRUE(captured) << error;

  int differing = 0, outsideShown = 0;
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      const uint32_t seen = shot.At(kLeft + x, kTop + y);
      const bool notch = x >= kWidth - 40 && y < 30;
      if (notch)
        outsideShown += seen != 0;  // the black root shows through the cut-out
      else
        differing += seen != expected.At(x, y);
    }
  EXPECT_EQ(differing, 0);
  EXPECT_EQ(outsideShown, 0);
  EXPECT_EQ(shot.At(kLeft - 1, kTop), 0u);               // nothing drawn outside the window
  EXPECT_EQ(shot.At(kLeft + 30, kTop + 30), 0x28A03Cu);  // the child, unfocused
}

TEST_F(GtkDesktop, AClickReachesTheChildUnderThePointerAndTypedTextArrivesAsCharacters) {
  const Tree t = ShowTree();
  // Child at (20, 20) in the client area: the pointer lands 10, 5 inside it.
  ASSERT_EQ(desktoptest::Run({"xdotool", "mousemove", std::to_string(kLeft + 30), std::to_string(kTop + 25),
                              "click", "1"}),
            0);
  ASSERT_TRUE(PumpUntil([] { return !record.presses.empty(); }, 20000));
  EXPECT_EQ(record.presses[0].x, 10);
  EXPECT_EQ(record.presses[0].y, 5);
  EXPECT_EQ(GetFocus(), t.child);
  EXPECT_EQ(record.topPresses, 0);

  // Plain keys, shifted keys and letters outside the keyboard layout (committed as text by the
  // input method) all arrive as WM_CHAR in order.
  ASSERT_EQ(desktoptest::Run({"xdotool", "type", "--delay", "40", "aB1 ệក"}), 0);
  const std::u16string want = u"aB1 ệក";
  EXPECT_TRUE(PumpUntil([&] { return record.chars.size() >= want.size(); }, 20000));
  EXPECT_EQ(record.chars, want);
}

TEST_F(GtkDesktop, ClickingTheCutOutAreaDoesNotReachTheWindow) {
  ShowTree();
  ASSERT_EQ(desktoptest::Run({"xdotool", "mousemove", std::to_string(kLeft + kWidth - 10),
                              std::to_string(kTop + 10), "click", "1", "mousemove",
                              std::to_string(kLeft + 10), std::to_string(kTop + 140), "click", "1"}),
            0);
  ASSERT_TRUE(PumpUntil([] { return record.topPresses > 0; }, 20000));
  Pump(100);
  EXPECT_EQ(record.topPresses, 1);  // only the click inside the region
}

TEST_F(GtkDesktop, DraggingByTheCaptionMovesTheWindowWithThePointer) {
  const Tree t = ShowTree();
  dragByCaption = true;
  const int x = kLeft + 10, y = kTop + 140;
  ASSERT_EQ(desktoptest::Run({"xdotool",
                              "mousemove",
                              std::to_string(x),
                              std::to_string(y),
                              "mousedown",
                              "1",
                              "sleep",
                              "0.1",
                              "mousemove",
                              std::to_string(x + 20),
                              std::to_string(y + 10),
                              "sleep",
                              "0.1",
                              "mousemove",
                              std::to_string(x + 60),
                              std::to_string(y + 30),
                              "sleep",
                              "0.1",
                              "mouseup",
                              "1"}),
            0);
  RECT r{};
  EXPECT_TRUE(PumpUntil(
      [&] {
        GetWindowRect(t.top, &r);
        return r.left == kLeft + 60 && r.top == kTop + 30;
      },
      5000));
  EXPECT_EQ(r.left, kLeft + 60);
  EXPECT_EQ(r.top, kTop + 30);
  // The X window went there too: its pixels are at the new place.
  Screenshot shot;
  std::string error;
  ASSERT_TRUE(Capture(shot, &error)) << error;
  EXPECT_EQ(shot.At(kLeft + 60 + 30, kTop + 30 + 30), 0x28A03Cu);
  EXPECT_EQ(shot.At(kLeft + 30, kTop + 30), 0u);
}

HGLOBAL TextBlock(const std::u16string& text) {
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * 2);
  auto* p = static_cast<char16_t*>(GlobalLock(h));
  std::copy(text.begin(), text.end(), p);
  p[text.size()] = 0;
  GlobalUnlock(h);
  return h;
}

TEST_F(GtkDesktop, TextCrossesTheSystemClipboardAsUtf8WithDesktopLineEnds) {
  const Tree t = ShowTree();
  ASSERT_TRUE(OpenClipboard(t.top));
  EmptyClipboard();
  SetClipboardData(CF_UNICODETEXT, TextBlock(u"Tiếng Việt\r\nភាសា"));
  CloseClipboard();
  Pump(50);
  GtkClipboard* desktop = gtk_clipboard_get(GDK_SELECTION_CLIPBOARD);
  gchar* text = gtk_clipboard_wait_for_text(desktop);
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(std::string(text), "Tiếng Việt\nភាសា");
  g_free(text);

  // Another owner's text comes back with CR LF, readable in both forms.
  gtk_clipboard_set_text(desktop, "line one\nline two", -1);
  Pump(200);
  ASSERT_TRUE(OpenClipboard(t.top));
  HANDLE h = GetClipboardData(CF_UNICODETEXT);
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(std::u16string(static_cast<const char16_t*>(GlobalLock(h))), u"line one\r\nline two");
  GlobalUnlock(h);
  CloseClipboard();
}

TEST_F(GtkDesktop, APictureOnTheClipboardIsOfferedAsPng) {
  const Tree t = ShowTree();
  // A 2 x 2 packed DIB, bottom-up, 32-bit.
  const uint32_t rows[4] = {0x0000FF, 0x00FF00, 0xFF0000, 0x123456};  // bottom row first
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, 40 + sizeof rows);
  auto* p = static_cast<uint8_t*>(GlobalLock(h));
  std::fill(p, p + 40, 0);
  p[0] = 40, p[4] = 2, p[8] = 2, p[12] = 1, p[14] = 32;
  std::copy(reinterpret_cast<const uint8_t*>(rows), reinterpret_cast<const uint8_t*>(rows) + sizeof rows,
            p + 40);
  GlobalUnlock(h);
  ASSERT_TRUE(OpenClipboard(t.top));
  EmptyClipboard();
  SetClipboardData(CF_DIB, h);
  CloseClipboard();
  Pump(50);
  GdkPixbuf* image = gtk_clipboard_wait_for_image(gtk_clipboard_get(GDK_SELECTION_CLIPBOARD));
  ASSERT_NE(image, nullptr);
  ASSERT_EQ(gdk_pixbuf_get_width(image), 2);
  const guchar* px = gdk_pixbuf_read_pixels(image);
  const int stride = gdk_pixbuf_get_rowstride(image), n = gdk_pixbuf_get_n_channels(image);
  auto at = [&](int x, int y) {
    const guchar* s = px + y * stride + x * n;
    return uint32_t(s[0]) << 16 | uint32_t(s[1]) << 8 | s[2];
  };
  EXPECT_EQ(at(0, 0), 0xFF0000u);  // top row is the last in the DIB
  EXPECT_EQ(at(1, 0), 0x123456u);
  EXPECT_EQ(at(0, 1), 0x0000FFu);
  g_object_unref(image);
}

}  // namespace
