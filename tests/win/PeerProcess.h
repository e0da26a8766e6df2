// The second process of the cross-process tests (peer/WinPeer.cpp), started with arguments and
// ended (killed if it still runs) when the test lets go of it, and a fixture that gives each test
// a runtime folder of its own (so its processes meet only each other).
#pragma once

#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "platform/win/Win.h"
#include "support/RuntimeFolder.h"
#include "support/TempDir.h"
#include "tests/win/WinTestSupport.h"

extern char** environ;

namespace wintest {

class CrossProcessTest : public HeadlessTest {
 protected:
  void SetUp() override {
    chmod(dir.path().c_str(), 0700);
    setenv("PLATFORM_RUNTIME_DIR", dir.path().c_str(), 1);
    HeadlessTest::SetUp();
  }
  void TearDown() override {
    HeadlessTest::TearDown();
    testsupport::RestoreRuntimeFolder();
  }
  testsupport::TempDir dir;
};

class PeerProcess {
 public:
  explicit PeerProcess(std::vector<std::string> args = {}) {
    args.insert(args.begin(), WIN_PEER_PATH);
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    if (posix_spawn(&pid_, WIN_PEER_PATH, nullptr, nullptr, argv.data(), environ) != 0) pid_ = -1;
  }
  ~PeerProcess() {
    if (pid_ <= 0) return;
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
  PeerProcess(const PeerProcess&) = delete;
  PeerProcess& operator=(const PeerProcess&) = delete;

  pid_t pid() const { return pid_; }
  // Its window of that title, once it is up (5 s at most).
  static HWND Window(const char* title) {
    for (int i = 0; i < 200; ++i) {
      if (HWND h = FindWindowA(nullptr, title)) return h;
      std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
    return nullptr;
  }
  void Signal(int sig) const { kill(pid_, sig); }
  // Waits for it to end; its exit code, or -1 when it did not exit normally.
  int Wait() {
    int status = -1;
    if (pid_ <= 0 || waitpid(pid_, &status, 0) != pid_) return -1;
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  // Whether it has ended, without waiting; its exit code in `code`.
  bool Ended(int& code) {
    int status = 0;
    if (pid_ <= 0 || waitpid(pid_, &status, WNOHANG) != pid_) return pid_ <= 0;
    pid_ = -1;
    code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return true;
  }

 private:
  pid_t pid_ = -1;
};

}  // namespace wintest
