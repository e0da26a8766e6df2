// The calling thread's last error, held here only until platform/rtl provides it.
#include "platform/gdi/PendingRtlTypes.h"

namespace {
thread_local DWORD lastError = 0;
}

DWORD GetLastError() { return lastError; }
void SetLastError(DWORD code) { lastError = code; }
