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
#include <climits>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <vector>

#include "platform/rtl/CodePage.h"
#include "platform/rtl/Process.h"
#include "platform/win/EndpointReader.h"
#include "platform/win/WindowSystem.h"
#include "platform/win/WireFrame.h"

namespace platform::win {

namespace {

// A message's fixed fields, the longest registered name and dwData fit beside the largest data.
static_assert(uint64_t(kMaxCopyDataBytes) + 34 + 0xFFFF + 8 <= kWireBodyLimit);
constexpr uint32_t kMaxSlot = 4095;
constexpr size_t kMaxReplyBody = 12;  // a result and a status

struct EndpointState {
  std::string folder;
  uint32_t slot = 0;
  int lockFd = -1;
  int listenFd = -1;
  EndpointReader reader;
};

EndpointState& E() {
  static EndpointState* e = new EndpointState();
  return *e;
}

// Whether requests of other processes are read and queued for this process to serve.
bool Listening() { return E().listenFd >= 0; }

int64_t RealNow() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
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

// Reads one frame of a body up to `maxBody` bytes: kind and body (false on a bad header, a longer
// body or a timeout).
bool ReadFrame(int fd, uint32_t& kind, std::vector<uint8_t>& body, size_t maxBody, int64_t deadline) {
  uint8_t header[12];
  if (!ReadAll(fd, header, sizeof header, deadline)) return false;
  auto h = DecodeHeader(header, sizeof header);
  if (!h || h->second > maxBody) return false;
  kind = h->first;
  body.resize(h->second);
  return ReadAll(fd, body.data(), body.size(), deadline);
}

// Opens a slot's lock file; a link or anything else that is not a regular file is refused (-1), so
// nothing planted in the folder leads a lock, or a file it creates, outside it.
int OpenLockFile(const std::string& path, int flags) {
  const int fd = open(path.c_str(), flags | O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
  if (fd < 0) return -1;
  struct stat st;
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    close(fd);
    return -1;
  }
  return fd;
}

bool SlotAlive(uint32_t slot) {
  if (slot == E().slot) return true;
  const int fd = OpenLockFile(SlotPath(slot, ".lock"), 0);
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

// Connects to a slot's socket. A full backlog (EAGAIN: the peer is slow to accept a burst of
// connections) is retried every few milliseconds until the deadline; -1 with errno set else.
int Connect(uint32_t slot, int64_t deadline) {
  sockaddr_un addr;
  if (!FillAddress(SlotPath(slot, ".sock"), addr)) {
    errno = ENAMETOOLONG;
    return -1;
  }
  for (int pause = 1;; pause = std::min(pause * 2, 50)) {
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) return -1;
    if (connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0) return fd;
    const int error = errno;
    close(fd);
    errno = error;
    const int64_t left = deadline - RealNow();
    if (error != EAGAIN || left <= 0) return -1;
    poll(nullptr, 0, int(std::min<int64_t>(pause, left)));
    errno = EAGAIN;
  }
}

// Whether a slot's process is gone, allowing it a moment to let go of its lock after its socket
// closed (both happen as it ends).
bool SlotGone(uint32_t slot) {
  for (int i = 0; i < 20; ++i) {
    if (!SlotAlive(slot)) return true;
    poll(nullptr, 0, 10);
  }
  return false;
}

struct Outcome {
  enum Kind { Answered, Gone, TimedOut } kind = TimedOut;
  WireReply reply;
};

// Sends a request and, when `reply`, waits for the answer while serving sends to this process.
Outcome Request(uint32_t slot, const std::vector<uint8_t>& frame, bool reply) {
  const int64_t deadline = RealNow() + WireTimeoutMs(frame.size());
  const int fd = Connect(slot, deadline);
  // A full backlog is a peer that does not accept in time; any other refusal a peer that is gone.
  if (fd < 0) return {errno == EAGAIN ? Outcome::TimedOut : Outcome::Gone, {}};
  Outcome outcome;
  bool closed = false;
  if (!WriteAll(fd, frame, deadline)) {
    closed = RealNow() < deadline;
  } else if (!reply) {
    outcome.kind = Outcome::Answered;
  } else {
    for (;;) {
      const int64_t left = deadline - RealNow();
      if (left <= 0) break;
      // Only the interface thread serves incoming sends (they call window procedures).
      const bool serve = Listening() && OnInterfaceThread();
      pollfd p[2] = {{fd, POLLIN, 0}, {E().reader.ReadyFd(), POLLIN, 0}};
      const int r = poll(p, serve ? 2 : 1, int(std::min<int64_t>(left, 1000)));
      if (r < 0 && errno != EINTR) break;
      if (r > 0 && serve && (p[1].revents & POLLIN)) ServeEndpoint(0);  // two processes sending to each other
      if (r > 0 && (p[0].revents & (POLLIN | POLLHUP | POLLERR))) {
        uint32_t kind;
        std::vector<uint8_t> body;
        std::optional<WireReply> answer;
        if (ReadFrame(fd, kind, body, kMaxReplyBody, deadline) && kind == uint32_t(WireKind::Reply))
          answer = DecodeReply(body.data(), body.size());
        if (answer) {
          outcome = {Outcome::Answered, *answer};
        } else {
          closed = RealNow() < deadline;
        }
        break;
      }
    }
  }
  close(fd);
  // A connection closed without an answer: the peer ended (gone) or refused to talk (no answer).
  if (closed && SlotGone(slot)) outcome.kind = Outcome::Gone;
  return outcome;
}

// The number a message from another process has here: a registered message by its name (a bare
// number of one means nothing here), any other as it came. A name is only looked up: one this
// process never registered is no message of its own (and another process must not fill the
// table this process's own names are registered in).
std::optional<UINT> LocalMessage(const WireMessage& m) {
  if (m.name.empty()) return m.msg >= 0xC000 ? std::nullopt : std::optional<UINT>(m.msg);
  const ATOM atom = FindAtom(MultiByteToUtf16(m.name, CP_UTF8));
  return atom >= 0xC000 ? std::optional<UINT>(atom) : std::nullopt;
}

// Whether a window takes a message from another process: below WM_USER the messages of plain
// numbers, above it only those the window declared (ChangeWindowMessageFilterEx).
bool TakesFromOtherProcess(HWND hwnd, UINT msg) {
  if (!CrossesProcesses(msg)) return false;
  if (msg < WM_USER) return true;
  const Window* w = Find(hwnd);
  return w && w->acceptedFromOthers.count(msg) != 0;
}

WireReply DeliverSend(const WireMessage& m) {
  const HWND hwnd = MakeHwnd(m.hwnd);
  if (!Find(hwnd)) return {0, WireStatus::NoWindow};
  const std::optional<UINT> msg = LocalMessage(m);
  if (!msg || !TakesFromOtherProcess(hwnd, *msg)) return {0, WireStatus::Refused};
  if (*msg == WM_COPYDATA) {
    if (m.payload.size() < 8 || m.payload.size() - 8 > kMaxCopyDataBytes) return {0, WireStatus::Refused};
    uint64_t dwData = 0;
    for (int i = 0; i < 8; ++i) dwData |= uint64_t(m.payload[size_t(i)]) << (8 * i);
    std::vector<uint8_t> data(m.payload.begin() + 8, m.payload.end());
    COPYDATASTRUCT cds{dwData, DWORD(data.size()), data.empty() ? nullptr : data.data()};
    return {SendTo(hwnd, *msg, m.wParam, LPARAM(&cds), true), WireStatus::Delivered};
  }
  return {SendTo(hwnd, *msg, m.wParam, m.lParam, true), WireStatus::Delivered};
}

// Answers one whole request on its connection. A reply is a few bytes on a fresh connection:
// it goes at once or not at all, so a client that stopped reading holds nothing up.
void Answer(int fd, const std::vector<uint8_t>& reply) {
  [[maybe_unused]] const ssize_t n = send(fd, reply.data(), reply.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
}

void ServeRequest(const EndpointReader::Request& request) {
  const std::vector<uint8_t>& body = request.body;
  switch (WireKind(request.kind)) {
    case WireKind::Send: {
      auto m = DecodeMessage(body.data(), body.size());
      const WireReply r = m ? DeliverSend(*m) : WireReply{0, WireStatus::Refused};
      Answer(request.fd, EncodeReply(r.result, r.status));
      break;
    }
    case WireKind::Post: {
      auto m = DecodeMessage(body.data(), body.size());
      const std::optional<UINT> msg = m ? LocalMessage(*m) : std::nullopt;
      if (!msg || *msg == WM_COPYDATA || !m->hwnd) break;  // no thread messages from outside
      const HWND hwnd = MakeHwnd(m->hwnd);
      if (Find(hwnd) && TakesFromOtherProcess(hwnd, *msg)) PostMessageW(hwnd, *msg, m->wParam, m->lParam);
      break;
    }
    case WireKind::Find: {
      auto f = DecodeFind(body.data(), body.size());
      HWND found = nullptr;
      if (f) {
        const std::u16string cls = MultiByteToUtf16(f->className, CP_UTF8);
        const std::u16string title = MultiByteToUtf16(f->title, CP_UTF8);
        // Our own windows only: asking the others from here would have them ask us back.
        found = FindTopLevel(cls.empty() ? nullptr : &cls, title.empty() && !cls.empty() ? nullptr : &title);
      }
      Answer(request.fd, EncodeReply(int64_t(Value(found))));
      break;
    }
    default:
      Answer(request.fd, EncodeReply(0, WireStatus::Refused));  // unknown kinds get 0
      break;
  }
}

// Below WM_USER, the messages that carry plain numbers and may come from another process.
constexpr UINT kPlainMessages[] = {
    // Windows: numbers, coordinates, key and button states, window handles; WM_COPYDATA, whose
    // data is copied (0x11 and 0x16 are WM_QUERYENDSESSION and WM_ENDSESSION).
    WM_NULL, WM_MOVE, WM_SIZE, WM_ACTIVATE, WM_SETFOCUS, WM_KILLFOCUS, WM_ENABLE, WM_SETREDRAW,
    WM_GETTEXTLENGTH, WM_CLOSE, 0x11, 0x16, WM_SHOWWINDOW, WM_ACTIVATEAPP, WM_CANCELMODE, WM_COPYDATA,
    WM_CONTEXTMENU, WM_NCHITTEST, WM_KEYDOWN, WM_KEYUP, WM_CHAR, WM_DEADCHAR, WM_SYSKEYDOWN, WM_SYSKEYUP,
    WM_SYSCHAR, WM_COMMAND, WM_SYSCOMMAND, WM_HSCROLL, WM_VSCROLL, WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP,
    WM_LBUTTONDBLCLK, WM_RBUTTONDOWN, WM_RBUTTONUP, WM_RBUTTONDBLCLK, WM_MBUTTONDOWN, WM_MBUTTONUP,
    WM_MBUTTONDBLCLK, WM_MOUSEWHEEL, WM_CAPTURECHANGED, WM_IME_CHAR, WM_MOUSELEAVE, WM_CUT, WM_COPY, WM_PASTE,
    WM_CLEAR, WM_UNDO,
    // EDIT: EM_SETSEL, EM_SCROLL, EM_LINESCROLL, EM_SCROLLCARET, EM_GETMODIFY, EM_SETMODIFY,
    // EM_GETLINECOUNT, EM_LINEINDEX, EM_LINELENGTH, EM_LIMITTEXT, EM_CANUNDO, EM_UNDO, EM_FMTLINES,
    // EM_LINEFROMCHAR, EM_SETPASSWORDCHAR, EM_EMPTYUNDOBUFFER, EM_GETFIRSTVISIBLELINE, EM_SETREADONLY,
    // EM_GETPASSWORDCHAR, EM_SETMARGINS, EM_GETMARGINS, EM_GETLIMITTEXT, EM_POSFROMCHAR, EM_CHARFROMPOS
    // (not EM_GETSEL, EM_GETRECT, EM_SETRECT, EM_GETLINE, EM_REPLACESEL, EM_SETTABSTOPS: pointers).
    0xB1, 0xB5, 0xB6, 0xB7, 0xB8, 0xB9, 0xBA, 0xBB, 0xC1, 0xC5, 0xC6, 0xC7, 0xC8, 0xC9, 0xCC, 0xCD, 0xCE,
    0xCF, 0xD2, 0xD3, 0xD4, 0xD5, 0xD6, 0xD7,
    // SCROLLBAR: SBM_SETPOS, SBM_GETPOS, SBM_SETRANGE, SBM_ENABLE_ARROWS, SBM_SETRANGEREDRAW (not
    // SBM_GETRANGE and the scroll-information pair). BUTTON: BM_GETCHECK ... BM_CLICK.
    0xE0, 0xE1, 0xE2, 0xE4, 0xE6, 0xF0, 0xF1, 0xF2, 0xF3, 0xF4, 0xF5,
    // COMBOBOX: CB_LIMITTEXT, CB_SETEDITSEL, CB_DELETESTRING, CB_GETCOUNT, CB_GETCURSEL,
    // CB_GETLBTEXTLEN, CB_RESETCONTENT, CB_SETCURSEL, CB_SHOWDROPDOWN, CB_SETITEMHEIGHT,
    // CB_GETITEMHEIGHT, CB_GETDROPPEDSTATE, CB_GETTOPINDEX, CB_SETTOPINDEX, CB_GETDROPPEDWIDTH,
    // CB_SETDROPPEDWIDTH (no strings, and no item data: owners keep pointers there).
    0x141, 0x142, 0x144, 0x146, 0x147, 0x149, 0x14B, 0x14E, 0x14F, 0x153, 0x154, 0x157, 0x15B, 0x15C, 0x15F,
    0x160,
    // LISTBOX, the same: LB_DELETESTRING, LB_RESETCONTENT, LB_SETSEL, LB_SETCURSEL, LB_GETSEL,
    // LB_GETCURSEL, LB_GETTEXTLEN, LB_GETCOUNT, LB_GETTOPINDEX, LB_GETSELCOUNT, LB_SETTOPINDEX,
    // LB_SELITEMRANGE, LB_SETANCHORINDEX, LB_GETANCHORINDEX, LB_SETCARETINDEX, LB_GETCARETINDEX,
    // LB_SETITEMHEIGHT, LB_GETITEMHEIGHT, LB_ITEMFROMPOINT.
    0x182, 0x184, 0x185, 0x186, 0x187, 0x188, 0x18A, 0x18B, 0x18E, 0x190, 0x197, 0x19B, 0x19C, 0x19D, 0x19E,
    0x19F, 0x1A0, 0x1A1, 0x1A9};

}  // namespace

bool CrossesProcesses(UINT msg) {
  if (msg >= WM_USER) return msg < 0xB000 || msg > 0xBFFF;  // not the form library's own messages
  return std::find(std::begin(kPlainMessages), std::end(kPlainMessages), msg) != std::end(kPlainMessages);
}

bool CarriesPointer(UINT msg) {
  switch (msg) {
    case WM_SETTEXT:
    case WM_GETTEXT:
    case WM_COPYDATA:
    case WM_NCCREATE:
    case WM_CREATE:
    case WM_WINDOWPOSCHANGING:
    case WM_WINDOWPOSCHANGED:
    case WM_GETMINMAXINFO:
    case WM_NCCALCSIZE:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_NOTIFY:
    case EM_REPLACESEL:
      return true;
    default:
      return false;
  }
}

std::string RuntimeFolder(std::string* error) {
  // The run-time library holds the rule (and the checks) for the folder; this says why not.
  std::string folder;
  if (platform::RuntimeFolder(folder)) return folder;
  if (error) *error = "runtime folder " + folder + " is not a folder owned by the user with mode 0700";
  return {};
}

bool StartEndpoint(std::string* error) {
  EndpointState& e = E();
  if (e.listenFd >= 0) return true;
  e.folder = RuntimeFolder(error);
  if (e.folder.empty()) return false;
  for (uint32_t slot = 1; slot <= kMaxSlot; ++slot) {
    const int lock = OpenLockFile(e.folder + "/slot-" + std::to_string(slot) + ".lock", O_CREAT);
    if (lock < 0) continue;  // something not a lock file of ours stands there: passed by
    if (flock(lock, LOCK_EX | LOCK_NB) != 0) {
      close(lock);
      continue;
    }
    // Whoever finds a slot unlocked takes it for a dead one and removes its files: the lock
    // file held must still be the one in the folder, else the slot is claimed again.
    struct stat held, named;
    if (fstat(lock, &held) != 0 ||
        stat((e.folder + "/slot-" + std::to_string(slot) + ".lock").c_str(), &named) != 0 ||
        held.st_ino != named.st_ino || held.st_dev != named.st_dev) {
      close(lock);
      --slot;
      continue;
    }
    e.slot = slot;
    e.lockFd = lock;
    const std::string path = SlotPath(slot, ".sock");
    unlink(path.c_str());
    sockaddr_un addr;
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0 || !FillAddress(path, addr) ||
        bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
        // The system's largest backlog (a larger number is cut to it): a burst of clients waits
        // there for the reader rather than being refused.
        listen(fd, INT_MAX) != 0 || !e.reader.Start(fd)) {
      if (fd >= 0) close(fd);
      unlink(path.c_str());
      close(lock);
      e.slot = 0;
      e.lockFd = -1;
      return false;
    }
    e.listenFd = fd;
    return true;
  }
  if (error) *error = "no free slot in the runtime folder " + e.folder;
  return false;
}

void StopEndpoint() {
  EndpointState& e = E();
  e.reader.Stop();
  if (e.listenFd >= 0) {
    close(e.listenFd);
    unlink(SlotPath(e.slot, ".sock").c_str());
    unlink(SlotPath(e.slot, ".lock").c_str());
    close(e.lockFd);
  }
  e.folder.clear();
  e.slot = 0;
  e.lockFd = e.listenFd = -1;
}

uint32_t EndpointSlot() { return E().slot; }
int EndpointFd() { return E().reader.ReadyFd(); }

bool ServeEndpoint(int timeoutMs) {
  EndpointState& e = E();
  if (!Listening()) return false;
  if (!e.reader.Pending()) {
    if (timeoutMs <= 0) return false;
    const int64_t deadline = RealNow() + timeoutMs;
    if (!WaitFd(e.reader.ReadyFd(), POLLIN, deadline)) return false;
  }
  bool served = false;
  for (EndpointReader::Request& request : e.reader.Take()) {
    ServeRequest(request);
    e.reader.Done(request);
    served = true;
  }
  return served;
}

bool IsForeign(HWND h) {
  const uint32_t slot = SlotOf(h);
  return E().slot && slot && slot != E().slot;
}

namespace {

WireMessage MessageFor(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
  WireMessage m;
  m.hwnd = uint32_t(Value(hwnd));
  m.msg = msg;
  m.wParam = w;
  m.lParam = l;
  if (msg >= 0xC000) m.name = Utf16ToMultiByte(AtomName(ATOM(msg)), CP_UTF8);
  return m;
}

}  // namespace

LRESULT RemoteSend(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
  if (!CrossesProcesses(msg)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return 0;
  }
  WireMessage m = MessageFor(hwnd, msg, w, l);
  if (msg == WM_COPYDATA) {
    const auto* cds = reinterpret_cast<const COPYDATASTRUCT*>(l);
    if (!cds || cds->cbData > kMaxCopyDataBytes || (cds->cbData && !cds->lpData)) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return 0;
    }
    for (int i = 0; i < 8; ++i) m.payload.push_back(uint8_t(cds->dwData >> (8 * i)));
    const uint8_t* data = static_cast<const uint8_t*>(cds->lpData);
    m.payload.insert(m.payload.end(), data, data + cds->cbData);
    m.lParam = 0;
  }
  const uint32_t slot = SlotOf(hwnd);
  const Outcome o =
      SlotAlive(slot) ? Request(slot, EncodeMessage(WireKind::Send, m), true) : Outcome{Outcome::Gone, {}};
  if (o.kind == Outcome::Answered && o.reply.status == WireStatus::Delivered) return o.reply.result;
  if (o.kind == Outcome::TimedOut)
    SetLastError(ERROR_TIMEOUT);
  else if (o.kind == Outcome::Gone || o.reply.status == WireStatus::NoWindow)
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
  else
    SetLastError(ERROR_ACCESS_DENIED);
  return 0;
}

bool RemotePost(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
  if (!CrossesProcesses(msg)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return false;
  }
  const uint32_t slot = SlotOf(hwnd);
  const Outcome o = SlotAlive(slot)
                        ? Request(slot, EncodeMessage(WireKind::Post, MessageFor(hwnd, msg, w, l)), false)
                        : Outcome{Outcome::Gone, {}};
  if (o.kind == Outcome::Answered) return true;
  SetLastError(o.kind == Outcome::Gone ? ERROR_INVALID_WINDOW_HANDLE : ERROR_TIMEOUT);
  return false;
}

namespace {

// One endpoint asked by a search, and what it has answered so far.
struct Asked {
  uint32_t slot = 0;
  int fd = -1;
  std::vector<uint8_t> in;
  bool done = false;
  HWND found = nullptr;
};

// Reads what an asked endpoint has sent; done once its answer is whole, or it closed or lied.
void ReadAnswer(Asked& a) {
  constexpr size_t kMaxReplyFrame = 64;
  uint8_t buffer[kMaxReplyFrame];
  const ssize_t n = recv(a.fd, buffer, sizeof buffer, MSG_DONTWAIT);
  if (n < 0 && (errno == EAGAIN || errno == EINTR)) return;
  if (n <= 0 || a.in.size() + size_t(n) > kMaxReplyFrame) {
    a.done = true;
    return;
  }
  a.in.insert(a.in.end(), buffer, buffer + n);
  if (a.in.size() < 12) return;
  const auto h = DecodeHeader(a.in.data(), 12);
  if (!h || h->first != uint32_t(WireKind::Reply) || 12 + size_t(h->second) > kMaxReplyFrame) {
    a.done = true;
    return;
  }
  if (a.in.size() < 12 + size_t(h->second)) return;
  a.done = true;
  const auto r = DecodeReply(a.in.data() + 12, h->second);
  if (r && r->result && SlotOf(MakeHwnd(uintptr_t(r->result))) == a.slot)
    a.found = MakeHwnd(uintptr_t(uint32_t(r->result)));
}

}  // namespace

// Every other endpoint is asked at once, so a hung process delays a search by 5 s at most, and
// by 500 ms once another has answered with a window. Of those found, the lowest slot's wins.
HWND RemoteFind(const std::u16string* className, const std::u16string* title) {
  EndpointState& e = E();
  if (!Listening()) return nullptr;
  std::vector<uint32_t> slots;
  if (DIR* d = opendir(e.folder.c_str())) {
    while (dirent* entry = readdir(d)) {
      unsigned n = 0;
      char tail[8] = {};
      if (std::sscanf(entry->d_name, "slot-%u.%7s", &n, tail) == 2 && std::strcmp(tail, "lock") == 0 &&
          n != e.slot && n >= 1 && n <= kMaxSlot)
        slots.push_back(n);
    }
    closedir(d);
  }
  std::sort(slots.begin(), slots.end());
  WireFind f;
  if (className) f.className = Utf16ToMultiByte(*className, CP_UTF8);
  if (title) f.title = Utf16ToMultiByte(*title, CP_UTF8);
  const std::vector<uint8_t> frame = EncodeFind(f);
  const int64_t start = RealNow();
  std::vector<Asked> asked;
  for (uint32_t slot : slots) {
    if (!SlotAlive(slot)) continue;
    Asked a;
    a.slot = slot;
    a.fd = Connect(slot, start + WireTimeoutMs(frame.size()));
    if (a.fd < 0) continue;
    if (!WriteAll(a.fd, frame, start + WireTimeoutMs(frame.size()))) {
      close(a.fd);
      continue;
    }
    asked.push_back(std::move(a));
  }
  int64_t deadline = start + WireTimeoutMs(frame.size());
  std::vector<pollfd> p;
  for (;;) {
    p.clear();
    for (const Asked& a : asked)
      if (!a.done) p.push_back({a.fd, POLLIN, 0});
    if (p.empty()) break;
    const int64_t left = deadline - RealNow();
    if (left <= 0) break;
    const bool serve = Listening() && OnInterfaceThread();
    if (serve) p.push_back({e.reader.ReadyFd(), POLLIN, 0});
    const int r = poll(p.data(), p.size(), int(std::min<int64_t>(left, 1000)));
    if (r < 0 && errno != EINTR) break;
    if (r <= 0) continue;
    if (serve && (p.back().revents & POLLIN)) ServeEndpoint(0);  // a process searching while it is asked
    for (Asked& a : asked) {
      if (a.done) continue;
      const auto it = std::find_if(p.begin(), p.end(), [&](const pollfd& q) { return q.fd == a.fd; });
      if (it != p.end() && (it->revents & (POLLIN | POLLHUP | POLLERR))) {
        ReadAnswer(a);
        if (a.found) deadline = std::min(deadline, RealNow() + 500);
      }
    }
  }
  HWND found = nullptr;
  for (Asked& a : asked) {
    if (!found && a.found) found = a.found;  // in slot order
    close(a.fd);
  }
  return found;
}

bool RemoteAlive(HWND hwnd) { return Listening() && SlotAlive(SlotOf(hwnd)); }

}  // namespace platform::win
