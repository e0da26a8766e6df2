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

#include <filesystem>
#include <memory>
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
  const std::string window = desktoptest::FindWindow("Mivora", first);
  ASSERT_FALSE(window.empty()) << "no window titled Mivora";
  int left = -1, top = -1;
  std::string geometry;
  ASSERT_TRUE(desktoptest::WindowPosition(window, &left, &top, &geometry)) << geometry;

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
  EXPECT_EQ(desktoptest::FindWindow("Mivora", first), window);

  kill(first, SIGTERM);
  desktoptest::Reap(first, 5000);
  unsetenv("PLATFORM_BACKEND");
  unsetenv("SDL_AUDIODRIVER");
  unsetenv("MMSEDITOR_APP_DIR");
  desktoptest::StopDesktop();
}

// The editor on a desktop session of its own, with openbox as window manager or none, from the
// moment its strip has painted; xdotool drives the pointer.
class RunningEditor {
 public:
  explicit RunningEditor(bool manager) {
    app_ = std::make_unique<testsupport::TempDir>();
    editortest::CopyProductLanguageFiles(*app_);
    app_->write("App.Config.ini", editortest::SettingsFor(u"\\Language\\lan_ENG.ini"));
    setenv("MMSEDITOR_APP_DIR", app_->path().c_str(), 1);
    std::string error;
    if (!desktoptest::EnsureDisplay(&error)) {
      ADD_FAILURE() << error;
      return;
    }
    setenv("PLATFORM_BACKEND", "gtk", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    desktoptest::StartDesktop();
    if (manager) {
      const std::string started = app_->file("openbox-started");
      wm_ = desktoptest::Spawn({"openbox", "--startup", "touch " + started});
      if (wm_ <= 0 || !PumpUntil([&] { return std::filesystem::exists(started); }, 20000)) {
        ADD_FAILURE() << "openbox did not start";
        return;
      }
    }
    editor_ = desktoptest::Spawn({MMSEDITOR_PATH});
    // This editor's own window: not one a program of an earlier round may still leave.
    window_ = desktoptest::FindWindow("Mivora", editor_);
    if (editor_ <= 0 || window_.empty()) {
      ADD_FAILURE() << "no window titled Mivora";
      return;
    }
    // A window manager may still place the window after it first shows: read where it is again.
    ready_ = PumpUntil(
        [&] {
          origin = Where();
          return TitleColour() == kTitle;
        },
        20000);
    if (!ready_) ADD_FAILURE() << "not painted";
  }

  ~RunningEditor() {
    if (editor_ > 0) {
      kill(editor_, SIGTERM);
      desktoptest::Reap(editor_, 5000);
    }
    if (wm_ > 0) {
      kill(wm_, SIGTERM);
      desktoptest::Reap(wm_, 5000);
    }
    desktoptest::StopDesktop();
    unsetenv("PLATFORM_BACKEND");
    unsetenv("SDL_AUDIODRIVER");
    unsetenv("MMSEDITOR_APP_DIR");
  }

  bool Ready() const { return ready_; }
  int Editor() const { return editor_; }
  int WindowManager() const { return wm_; }

  // Where the window's top-left corner is on the screen.
  POINT Where() const {
    int x = -1, y = -1;
    desktoptest::WindowPosition(window_, &x, &y);
    return POINT{x, y};
  }
  // The colour of the first page's title band (inside it, clear of its number), read at `origin`.
  uint32_t TitleColour() {
    std::string error;
    return desktoptest::Capture(shot, &error) ? shot.At(origin.x + kTitleBand.x, origin.y + kTitleBand.y)
                                              : 0u;
  }
  // Runs xdotool with these arguments, points given relative to `origin`.
  static int Xdotool(const std::vector<std::string>& args) {
    std::vector<std::string> argv{"xdotool"};
    argv.insert(argv.end(), args.begin(), args.end());
    return desktoptest::Run(argv);
  }
  int MoveTo(int x, int y, const std::vector<std::string>& then = {}) {
    std::vector<std::string> args{"mousemove", std::to_string(origin.x + x), std::to_string(origin.y + y)};
    args.insert(args.end(), then.begin(), then.end());
    return Xdotool(args);
  }
  // A click on the first page's title band selects the page: the band turns the selection's colour.
  bool ClickSelectsThePage() {
    MoveTo(kTitleBand.x, kTitleBand.y, {"click", "1"});
    return PumpUntil([&] { return TitleColour() == kSelected; }, 10000);
  }
  void SaveShot(const char* name) const {
    std::filesystem::create_directories(MMS_SCREENSHOT_DIR);
    platform::headless::WritePng(std::string(MMS_SCREENSHOT_DIR) + "/" + name, shot.width, shot.height,
                                 shot.pixels.data());
  }

  static constexpr POINT kBackground{25, 320};
  static constexpr POINT kTitleBand{85, 138};
  static constexpr uint32_t kTitle = 0xDEDEDEu, kSelected = 0xC8C8FFu;
  POINT origin{-1, -1};
  desktoptest::Screenshot shot;

 private:
  std::unique_ptr<testsupport::TempDir> app_;
  int wm_ = -1, editor_ = -1;
  std::string window_;
  bool ready_ = false;
};

// A press on the window's background starts a move. Without a window manager the program moves
// the window itself; with one (openbox) the manager does. Either way the move ends with the
// gesture, and the strip hears the next click.
TEST(EditorOnTheDesktop, AfterADragOnTheBackgroundTheStripStillSelects) {
  for (const bool manager : {false, true}) {
    SCOPED_TRACE(manager ? "openbox" : "no window manager");
    RunningEditor editor(manager);
    ASSERT_TRUE(editor.Ready());
    const POINT start = editor.origin;
    const POINT press = RunningEditor::kBackground;

    // A drag on the background: the window follows the pointer while the button is held (the
    // pointer nudged until it has, as the program may take the move over late).
    EXPECT_EQ(editor.MoveTo(press.x, press.y, {"mousedown", "1"}), 0);
    for (int step = 1; step <= 4; ++step) editor.MoveTo(press.x + 15 * step, press.y + 10 * step);
    int nudge = 0;
    EXPECT_TRUE(PumpUntil(
        [&] {
          const POINT now = editor.Where();
          if (now.x == start.x + 60 && now.y == start.y + 40) return true;
          nudge = 1 - nudge;
          editor.MoveTo(press.x + 60 + nudge, press.y + 40);
          return false;
        },
        10000))
        << editor.Where().x << ", " << editor.Where().y;
    EXPECT_EQ(editor.MoveTo(press.x + 60, press.y + 40, {"mouseup", "1"}), 0);
    // Where the window comes to rest (the program may still be catching up with the pointer).
    EXPECT_TRUE(PumpUntil(
        [&] {
          const POINT before = editor.Where();
          desktoptest::Pump(100);
          editor.origin = editor.Where();
          return editor.origin.x == before.x && editor.origin.y == before.y;
        },
        10000));
    // A plain click on the background, then one on the title band.
    editor.MoveTo(press.x, press.y, {"click", "1"});
    EXPECT_TRUE(editor.ClickSelectsThePage()) << std::hex << editor.TitleColour() << std::dec << " at "
                                              << editor.origin.x << ", " << editor.origin.y;
    editor.SaveShot(manager ? "desktop-drag-openbox.png" : "desktop-drag.png");
  }
}

}  // namespace
