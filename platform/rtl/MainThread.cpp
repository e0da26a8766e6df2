// Thread and process numbers from the kernel.
#include "platform/rtl/MainThread.h"

#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>

DWORD GetCurrentThreadId() {
  thread_local const DWORD id = static_cast<DWORD>(::syscall(SYS_gettid));
  return id;
}

DWORD GetCurrentProcessId() { return static_cast<DWORD>(::getpid()); }

namespace {
// Static initialisation runs on the process's first thread.
std::atomic<DWORD> gMainThread{static_cast<DWORD>(::getpid())};
}  // namespace

DWORD MainThreadID = static_cast<DWORD>(::getpid());

namespace platform {

void SetMainThread() {
  gMainThread.store(GetCurrentThreadId());
  MainThreadID = GetCurrentThreadId();
}

bool IsMainThread() { return GetCurrentThreadId() == gMainThread.load(); }

}  // namespace platform
