// Critical sections and events.
#include "platform/rtl/SyncObjs.h"

#include "platform/rtl/Clock.h"
#include "platform/rtl/LastError.h"
#include "platform/rtl/Process.h"

void InitializeCriticalSection(LPCRITICAL_SECTION cs) { cs->mutex = new std::recursive_mutex; }
void EnterCriticalSection(LPCRITICAL_SECTION cs) { cs->mutex->lock(); }
void LeaveCriticalSection(LPCRITICAL_SECTION cs) { cs->mutex->unlock(); }
void DeleteCriticalSection(LPCRITICAL_SECTION cs) {
  delete cs->mutex;
  cs->mutex = nullptr;
}

namespace platform {

void EventObject::Set() {
  std::lock_guard<std::mutex> guard(mutex_);
  signaled_ = true;
  if (manual_)
    cv_.notify_all();
  else
    cv_.notify_one();
}

void EventObject::Reset() {
  std::lock_guard<std::mutex> guard(mutex_);
  signaled_ = false;
}

DWORD EventObject::Wait(DWORD ms) {
  std::unique_lock<std::mutex> lock(mutex_);
  if (ms == INFINITE) {
    if (!signaled_) NoteThreadBlocks();
    cv_.wait(lock, [this] { return signaled_; });
  } else if (!signaled_) {
    Clock& clock = GetClock();
    const std::int64_t deadline = clock.NowMs() + ms;
    while (!signaled_) {
      if (!clock.WaitUntil(cv_, lock, deadline) && !signaled_) return WAIT_TIMEOUT;
    }
  }
  if (!manual_) signaled_ = false;
  return WAIT_OBJECT_0;
}

}  // namespace platform

TEvent::TEvent(void* /*security*/, bool manualReset, bool initialState, const char* /*name*/)
    : event_(std::make_shared<platform::EventObject>(manualReset, initialState)) {}

TWaitResult TEvent::WaitFor(DWORD ms) { return event_->Wait(ms) == WAIT_OBJECT_0 ? wrSignaled : wrTimeout; }

namespace {
HANDLE NewEvent(BOOL manualReset, BOOL initialState, bool named) {
  if (named) {
    SetLastError(ERROR_NOT_SUPPORTED);
    return nullptr;
  }
  HANDLE h = platform::AddHandle(
      platform::HandleKind::Event,
      std::make_shared<platform::EventObject>(manualReset != FALSE, initialState != FALSE));
  if (h) SetLastError(ERROR_SUCCESS);
  return h;
}
}  // namespace

HANDLE CreateEventA(LPSECURITY_ATTRIBUTES, BOOL manualReset, BOOL initialState, LPCSTR name) {
  return NewEvent(manualReset, initialState, name && *name);
}

HANDLE CreateEventW(LPSECURITY_ATTRIBUTES, BOOL manualReset, BOOL initialState, LPCWSTR name) {
  return NewEvent(manualReset, initialState, name && *name);
}

BOOL SetEvent(HANDLE event) {
  auto e = platform::LookupHandleAs<platform::EventObject>(event, platform::HandleKind::Event);
  if (!e) return FALSE;
  e->Set();
  return TRUE;
}

BOOL ResetEvent(HANDLE event) {
  auto e = platform::LookupHandleAs<platform::EventObject>(event, platform::HandleKind::Event);
  if (!e) return FALSE;
  e->Reset();
  return TRUE;
}

DWORD WaitForSingleObject(HANDLE handle, DWORD ms) {
  if (((reinterpret_cast<std::uintptr_t>(handle) >> 24) & 0xFF) ==
      static_cast<unsigned>(platform::HandleKind::Process))
    return platform::WaitForProcess(handle, ms);
  auto e = platform::LookupHandleAs<platform::EventObject>(handle, platform::HandleKind::Event);
  if (!e) return WAIT_FAILED;
  return e->Wait(ms);
}

LONG InterlockedIncrement(volatile LONG* value) { return __atomic_add_fetch(value, 1, __ATOMIC_SEQ_CST); }
LONG InterlockedDecrement(volatile LONG* value) { return __atomic_sub_fetch(value, 1, __ATOMIC_SEQ_CST); }
LONG InterlockedExchange(volatile LONG* target, LONG value) {
  return __atomic_exchange_n(target, value, __ATOMIC_SEQ_CST);
}
