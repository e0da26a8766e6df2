// The Synchronize queue.
#include "platform/rtl/Synchronize.h"

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <exception>
#include <mutex>

#include "platform/rtl/Clock.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/MainThread.h"

namespace {

struct Call {
  const std::function<void()>* method;
  bool done = false;
  std::exception_ptr error;
};

struct Queue {
  std::mutex mutex;
  std::condition_variable arrived;   // the interface thread waits here
  std::condition_variable finished;  // workers wait here
  std::deque<Call*> calls;
  std::function<void()> wakeHook;
  // Counts NotifySynchronizeWaiters: a waiter that looked at its condition since the last one
  // knows whether it may have changed meanwhile.
  std::uint64_t notified = 0;
};

Queue& TheQueue() {
  static Queue* queue = new Queue;  // lives until the process ends, past every thread
  return *queue;
}

// Runs what is queued now; the caller holds no lock.
bool RunQueued() {
  Queue& q = TheQueue();
  std::deque<Call*> batch;
  {
    std::lock_guard<std::mutex> guard(q.mutex);
    batch.swap(q.calls);
  }
  for (Call* c : batch) {
    std::exception_ptr error;
    try {
      (*c->method)();
    } catch (...) {
      error = std::current_exception();
    }
    std::lock_guard<std::mutex> guard(q.mutex);
    c->error = std::move(error);  // handed over whole: this thread keeps no share of it
    c->done = true;
    q.finished.notify_all();
  }
  return !batch.empty();
}

}  // namespace

bool CheckSynchronize(int timeoutMs) {
  if (!platform::IsMainThread())
    throw EThread("CheckSynchronize called from thread $" + AnsiString(GetCurrentThreadId()) +
                  ", which is NOT the main thread");
  if (timeoutMs > 0) {
    Queue& q = TheQueue();
    platform::Clock& clock = platform::GetClock();
    std::int64_t deadline = clock.NowMs() + timeoutMs;
    std::unique_lock<std::mutex> lock(q.mutex);
    while (q.calls.empty() && clock.WaitUntil(q.arrived, lock, deadline)) {
    }
  }
  return RunQueued();
}

void WakeMainThread() {
  std::function<void()> hook;
  {
    std::lock_guard<std::mutex> guard(TheQueue().mutex);
    hook = TheQueue().wakeHook;
  }
  if (hook) hook();
}

namespace platform {

void RunSynchronized(const std::function<void()>& method) {
  if (IsMainThread()) {
    method();
    return;
  }
  Queue& q = TheQueue();
  Call call{&method, false, nullptr};
  std::function<void()> hook;
  {
    std::lock_guard<std::mutex> guard(q.mutex);
    q.calls.push_back(&call);
    hook = q.wakeHook;
    q.arrived.notify_all();
  }
  if (hook) hook();
  std::unique_lock<std::mutex> lock(q.mutex);
  q.finished.wait(lock, [&] { return call.done; });
  if (std::exception_ptr error = std::move(call.error)) {
    lock.unlock();
    std::rethrow_exception(error);
  }
}

void SetWakeMainThreadHook(std::function<void()> hook) {
  std::lock_guard<std::mutex> guard(TheQueue().mutex);
  TheQueue().wakeHook = std::move(hook);
}

void WaitRunningSynchronized(const std::function<bool()>& done) {
  Queue& q = TheQueue();
  for (;;) {
    RunQueued();
    std::uint64_t seen = 0;
    {
      std::lock_guard<std::mutex> guard(q.mutex);
      seen = q.notified;
    }
    // The condition is looked at without the queue's lock: the locks it takes (a picture's
    // painter list, the running threads) may be held by code that runs queued calls.
    if (done()) return;
    std::unique_lock<std::mutex> lock(q.mutex);
    q.arrived.wait(lock, [&] { return !q.calls.empty() || q.notified != seen; });
  }
}

void NotifySynchronizeWaiters() {
  std::lock_guard<std::mutex> guard(TheQueue().mutex);
  ++TheQueue().notified;
  TheQueue().arrived.notify_all();
}

bool SynchronizePending() {
  std::lock_guard<std::mutex> guard(TheQueue().mutex);
  return !TheQueue().calls.empty();
}

}  // namespace platform
