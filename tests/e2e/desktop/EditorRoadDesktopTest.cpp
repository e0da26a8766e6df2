// One road of the real editor program on a private X display with the desktop backend: opened on
// a message from the command line, a new page, its duration typed in, closed without keeping it.
// The slide strip shows on the X screen the pixels the headless backend draws for the same steps.
// Moving the window is left to the headless roads: a bare X server has no window manager.
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <filesystem>
#include <string>

#include "DesktopSession.h"
#include "controls/TImButton.h"
#include "editor/EditorStart.h"
#include "editor/TfrmMain.h"
#include "mms/MmsTrace.h"
#include "platform/backend/HeadlessDriver.h"
#include "platform/forms/PlatformStartup.h"
#include "platform/forms/TEdit.h"
#include "platform/forms/TImage.h"
#include "support/RuntimeFolder.h"
#include "support/SharedData.h"
#include "support/TempDir.h"
#include "unicode/UcLayer.h"

namespace {

namespace fs = std::filesystem;
using platform::headless::CaptureImage;
using platform::headless::Driver;

// The strip's rectangle in the main window (client = window: the window has no frame).
constexpr RECT kStrip{77, 88, 77 + 250, 88 + 209};

POINT Centre(TControl* c) { return {c->Left() + c->Width() / 2, c->Top() + c->Height() / 2}; }

// The same steps headless in this process, with the same application folder: the window after
// opening, and after the new page with its duration 5.
struct HeadlessRun {
  CaptureImage opened, twoPages;
};

HeadlessRun RunHeadless(const std::string& message) {
  testsupport::TempDir runtime;  // a lock of its own: the program's run must not meet it
  setenv("PLATFORM_RUNTIME_DIR", runtime.path().c_str(), 1);
  unicode::RegisterLayer();
  platform::Startup();
  HeadlessRun out;
  Driver().OnModal([](const platform::win::ModalInfo&) { return platform::win::ModalAnswer::Result(3); });
  if (EditorStart({"open", message})) {
    TfrmMain* main = frmMain;
    main->Show();
    Driver().RunUntilIdle();
    out.opened = Driver().Capture(main->Handle());
    auto click = [&](POINT client) {
      Driver().Click(Driver().ClientPoint(main->Handle(), client.x, client.y));
      Driver().RunUntilIdle();
      Driver().Advance(1000);
    };
    click(Centre(main->Controls().btnNewFrame));
    click({kStrip.left + 150, kStrip.top + 40});
    click(Centre(main->Controls().Edit_Cur));
    Driver().Chord("End");
    Driver().Chord("Backspace");
    Driver().Chord("Backspace");
    Driver().Type(u"5");
    Driver().RunUntilIdle();
    out.twoPages = Driver().Capture(main->Handle());
  }
  platform::Shutdown();
  testsupport::RestoreRuntimeFolder();
  return out;
}

// Runs xdotool (under a watchdog) while the display is served.
int Xdotool(const std::string& arguments) {
  return desktoptest::Run({"sh", "-c", "timeout 10 xdotool " + arguments}, 15000);
}

bool WindowTitled(const std::string& title, std::string* id) {
  *id = desktoptest::FindWindow(title);
  return !id->empty();
}

POINT Origin(const std::string& window) {
  int x = -1, y = -1;
  desktoptest::WindowPosition(window, &x, &y);
  return POINT{x, y};
}

// Pixels of the strip that differ between the X screen (window at `at`) and the headless capture.
int StripDifference(const desktoptest::Screenshot& shot, POINT at, const CaptureImage& want) {
  int differing = 0;
  for (int y = kStrip.top; y < kStrip.bottom; ++y)
    for (int x = kStrip.left; x < kStrip.right; ++x)
      differing += shot.At(at.x + x, at.y + y) != want.At(x, y);
  return differing;
}

TEST(EditorRoadOnTheDesktop, OpenAddAPageSetItsDurationAndCloseWithoutKeeping) {
  // The application folder: a copy of the built program with what travels beside it.
  testsupport::TempDir app;
  const fs::path built = fs::path(MMSEDITOR_PATH).parent_path();
  fs::copy_file(MMSEDITOR_PATH, app.file("mmseditor"));
  for (const char* folder : {"language_editer", "UI_Mivora", "help"})
    fs::copy(built / folder, app.file(folder), fs::copy_options::recursive);
  fs::copy_file(built / "App.Config.ini", app.file("App.Config.ini"));
  const std::string message = app.file("t310.mms");
  fs::copy_file(testsupport::SharedPath("testdata/mms/SonyEricssonT310-R201.mms"), message);
  setenv("MMSEDITOR_APP_DIR", app.path().c_str(), 1);

  MmsSetTrace(false);
  const HeadlessRun expected = RunHeadless(message);
  ASSERT_EQ(expected.opened.width, 497);
  ASSERT_EQ(expected.twoPages.width, 497);

  std::string error;
  ASSERT_TRUE(desktoptest::EnsureDisplay(&error)) << error;
  desktoptest::StartDesktop();    // a runtime folder of its own, which the program inherits
  unsetenv("MMSEDITOR_APP_DIR");  // the copy finds its folder beside itself
  setenv("PLATFORM_BACKEND", "gtk", 1);
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  const int editor = desktoptest::Spawn({app.file("mmseditor"), "open", message});
  ASSERT_GT(editor, 0);
  std::string window;
  ASSERT_TRUE(WindowTitled("Mivora", &window)) << "no window titled Mivora";
  const POINT at = Origin(window);
  ASSERT_GE(at.x, 0);

  desktoptest::Screenshot shot;
  auto stripShows = [&](const CaptureImage& want) {
    int differing = -1;
    desktoptest::PumpUntil(
        [&] {
          if (!desktoptest::Capture(shot, &error)) return false;
          differing = StripDifference(shot, at, want);
          return differing == 0;
        },
        10000);
    return differing;
  };
  EXPECT_EQ(stripShows(expected.opened), 0);
  fs::create_directories(MMS_SCREENSHOT_DIR);
  platform::headless::WritePng(std::string(MMS_SCREENSHOT_DIR) + "/xvfb-open.png", shot.width, shot.height,
                               shot.pixels.data());

  // A new page, its title, then its duration: the window takes the keyboard focus first, as no
  // window manager gives it.
  auto click = [&](POINT client) {
    EXPECT_EQ(Xdotool("mousemove " + std::to_string(at.x + client.x) + " " + std::to_string(at.y + client.y) +
                      " click 1"),
              0);
    desktoptest::Pump(300);
  };
  click({77 + 40, 330 + 11});                   // btnNewFrame
  click({kStrip.left + 150, kStrip.top + 40});  // the new page's title
  EXPECT_EQ(Xdotool("windowfocus " + window), 0);
  click({100 + 16, 62 + 10});  // Edit_Cur
  EXPECT_EQ(Xdotool("key End BackSpace BackSpace"), 0);
  EXPECT_EQ(Xdotool("type 5"), 0);
  desktoptest::Pump(300);
  EXPECT_EQ(stripShows(expected.twoPages), 0);
  platform::headless::WritePng(std::string(MMS_SCREENSHOT_DIR) + "/xvfb-two-pages.png", shot.width,
                               shot.height, shot.pixels.data());
  // The duration edit shows 5 as headless draws it (its inside, without the caret's column).
  int editDiffering = 0;
  for (int y = 64; y < 80; ++y)
    for (int x = 102; x < 110; ++x)
      editDiffering += shot.At(at.x + x, at.y + y) != expected.twoPages.At(x, y);
  EXPECT_EQ(editDiffering, 0);

  // Close, and "No" in the close question: the program ends with 0 and keeps nothing.
  click({455 + 17, 4 + 11});
  std::string question;
  ASSERT_TRUE(WindowTitled("MessageBoxForm", &question)) << "no close question";
  const POINT q = Origin(question);
  EXPECT_EQ(Xdotool("mousemove " + std::to_string(q.x + 121 + 44) + " " + std::to_string(q.y + 111 + 11) +
                    " click 1"),
            0);
  EXPECT_EQ(desktoptest::Reap(editor, 20000), 0);
  for (const char* folder : {"TXT", "Image", "Audio", "Preview", "Sizetemp"})
    EXPECT_TRUE(fs::is_empty(app.file(std::string("tmp/") + folder))) << folder;
  EXPECT_TRUE(fs::is_directory(app.file("tmp/Send")));

  unsetenv("PLATFORM_BACKEND");
  unsetenv("SDL_AUDIODRIVER");
  desktoptest::StopDesktop();
}

}  // namespace
