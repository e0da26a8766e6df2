// The platform's ordered start-up and shut-down: a second run after a shut-down works like the
// first, and nothing of the first (the endpoint's socket and lock, threads, the application,
// the code page) is left behind.
#include <dirent.h>
#include <gtest/gtest.h>
#include <signal.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "platform/backend/audio/AudioDevice.h"
#include "platform/forms/PlatformStartup.h"
#include "platform/forms/TApplication.h"
#include "platform/rtl/CodePage.h"
#include "platform/rtl/TThread.h"
#include "platform/win/Win.h"
#include "support/TempDir.h"

namespace {

std::vector<std::string> Entries(const std::string& folder) {
  std::vector<std::string> names;
  if (DIR* d = opendir(folder.c_str())) {
    while (dirent* e = readdir(d))
      if (std::string(e->d_name) != "." && std::string(e->d_name) != "..") names.push_back(e->d_name);
    closedir(d);
  }
  return names;
}

// Runs until asked to end; frees itself.
class Waiter : public TThread {
 public:
  explicit Waiter(std::atomic<int>* ended) : TThread(true), ended_(ended) { FreeOnTerminate = true; }

 protected:
  void Execute() override {
    while (!Terminated)
      std::this_thread::sleep_for(std::chrono::milliseconds(1));  // real time: the clock is fake
    Synchronize([this] { ++*ended_; });
  }

 private:
  std::atomic<int>* ended_;
};

TEST(PlatformStartup, StartsStopsAndStartsAgainLeavingNothingBehind) {
  testsupport::TempDir dir;
  const std::string folder = dir.file("run");
  const UINT pageBefore = GetACP();
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    platform::StartupOptions options;
    options.runtimeFolder = folder;
    options.codePage = 1252;
    platform::Startup(std::move(options));
    ASSERT_TRUE(platform::Started());
    EXPECT_TRUE(platform::HeadlessRun());
    EXPECT_EQ(GetACP(), 1252u);
    ASSERT_NE(Application, nullptr);
    EXPECT_NE(Application->Handle(), nullptr);
    // The system classes are there, and the endpoint holds its slot in the folder.
    WNDCLASSW edit{};
    EXPECT_TRUE(GetClassInfoW(nullptr, u"EDIT", &edit));
    EXPECT_EQ(Entries(folder).size(), 2u);  // the socket and the lock
    // A save past a file-size limit fails like one on a full disk instead of ending the program.
    struct sigaction fileSize {};
    ASSERT_EQ(sigaction(SIGXFSZ, nullptr, &fileSize), 0);
    EXPECT_EQ(fileSize.sa_handler, SIG_IGN);
    // Headless runs record what they would play.
    EXPECT_NE(dynamic_cast<platform::audio::RecordingDevice*>(&platform::audio::Device()), nullptr);
    EXPECT_THROW(platform::Startup(), EInvalidOperation);

    std::atomic<int> ended{0};
    (new Waiter(&ended))->Start();
    (new Waiter(&ended))->Start();
    platform::Shutdown();
    EXPECT_FALSE(platform::Started());
    EXPECT_EQ(Application, nullptr);
    EXPECT_EQ(ended.load(), 2);  // both were asked to end, and their last calls ran
    EXPECT_EQ(platform::RunningThreads(), 0u);
    EXPECT_EQ(Entries(folder), std::vector<std::string>{});
    EXPECT_EQ(GetACP(), pageBefore);
  }
  platform::Shutdown();  // a second shut-down does nothing
}

// Layers above the form library start after it (the application exists) and stop before the
// forms are freed, in reverse order; a layer added again replaces its procedures.
TEST(PlatformStartup, LayersStartAfterTheFormsAndStopBeforeThemInReverse) {
  std::vector<std::string> log;
  auto note = [&log](std::string what) {
    return [&log, what] { log.push_back(what + (Application ? " with application" : " without")); };
  };
  platform::AddLayer("first", note("first start"), note("first stop"));
  platform::AddLayer("second", note("old"), note("old"));
  platform::AddLayer("second", note("second start"), note("second stop"));
  platform::Startup();
  EXPECT_EQ(log, (std::vector<std::string>{"first start with application", "second start with application"}));
  log.clear();
  platform::Shutdown();
  EXPECT_EQ(log, (std::vector<std::string>{"second stop with application", "first stop with application"}));
  platform::RemoveLayer("first");
  platform::RemoveLayer("second");
  log.clear();
  platform::Startup();
  platform::Shutdown();
  EXPECT_TRUE(log.empty());
}

// A layer may put its own exception display in place of the application's.
TEST(PlatformStartup, TheExceptionDisplayCanBeReplaced) {
  platform::Startup();
  static std::string shown;
  auto before =
      TApplication::SetShowExceptionProc([](TApplication*, Exception* e) { shown = e->Message.ToStd(); });
  EXPECT_EQ(before, nullptr);
  Exception e("Khmer \xE1\x9E\x80");
  Application->ShowException(&e);
  EXPECT_EQ(shown, "Khmer \xE1\x9E\x80");
  EXPECT_NE(TApplication::SetShowExceptionProc(nullptr), nullptr);
  EXPECT_EQ(TApplication::GetShowExceptionProc(), nullptr);
  platform::Shutdown();
}

}  // namespace
