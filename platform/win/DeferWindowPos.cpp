#include "platform/win/DeferWindowPos.h"

#include <memory>
#include <set>
#include <vector>

#include "platform/rtl/LastError.h"

struct HDWP__ {
  struct Move {
    HWND hwnd;
    HWND insertAfter;
    int x, y, cx, cy;
    UINT flags;
  };
  std::vector<Move> moves;
};

namespace {

std::set<HDWP>& OpenBatches() {
  static std::set<HDWP> batches;
  return batches;
}

void Close(HDWP batch) {
  OpenBatches().erase(batch);
  delete batch;
}

}  // namespace

HDWP BeginDeferWindowPos(int count) {
  if (count < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto batch = std::make_unique<HDWP__>();
  batch->moves.reserve(size_t(count));
  HDWP handle = batch.release();
  OpenBatches().insert(handle);
  return handle;
}

HDWP DeferWindowPos(HDWP batch, HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
  if (!OpenBatches().count(batch)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  if (!IsWindow(hwnd)) {
    Close(batch);
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  batch->moves.push_back({hwnd, insertAfter, x, y, cx, cy, flags});
  return batch;
}

BOOL EndDeferWindowPos(HDWP batch) {
  if (!OpenBatches().count(batch)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  // Taken out first: a move's messages may open or end other batches.
  const std::vector<HDWP__::Move> moves = std::move(batch->moves);
  Close(batch);
  BOOL all = TRUE;
  for (const auto& m : moves)
    if (!SetWindowPos(m.hwnd, m.insertAfter, m.x, m.y, m.cx, m.cy, m.flags)) all = FALSE;
  return all;
}
