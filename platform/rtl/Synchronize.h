// Running code on the interface thread: a worker's Synchronize queues a call and blocks until
// the interface thread has run it (an exception it throws is re-thrown in the worker); the
// interface thread runs queued calls in CheckSynchronize, which every retrieval, modal loop
// and idle step calls. Queuing wakes the interface thread's wait through the wake hook.
#pragma once

#include <functional>

// Runs every queued call on the interface thread, first waiting up to `timeoutMs` (platform
// clock) for one to arrive; returns whether any ran. Raises EThread on another thread.
bool CheckSynchronize(int timeoutMs = 0);
// Calls the wake hook (set by the window system); nothing when none is set.
void WakeMainThread();

namespace platform {

// Runs `method` on the interface thread: at once there, else queued, blocking until done.
void RunSynchronized(const std::function<void()>& method);
// The window system's hook that wakes the interface thread's message wait.
void SetWakeMainThreadHook(std::function<void()> hook);
// Blocks the interface thread until `done()` holds, running queued calls meanwhile. Whoever
// makes `done()` true calls NotifySynchronizeWaiters afterwards.
void WaitRunningSynchronized(const std::function<bool()>& done);
void NotifySynchronizeWaiters();
// Whether calls are queued (the window system's idle test).
bool SynchronizePending();

}  // namespace platform
