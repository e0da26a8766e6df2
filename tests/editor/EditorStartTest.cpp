// Start-up: the language chosen from the settings file, one editor per user (within the process
// and across processes), what a failure while the windows are built shows, and the main window
// found by its title from another program.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <stdexcept>
#include <thread>

#include "editor/EditorStart.h"
#include "editor/TDelMessageBox.h"
#include "editor/TFrameBox.h"
#include "editor/TMmsViewer.h"
#include "editor/TMsgBox.h"
#include "editor/TResStringManager.h"
#include "editor/TfrmMain.h"
#include "pictures/PicturesStartup.h"
#include "platform/backend/HeadlessDriver.h"
#include "platform/forms/ClassRegistry.h"
#include "platform/forms/PlatformStartup.h"
#include "platform/forms/TApplication.h"
#include "platform/rtl/KernelHandles.h"
#include "platform/rtl/LastError.h"
#include "platform/rtl/Process.h"
#include "platform/win/Endpoint.h"
#include "support/SharedData.h"
#include "tests/editor/EditorFixture.h"

extern char** environ;

namespace {

using editortest::EditorTest;
using editortest::SettingsFor;
using editortest::Utf16Le;
using platform::headless::Driver;
using platform::headless::ModalAnswer;
using platform::headless::ModalInfo;

constexpr const char* kInstanceMutex = "QuarnMivora,0x12,0xab,0x4f,0x06,0xab,0x1e,0x2c,0x8d,0x9b,0x1d,0x66";

class EditorStartTest : public EditorTest {
 protected:
  // Each language file answers STR_Play with the language's own mark.
  void MarkLanguages() {
    AppFile("language_editer/lan_Vietnamese.ini", Utf16Le(u"[STR_ALL_STR]\r\nSTR_Play=vi\r\n"));
    AppFile("language_editer/lan_ENG.ini", Utf16Le(u"[STR_ALL_STR]\r\nSTR_Play=en\r\n"));
    AppFile("language_editer/lan_Khmer.ini", Utf16Le(u"[STR_ALL_STR]\r\nSTR_Play=km\r\n"));
  }
  std::string ChosenLanguage() {
    SelectStartLanguage();
    return AnsiString(ResStringManager.GetString("STR_Play")).ToStd();
  }
};

TEST_F(EditorStartTest, TheSettingsChooseTheLanguageAndAnythingElseIsEnglish) {
  MarkLanguages();
  struct Case {
    const char* what;
    std::string settings;  // empty: no settings file
    const char* language;
  } cases[] = {
      {"Vietnamese", SettingsFor(u"\\Language\\lan_VIE.ini"), "vi"},
      {"English", SettingsFor(u"\\Language\\lan_ENG.ini"), "en"},
      {"Khmer", SettingsFor(u"\\Language\\lan_Khmer.ini"), "km"},
      {"other letter case", SettingsFor(u"\\language\\lan_khmer.ini"), "en"},
      {"slashes", SettingsFor(u"/Language/lan_VIE.ini"), "en"},
      {"unknown file", SettingsFor(u"\\Language\\lan_FRA.ini"), "en"},
      {"no key", Utf16Le(u"[APP_SECTION]\r\nOTHER=1\r\n"), "en"},
      {"no settings file", "", "en"},
      {"UTF-8 without a mark", "[APP_SECTION]\r\nAPP_STRING_FILE=\\Language\\lan_Khmer.ini\r\n", "km"},
      {"UTF-8 with a mark", "\xEF\xBB\xBF[APP_SECTION]\r\nAPP_STRING_FILE=\\Language\\lan_VIE.ini\r\n", "vi"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::filesystem::remove(app.file("App.Config.ini"));
    if (!c.settings.empty()) AppFile("App.Config.ini", c.settings);
    // Start from another language so that a choice that does nothing shows.
    ResStringManager.SelectLanguageFile(std::string(c.language) == "km" ? 0 : 2);
    EXPECT_EQ(ChosenLanguage(), c.language);
  }
}

TEST_F(EditorStartTest, StartUpSelectsTheLanguageBeforeTheWindowsAreMade) {
  AppFile("App.Config.ini", SettingsFor(u"\\Language\\lan_Khmer.ini"));
  AppFile("language_editer/lan_Khmer.ini", editortest::KeyLanguageFile("km"));
  ASSERT_TRUE(Start());
  EXPECT_EQ(ResStringManager.GetString("STR_Main_Subject"), WideString(u"km<STR_Main_Subject>"));
}

TEST_F(EditorStartTest, StartUpMakesTheMainWindowThePreviewThenTheThreeBoxesWhichStayHidden) {
  ASSERT_TRUE(EditorStart({}));
  EXPECT_EQ(Application->MainForm, frmMain);
  std::vector<TComponent*> made;
  for (int i = 0; i < Application->ComponentCount(); ++i)
    if (dynamic_cast<TForm*>(Application->Components(i))) made.push_back(Application->Components(i));
  EXPECT_EQ(made, (std::vector<TComponent*>{frmMain, MmsViewer, DelMessageBox, MsgBox, FrameBox}));
  frmMain->Show();
  Driver().RunUntilIdle();
  for (TForm* box :
       {static_cast<TForm*>(DelMessageBox), static_cast<TForm*>(MsgBox), static_cast<TForm*>(FrameBox)})
    EXPECT_FALSE(box->Visible()) << box->Name().ToStd();
  EXPECT_TRUE(Driver().ModalsSeen().empty());
}

TEST_F(EditorStartTest, ASecondEditorEndsWithoutAWindowAndTouchesNothing) {
  const std::string left = AppFile("tmp/Image/img_0.JPG", "the running editor's picture");
  HANDLE running = CreateMutexA(nullptr, FALSE, kInstanceMutex);
  ASSERT_NE(running, nullptr);
  ASSERT_EQ(GetLastError(), 0u);
  EXPECT_FALSE(EditorStart({}));
  EXPECT_EQ(frmMain, nullptr);
  EXPECT_EQ(Application->MainForm, nullptr);
  EXPECT_EQ(EditorMain({}), 0);
  EXPECT_EQ(FindWindowA(nullptr, "Mivora"), nullptr);
  EXPECT_TRUE(Driver().ModalsSeen().empty());
  EXPECT_EQ(std::filesystem::file_size(left), 28u);

  // Once the other editor is gone the lock is free again.
  CloseHandle(running);
  ASSERT_TRUE(Start());
  EXPECT_NE(FindWindowA(nullptr, "Mivora"), nullptr);
  EXPECT_FALSE(std::filesystem::exists(left));
  // The running editor holds the lock now.
  HANDLE second = CreateMutexA(nullptr, FALSE, kInstanceMutex);
  EXPECT_EQ(GetLastError(), 183u);
  CloseHandle(second);
}

// Another editor working in the same application folder (its lock on the working folder taken
// by hand here): this one ends without a window and leaves the other's working files alone.
TEST_F(EditorStartTest, AnEditorEndsWhileAnotherWorksInTheSameApplicationFolder) {
  const std::string left = AppFile("tmp/Image/img_0.JPG", "the other editor's picture");
  const int other = open(app.file("tmp/.editor.lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  ASSERT_GE(other, 0);
  ASSERT_EQ(flock(other, LOCK_EX | LOCK_NB), 0);
  EXPECT_FALSE(EditorStart({}));
  EXPECT_EQ(frmMain, nullptr);
  EXPECT_EQ(FindWindowA(nullptr, "Mivora"), nullptr);
  EXPECT_TRUE(Driver().ModalsSeen().empty());
  EXPECT_EQ(std::filesystem::file_size(left), 26u);

  close(other);
  ASSERT_TRUE(Start());
  EXPECT_FALSE(std::filesystem::exists(left));
}

// A runtime folder another user took first (here one open to others, which the platform refuses
// the same way) leaves the editor without its endpoint and its lock: it still starts, and says
// so on standard error and in one box over its window.
class UnusableRuntimeFolder : public EditorStartTest {
 protected:
  void SetUp() override {
    chmod(runtime.path().c_str(), 0755);
    testing::internal::CaptureStderr();
    EditorStartTest::SetUp();
    said = testing::internal::GetCapturedStderr();
  }
  std::string said;
};

TEST_F(UnusableRuntimeFolder, TheEditorStartsAndSaysItRunsUnguarded) {
  EXPECT_NE(said.find("runtime folder " + runtime.path()), std::string::npos) << said;
  EXPECT_NE(said.find("locks are off"), std::string::npos) << said;
  std::vector<ModalInfo> shown;
  Driver().OnModal([&](const ModalInfo& info) {
    shown.push_back(info);
    return ModalAnswer::Result(1);
  });
  ASSERT_TRUE(Start());
  ASSERT_EQ(shown.size(), 1u);
  bool told = false;
  for (const std::u16string& text : shown[0].texts)
    told = told || text.find(u"STR_Main_Error_RuntimeFolder") != std::u16string::npos;
  EXPECT_TRUE(told);
  EXPECT_NE(frmMain, nullptr);
}

// A part of a layout whose construction fails the way a library outside the form library would.
class TFailingPart : public TComponent {
 public:
  explicit TFailingPart(TComponent* owner) : TComponent(owner) {
    throw std::runtime_error("out of resources");
  }
};

class FailingStart : public EditorStartTest {
 protected:
  void SetUp() override {
    EditorStartTest::SetUp();
    RegisterEditorForms();
    original = *FindFormLayout("TfrmMain");
  }
  void TearDown() override {
    RegisterFormLayout("TfrmMain", original);
    EditorStartTest::TearDown();
  }
  // The main window's layout with `object` added before its end.
  void BreakLayout(const std::string& object) {
    std::string text = original;
    text.insert(text.rfind("end"), object);
    RegisterFormLayout("TfrmMain", text);
  }
  std::string original;
};

TEST_F(FailingStart, AFormLibraryExceptionIsShownWithItsMessageAndTheLoopDoesNotRun) {
  BreakLayout("  object Broken: TLabel\n    OnClick = NoSuchHandler\n  end\n");
  std::vector<ModalInfo> shown;
  Driver().OnModal([&](const ModalInfo& info) {
    shown.push_back(info);
    return ModalAnswer::Result(1);
  });
  EXPECT_FALSE(EditorStart({}));
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].kind, ModalInfo::Kind::MessageBox);
  ASSERT_FALSE(shown[0].texts.empty());
  EXPECT_NE(shown[0].texts[0].find(u"NoSuchHandler"), std::u16string::npos);
  EXPECT_EQ(EditorMain({}), 0);  // shown again, and still no loop: the test would hang otherwise
}

TEST_F(FailingStart, AnyOtherExceptionIsShownAsAnEmptyOne) {
  RegisterProperties<TFailingPart>("TFailingPart", "TComponent", Factory<TFailingPart>());
  BreakLayout("  object Failing: TFailingPart\n  end\n");
  std::vector<ModalInfo> shown;
  Driver().OnModal([&](const ModalInfo& info) {
    shown.push_back(info);
    return ModalAnswer::Result(1);
  });
  EXPECT_EQ(EditorMain({}), 0);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].kind, ModalInfo::Kind::MessageBox);
  ASSERT_FALSE(shown[0].texts.empty());
  EXPECT_EQ(shown[0].texts[0], u"");
}

#ifdef MMSEDITOR_PATH
// Runs the editor program with the fixture's folders and the headless backend; its exit status
// (-1 when it did not end within `ms`), with what it printed on stderr.
int RunEditor(const std::string& errFile, int ms, std::string* err) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 2, errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  setenv("PLATFORM_BACKEND", "headless", 1);
  char* argv[] = {const_cast<char*>(MMSEDITOR_PATH), nullptr};
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, MMSEDITOR_PATH, &actions, nullptr, argv, environ);
  unsetenv("PLATFORM_BACKEND");
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return -1;
  int status = 0;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (waitpid(pid, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      return -1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  std::vector<uint8_t> bytes = testsupport::ReadFileBytes(errFile);
  *err = std::string(bytes.begin(), bytes.end());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(EditorProgram, HasItsLanguagesStripSkinAndEnglishSettingsBesideIt) {
  const std::string folder = std::filesystem::path(MMSEDITOR_PATH).parent_path().string();
  for (const char* file : {"lan_Vietnamese.ini", "lan_ENG.ini", "lan_Khmer.ini"})
    EXPECT_TRUE(std::filesystem::is_regular_file(folder + "/language_editer/" + file)) << file;
  EXPECT_EQ(
      testsupport::ReadFileBytes(folder + "/UI_Mivora/imgFrameListnew.bmp"),
      testsupport::ReadFileBytes(std::string(MMS_SOURCE_DIR) + "/resources/skin/editor/imgFrameListnew.bmp"));
  const std::vector<uint8_t> settings = testsupport::ReadFileBytes(folder + "/App.Config.ini");
  const std::string expected = SettingsFor(u"\\Language\\lan_ENG.ini");
  EXPECT_EQ(std::string(settings.begin(), settings.end()), expected);
}

TEST_F(EditorStartTest, TheProgramEndsAtOnceWithZeroWhileAnotherEditorRuns) {
  const std::string left = AppFile("tmp/Image/img_0.JPG", "the running editor's picture");
  HANDLE running = CreateMutexA(nullptr, FALSE, kInstanceMutex);
  ASSERT_NE(running, nullptr);
  std::string err;
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(RunEditor(app.file("err.txt"), 2000, &err), 0);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
  EXPECT_EQ(err, "");
  EXPECT_EQ(FindWindowA(nullptr, "Mivora"), nullptr);
  EXPECT_TRUE(std::filesystem::exists(left));

  // With the lock free the same run gets past it and only then finds no display.
  CloseHandle(running);
  EXPECT_EQ(RunEditor(app.file("err.txt"), 5000, &err), 1);
  EXPECT_NE(err.find("mmseditor: no display"), std::string::npos) << err;
}

// A second editor program with a runtime folder of its own (so the per-user lock does not meet
// it) on the application folder of a running editor ends at once with 0, as a second instance
// does; once the running editor has ended, the same run gets past the locks.
TEST_F(EditorStartTest, ASecondEditorProgramOnTheSameApplicationFolderEndsAtOnce) {
  ASSERT_TRUE(Start());
  const std::string mine = AppFile("tmp/Image/img_0.JPG", "the running editor's picture");
  testsupport::TempDir otherRuntime;
  setenv("PLATFORM_RUNTIME_DIR", otherRuntime.path().c_str(), 1);
  std::string err;
  EXPECT_EQ(RunEditor(app.file("err.txt"), 5000, &err), 0);
  EXPECT_EQ(err, "");
  EXPECT_TRUE(std::filesystem::exists(mine));

  pictures::Shutdown();
  platform::Shutdown();  // the running editor ends
  EXPECT_EQ(RunEditor(app.file("err.txt"), 5000, &err), 1);
  EXPECT_NE(err.find("mmseditor: no display"), std::string::npos) << err;
  setenv("PLATFORM_RUNTIME_DIR", runtime.path().c_str(), 1);
  platform::Startup();  // for the fixture's own shut-down
}
#endif

#ifdef EDITOR_PEER_PATH
TEST_F(EditorStartTest, AnotherProgramFindsTheMainWindowByItsTitle) {
  ASSERT_TRUE(Start());
  // The window is asked to close: seen by the close question, whatever it then decides.
  bool asked = false;
  TCloseQueryEvent previous = frmMain->OnCloseQuery;
  frmMain->OnCloseQuery = [&](TObject* sender, bool& canClose) {
    asked = true;
    if (previous) previous(sender, canClose);
  };
  pid_t pid = 0;
  char* argv[] = {const_cast<char*>(EDITOR_PEER_PATH), nullptr};
  ASSERT_EQ(posix_spawn(&pid, EDITOR_PEER_PATH, nullptr, nullptr, argv, environ), 0);
  int status = 0;
  bool ended = false;
  for (int i = 0; i < 400 && !ended; ++i) {
    platform::win::ServeEndpoint(10);
    Driver().RunUntilIdle();
    ended = waitpid(pid, &status, WNOHANG) == pid;
  }
  if (!ended) {
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
  }
  ASSERT_TRUE(ended);
  EXPECT_EQ(WEXITSTATUS(status), 0) << "the peer did not find the main window";
  // The peer asked the window to close, as the connection manager may.
  for (int i = 0; i < 50 && !asked; ++i) {
    platform::win::ServeEndpoint(10);
    Driver().RunUntilIdle();
  }
  EXPECT_TRUE(asked);
}
#endif

}  // namespace
