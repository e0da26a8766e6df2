// A clock that moves only when a test (or the headless backend) advances it. Advance steps
// through every deadline inside the interval in order: at each one it wakes the threads whose
// deadline it is and lets them run until they block on the clock again, block in an untimed
// wait, or end (on the interface thread it runs their Synchronize calls meanwhile; a thread
// stuck on something else is given up on after two seconds of real time); then the due hook
// processes what became due (the window system's timers) before time moves on.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <list>
#include <mutex>

#include "platform/rtl/Clock.h"

namespace platform {

class FakeClock : public Clock {
 public:
  explicit FakeClock(std::int64_t startMs = 0);
  ~FakeClock() override;

  std::int64_t NowMs() override;
  // On the interface thread a timed wait cannot be left to others: the clock advances itself
  // to the deadline (waking whoever is due on the way) and the wait times out.
  bool WaitUntil(std::condition_variable& cv, std::unique_lock<std::mutex>& lock,
                 std::int64_t deadlineMs) override;

  void Advance(std::int64_t ms);
  // Moves to `ms`: forward as Advance does; backward only sets the time (nobody wakes).
  void SetNow(std::int64_t ms);
  // How many threads are blocked in a timed wait or sleep on this clock.
  int BlockedCount();
  // Waits, in real time (at most `realTimeoutMs`), until at least `count` threads are blocked
  // on this clock; returns whether they are. Lets a test park a worker before advancing.
  bool WaitForBlocked(int count, int realTimeoutMs = 10000);
  // The window system's hooks: the earliest deadline it holds (INT64_MAX for none), and the
  // processing of what is due at a given time. Both run on the thread that advances.
  void SetDueHooks(std::function<std::int64_t()> nextDeadline, std::function<void(std::int64_t)> processDue);

 private:
  struct Waiter {
    std::int64_t deadline;
    std::condition_variable* cv;
    std::mutex* mutex;
    bool fired = false;
    int notifying = 0;
  };
  friend void NoteThreadBlocks();
  friend struct ThreadActivity;
  void AdvanceTo(std::int64_t target);
  void Settle();  // a woken thread blocked again or ended
  void WaitForWokenThreads();

  std::mutex mutex_;
  std::condition_variable changed_;  // waiters registered, left, or notified
  std::int64_t now_;
  std::list<Waiter*> waiters_;
  int running_ = 0;  // woken threads that have not settled yet
  std::function<std::int64_t()> nextDeadline_;
  std::function<void(std::int64_t)> processDue_;
};

}  // namespace platform
