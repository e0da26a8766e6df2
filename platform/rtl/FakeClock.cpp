// The fake clock's stepping and its bookkeeping of blocked threads.
#include "platform/rtl/FakeClock.h"

#include <chrono>
#include <limits>
#include <set>

#include "platform/rtl/MainThread.h"
#include "platform/rtl/Synchronize.h"

namespace platform {

namespace {
// Fake clocks alive now: a thread may end after the clock that woke it is gone.
std::mutex gLiveMutex;
std::set<FakeClock*> gLive;
}  // namespace

// Which fake clock woke the calling thread and still waits for it to settle.
struct ThreadActivity {
  FakeClock* clock = nullptr;
  ~ThreadActivity() { SettleIfAlive(); }
  void SettleIfAlive() {
    FakeClock* c = clock;
    clock = nullptr;
    if (!c) return;
    std::lock_guard<std::mutex> guard(gLiveMutex);
    if (gLive.count(c)) c->Settle();
  }
};
namespace {
thread_local ThreadActivity tActivity;
}  // namespace

void NoteThreadBlocks() { tActivity.SettleIfAlive(); }

FakeClock::FakeClock(std::int64_t startMs) : now_(startMs) {
  std::lock_guard<std::mutex> guard(gLiveMutex);
  gLive.insert(this);
}

void FakeClock::Settle() {
  std::lock_guard<std::mutex> guard(mutex_);
  if (running_ > 0) --running_;
  changed_.notify_all();
}

FakeClock::~FakeClock() {
  if (&GetClock() == this) SetClock(nullptr);
  std::lock_guard<std::mutex> guard(gLiveMutex);
  gLive.erase(this);
}

std::int64_t FakeClock::NowMs() {
  std::lock_guard<std::mutex> guard(mutex_);
  return now_;
}

bool FakeClock::WaitUntil(std::condition_variable& cv, std::unique_lock<std::mutex>& lock,
                          std::int64_t deadlineMs) {
  if (IsMainThread()) {
    lock.unlock();
    std::int64_t now = NowMs();
    if (deadlineMs > now) AdvanceTo(deadlineMs);
    lock.lock();
    return false;
  }
  Waiter self{deadlineMs, &cv, lock.mutex(), false, 0};
  {
    std::lock_guard<std::mutex> guard(mutex_);
    if (now_ >= deadlineMs) return false;
    if (tActivity.clock == this) {  // blocked on time again: settled
      tActivity.clock = nullptr;
      if (running_ > 0) --running_;
    }
    waiters_.push_back(&self);
    changed_.notify_all();
  }
  // The advancing thread notifies under our mutex, so a wake-up cannot slip in between.
  cv.wait(lock);
  lock.unlock();
  bool timedOut;
  {
    std::unique_lock<std::mutex> guard(mutex_);
    changed_.wait(guard, [&] { return self.notifying == 0; });
    waiters_.remove(&self);
    timedOut = self.fired || now_ >= deadlineMs;
    if (self.fired) {
      // Woken by time: the advance waits until this thread settles again.
      ++running_;
      if (tActivity.clock != this) {
        guard.unlock();
        tActivity.SettleIfAlive();
        guard.lock();
      }
      tActivity.clock = this;
    }
    changed_.notify_all();
  }
  lock.lock();
  return !timedOut;
}

void FakeClock::Advance(std::int64_t ms) {
  if (ms <= 0) return;
  AdvanceTo(NowMs() + ms);
}

void FakeClock::SetNow(std::int64_t ms) {
  {
    std::lock_guard<std::mutex> guard(mutex_);
    if (ms <= now_) {
      now_ = ms;
      return;
    }
  }
  AdvanceTo(ms);
}

int FakeClock::BlockedCount() {
  std::lock_guard<std::mutex> guard(mutex_);
  int n = 0;
  for (Waiter* w : waiters_)
    if (!w->fired) ++n;
  return n;
}

bool FakeClock::WaitForBlocked(int count, int realTimeoutMs) {
  std::unique_lock<std::mutex> guard(mutex_);
  return changed_.wait_for(guard, std::chrono::milliseconds(realTimeoutMs), [&] {
    int n = 0;
    for (Waiter* w : waiters_)
      if (!w->fired) ++n;
    return n >= count;
  });
}

void FakeClock::SetDueHooks(std::function<std::int64_t()> nextDeadline,
                            std::function<void(std::int64_t)> processDue) {
  std::lock_guard<std::mutex> guard(mutex_);
  nextDeadline_ = std::move(nextDeadline);
  processDue_ = std::move(processDue);
}

void FakeClock::AdvanceTo(std::int64_t target) {
  bool processedNow = false;  // the hook already ran at the current time in this advance
  for (;;) {
    std::vector<Waiter*> due;
    std::function<void(std::int64_t)> processDue;
    std::int64_t step;
    {
      std::unique_lock<std::mutex> guard(mutex_);
      if (now_ >= target) return;
      std::int64_t next = target;
      for (Waiter* w : waiters_)
        if (!w->fired && w->deadline < next) next = w->deadline;
      std::function<std::int64_t()> nextDeadline = nextDeadline_;
      guard.unlock();
      // The hook may take the window system's locks; never call it under ours.
      std::int64_t hookNext = nextDeadline ? nextDeadline() : std::numeric_limits<std::int64_t>::max();
      guard.lock();
      // Something overdue is processed once at the current time; then time moves on.
      if (hookNext < next && !(hookNext <= now_ && processedNow)) next = hookNext;
      if (next < now_) next = now_;
      if (next > now_) processedNow = false;
      now_ = next;
      step = now_;
      for (Waiter* w : waiters_)
        if (!w->fired && w->deadline <= now_) {
          w->fired = true;
          ++w->notifying;
          due.push_back(w);
        }
      processDue = processDue_;
    }
    for (Waiter* w : due) {
      {
        std::lock_guard<std::mutex> userLock(*w->mutex);
        w->cv->notify_all();
      }
      std::lock_guard<std::mutex> guard(mutex_);
      --w->notifying;
      changed_.notify_all();
    }
    WaitForWokenThreads();
    if (processDue) processDue(step);
    processedNow = true;
    if (step >= target) return;
  }
}

void FakeClock::WaitForWokenThreads() {
  const bool interfaceThread = IsMainThread();
  const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(2);
  std::unique_lock<std::mutex> guard(mutex_);
  auto settled = [&] {
    if (running_ > 0) return false;
    for (Waiter* w : waiters_)
      if (w->fired) return false;
    return true;
  };
  while (!settled()) {
    if (std::chrono::steady_clock::now() >= giveUp) {
      running_ = 0;  // blocked on something this clock cannot see
      return;
    }
    if (interfaceThread && SynchronizePending()) {
      guard.unlock();
      CheckSynchronize();
      guard.lock();
      continue;
    }
    changed_.wait_for(guard, std::chrono::milliseconds(interfaceThread ? 1 : 20));
  }
}

}  // namespace platform
