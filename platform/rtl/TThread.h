// TThread: a thread object whose Execute runs on a thread of its own. Created suspended or
// running; OnTerminate runs on the interface thread (through Synchronize) after Execute, then a
// FreeOnTerminate thread deletes itself. An exception leaving Execute is kept in
// FatalException. A thread constructed running starts at once, before a derived constructor
// has finished: derived classes with state of their own construct suspended and call Start.
// Likewise a derived class whose object may be destroyed while Execute still runs terminates
// and waits in its own destructor, since its members are gone by the time ~TThread runs.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>

#include "platform/rtl/Object.h"
#include "platform/rtl/Types.h"

enum TThreadPriority { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };

class TThread : public TObject {
 public:
  explicit TThread(bool CreateSuspended);
  // Terminates and waits for a running thread; a never-started one just goes.
  ~TThread() override;

  // Starts a suspended thread; raises EThread when it was started already.
  void Start();
  void Resume() { Start(); }
  void Terminate() { Terminated = true; }
  // Waits until Execute and OnTerminate are done and returns ReturnValue. On the interface
  // thread, queued Synchronize calls keep running while it waits.
  int WaitFor();

  bool Suspended() const { return !started_; }
  bool Finished() const { return finished_; }
  DWORD ThreadID() const { return threadId_; }
  std::exception_ptr FatalException() const { return fatal_; }

  bool FreeOnTerminate = false;
  TNotifyEvent OnTerminate;
  TThreadPriority Priority = tpNormal;  // stored only

  // Runs `method` on the interface thread for `thread` (which may be null).
  static void Synchronize(TThread* thread, const std::function<void()>& method);

 protected:
  virtual void Execute() = 0;
  // Runs OnTerminate on the interface thread.
  virtual void DoTerminate();
  void Synchronize(const std::function<void()>& method);

  std::atomic<bool> Terminated{false};
  int ReturnValue = 0;

 private:
  void Run();

  std::thread thread_;
  std::atomic<bool> started_{false};
  std::atomic<bool> finished_{false};
  std::atomic<DWORD> threadId_{0};
  std::exception_ptr fatal_;
  std::mutex mutex_;
  std::condition_variable done_;
};

namespace platform {
// Shut-down: asks every running thread to terminate and waits (running their Synchronize calls
// and OnTerminate) until each has ended; free-on-terminate threads have freed themselves then.
// Call it on the interface thread.
void TerminateThreads();
std::size_t RunningThreads();
}  // namespace platform
