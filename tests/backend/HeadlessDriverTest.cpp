// The headless driver: stalls instead of hangs, scripted steps, chords, captures and PNG dumps.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/backend/HeadlessDriver.h"
#include "platform/rtl/Process.h"
#include "platform/win/Endpoint.h"
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

// Headless, the endpoint uses the runtime folder every backend uses: $XDG_RUNTIME_DIR/mmsplatform
// when nothing else is named, so a headless program is found by the user's other programs; and
// nothing of its own stays behind when it ends.
TEST(HeadlessRuntimeFolder, IsTheDesktopsRule) {
  testsupport::TempDir xdg;
  chmod(xdg.path().c_str(), 0700);
  const std::string named = std::getenv("PLATFORM_RUNTIME_DIR") ? std::getenv("PLATFORM_RUNTIME_DIR") : "";
  const char* xdgBefore = std::getenv("XDG_RUNTIME_DIR");
  const std::string xdgSaved = xdgBefore ? xdgBefore : "";
  unsetenv("PLATFORM_RUNTIME_DIR");
  setenv("XDG_RUNTIME_DIR", xdg.path().c_str(), 1);
  platform::headless::Install();
  const uint32_t slot = platform::win::EndpointSlot();
  const std::string folder = xdg.path() + "/mmsplatform";
  struct stat st {};
  const bool listening = stat((folder + "/slot-" + std::to_string(slot) + ".sock").c_str(), &st) == 0;
  const char* during = std::getenv("PLATFORM_RUNTIME_DIR");
  const bool namedNone = !during || !*during;
  platform::headless::Uninstall();
  if (xdgBefore)
    setenv("XDG_RUNTIME_DIR", xdgSaved.c_str(), 1);
  else
    unsetenv("XDG_RUNTIME_DIR");
  if (!named.empty()) setenv("PLATFORM_RUNTIME_DIR", named.c_str(), 1);
  EXPECT_NE(slot, 0u);
  EXPECT_TRUE(listening) << "no endpoint in " << folder;
  EXPECT_TRUE(namedNone) << "a folder of its own was named";
  // Its slot's files go with it; the folder stays for the user's other programs.
  EXPECT_TRUE(std::filesystem::is_empty(folder));
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

TEST_F(Headless, ProgramStartsAreLoggedNotSpawned) {
  testsupport::TempDir dir;
  const std::string page = dir.write("help/index.html", "<html></html>");
  EXPECT_GT(WinExec(("hh " + page).c_str(), SW_SHOWNORMAL), 31u);
  // A help file that is not there starts nothing and answers an error.
  EXPECT_LE(WinExec(("hh " + dir.file("help/missing.html")).c_str(), SW_SHOWNORMAL), 31u);
  ASSERT_EQ(Driver().ProgramStarts().size(), 1u);
  EXPECT_EQ(Driver().ProgramStarts()[0].argv, (std::vector<std::string>{"xdg-open", page}));
  // Once the headless backend is gone the real starter is back: a program that does not exist
  // fails for real instead of landing in the log.
  platform::headless::Uninstall();
  EXPECT_NE(platform::StartProgram({"/nonexistent/program-for-the-starter-test"}, ""), 0);
  platform::headless::Install();
  EXPECT_TRUE(Driver().ProgramStarts().empty());
}

}  // namespace
