// Synchronisation objects: recursive critical sections, and auto- and manual-reset events with
// timed waits on the platform clock, as objects and as the handles of the classic functions.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>

#include "platform/rtl/KernelHandles.h"
#include "platform/rtl/Types.h"

constexpr DWORD INFINITE = 0xFFFFFFFF;
constexpr DWORD WAIT_OBJECT_0 = 0;
constexpr DWORD WAIT_ABANDONED = 0x80;
constexpr DWORD WAIT_TIMEOUT = 0x102;
constexpr DWORD WAIT_FAILED = 0xFFFFFFFF;

class TCriticalSection {
 public:
  void Enter() { mutex_.lock(); }
  void Leave() { mutex_.unlock(); }
  void Acquire() { Enter(); }
  void Release() { Leave(); }
  bool TryEnter() { return mutex_.try_lock(); }

 private:
  std::recursive_mutex mutex_;
};

struct CRITICAL_SECTION {
  std::recursive_mutex* mutex = nullptr;
};
using LPCRITICAL_SECTION = CRITICAL_SECTION*;
void InitializeCriticalSection(LPCRITICAL_SECTION cs);
void EnterCriticalSection(LPCRITICAL_SECTION cs);
void LeaveCriticalSection(LPCRITICAL_SECTION cs);
void DeleteCriticalSection(LPCRITICAL_SECTION cs);

namespace platform {

// The state behind an event handle and TEvent.
class EventObject : public KernelObject {
 public:
  EventObject(bool manualReset, bool initialState) : manual_(manualReset), signaled_(initialState) {}
  void Set();
  void Reset();
  // WAIT_OBJECT_0 or WAIT_TIMEOUT; an auto-reset event is reset by the wait it satisfies.
  DWORD Wait(DWORD ms);

 private:
  std::mutex mutex_;
  std::condition_variable cv_;
  const bool manual_;
  bool signaled_;
};

}  // namespace platform

enum TWaitResult { wrSignaled, wrTimeout, wrAbandoned, wrError };

class TEvent {
 public:
  // Security and name are accepted for the classic signature; events are process-local.
  TEvent(void* security, bool manualReset, bool initialState, const char* name);
  void SetEvent() { event_->Set(); }
  void ResetEvent() { event_->Reset(); }
  TWaitResult WaitFor(DWORD ms);

 private:
  std::shared_ptr<platform::EventObject> event_;
};

// A manual-reset event, initially not signalled.
class TSimpleEvent : public TEvent {
 public:
  TSimpleEvent() : TEvent(nullptr, true, false, nullptr) {}
};

struct SECURITY_ATTRIBUTES;
using LPSECURITY_ATTRIBUTES = SECURITY_ATTRIBUTES*;

// A null name gives a process-local event; a named one fails with ERROR_NOT_SUPPORTED (events
// are never shared between processes here).
HANDLE CreateEventA(LPSECURITY_ATTRIBUTES security, BOOL manualReset, BOOL initialState, LPCSTR name);
HANDLE CreateEventW(LPSECURITY_ATTRIBUTES security, BOOL manualReset, BOOL initialState, LPCWSTR name);
BOOL SetEvent(HANDLE event);
BOOL ResetEvent(HANDLE event);
// Events and processes (signalled when the process has ended); any other handle gives
// WAIT_FAILED with ERROR_INVALID_HANDLE.
DWORD WaitForSingleObject(HANDLE handle, DWORD ms);

LONG InterlockedIncrement(volatile LONG* value);
LONG InterlockedDecrement(volatile LONG* value);
LONG InterlockedExchange(volatile LONG* target, LONG value);
