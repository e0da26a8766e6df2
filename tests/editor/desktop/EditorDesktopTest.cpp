// The editor program on the desktop backend under a private Xvfb: its main window is found by its
// title from outside, shows on the X screen the pixels the headless backend draws for it (inside
// the window's shape), and a second editor started meanwhile ends at once with 0 while the first
// keeps running. Another program's language change shows the Khmer texts the headless backend
// draws.
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "DesktopSession.h"
#include "editor/EditorStart.h"
#include "editor/TfrmMain.h"
#include "platform/backend/HeadlessDriver.h"
#include "platform/forms/PlatformStartup.h"
#include "platform/rtl/Program.h"
#include "platform/rtl/SysUtils.h"
#include "support/RuntimeFolder.h"
#include "support/TempDir.h"
#include "tests/editor/EditorFixture.h"
#include "unicode/UcLayer.h"

namespace {

using desktoptest::PumpUntil;

struct HeadlessMain {
  platform::headless::CaptureImage image;
  std::vector<RECT> shape;
};

// The main window at start, drawn headless with the same application folder.
HeadlessMain HeadlessStart() {
  testsupport::TempDir runtime;  // a lock of its own: the program's run must not meet it
  setenv("PLATFORM_RUNTIME_DIR", runtime.path().c_str(), 1);
  unicode::RegisterLayer();
  platform::Startup();
  HeadlessMain out;
  if (EditorStart({})) {
    frmMain->Show();
    platform::headless::Driver().RunUntilIdle();
    out.image = platform::headless::Driver().Capture(frmMain->Handle());
    out.shape = platform::headless::Driver().Shape(frmMain->Handle());
  }
  platform::Shutdown();
  testsupport::RestoreRuntimeFolder();
  return out;
}

// The first line of a command's output.
std::string FirstLine(const std::string& command) {
  std::string out;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[256];
    if (fgets(buffer, sizeof buffer, pipe)) out = buffer;
    pclose(pipe);
  }
  while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) out.pop_back();
  return out;
}

bool InShape(const std::vector<RECT>& shape, int x, int y) {
  for (const RECT& r : shape)
    if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return true;
  return false;
}

TEST(EditorOnTheDesktop, ShowsTheHeadlessWindowAndASecondEditorEndsAtOnce) {
  testsupport::TempDir app;
  editortest::CopyProductLanguageFiles(app);
  app.write("App.Config.ini", editortest::SettingsFor(u"\\Language\\lan_ENG.ini"));
  setenv("MMSEDITOR_APP_DIR", app.path().c_str(), 1);

  // The window as headless start-up draws it in Khmer, then in English (the program's start).
  app.write("App.Config.ini", editortest::SettingsFor(u"\\Language\\lan_Khmer.ini"));
  const HeadlessMain khmer = HeadlessStart();
  app.write("App.Config.ini", editortest::SettingsFor(u"\\Language\\lan_ENG.ini"));
  const HeadlessMain expected = HeadlessStart();
  ASSERT_EQ(expected.image.width, 497);
  ASSERT_FALSE(expected.shape.empty());
  ASSERT_EQ(khmer.image.width, 497);

  std::string error;
  ASSERT_TRUE(desktoptest::EnsureDisplay(&error)) << error;
  desktoptest::StartDesktop();  // a runtime folder of its own, which the programs inherit
  setenv("PLATFORM_BACKEND", "gtk", 1);
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  const int first = desktoptest::Spawn({MMSEDITOR_PATH});
  ASSERT_GT(first, 0);
  const bool found = PumpUntil(
      [] {
        return desktoptest::Run({"sh", "-c", "xdotool search --name '^Mivora$' >/dev/null"}) == 0;
      },
      20000);
  ASSERT_TRUE(found) << "no window titled Mivora";
  const std::string window = FirstLine("xdotool search --name '^Mivora$'");
  int left = -1, top = -1;
  const std::string geometry = FirstLine("xdotool getwindowgeometry --shell " + window + " | tr '\\n' ' '");
  ASSERT_EQ(std::sscanf(geometry.c_str(), "WINDOW=%*s X=%d Y=%d", &left, &top), 2) << geometry;

  // Inside its shape the window shows the headless pixels (once it has painted).
  desktoptest::Screenshot shot;
  auto differingFrom = [&](const HeadlessMain& want) {
    int differing = -1;
    PumpUntil(
        [&] {
          if (!desktoptest::Capture(shot, &error)) return false;
          differing = 0;
          for (int y = 0; y < want.image.height; ++y)
            for (int x = 0; x < want.image.width; ++x)
              if (InShape(want.shape, x, y) && left + x < shot.width && top + y < shot.height)
                differing += shot.At(left + x, top + y) != want.image.At(x, y);
          return differing == 0;
        },
        10000);
    return differing;
  };
  EXPECT_EQ(differingFrom(expected), 0) << "at " << left << ", " << top;
  // Outside the shape (the rounded corners) the black root window shows through.
  for (POINT corner : {POINT{0, 0}, POINT{496, 0}, POINT{0, 360}, POINT{496, 360}}) {
    ASSERT_FALSE(InShape(expected.shape, corner.x, corner.y));
    EXPECT_EQ(shot.At(left + corner.x, top + corner.y), 0u) << corner.x << ", " << corner.y;
  }
  std::filesystem::create_directories(MMS_SCREENSHOT_DIR);
  platform::headless::WritePng(std::string(MMS_SCREENSHOT_DIR) + "/desktop-start.png", shot.width,
                               shot.height, shot.pixels.data());

  // Another program announces Khmer: the window then shows what headless start-up in Khmer
  // draws, its texts and the docked preview alike.
  app.write("App.Config.ini", editortest::SettingsFor(u"\\Language\\lan_Khmer.ini"));
  EXPECT_EQ(desktoptest::Run({EDITOR_PEER_PATH, "0x778"}, 30000), 0) << "the peer did not reach the editor";
  EXPECT_EQ(differingFrom(khmer), 0);
  platform::headless::WritePng(std::string(MMS_SCREENSHOT_DIR) + "/desktop-km.png", shot.width, shot.height,
                               shot.pixels.data());

  // A second editor of the same user ends at once, without a window; the first keeps running.
  // The bound is generous: a sanitizer build on a loaded machine takes seconds just to start.
  EXPECT_EQ(desktoptest::Run({MMSEDITOR_PATH}, 60000), 0);
  int status = 0;
  EXPECT_EQ(waitpid(first, &status, WNOHANG), 0) << "the first editor ended";
  EXPECT_EQ(desktoptest::Run({"sh", "-c", "xdotool search --name '^Mivora$' >/dev/null"}), 0);

  kill(first, SIGTERM);
  desktoptest::Reap(first, 5000);
  unsetenv("PLATFORM_BACKEND");
  unsetenv("SDL_AUDIODRIVER");
  unsetenv("MMSEDITOR_APP_DIR");
  desktoptest::StopDesktop();
}

// A press on the window's background starts a move. Without a window manager the program moves
// the window itself; with one (openbox) the manager does. Either way the move ends with the
// gesture, and the strip hears the next click: its first page's title band turns the selection's
// colour.
TEST(EditorOnTheDesktop, AfterADragOnTheBackgroundTheStripStillSelects) {
  testsupport::TempDir app;
  editortest::CopyProductLanguageFiles(app);
  app.write("App.Config.ini", editortest::SettingsFor(u"\\Language\\lan_ENG.ini"));
  setenv("MMSEDITOR_APP_DIR", app.path().c_str(), 1);
  std::string error;
  ASSERT_TRUE(desktoptest::EnsureDisplay(&error)) << error;
  setenv("PLATFORM_BACKEND", "gtk", 1);
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  auto xdotool = [](const std::vector<std::string>& args) {
    std::vector<std::string> argv{"xdotool"};
    argv.insert(argv.end(), args.begin(), args.end());
    return desktoptest::Run(argv);
  };
  auto at = [](int x) { return std::to_string(x); };
  for (const bool manager : {false, true}) {
    SCOPED_TRACE(manager ? "openbox" : "no window manager");
    desktoptest::StartDesktop();
    int wm = -1;
    if (manager) {
      const std::string started = app.file("openbox-started");
      wm = desktoptest::Spawn({"openbox", "--startup", "touch " + started});
      ASSERT_GT(wm, 0);
      ASSERT_TRUE(PumpUntil([&] { return std::filesystem::exists(started); }, 20000))
          << "openbox did not start";
    }
    const int editor = desktoptest::Spawn({MMSEDITOR_PATH});
    ASSERT_GT(editor, 0);
    ASSERT_TRUE(PumpUntil(
        [] {
          return desktoptest::Run({"sh", "-c", "xdotool search --name '^Mivora$' >/dev/null"}) == 0;
        },
        20000));
    const std::string window = FirstLine("xdotool search --name '^Mivora$'");
    auto where = [&] {
      POINT p{-1, -1};
      const std::string g = FirstLine("xdotool getwindowgeometry --shell " + window + " | tr '\\n' ' '");
      std::sscanf(g.c_str(), "WINDOW=%*s X=%d Y=%d", &p.x, &p.y);
      return p;
    };
    desktoptest::Screenshot shot;
    const POINT title{85, 138};  // inside the first page's title band, clear of its number
    auto titleColour = [&](POINT origin) {
      return desktoptest::Capture(shot, &error) ? shot.At(origin.x + title.x, origin.y + title.y) : 0u;
    };
    // A window manager may still place the window after it first shows: read where it is again.
    POINT origin = where();
    ASSERT_TRUE(PumpUntil(
        [&] {
          origin = where();
          return titleColour(origin) == 0xDEDEDEu;
        },
        20000))
        << "not painted";

    // A drag on the background: the window follows the pointer while the button is held (the
    // pointer nudged until it has, as the program may take the move over late).
    EXPECT_EQ(xdotool({"mousemove", at(origin.x + 25), at(origin.y + 320), "mousedown", "1"}), 0);
    for (int step = 1; step <= 4; ++step)
      xdotool({"mousemove", at(origin.x + 25 + 15 * step), at(origin.y + 320 + 10 * step)});
    int nudge = 0;
    EXPECT_TRUE(PumpUntil(
        [&] {
          if (where().x == origin.x + 60 && where().y == origin.y + 40) return true;
          nudge = 1 - nudge;
          xdotool({"mousemove", at(origin.x + 85 + nudge), at(origin.y + 360)});
          return false;
        },
        10000))
        << where().x << ", " << where().y;
    EXPECT_EQ(xdotool({"mousemove", at(origin.x + 85), at(origin.y + 360), "mouseup", "1"}), 0);
    origin = where();
    // A plain click on the background, then one on the title band.
    xdotool({"mousemove", at(origin.x + 25), at(origin.y + 320), "click", "1"});
    xdotool({"mousemove", at(origin.x + title.x), at(origin.y + title.y), "click", "1"});
    EXPECT_TRUE(PumpUntil([&] { return titleColour(origin) == 0xC8C8FFu; }, 10000))
        << std::hex << titleColour(origin);
    std::filesystem::create_directories(MMS_SCREENSHOT_DIR);
    platform::headless::WritePng(
        std::string(MMS_SCREENSHOT_DIR) + (manager ? "/desktop-drag-openbox.png" : "/desktop-drag.png"),
        shot.width, shot.height, shot.pixels.data());

    kill(editor, SIGTERM);
    desktoptest::Reap(editor, 5000);
    if (wm > 0) {
      kill(wm, SIGTERM);
      desktoptest::Reap(wm, 5000);
    }
    desktoptest::StopDesktop();
  }
  unsetenv("PLATFORM_BACKEND");
  unsetenv("SDL_AUDIODRIVER");
  unsetenv("MMSEDITOR_APP_DIR");
}

}  // namespace
