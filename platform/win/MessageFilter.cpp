// The messages each window declares it takes from other processes (the receiving side of the
// cross-process endpoint checks them; see Endpoint.h).
#include "platform/win/Endpoint.h"
#include "platform/win/WindowSystem.h"

using namespace platform::win;

BOOL ChangeWindowMessageFilterEx(HWND hwnd, UINT message, DWORD action, CHANGEFILTERSTRUCT* status) {
  Window* w = Find(hwnd);
  if (!w) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  if (status) status->ExtStatus = 0;
  switch (action) {
    case MSGFLT_RESET:
      w->acceptedFromOthers.clear();
      return TRUE;
    case MSGFLT_ALLOW:
    case MSGFLT_DISALLOW:
      if (message < WM_USER || !CrossesProcesses(message)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
      }
      if (action == MSGFLT_ALLOW)
        w->acceptedFromOthers.insert(message);
      else
        w->acceptedFromOthers.erase(message);
      return TRUE;
    default:
      SetLastError(ERROR_INVALID_PARAMETER);
      return FALSE;
  }
}
