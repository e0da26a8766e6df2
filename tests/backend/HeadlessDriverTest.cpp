// The headless driver: stalls instead of hangs, scripted steps, chords, captures and PNG dumps.
#include <gtest/gtest.h>

#include <fstream>

#include "platform/backend/HeadlessDriver.h"
#include "support/TempDir.h"

namespace {

using platform::headless::Driver;

class Headless : public ::testing::Test {
 protected:
  void SetUp() override { platform::headless::Install(); }
  void TearDown() override { platform::headless::Uninstall(); }
};

TEST_F(Headless, WaitingWithNothingDueIsAStallNotAHang) {
  MSG m;
  EXPECT_THROW(GetMessageW(&m, nullptr, 0, 0), platform::headless::HeadlessStall);
  Driver().SetIdleStep([] { PostMessageW(nullptr, WM_USER, 1, 2); });
  ASSERT_TRUE(GetMessageW(&m, nullptr, 0, 0));
  EXPECT_EQ(m.message, WM_USER);
  EXPECT_EQ(m.lParam, 2);
}

TEST_F(Headless, ChordsNameTheirKeys) {
  EXPECT_NO_THROW(Driver().Chord("Ctrl+Alt+A"));
  EXPECT_NO_THROW(Driver().Chord("Shift+Tab"));
  EXPECT_THROW(Driver().Chord("Ctrl+Nonsense"), std::invalid_argument);
}

TEST_F(Headless, CaptureAndPngDumpOfAWindow) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.lpszClassName = u"Plain";
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_INFOBK + 1);
  RegisterClassW(&wc);
  HWND h = CreateWindowExW(0, u"Plain", u"", WS_VISIBLE, 0, 0, 8, 4, nullptr, nullptr, nullptr, nullptr);
  const auto image = Driver().Capture(h);
  ASSERT_EQ(image.width, 8);
  EXPECT_EQ(image.At(7, 3), 0xFFFFE1u);  // clInfoBk as 0x00RRGGBB
  testsupport::TempDir dir;
  ASSERT_TRUE(Driver().SavePng(h, dir.file("w.png")));
  std::ifstream f(dir.file("w.png"), std::ios::binary);
  char magic[8] = {};
  f.read(magic, 8);
  EXPECT_EQ(std::string(magic + 1, 3), "PNG");
}

}  // namespace
