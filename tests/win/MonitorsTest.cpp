// The one monitor: the screen, with the screen as its work area.
#include "platform/win/Monitors.h"
#include "tests/win/WinTestSupport.h"

using wintest::HeadlessTest;

namespace {

class Monitors : public HeadlessTest {};

BOOL CountMonitor(HMONITOR, HDC, RECT* rect, LPARAM data) {
  auto* seen = reinterpret_cast<std::vector<RECT>*>(data);
  seen->push_back(*rect);
  return TRUE;
}

TEST_F(Monitors, TheScreenIsTheOneMonitorAndItsWorkArea) {
  const LONG w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
  const HMONITOR screen = MonitorFromPoint(POINT{10, 10}, MONITOR_DEFAULTTONULL);
  ASSERT_NE(screen, nullptr);
  EXPECT_EQ(MonitorFromPoint(POINT{w + 10, 10}, MONITOR_DEFAULTTONULL), nullptr);
  EXPECT_EQ(MonitorFromPoint(POINT{w + 10, 10}, MONITOR_DEFAULTTONEAREST), screen);
  EXPECT_EQ(MonitorFromWindow(nullptr, MONITOR_DEFAULTTOPRIMARY), screen);
  MONITORINFO info{};
  EXPECT_FALSE(GetMonitorInfoA(screen, &info));  // the size must be set
  info.cbSize = sizeof info;
  ASSERT_TRUE(GetMonitorInfoA(screen, &info));
  EXPECT_EQ(info.rcMonitor.right, w);
  EXPECT_EQ(info.rcWork.bottom, h);
  EXPECT_EQ(info.dwFlags, MONITORINFOF_PRIMARY);
  RECT work{};
  ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0));
  EXPECT_EQ(work.right, w);
  EXPECT_EQ(work.bottom, h);
  EXPECT_FALSE(SystemParametersInfoA(0x1234, 0, &work, 0));
  std::vector<RECT> seen;
  EnumDisplayMonitors(nullptr, nullptr, CountMonitor, reinterpret_cast<LPARAM>(&seen));
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].right, w);
  const RECT outside{w + 10, 0, w + 100, 100};
  seen.clear();
  EnumDisplayMonitors(nullptr, &outside, CountMonitor, reinterpret_cast<LPARAM>(&seen));
  EXPECT_TRUE(seen.empty());
}

}  // namespace

// Cursors compiled in as resources load by name; other data under the name does not.
#include "platform/rtl/Program.h"
#include "platform/rtl/Resources.h"

namespace {

class ResourceCursors : public HeadlessTest {};

TEST_F(ResourceCursors, ACompiledInCursorLoadsByName) {
  static const unsigned char cursor[22 + 40] = {0,  0, 2,  0, 1,  0, 32, 32, 0, 0,
                                                16, 0, 16, 0, 40, 0, 0,  0,  22};
  static const unsigned char notCursor[30] = {0, 0, 1, 0, 1, 0};  // an icon's header
  platform::RegisterResource(RT_GROUP_CURSOR, "TEST_CURSOR", cursor, sizeof cursor);
  platform::RegisterResource(RT_GROUP_CURSOR, "TEST_ICONISH", notCursor, sizeof notCursor);
  const HCURSOR loaded = LoadCursorA(HInstance, "TEST_CURSOR");
  ASSERT_NE(loaded, nullptr);
  EXPECT_EQ(LoadCursorA(HInstance, "test_cursor"), loaded);  // names in any case, the same cursor
  EXPECT_NE(loaded, LoadCursorA(nullptr, MAKEINTRESOURCEA(IDC_ARROW)));
  EXPECT_EQ(LoadCursorA(HInstance, "TEST_ICONISH"), nullptr);
  EXPECT_EQ(LoadCursorA(HInstance, "NO_SUCH_CURSOR"), nullptr);
  EXPECT_NE(LoadCursorA(nullptr, MAKEINTRESOURCEA(IDC_SIZEWE)), nullptr);
}

}  // namespace
