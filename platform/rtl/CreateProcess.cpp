// Starting programs with a process handle to wait on and read the exit code from.
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/rtl/CodePage.h"
#include "platform/rtl/KernelHandles.h"
#include "platform/rtl/LastError.h"
#include "platform/rtl/Process.h"
#include "platform/rtl/SyncObjs.h"
#include "platform/rtl/Utf8.h"

extern char** environ;

namespace {

class ProcessObject : public platform::KernelObject {
 public:
  explicit ProcessObject(pid_t pid) : pid_(pid) {}
  ~ProcessObject() override {
    // A child nobody waits for any more is reaped when it ends, not left a zombie.
    if (!Poll()) std::thread([pid = pid_] { ::waitpid(pid, nullptr, 0); }).detach();
  }
  pid_t Pid() const { return pid_; }
  // True when the process has ended (its status taken).
  bool Poll(bool block = false) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (ended_) return true;
    int status = 0;
    pid_t r = ::waitpid(pid_, &status, block ? 0 : WNOHANG);
    if (r == pid_) {
      ended_ = true;
      exitCode_ = WIFEXITED(status) ? static_cast<DWORD>(WEXITSTATUS(status))
                                    : static_cast<DWORD>(128 + (WIFSIGNALED(status) ? WTERMSIG(status) : 0));
    }
    return ended_;
  }
  DWORD ExitCode() {
    Poll();
    std::lock_guard<std::mutex> lock(mutex_);
    return ended_ ? exitCode_ : STILL_ACTIVE;
  }

 private:
  std::mutex mutex_;
  pid_t pid_;
  bool ended_ = false;
  DWORD exitCode_ = 0;
};

// `application` and `commandLine` in UTF-8 (as the file system and other programs see them).
BOOL Start(const std::string* application, const std::string* commandLine, const std::string* directory,
           PROCESS_INFORMATION* info) {
  std::vector<std::string> args =
      commandLine ? platform::SplitCommandLine(*commandLine) : std::vector<std::string>();
  std::string program = application && !application->empty() ? *application : (args.empty() ? "" : args[0]);
  if (program.empty()) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (args.empty()) args.push_back(program);
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (directory && !directory->empty()) posix_spawn_file_actions_addchdir_np(&actions, directory->c_str());
  pid_t pid = 0;
  bool search = program.find('/') == std::string::npos;
  int rc = search ? posix_spawnp(&pid, program.c_str(), &actions, nullptr, argv.data(), environ)
                  : posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) {
    errno = rc;
    platform::SetLastErrorFromErrno();
    return FALSE;
  }
  HANDLE h = platform::AddHandle(platform::HandleKind::Process, std::make_shared<ProcessObject>(pid));
  if (info) {
    info->hProcess = h;
    info->hThread = nullptr;
    info->dwProcessId = static_cast<DWORD>(pid);
    info->dwThreadId = 0;
  } else {
    CloseHandle(h);
  }
  return TRUE;
}

std::string Utf8(LPCWSTR s) { return platform::Utf16ToUtf8(std::u16string_view(s)); }
std::string Utf8(LPCSTR s) { return platform::Utf16ToUtf8(platform::MultiByteToUtf16(s)); }

}  // namespace

BOOL CreateProcessA(LPCSTR application, LPSTR commandLine, LPSECURITY_ATTRIBUTES, LPSECURITY_ATTRIBUTES, BOOL,
                    DWORD, LPVOID, LPCSTR currentDirectory, STARTUPINFOA*, PROCESS_INFORMATION* info) {
  std::string a = application ? Utf8(application) : "", c = commandLine ? Utf8(commandLine) : "",
              d = currentDirectory ? Utf8(currentDirectory) : "";
  return Start(application ? &a : nullptr, commandLine ? &c : nullptr, &d, info);
}

BOOL CreateProcessW(LPCWSTR application, LPWSTR commandLine, LPSECURITY_ATTRIBUTES, LPSECURITY_ATTRIBUTES,
                    BOOL, DWORD, LPVOID, LPCWSTR currentDirectory, STARTUPINFOW*, PROCESS_INFORMATION* info) {
  std::string a = application ? Utf8(application) : "", c = commandLine ? Utf8(commandLine) : "",
              d = currentDirectory ? Utf8(currentDirectory) : "";
  return Start(application ? &a : nullptr, commandLine ? &c : nullptr, &d, info);
}

BOOL GetExitCodeProcess(HANDLE process, LPDWORD exitCode) {
  auto p = platform::LookupHandleAs<ProcessObject>(process, platform::HandleKind::Process);
  if (!p || !exitCode) {
    if (p) SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  *exitCode = p->ExitCode();
  return TRUE;
}

namespace platform {

DWORD WaitForProcess(HANDLE process, DWORD ms) {
  auto p = LookupHandleAs<ProcessObject>(process, HandleKind::Process);
  if (!p) return WAIT_FAILED;
  if (ms == INFINITE) {
    p->Poll(true);
    return WAIT_OBJECT_0;
  }
  // Real time: a child runs on the system's clock, not the platform's.
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (!p->Poll()) {
    if (std::chrono::steady_clock::now() >= deadline) return WAIT_TIMEOUT;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return WAIT_OBJECT_0;
}

}  // namespace platform
