// Batched window moves, the non-client metrics and layered windows' opacity.
#include <cstring>

#include "platform/rtl/LastError.h"
#include "platform/win/DeferWindowPos.h"
#include "platform/win/LayeredWindows.h"
#include "platform/win/Monitors.h"
#include "platform/win/SystemParameters.h"
#include "tests/win/WinTestSupport.h"

using wintest::HeadlessTest;

namespace {

LRESULT LoggingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_MOVE) wintest::Log().push_back("MOVE " + std::to_string(GetDlgCtrlID(hwnd)));
  if (msg == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    HBRUSH brush = CreateSolidBrush(RGB(200, 100, 50));
    RECT r;
    GetClientRect(hwnd, &r);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
    EndPaint(hwnd, &ps);
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

class WindowBatches : public HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    WNDCLASSW wc{};
    wc.lpfnWndProc = LoggingProc;
    wc.lpszClassName = u"Batched";
    RegisterClassW(&wc);
  }
  HWND Top(DWORD exStyle = 0) {
    return CreateWindowExW(exStyle, u"Batched", u"", WS_POPUP | WS_VISIBLE, 10, 10, 100, 80, nullptr, nullptr,
                           nullptr, nullptr);
  }
  HWND Child(HWND parent, int id) {
    return CreateWindowExW(0, u"Batched", u"", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, parent,
                           reinterpret_cast<HMENU>(intptr_t(id)), nullptr, nullptr);
  }
};

TEST_F(WindowBatches, MovesWaitForTheEndOfTheBatchAndAreMadeInTheOrderAdded) {
  HWND top = Top();
  HWND a = Child(top, 1), b = Child(top, 2);
  wintest::Log().clear();
  HDWP batch = BeginDeferWindowPos(2);
  ASSERT_NE(batch, nullptr);
  batch = DeferWindowPos(batch, b, nullptr, 5, 6, 20, 10, SWP_NOZORDER | SWP_NOACTIVATE);
  batch = DeferWindowPos(batch, a, nullptr, 30, 40, 25, 15, SWP_NOZORDER | SWP_NOACTIVATE);
  ASSERT_NE(batch, nullptr);
  RECT r;
  GetWindowRect(b, &r);
  EXPECT_EQ(r.right - r.left, 10);  // nothing moved yet
  EXPECT_TRUE(wintest::Log().empty());
  EXPECT_TRUE(EndDeferWindowPos(batch));
  EXPECT_EQ(wintest::Log(), (std::vector<std::string>{"MOVE 2", "MOVE 1"}));
  GetClientRect(a, &r);
  EXPECT_EQ(r.right, 25);
  // The batch is closed: neither added to nor ended twice.
  EXPECT_FALSE(EndDeferWindowPos(batch));
  EXPECT_EQ(DeferWindowPos(batch, a, nullptr, 0, 0, 1, 1, 0), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
}

TEST_F(WindowBatches, ABadWindowClosesTheBatchWithoutMovingAnything) {
  HWND top = Top();
  HWND a = Child(top, 1), gone = Child(top, 2);
  DestroyWindow(gone);
  wintest::Log().clear();
  HDWP batch = BeginDeferWindowPos(1);
  batch = DeferWindowPos(batch, a, nullptr, 30, 40, 25, 15, SWP_NOZORDER);
  EXPECT_EQ(DeferWindowPos(batch, gone, nullptr, 1, 1, 1, 1, SWP_NOZORDER), nullptr);
  EXPECT_FALSE(EndDeferWindowPos(batch));
  EXPECT_TRUE(wintest::Log().empty());
  EXPECT_EQ(BeginDeferWindowPos(-1), nullptr);
}

TEST_F(WindowBatches, NonClientMetricsTakeBothRecordSizesAndGiveTheDefaultFontAsMessageFont) {
  LOGFONTW defaultFont{};
  GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof defaultFont, &defaultFont);
  NONCLIENTMETRICSW wide{};
  wide.cbSize = sizeof wide;
  ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof wide, &wide, 0));
  EXPECT_EQ(std::memcmp(&wide.lfMessageFont, &defaultFont, sizeof defaultFont), 0);
  EXPECT_EQ(wide.iScrollWidth, GetSystemMetrics(SM_CXVSCROLL));

  struct Case {
    UINT size;
    BOOL ok;
  };
  for (const Case c : {Case{344, TRUE}, Case{340, TRUE}, Case{0, FALSE}, Case{504, FALSE}}) {
    NONCLIENTMETRICSA narrow{};
    std::memset(&narrow, 0x5A, sizeof narrow);
    narrow.cbSize = c.size;
    EXPECT_EQ(SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, c.size, &narrow, 0), c.ok) << c.size;
    if (!c.ok) continue;
    EXPECT_EQ(narrow.lfMessageFont.lfHeight, defaultFont.lfHeight);
    EXPECT_EQ(narrow.lfMessageFont.lfFaceName[0], char(defaultFont.lfFaceName[0]));
    // The older record ends before the padded border: that field is left as it was.
    EXPECT_EQ(narrow.iPaddedBorderWidth, c.size == 340 ? 0x5A5A5A5A : 0) << c.size;
  }
  EXPECT_FALSE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, 0, nullptr, 0));
}

TEST_F(WindowBatches, ALayeredWindowWithAlphaIsBlendedInCaptures) {
  HWND plain = Top();
  EXPECT_FALSE(SetLayeredWindowAttributes(plain, 0, 128, LWA_ALPHA));  // not layered
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  HWND layered = Top(WS_EX_LAYERED);
  driver().RunUntilIdle();
  EXPECT_EQ(driver().Capture(layered).At(5, 5), 0xC86432u);  // opaque until given an alpha
  ASSERT_TRUE(SetLayeredWindowAttributes(layered, RGB(1, 2, 3), 128, LWA_ALPHA));
  BYTE alpha = 0;
  DWORD flags = 0;
  COLORREF key = 0;
  ASSERT_TRUE(GetLayeredWindowAttributes(layered, &key, &alpha, &flags));
  EXPECT_EQ(alpha, 128);
  EXPECT_EQ(flags, LWA_ALPHA);
  EXPECT_EQ(key, RGB(1, 2, 3));
  EXPECT_EQ(driver().Capture(layered).At(5, 5),
            (200u * 128 / 255) << 16 | (100u * 128 / 255) << 8 | 50u * 128 / 255);
  // A colour key alone leaves the opacity alone; dropping the style makes the window opaque.
  ASSERT_TRUE(SetLayeredWindowAttributes(layered, 0, 10, LWA_COLORKEY));
  EXPECT_EQ(WindowOpacity(layered), 255);
  ASSERT_TRUE(SetLayeredWindowAttributes(layered, 0, 10, LWA_ALPHA));
  EXPECT_EQ(WindowOpacity(layered), 10);
  SetWindowLongW(layered, GWL_EXSTYLE, 0);
  EXPECT_EQ(WindowOpacity(layered), 255);
  EXPECT_EQ(driver().Capture(layered).At(5, 5), 0xC86432u);
  EXPECT_FALSE(SetLayeredWindowAttributes(nullptr, 0, 1, LWA_ALPHA));
}

}  // namespace
