// The process's table of kernel handles (files, events, mutexes, searches): each HANDLE is an
// opaque number, kind << 24 | index, never a raw pointer and never reused while the process
// lives, so a stale handle is refused instead of reaching another object.
#pragma once

#include <memory>

#include "platform/rtl/Types.h"

inline const HANDLE INVALID_HANDLE_VALUE = reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(-1));

// Closes any kernel handle; FALSE with ERROR_INVALID_HANDLE for one that is not open.
BOOL CloseHandle(HANDLE handle);

namespace platform {

class KernelObject {
 public:
  virtual ~KernelObject() = default;
};

// CloseHandle closes kinds 1-4 and 6; global memory goes through GlobalFree.
enum class HandleKind { File = 1, Event = 2, Mutex = 3, FindSearch = 4, GlobalMemory = 5, Process = 6 };

HANDLE AddHandle(HandleKind kind, std::shared_ptr<KernelObject> object);
// The object behind a handle of the given kind, or null (last error ERROR_INVALID_HANDLE).
std::shared_ptr<KernelObject> LookupHandle(HANDLE handle, HandleKind kind);
template <typename T>
std::shared_ptr<T> LookupHandleAs(HANDLE handle, HandleKind kind) {
  return std::static_pointer_cast<T>(LookupHandle(handle, kind));
}
// Removes a handle of the given kind; false when it is not open.
bool RemoveHandle(HANDLE handle, HandleKind kind);

}  // namespace platform
