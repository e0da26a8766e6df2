// The interface thread's identity and the classic thread and process numbers.
#pragma once

#include "platform/rtl/Types.h"

// The interface thread's id, set by start-up (SetMainThread); the process's first thread
// until then.
extern DWORD MainThreadID;
DWORD GetCurrentThreadId();
DWORD GetCurrentProcessId();

namespace platform {
// Makes the calling thread the interface thread (start-up, and tests that run the interface
// on a thread of their own).
void SetMainThread();
bool IsMainThread();
}  // namespace platform
