// A second process for the cross-process tests, in the runtime folder named by
// PLATFORM_RUNTIME_DIR.
//
// Served (the default): it shows a window titled "MMS_manageRas" (another with `--title T`) of
// class "PeerReceiver", and a second one titled "Doomed", and answers what the test sends:
// WM_COPYDATA returns the sum of the bytes plus dwData (with dwData 2 the bytes must be the 528
// of the test's pattern), the registered message "MsgNetAppHandle" returns its wParam + 1
// (registered here under a different id), WM_USER + 10 destroys "Doomed", WM_USER + 11 returns 7,
// WM_USER + 9 ends the program; the first window declares those four messages (and nothing else
// from WM_USER up) as taken from other processes. Exit code 0 when ended so and the pattern
// arrived intact.
//
// `--attack HWND... -- MSG...`: an unfriendly neighbour. It writes raw send requests, as any
// program of the user could, carrying each message to each window with both parameters
// 0x4141414140, and expects every one refused with 0. Exit code 0 when all were.
//
// `--names HWND N`: sends the window N registered messages by names its process never
// registered ("Flood-<i>"); exit code 0 when every one was refused.
//
// `--idle HWND N`: a silent neighbour, then a polite one. It opens N connections to the window's
// process that say nothing and one that sends a frame 100 bytes short of its length, keeps them
// open, then sends the window WM_USER + 11 as any program would. Exit code 0 when the answer
// was 7.
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/backend/HeadlessDriver.h"
#include "platform/win/Endpoint.h"
#include "platform/win/WireFrame.h"

namespace {

bool done = false;
bool intact = true;
UINT announce = 0;
HWND doomed = nullptr;

LRESULT Receiver(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_COPYDATA) {
    const auto* cds = reinterpret_cast<const COPYDATASTRUCT*>(l);
    const auto* data = static_cast<const uint8_t*>(cds->lpData);
    LRESULT sum = LRESULT(cds->dwData);
    if (cds->dwData == 2) intact = cds->cbData == 528;
    for (DWORD i = 0; i < cds->cbData; ++i) {
      sum += data[i];
      if (cds->dwData == 2) intact = intact && data[i] == uint8_t(i * 7);
    }
    return sum;
  }
  if (announce && m == announce) return LRESULT(w + 1);
  if (m == WM_USER + 9) {
    done = true;
    return 1;
  }
  if (m == WM_USER + 10) return DestroyWindow(doomed);
  if (m == WM_USER + 11) return 7;
  return DefWindowProcW(h, m, w, l);
}

// One raw send request to another process's endpoint; the reply, or nothing.
std::optional<platform::win::WireReply> RawSend(HWND target, UINT msg, uint64_t w, int64_t l,
                                                const std::string& name = {}) {
  using namespace platform::win;
  const std::string path = RuntimeFolder() + "/slot-" + std::to_string(SlotOf(target)) + ".sock";
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  std::snprintf(addr.sun_path, sizeof addr.sun_path, "%s", path.c_str());
  const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  timeval limit{10, 0};
  setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
  std::optional<WireReply> reply;
  if (connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0) {
    WireMessage m;
    m.hwnd = uint32_t(reinterpret_cast<uintptr_t>(target));
    m.msg = msg;
    m.wParam = w;
    m.lParam = l;
    m.name = name;
    const std::vector<uint8_t> frame = EncodeMessage(WireKind::Send, m);
    uint8_t in[64];
    size_t got = 0;
    if (send(fd, frame.data(), frame.size(), MSG_NOSIGNAL) == ssize_t(frame.size())) {
      for (ssize_t n; got < sizeof in && (n = recv(fd, in + got, sizeof in - got, 0)) > 0;) got += size_t(n);
    }
    if (auto h = DecodeHeader(in, got); h && got == 12 + h->second) reply = DecodeReply(in + 12, h->second);
  }
  close(fd);
  return reply;
}

int FloodNames(HWND target, int count) {
  using namespace platform::win;
  int taken = 0;
  for (int i = 0; i < count; ++i) {
    const auto reply = RawSend(target, 0xC000, 0, 0, "Flood-" + std::to_string(i));
    if (!reply || reply->result != 0 || reply->status != WireStatus::Refused) ++taken;
  }
  return taken == 0 ? 0 : 1;
}

// Connects to the socket of the window's process; -1 on failure.
int ConnectTo(HWND target) {
  using namespace platform::win;
  const std::string path = RuntimeFolder() + "/slot-" + std::to_string(SlotOf(target)) + ".sock";
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  std::snprintf(addr.sun_path, sizeof addr.sun_path, "%s", path.c_str());
  const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd >= 0 && connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0) return fd;
  if (fd >= 0) close(fd);
  return -1;
}

int IdleThenSend(HWND target, int count) {
  using namespace platform::win;
  std::vector<int> held;
  for (int i = 0; i < count; ++i) held.push_back(ConnectTo(target));
  WireMessage m;
  m.hwnd = uint32_t(reinterpret_cast<uintptr_t>(target));
  m.msg = WM_USER + 11;
  m.payload.assign(400, 0);
  const std::vector<uint8_t> frame = EncodeMessage(WireKind::Send, m);
  const int half = ConnectTo(target);
  held.push_back(half);
  if (half < 0 || send(half, frame.data(), frame.size() - 100, MSG_NOSIGNAL) != ssize_t(frame.size() - 100))
    return 2;
  const LRESULT answer = SendMessageA(target, WM_USER + 11, 0, 0);
  for (int fd : held)
    if (fd >= 0) close(fd);
  return answer == 7 ? 0 : 1;
}

int Attack(int argc, char** argv) {
  std::vector<HWND> windows;
  int i = 2;
  for (; i < argc && std::strcmp(argv[i], "--") != 0; ++i)
    windows.push_back(reinterpret_cast<HWND>(uintptr_t(std::strtoull(argv[i], nullptr, 0))));
  int accepted = 0;
  for (++i; i < argc; ++i) {
    const UINT msg = UINT(std::strtoul(argv[i], nullptr, 0));
    for (HWND target : windows) {
      const auto reply = RawSend(target, msg, 0x4141414140ull, 0x4141414140ll);
      if (!reply || reply->result != 0 || reply->status != platform::win::WireStatus::Refused) {
        std::fprintf(stderr, "message 0x%X to window %p was %s\n", msg, static_cast<void*>(target),
                     reply ? "taken" : "not answered");
        ++accepted;
      }
    }
  }
  return accepted == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  platform::headless::Install();
  if (argc > 1 && std::strcmp(argv[1], "--attack") == 0) {
    const int result = Attack(argc, argv);
    platform::headless::Uninstall();
    return result;
  }
  if (argc > 3 && (std::strcmp(argv[1], "--names") == 0 || std::strcmp(argv[1], "--idle") == 0)) {
    const HWND target = reinterpret_cast<HWND>(uintptr_t(std::strtoull(argv[2], nullptr, 0)));
    const int count = std::atoi(argv[3]);
    const int result = argv[1][2] == 'n' ? FloodNames(target, count) : IdleThenSend(target, count);
    platform::headless::Uninstall();
    return result;
  }
  const char* title = argc > 2 && std::strcmp(argv[1], "--title") == 0 ? argv[2] : "MMS_manageRas";
  RegisterWindowMessageA("Something registered first");  // so our id differs from the sender's
  announce = RegisterWindowMessageA("MsgNetAppHandle");
  WNDCLASSW wc{};
  wc.lpfnWndProc = Receiver;
  wc.lpszClassName = u"PeerReceiver";
  RegisterClassW(&wc);
  HWND receiver =
      CreateWindowExA(0, "PeerReceiver", title, 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  for (UINT m : {UINT(WM_USER + 9), UINT(WM_USER + 10), UINT(WM_USER + 11), announce})
    ChangeWindowMessageFilterEx(receiver, m, MSGFLT_ALLOW, nullptr);
  doomed =
      CreateWindowExW(0, u"PeerReceiver", u"Doomed", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  for (int i = 0; i < 300 && !done; ++i) {
    platform::win::ServeEndpoint(50);
    platform::headless::Driver().RunUntilIdle();
  }
  platform::headless::Uninstall();
  return done && intact ? 0 : 1;
}
