// The kernel-handle table.
#include "platform/rtl/KernelHandles.h"

#include <cstdint>
#include <mutex>
#include <unordered_map>

#include "platform/rtl/LastError.h"

namespace platform {
namespace {

struct Table {
  std::mutex mutex;
  std::unordered_map<std::uintptr_t, std::shared_ptr<KernelObject>> objects;
  std::uint32_t nextIndex[8] = {1, 1, 1, 1, 1, 1, 1, 1};
};

Table& TheTable() {
  static Table* table = new Table;  // outlives every static destructor that may close a handle
  return *table;
}

std::uintptr_t KindOf(HANDLE h) { return (reinterpret_cast<std::uintptr_t>(h) >> 24) & 0xFF; }

}  // namespace

HANDLE AddHandle(HandleKind kind, std::shared_ptr<KernelObject> object) {
  Table& t = TheTable();
  std::lock_guard<std::mutex> guard(t.mutex);
  std::uint32_t& next = t.nextIndex[static_cast<int>(kind)];
  if (next >= 0x00FFFFFF) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);  // sixteen million handles of one kind: refuse more
    return nullptr;
  }
  std::uintptr_t value = (static_cast<std::uintptr_t>(kind) << 24) | next++;
  t.objects.emplace(value, std::move(object));
  return reinterpret_cast<HANDLE>(value);
}

std::shared_ptr<KernelObject> LookupHandle(HANDLE handle, HandleKind kind) {
  Table& t = TheTable();
  std::lock_guard<std::mutex> guard(t.mutex);
  auto it = t.objects.find(reinterpret_cast<std::uintptr_t>(handle));
  if (it == t.objects.end() || KindOf(handle) != static_cast<std::uintptr_t>(kind)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  return it->second;
}

bool RemoveHandle(HANDLE handle, HandleKind kind) {
  std::shared_ptr<KernelObject> doomed;  // destroyed outside the lock
  Table& t = TheTable();
  std::lock_guard<std::mutex> guard(t.mutex);
  auto it = t.objects.find(reinterpret_cast<std::uintptr_t>(handle));
  if (it == t.objects.end() || KindOf(handle) != static_cast<std::uintptr_t>(kind)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return false;
  }
  doomed = std::move(it->second);
  t.objects.erase(it);
  return true;
}

}  // namespace platform

BOOL CloseHandle(HANDLE handle) {
  std::uintptr_t kind = (reinterpret_cast<std::uintptr_t>(handle) >> 24) & 0xFF;
  if (kind < 1 || kind > 6 || kind == 5) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return platform::RemoveHandle(handle, static_cast<platform::HandleKind>(kind)) ? TRUE : FALSE;
}
