// Timers of a window or of the thread: their periods (10 ms at the least), ids and procedures;
// the queue hands out WM_TIMER when one is due.
#include <algorithm>

#include "platform/win/WindowSystem.h"

namespace platform::win {

int64_t NextTimerDue() {
  int64_t best = -1;
  for (const Timer& t : S().timers)
    if (best < 0 || t.due < best) best = t.due;
  return best;
}

void KillTimersFor(HWND hwnd) {
  auto& t = S().timers;
  t.erase(std::remove_if(t.begin(), t.end(), [&](const Timer& x) { return x.hwnd == hwnd && hwnd; }),
          t.end());
}

}  // namespace platform::win

using namespace platform::win;

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT ms, TIMERPROC proc) {
  State& s = S();
  if (hwnd && !Find(hwnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  if (!hwnd && !proc) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (ms < 10) ms = 10;
  if (!hwnd) {
    bool known = false;
    for (const Timer& t : s.timers) known = known || (!t.hwnd && t.id == id);
    if (!known) id = 0x8000 + s.nextThreadTimerId++;
  }
  for (Timer& t : s.timers) {
    if (t.hwnd == hwnd && t.id == id) {
      t.period = ms;
      t.proc = proc;
      t.due = Now() + ms;
      return hwnd ? (id ? id : 1) : id;
    }
  }
  s.timers.push_back(Timer{hwnd, id, ms, proc, Now() + ms, s.timerSequence++});
  return hwnd ? (id ? id : 1) : id;
}

BOOL KillTimer(HWND hwnd, UINT_PTR id) {
  auto& t = S().timers;
  auto it = std::find_if(t.begin(), t.end(), [&](const Timer& x) { return x.hwnd == hwnd && x.id == id; });
  if (it == t.end()) return FALSE;
  t.erase(it);
  return TRUE;
}
