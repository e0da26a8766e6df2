// TThread over std::thread.
#include "platform/rtl/TThread.h"

#include <set>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/MainThread.h"
#include "platform/rtl/Synchronize.h"

namespace {
// Threads between Start and the end of Run, so shut-down can stop and wait for every one,
// free-on-terminate ones included (nobody else holds those).
std::mutex& RunningMutex() {
  static std::mutex m;
  return m;
}
std::set<TThread*>& Running() {
  static std::set<TThread*> running;
  return running;
}
}  // namespace

TThread::TThread(bool CreateSuspended) {
  if (!CreateSuspended) Start();
}

TThread::~TThread() {
  if (thread_.joinable()) {
    if (thread_.get_id() == std::this_thread::get_id()) {
      thread_.detach();  // a free-on-terminate thread deleting itself
    } else {
      Terminate();
      WaitFor();
    }
  }
}

void TThread::Start() {
  bool expected = false;
  if (!started_.compare_exchange_strong(expected, true)) throw EThread("Thread already started");
  {
    std::lock_guard<std::mutex> guard(RunningMutex());
    Running().insert(this);
  }
  thread_ = std::thread([this] { Run(); });
}

void TThread::Run() {
  threadId_ = GetCurrentThreadId();
  try {
    Execute();
  } catch (...) {
    fatal_ = std::current_exception();
  }
  try {
    DoTerminate();
  } catch (...) {
    if (!fatal_) fatal_ = std::current_exception();
  }
  const bool freeSelf = FreeOnTerminate;
  {
    std::lock_guard<std::mutex> guard(mutex_);
    finished_ = true;
    done_.notify_all();
  }
  {
    std::lock_guard<std::mutex> guard(RunningMutex());
    Running().erase(this);
  }
  platform::NotifySynchronizeWaiters();
  if (freeSelf) delete this;
}

void TThread::DoTerminate() {
  if (OnTerminate) Synchronize([this] { OnTerminate(this); });
}

int TThread::WaitFor() {
  if (!started_) throw EThread("Cannot wait for a thread that was never started");
  if (thread_.joinable() && thread_.get_id() == std::this_thread::get_id())
    throw EThread("A thread cannot wait for itself");
  if (platform::IsMainThread()) {
    platform::WaitRunningSynchronized([this] { return finished_.load(); });
  } else {
    std::unique_lock<std::mutex> lock(mutex_);
    done_.wait(lock, [this] { return finished_.load(); });
  }
  if (thread_.joinable()) thread_.join();
  return ReturnValue;
}

void TThread::Synchronize(TThread* /*thread*/, const std::function<void()>& method) {
  platform::RunSynchronized(method);
}

void TThread::Synchronize(const std::function<void()>& method) { platform::RunSynchronized(method); }

namespace platform {

void TerminateThreads() {
  {
    std::lock_guard<std::mutex> guard(RunningMutex());
    for (TThread* t : Running()) t->Terminate();
  }
  WaitRunningSynchronized([] {
    std::lock_guard<std::mutex> guard(RunningMutex());
    return Running().empty();
  });
}

std::size_t RunningThreads() {
  std::lock_guard<std::mutex> guard(RunningMutex());
  return Running().size();
}

}  // namespace platform
