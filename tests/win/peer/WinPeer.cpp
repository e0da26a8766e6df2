// A second process for the cross-process tests: it shows a window titled "MMS_manageRas" in the
// runtime folder named by PLATFORM_RUNTIME_DIR and answers what the test sends it:
// WM_COPYDATA returns a checksum of the bytes (their sum plus dwData), the registered message
// "MsgNetAppHandle" returns its wParam + 1 (registered here under a different id), WM_USER + 9
// ends the program. Exit code 0 when the copy-data bytes arrived intact.
#include <cstdio>

#include "platform/backend/HeadlessDriver.h"

namespace {

bool done = false;
bool intact = false;
UINT announce = 0;

LRESULT Receiver(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_COPYDATA) {
    const auto* cds = reinterpret_cast<const COPYDATASTRUCT*>(l);
    const auto* data = static_cast<const uint8_t*>(cds->lpData);
    LRESULT sum = LRESULT(cds->dwData);
    intact = cds->cbData == 528;
    for (DWORD i = 0; i < cds->cbData; ++i) {
      sum += data[i];
      intact = intact && data[i] == uint8_t(i * 7);
    }
    return sum;
  }
  if (announce && m == announce) return LRESULT(w + 1);
  if (m == WM_USER + 9) {
    done = true;
    return 1;
  }
  return DefWindowProcW(h, m, w, l);
}

}  // namespace

int main() {
  platform::headless::Install();
  RegisterWindowMessageA("Something registered first");  // so our id differs from the sender's
  announce = RegisterWindowMessageA("MsgNetAppHandle");
  WNDCLASSW wc{};
  wc.lpfnWndProc = Receiver;
  wc.lpszClassName = u"PeerReceiver";
  RegisterClassW(&wc);
  CreateWindowExW(0, u"PeerReceiver", u"MMS_manageRas", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  for (int i = 0; i < 200 && !done; ++i) {
    platform::win::ServeEndpoint(50);
    platform::headless::Driver().RunUntilIdle();
  }
  platform::headless::Uninstall();
  return done && intact ? 0 : 1;
}
