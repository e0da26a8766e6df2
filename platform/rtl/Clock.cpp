// The steady clock, the installed-clock switch and the classic time functions.
#include "platform/rtl/Clock.h"

#include <atomic>
#include <chrono>
#include <thread>

namespace platform {

void Clock::SleepUntil(std::int64_t deadlineMs) {
  std::mutex m;
  std::condition_variable cv;
  std::unique_lock<std::mutex> lock(m);
  while (WaitUntil(cv, lock, deadlineMs)) {
  }
}

std::int64_t SteadyClock::NowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

bool SteadyClock::WaitUntil(std::condition_variable& cv, std::unique_lock<std::mutex>& lock,
                            std::int64_t deadlineMs) {
  std::chrono::steady_clock::time_point deadline{std::chrono::milliseconds(deadlineMs)};
  cv.wait_until(lock, deadline);
  return NowMs() < deadlineMs;
}

namespace {
SteadyClock gSteady;
std::atomic<Clock*> gClock{&gSteady};
}  // namespace

Clock& GetClock() { return *gClock.load(std::memory_order_acquire); }
void SetClock(Clock* clock) { gClock.store(clock ? clock : &gSteady, std::memory_order_release); }

}  // namespace platform

unsigned GetTickCount() { return static_cast<unsigned>(platform::GetClock().NowMs()); }
unsigned timeGetTime() { return GetTickCount(); }

void Sleep(unsigned ms) {
  if (ms == 0) {
    std::this_thread::yield();
    return;
  }
  platform::Clock& clock = platform::GetClock();
  clock.SleepUntil(clock.NowMs() + ms);
}
