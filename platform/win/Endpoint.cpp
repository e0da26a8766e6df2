// The process's endpoint in the runtime folder and the client side of cross-process messages.
#include "platform/win/Endpoint.h"

#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <vector>

#include "platform/rtl/CodePage.h"
#include "platform/win/WindowSystem.h"
#include "platform/win/WireFrame.h"

namespace platform::win {

namespace {

constexpr int kSendTimeoutMs = 5000;
constexpr uint32_t kMaxSlot = 4095;

struct EndpointState {
  std::string folder;
  uint32_t slot = 0;
  int lockFd = -1;
  int listenFd = -1;
};

EndpointState& E() {
  static EndpointState* e = new EndpointState();
  return *e;
}

int64_t RealNow() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

std::string SlotPath(uint32_t slot, const char* suffix) {
  return E().folder + "/slot-" + std::to_string(slot) + suffix;
}

bool FillAddress(const std::string& path, sockaddr_un& addr) {
  std::memset(&addr, 0, sizeof addr);
  addr.sun_family = AF_UNIX;
  if (path.size() >= sizeof addr.sun_path) return false;
  std::memcpy(addr.sun_path, path.c_str(), path.size() + 1);
  return true;
}

// Waits for `events` on fd until the real-time deadline; false on timeout or error.
bool WaitFd(int fd, short events, int64_t deadline) {
  for (;;) {
    const int64_t left = deadline - RealNow();
    if (left <= 0) return false;
    pollfd p{fd, events, 0};
    const int r = poll(&p, 1, int(std::min<int64_t>(left, 1000)));
    if (r > 0) return (p.revents & (events | POLLHUP | POLLERR)) != 0;
    if (r < 0 && errno != EINTR) return false;
  }
}

bool WriteAll(int fd, const std::vector<uint8_t>& data, int64_t deadline) {
  size_t done = 0;
  while (done < data.size()) {
    const ssize_t n = send(fd, data.data() + done, data.size() - done, MSG_NOSIGNAL | MSG_DONTWAIT);
    if (n > 0) {
      done += size_t(n);
      continue;
    }
    if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
      if (!WaitFd(fd, POLLOUT, deadline)) return false;
      continue;
    }
    return false;
  }
  return true;
}

bool ReadAll(int fd, uint8_t* out, size_t size, int64_t deadline) {
  size_t done = 0;
  while (done < size) {
    const ssize_t n = recv(fd, out + done, size - done, MSG_DONTWAIT);
    if (n > 0) {
      done += size_t(n);
      continue;
    }
    if (n == 0) return false;  // the peer closed early
    if (errno == EAGAIN || errno == EINTR) {
      if (!WaitFd(fd, POLLIN, deadline)) return false;
      continue;
    }
    return false;
  }
  return true;
}

// Reads one frame: kind and body (false on a bad header, an over-long body or a timeout).
bool ReadFrame(int fd, uint32_t& kind, std::vector<uint8_t>& body, int64_t deadline) {
  uint8_t header[12];
  if (!ReadAll(fd, header, sizeof header, deadline)) return false;
  auto h = DecodeHeader(header, sizeof header);
  if (!h) return false;
  kind = h->first;
  body.resize(h->second);
  return ReadAll(fd, body.data(), body.size(), deadline);
}

bool SlotAlive(uint32_t slot) {
  if (slot == E().slot) return true;
  const int fd = open(SlotPath(slot, ".lock").c_str(), O_RDWR | O_CLOEXEC);
  if (fd < 0) return false;
  const bool alive = flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
  if (!alive) {
    // A dead process's files are removed by whoever finds them.
    unlink(SlotPath(slot, ".sock").c_str());
    unlink(SlotPath(slot, ".lock").c_str());
  }
  close(fd);
  return alive;
}

int Connect(uint32_t slot) {
  sockaddr_un addr;
  if (!FillAddress(SlotPath(slot, ".sock"), addr)) return -1;
  const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (fd < 0) return -1;
  if (connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
    close(fd);
    return -1;
  }
  return fd;
}

// Sends a request and, when `reply`, waits for the answer while serving sends to this process.
std::optional<int64_t> Request(uint32_t slot, const std::vector<uint8_t>& frame, bool reply) {
  const int64_t deadline = RealNow() + kSendTimeoutMs;
  const int fd = Connect(slot);
  if (fd < 0) return std::nullopt;
  std::optional<int64_t> result;
  if (WriteAll(fd, frame, deadline)) {
    if (!reply) {
      result = 0;
    } else {
      for (;;) {
        const int64_t left = deadline - RealNow();
        if (left <= 0) break;
        // Only the interface thread serves incoming sends (they call window procedures).
        const bool serve = E().listenFd >= 0 && OnInterfaceThread();
        pollfd p[2] = {{fd, POLLIN, 0}, {E().listenFd, POLLIN, 0}};
        const int r = poll(p, serve ? 2 : 1, int(std::min<int64_t>(left, 1000)));
        if (r < 0 && errno != EINTR) break;
        if (r > 0 && serve && (p[1].revents & POLLIN)) ServeEndpoint(0);  // two processes sending to each other
        if (r > 0 && (p[0].revents & (POLLIN | POLLHUP | POLLERR))) {
          uint32_t kind;
          std::vector<uint8_t> body;
          if (ReadFrame(fd, kind, body, deadline) && kind == uint32_t(WireKind::Reply))
            result = DecodeReply(body.data(), body.size());
          break;
        }
      }
    }
  }
  close(fd);
  return result;
}

LRESULT DeliverSend(const WireMessage& m) {
  const HWND hwnd = MakeHwnd(m.hwnd);
  if (!Find(hwnd)) return 0;
  UINT msg = m.msg;
  if (!m.name.empty()) msg = RegisterWindowMessageW(MultiByteToUtf16(m.name, CP_UTF8).c_str());
  if (!msg) return 0;
  if (msg == WM_COPYDATA) {
    if (m.payload.size() < 8) return 0;
    uint64_t dwData = 0;
    for (int i = 0; i < 8; ++i) dwData |= uint64_t(m.payload[size_t(i)]) << (8 * i);
    std::vector<uint8_t> data(m.payload.begin() + 8, m.payload.end());
    COPYDATASTRUCT cds{dwData, DWORD(data.size()), data.empty() ? nullptr : data.data()};
    return SendTo(hwnd, msg, m.wParam, LPARAM(&cds), true);
  }
  if (CarriesPointer(msg)) return 0;  // a number from another process is no pointer here
  return SendTo(hwnd, msg, m.wParam, m.lParam, true);
}

void ServeOne(int fd) {
  ucred cred{};
  socklen_t length = sizeof cred;
  if (getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &cred, &length) != 0 || cred.uid != getuid()) return;
  const int64_t deadline = RealNow() + kSendTimeoutMs;
  uint8_t header[12];
  if (!ReadAll(fd, header, sizeof header, deadline)) return;
  auto h = DecodeHeader(header, sizeof header);
  if (!h) {
    WriteAll(fd, EncodeReply(0), deadline);  // bad magic or an over-long body: answered with 0
    return;
  }
  std::vector<uint8_t> body(h->second);
  if (!ReadAll(fd, body.data(), body.size(), deadline)) return;
  switch (WireKind(h->first)) {
    case WireKind::Send: {
      auto m = DecodeMessage(body.data(), body.size());
      WriteAll(fd, EncodeReply(m ? DeliverSend(*m) : 0), deadline);
      break;
    }
    case WireKind::Post: {
      auto m = DecodeMessage(body.data(), body.size());
      if (!m || m->msg == WM_COPYDATA || CarriesPointer(m->msg)) break;
      UINT msg = m->msg;
      if (!m->name.empty()) msg = RegisterWindowMessageW(MultiByteToUtf16(m->name, CP_UTF8).c_str());
      const HWND hwnd = MakeHwnd(m->hwnd);
      if (msg && (Find(hwnd) || !m->hwnd)) PostMessageW(hwnd, msg, m->wParam, m->lParam);
      break;
    }
    case WireKind::Find: {
      auto f = DecodeFind(body.data(), body.size());
      HWND found = nullptr;
      if (f) {
        const std::u16string cls = MultiByteToUtf16(f->className, CP_UTF8);
        const std::u16string title = MultiByteToUtf16(f->title, CP_UTF8);
        found = FindWindowW(cls.empty() ? nullptr : cls.c_str(), title.empty() && !cls.empty() ? nullptr : title.c_str());
        if (found && IsForeign(found)) found = nullptr;  // answer for our own windows only
      }
      WriteAll(fd, EncodeReply(int64_t(Value(found))), deadline);
      break;
    }
    default:
      WriteAll(fd, EncodeReply(0), deadline);  // unknown kinds get 0
      break;
  }
}

}  // namespace

bool CarriesPointer(UINT msg) {
  switch (msg) {
    case WM_SETTEXT: case WM_GETTEXT: case WM_COPYDATA: case WM_NCCREATE: case WM_CREATE:
    case WM_WINDOWPOSCHANGING: case WM_WINDOWPOSCHANGED: case WM_GETMINMAXINFO: case WM_NCCALCSIZE:
    case WM_DRAWITEM: case WM_MEASUREITEM: case WM_NOTIFY: case EM_REPLACESEL:
      return true;
    default:
      return false;
  }
}

std::string RuntimeFolder(std::string* error) {
  std::string folder;
  if (const char* p = std::getenv("PLATFORM_RUNTIME_DIR"); p && *p) {
    folder = p;
  } else if (const char* x = std::getenv("XDG_RUNTIME_DIR"); x && *x) {
    folder = std::string(x) + "/mmsplatform";
  } else {
    folder = "/tmp/mmsplatform-" + std::to_string(getuid());
  }
  mkdir(folder.c_str(), 0700);
  struct stat st;
  if (lstat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
    if (error) *error = "runtime folder " + folder + " is not a folder";
    return {};
  }
  if (st.st_uid != getuid() || (st.st_mode & 0777) != 0700) {
    if (error) *error = "runtime folder " + folder + " is not owned by the user with mode 0700";
    return {};
  }
  return folder;
}

bool StartEndpoint() {
  EndpointState& e = E();
  if (e.listenFd >= 0) return true;
  e.folder = RuntimeFolder();
  if (e.folder.empty()) return false;
  for (uint32_t slot = 1; slot <= kMaxSlot; ++slot) {
    const int lock = open((e.folder + "/slot-" + std::to_string(slot) + ".lock").c_str(),
                          O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (lock < 0) return false;
    if (flock(lock, LOCK_EX | LOCK_NB) != 0) {
      close(lock);
      continue;
    }
    e.slot = slot;
    e.lockFd = lock;
    const std::string path = SlotPath(slot, ".sock");
    unlink(path.c_str());
    sockaddr_un addr;
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0 || !FillAddress(path, addr) || bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
        listen(fd, 16) != 0) {
      if (fd >= 0) close(fd);
      close(lock);
      e.slot = 0;
      e.lockFd = -1;
      return false;
    }
    e.listenFd = fd;
    return true;
  }
  return false;
}

void StopEndpoint() {
  EndpointState& e = E();
  if (e.listenFd >= 0) {
    close(e.listenFd);
    unlink(SlotPath(e.slot, ".sock").c_str());
    unlink(SlotPath(e.slot, ".lock").c_str());
    close(e.lockFd);
  }
  e = EndpointState();
}

uint32_t EndpointSlot() { return E().slot; }
int EndpointFd() { return E().listenFd; }

bool ServeEndpoint(int timeoutMs) {
  EndpointState& e = E();
  if (e.listenFd < 0) return false;
  bool served = false;
  const int64_t deadline = RealNow() + std::max(0, timeoutMs);
  for (;;) {
    const int fd = accept4(e.listenFd, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd >= 0) {
      ServeOne(fd);
      close(fd);
      served = true;
      continue;
    }
    if (served || errno != EAGAIN) return served;
    const int64_t left = deadline - RealNow();
    if (left <= 0) return false;
    pollfd p{e.listenFd, POLLIN, 0};
    if (poll(&p, 1, int(left)) <= 0) return false;
  }
}

bool IsForeign(HWND h) {
  const uint32_t slot = SlotOf(h);
  return E().slot && slot && slot != E().slot;
}

LRESULT RemoteSend(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
  WireMessage m;
  m.hwnd = uint32_t(Value(hwnd));
  m.msg = msg;
  m.wParam = w;
  m.lParam = l;
  if (msg >= 0xC000) m.name = Utf16ToMultiByte(AtomName(ATOM(msg)), CP_UTF8);
  if (msg == WM_COPYDATA) {
    const auto* cds = reinterpret_cast<const COPYDATASTRUCT*>(l);
    if (!cds || cds->cbData > kWireBodyLimit - 64 || (cds->cbData && !cds->lpData)) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return 0;
    }
    for (int i = 0; i < 8; ++i) m.payload.push_back(uint8_t(cds->dwData >> (8 * i)));
    const uint8_t* data = static_cast<const uint8_t*>(cds->lpData);
    m.payload.insert(m.payload.end(), data, data + cds->cbData);
    m.lParam = 0;
  } else if (CarriesPointer(msg)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  auto r = Request(SlotOf(hwnd), EncodeMessage(WireKind::Send, m), true);
  if (!r) {
    SetLastError(ERROR_TIMEOUT);
    return 0;
  }
  return *r;
}

bool RemotePost(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
  WireMessage m;
  m.hwnd = uint32_t(Value(hwnd));
  m.msg = msg;
  m.wParam = w;
  m.lParam = l;
  if (msg >= 0xC000) m.name = Utf16ToMultiByte(AtomName(ATOM(msg)), CP_UTF8);
  return Request(SlotOf(hwnd), EncodeMessage(WireKind::Post, m), false).has_value();
}

HWND RemoteFind(const std::u16string* className, const std::u16string* title) {
  EndpointState& e = E();
  if (e.listenFd < 0) return nullptr;
  std::vector<uint32_t> slots;
  if (DIR* d = opendir(e.folder.c_str())) {
    while (dirent* entry = readdir(d)) {
      unsigned n = 0;
      char tail[8] = {};
      if (std::sscanf(entry->d_name, "slot-%u.%7s", &n, tail) == 2 && std::strcmp(tail, "lock") == 0 && n != e.slot &&
          n >= 1 && n <= kMaxSlot)
        slots.push_back(n);
    }
    closedir(d);
  }
  std::sort(slots.begin(), slots.end());
  WireFind f;
  if (className) f.className = Utf16ToMultiByte(*className, CP_UTF8);
  if (title) f.title = Utf16ToMultiByte(*title, CP_UTF8);
  const std::vector<uint8_t> frame = EncodeFind(f);
  for (uint32_t slot : slots) {
    if (!SlotAlive(slot)) continue;
    auto r = Request(slot, frame, true);
    if (r && *r && SlotOf(MakeHwnd(uintptr_t(*r))) == slot) return MakeHwnd(uintptr_t(uint32_t(*r)));
  }
  return nullptr;
}

bool RemoteAlive(HWND hwnd) { return E().listenFd >= 0 && SlotAlive(SlotOf(hwnd)); }

}  // namespace platform::win
