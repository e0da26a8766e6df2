// Threads, Synchronize, events and the fake clock.
#include <gtest/gtest.h>

#include <atomic>
#include <limits>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "Printers.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FakeClock.h"
#include "platform/rtl/LastError.h"
#include "platform/rtl/MainThread.h"
#include "platform/rtl/SyncObjs.h"
#include "platform/rtl/Synchronize.h"
#include "platform/rtl/TThread.h"

namespace {

// Runs a function as a thread's Execute.
class LambdaThread : public TThread {
 public:
  explicit LambdaThread(std::function<void(LambdaThread&)> body, std::atomic<bool>* destroyed = nullptr)
      : TThread(true), body_(std::move(body)), destroyed_(destroyed) {}
  ~LambdaThread() override {
    // Execute may use this class's members, so the wait belongs here, not in ~TThread.
    if (!Suspended() && !Finished()) {
      Terminate();
      WaitFor();
    }
    if (destroyed_) *destroyed_ = true;
  }
  using TThread::ReturnValue;
  using TThread::Synchronize;
  using TThread::Terminated;

 protected:
  void Execute() override { body_(*this); }

 private:
  std::function<void(LambdaThread&)> body_;
  std::atomic<bool>* destroyed_;
};

// Installs a fake clock for one test.
class FakeClockScope {
 public:
  FakeClockScope() { platform::SetClock(&clock); }
  ~FakeClockScope() { platform::SetClock(nullptr); }
  platform::FakeClock clock{1000};
};

TEST(Threads, SynchronizeRunsOnTheInterfaceThreadWhileItWaits) {
  ASSERT_TRUE(platform::IsMainThread());
  std::vector<DWORD> ranOn;  // touched only on the interface thread
  LambdaThread t([&](LambdaThread& self) {
    for (int i = 0; i < 3; ++i) self.Synchronize([&] { ranOn.push_back(GetCurrentThreadId()); });
    try {
      self.Synchronize([] { throw EConvertError("from the interface thread"); });
    } catch (const EConvertError& e) {
      self.ReturnValue = e.Message == "from the interface thread" ? 7 : 1;
    }
  });
  EXPECT_TRUE(t.Suspended());
  t.Start();
  EXPECT_THROW(t.Start(), EThread);
  EXPECT_EQ(7, t.WaitFor());  // WaitFor keeps running the queued calls
  ASSERT_EQ(3u, ranOn.size());
  for (DWORD id : ranOn) EXPECT_EQ(MainThreadID, id);
  EXPECT_FALSE(t.FatalException());
}

TEST(Threads, FreeOnTerminateRunsOnTerminateOnTheInterfaceThreadThenDeletesItself) {
  std::atomic<bool> destroyed{false};
  DWORD terminateRanOn = 0;
  auto* t = new LambdaThread([](LambdaThread&) { throw std::runtime_error("fails"); }, &destroyed);
  t->FreeOnTerminate = true;
  t->OnTerminate = [&](TObject* sender) {
    terminateRanOn = GetCurrentThreadId();
    // The failure is kept for the handler to see.
    EXPECT_TRUE(static_cast<LambdaThread*>(sender)->FatalException());
  };
  t->Start();
  t = nullptr;  // the interface thread must not touch it any more
  for (int i = 0; i < 1000 && terminateRanOn == 0; ++i) CheckSynchronize(10);
  EXPECT_EQ(MainThreadID, terminateRanOn);
  for (int i = 0; i < 1000 && !destroyed; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(2));
  EXPECT_TRUE(destroyed);
}

TEST(Threads, CheckSynchronizeBelongsToTheInterfaceThread) {
  bool raised = false;
  std::thread other([&] {
    try {
      CheckSynchronize();
    } catch (const EThread&) {
      raised = true;
    }
  });
  other.join();
  EXPECT_TRUE(raised);
  EXPECT_FALSE(CheckSynchronize());  // nothing queued
}

TEST(Threads, WakeHookRunsWhenACallIsQueued) {
  std::atomic<int> wakes{0};
  platform::SetWakeMainThreadHook([&] { ++wakes; });
  LambdaThread t([](LambdaThread& self) { self.Synchronize([] {}); });
  t.Start();
  t.WaitFor();
  platform::SetWakeMainThreadHook(nullptr);
  EXPECT_EQ(1, wakes.load());
}

TEST(Threads, DestroyingARunningThreadTerminatesAndWaits) {
  std::atomic<bool> sawTerminated{false};
  {
    LambdaThread t([&](LambdaThread& self) {
      while (!self.Terminated) std::this_thread::sleep_for(std::chrono::milliseconds(1));
      sawTerminated = true;
    });
    t.Start();
  }
  EXPECT_TRUE(sawTerminated);
  LambdaThread neverStarted([](LambdaThread&) {});  // leaves without waiting
}

TEST(Events, AutoAndManualReset) {
  HANDLE autoEvent = CreateEventA(nullptr, FALSE, TRUE, nullptr);
  HANDLE manualEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  ASSERT_NE(nullptr, autoEvent);
  EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(autoEvent, 0));
  EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(autoEvent, 0));  // the wait reset it
  EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(manualEvent, 0));
  EXPECT_TRUE(SetEvent(manualEvent));
  EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(manualEvent, 0));
  EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(manualEvent, INFINITE));
  EXPECT_TRUE(ResetEvent(manualEvent));
  EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(manualEvent, 0));

  std::thread setter([&] { SetEvent(autoEvent); });
  EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(autoEvent, INFINITE));
  setter.join();

  EXPECT_TRUE(CloseHandle(autoEvent));
  EXPECT_FALSE(CloseHandle(autoEvent));
  EXPECT_EQ(ERROR_INVALID_HANDLE, GetLastError());
  EXPECT_EQ(WAIT_FAILED, WaitForSingleObject(autoEvent, 0));
  EXPECT_EQ(nullptr, CreateEventA(nullptr, FALSE, FALSE, "shared"));
  EXPECT_EQ(ERROR_NOT_SUPPORTED, GetLastError());
  CloseHandle(manualEvent);

  TSimpleEvent simple;
  EXPECT_EQ(wrTimeout, simple.WaitFor(0));
  simple.SetEvent();
  EXPECT_EQ(wrSignaled, simple.WaitFor(0));
  EXPECT_EQ(wrSignaled, simple.WaitFor(0));
}

TEST(Events, CriticalSectionsAreRecursive) {
  TCriticalSection cs;
  cs.Enter();
  cs.Acquire();
  cs.Leave();
  cs.Release();
  CRITICAL_SECTION raw;
  InitializeCriticalSection(&raw);
  EnterCriticalSection(&raw);
  EnterCriticalSection(&raw);
  std::atomic<bool> got{false};
  std::thread other([&] {
    EnterCriticalSection(&raw);
    got = true;
    LeaveCriticalSection(&raw);
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_FALSE(got);
  LeaveCriticalSection(&raw);
  LeaveCriticalSection(&raw);
  other.join();
  EXPECT_TRUE(got);
  DeleteCriticalSection(&raw);
}

TEST(FakeClockTest, TimedWaitsEndOnlyWhenTimeIsAdvanced) {
  FakeClockScope scope;
  HANDLE event = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  std::atomic<DWORD> result{0xDEAD};
  std::thread worker([&] { result = WaitForSingleObject(event, 100); });
  ASSERT_TRUE(scope.clock.WaitForBlocked(1));
  scope.clock.Advance(99);
  EXPECT_EQ(0xDEADu, result.load());
  EXPECT_EQ(1, scope.clock.BlockedCount());
  scope.clock.Advance(1);  // returns once the woken worker has left its wait
  EXPECT_EQ(WAIT_TIMEOUT, result.load());
  worker.join();

  // A signal ends the wait before its deadline.
  std::thread worker2([&] { result = WaitForSingleObject(event, 100); });
  ASSERT_TRUE(scope.clock.WaitForBlocked(1));
  SetEvent(event);
  worker2.join();
  EXPECT_EQ(WAIT_OBJECT_0, result.load());
  EXPECT_EQ(0, scope.clock.BlockedCount());
  CloseHandle(event);
}

TEST(FakeClockTest, AdvanceStepsThroughDeadlinesInOrder) {
  FakeClockScope scope;
  std::mutex logMutex;
  std::vector<std::string> log;
  auto note = [&](std::string s) {
    std::lock_guard<std::mutex> guard(logMutex);
    log.push_back(std::move(s));
  };
  std::int64_t timer = 1050;
  scope.clock.SetDueHooks([&] { return timer; },
                          [&](std::int64_t now) {
                            if (now >= timer) {
                              note("timer@" + std::to_string(now));
                              timer = std::numeric_limits<std::int64_t>::max();
                            }
                            note("due@" + std::to_string(now));
                          });
  std::thread sleeper([&] {
    Sleep(70);
    note("woke@" + std::to_string(platform::GetClock().NowMs()));
  });
  ASSERT_TRUE(scope.clock.WaitForBlocked(1));
  scope.clock.Advance(100);
  sleeper.join();
  scope.clock.SetDueHooks(nullptr, nullptr);
  std::vector<std::string> expected = {"timer@1050", "due@1050", "woke@1070", "due@1070", "due@1100"};
  // The woken sleeper logs as it leaves; the clock waits for that before processing 1070.
  EXPECT_EQ(expected, log);
}

TEST(FakeClockTest, TickCountAndSleepOnTheInterfaceThread) {
  FakeClockScope scope;
  scope.clock.SetNow(0x100000005LL);
  EXPECT_EQ(5u, GetTickCount());  // the low 32 bits
  EXPECT_EQ(5u, timeGetTime());
  std::atomic<bool> woke{false};
  std::thread worker([&] {
    Sleep(30);
    woke = true;
  });
  ASSERT_TRUE(scope.clock.WaitForBlocked(1));
  Sleep(50);  // the interface thread moves the clock itself, waking the worker on the way
  EXPECT_EQ(0x100000005LL + 50, scope.clock.NowMs());
  worker.join();
  EXPECT_TRUE(woke);
  scope.clock.SetNow(10);  // backwards: nothing wakes, time is set
  EXPECT_EQ(10, scope.clock.NowMs());
}

TEST(FakeClockTest, CheckSynchronizeWaitsOnTheFakeClock) {
  FakeClockScope scope;
  std::int64_t before = scope.clock.NowMs();
  EXPECT_FALSE(CheckSynchronize(25));  // nothing arrives: the interface thread's wait advances time
  EXPECT_EQ(before + 25, scope.clock.NowMs());
}

}  // namespace
