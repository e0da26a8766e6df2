// The platform clock: milliseconds as a signed 64-bit count from an arbitrary start. Every
// timed thing (GetTickCount, Sleep, timed waits, timers) reads and waits through the installed
// clock, a steady clock in real runs and a FakeClock in headless runs and tests.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace platform {

class Clock {
 public:
  virtual ~Clock() = default;
  virtual std::int64_t NowMs() = 0;
  // Waits on `cv` (with `lock` held, as for condition_variable::wait) until notified or until
  // the clock reaches `deadlineMs`. Returns false once the deadline has passed; a true return
  // may be spurious, so callers test their condition in a loop.
  virtual bool WaitUntil(std::condition_variable& cv, std::unique_lock<std::mutex>& lock,
                         std::int64_t deadlineMs) = 0;
  // Blocks the calling thread until the clock reaches `deadlineMs`.
  virtual void SleepUntil(std::int64_t deadlineMs);
};

// std::chrono::steady_clock.
class SteadyClock : public Clock {
 public:
  std::int64_t NowMs() override;
  bool WaitUntil(std::condition_variable& cv, std::unique_lock<std::mutex>& lock,
                 std::int64_t deadlineMs) override;
};

// Tells the fake clock that the calling thread, woken by it, now blocks on something other
// than time (an untimed wait), so an advance need not wait for it to settle. Cheap otherwise.
void NoteThreadBlocks();

// The installed clock (a SteadyClock until start-up or a test installs another). Installing
// null puts the steady clock back. The caller keeps the clock alive while it is installed.
Clock& GetClock();
void SetClock(Clock* clock);

}  // namespace platform

// The classic time functions over the installed clock.
unsigned GetTickCount();  // the low 32 bits, wrapping
unsigned timeGetTime();
// Blocks for `ms` milliseconds of the installed clock; 0 yields the processor.
void Sleep(unsigned ms);
