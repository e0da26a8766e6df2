// Messages between processes: a second program finds nothing until it is up, then is found by
// title, receives a 528-byte WM_COPYDATA intact and a registered message under its own id; a
// dead peer's window is no window, and sends to it return at once. A failed send is seen in the
// last error; hung processes hold up neither sends nor searches for long, silent clients not the
// window at all. Wire frames from outside are parsed through bounds.
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "platform/win/Endpoint.h"
#include "platform/win/WireFrame.h"
#include "support/TempDir.h"
#include "tests/win/PeerProcess.h"
#include "tests/win/WinTestSupport.h"

namespace {

using wintest::PeerProcess;
using Clock = std::chrono::steady_clock;

using CrossProcess = wintest::CrossProcessTest;

int paints = 0, ticks = 0;

// A window of this process that paints, counts its timer ticks and answers WM_USER + 11 with 7.
LRESULT ResponsiveProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_PAINT) {
    PAINTSTRUCT ps;
    BeginPaint(h, &ps);
    EndPaint(h, &ps);
    ++paints;
    return 0;
  }
  if (m == WM_TIMER) ++ticks;
  if (m == WM_USER + 11) return 7;
  return DefWindowProcW(h, m, w, l);
}

HWND ResponsiveWindow(const char16_t* title) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = &ResponsiveProc;
  wc.lpszClassName = u"Responsive";
  RegisterClassW(&wc);
  return CreateWindowExW(0, u"Responsive", title, WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr, nullptr,
                         nullptr);
}

TEST_F(CrossProcess, SecondProcessIsFoundByTitleAndReceivesCopyData) {
  EXPECT_EQ(FindWindowA(nullptr, "MMS_manageRas"), nullptr);
  PeerProcess process;
  HWND peer = PeerProcess::Window("MMS_manageRas");
  ASSERT_NE(peer, nullptr);
  EXPECT_NE(platform::win::SlotOf(peer), platform::win::EndpointSlot());
  EXPECT_TRUE(IsWindow(peer));
  EXPECT_EQ(FindWindowA("PeerReceiver", "MMS_manageRas"), peer);

  std::vector<uint8_t> bytes(528);
  LRESULT expected = 2;
  for (size_t i = 0; i < bytes.size(); ++i) {
    bytes[i] = uint8_t(i * 7);
    expected += bytes[i];
  }
  COPYDATASTRUCT cds{2, DWORD(bytes.size()), bytes.data()};
  EXPECT_EQ(SendMessageA(peer, WM_COPYDATA, 0, LPARAM(&cds)), expected);
  EXPECT_FALSE(PostMessageA(peer, WM_COPYDATA, 0, LPARAM(&cds)));  // copy data is never posted
  const UINT announce = RegisterWindowMessageA("MsgNetAppHandle");
  EXPECT_EQ(SendMessageA(peer, announce, 41, 0), 42);
  EXPECT_TRUE(PostMessageA(peer, WM_USER + 9, 0, 0));
  EXPECT_EQ(process.Wait(), 0) << "the copy-data bytes did not arrive intact";
  // The peer is gone: its handle is no window and a send returns at once with 0.
  EXPECT_FALSE(IsWindow(peer));
  const auto start = Clock::now();
  EXPECT_EQ(SendMessageA(peer, WM_USER, 0, 0), 0);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(1));
}

// Messages whose parameters would be pointers in the receiver are refused before they leave, as
// is a registered message's bare number; numbers and the receiver's own messages cross.
TEST_F(CrossProcess, OnlyMessagesOfPlainNumbersCross) {
  PeerProcess process;
  HWND peer = PeerProcess::Window("MMS_manageRas");
  ASSERT_NE(peer, nullptr);
  char text[16] = "x";
  for (UINT msg :
       {UINT(WM_SETTEXT), UINT(WM_GETTEXT), UINT(WM_NOTIFY), UINT(WM_DESTROY), UINT(0xB0) /* EM_GETSEL */,
        UINT(0xEA) /* SBM_GETSCROLLINFO */, UINT(0x189) /* LB_GETTEXT */, UINT(0xB00B)}) {
    SetLastError(0);
    EXPECT_EQ(SendMessageA(peer, msg, WPARAM(sizeof text), LPARAM(text)), 0) << std::hex << msg;
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED) << std::hex << msg;
    EXPECT_FALSE(PostMessageA(peer, msg, 0, 0)) << std::hex << msg;
  }
  EXPECT_EQ(SendMessageA(peer, WM_USER + 11, 0, 0), 7);
  EXPECT_EQ(SendMessageA(peer, WM_NULL, 0, 0), 0);
  // From WM_USER up, a window takes from outside only what it declared: the peer declared
  // WM_USER + 9 to + 11, not + 12; the sender learns it was refused.
  SetLastError(0);
  EXPECT_EQ(SendMessageA(peer, WM_USER + 12, 0, 0), 0);
  EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
  EXPECT_TRUE(PostMessageA(peer, WM_USER + 9, 0, 0));
  EXPECT_EQ(process.Wait(), 0);
}

// A window's declarations: only messages from WM_USER up, outside the form library's range, and
// only for a window of this process; reset withdraws them all.
TEST_F(CrossProcess, OnlyPrivateMessagesAreDeclared) {
  HWND w = ResponsiveWindow(u"w");
  ASSERT_NE(w, nullptr);
  const struct {
    UINT msg;
    DWORD action;
    BOOL ok;
  } cases[] = {{WM_USER, MSGFLT_ALLOW, TRUE},     {0x8000, MSGFLT_ALLOW, TRUE},
               {0xC123, MSGFLT_ALLOW, TRUE},      {WM_USER, MSGFLT_DISALLOW, TRUE},
               {WM_SETTEXT, MSGFLT_ALLOW, FALSE}, {WM_CLOSE, MSGFLT_ALLOW, FALSE},
               {0xB010, MSGFLT_ALLOW, FALSE},     {WM_USER, 7, FALSE},
               {WM_USER, MSGFLT_RESET, TRUE}};
  for (const auto& c : cases) {
    SetLastError(0);
    EXPECT_EQ(ChangeWindowMessageFilterEx(w, c.msg, c.action, nullptr), c.ok) << std::hex << c.msg;
    if (!c.ok) {
      EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER) << std::hex << c.msg;
    }
  }
  EXPECT_FALSE(ChangeWindowMessageFilterEx(HWND(uintptr_t(0x7FF00001)), WM_USER, MSGFLT_ALLOW, nullptr));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
}

// A registered message arrives by its name; a name this process never registered is refused and
// never enters its table, so a neighbour sending many cannot use up the ids this process's own
// names (clipboard formats registered on first use) need.
TEST_F(CrossProcess, RegisteredNamesFromOutsideAreOnlyLookedUp) {
  HWND w = ResponsiveWindow(u"w");
  const UINT before = RegisterWindowMessageA("Registered before the flood");
  ASSERT_TRUE(ChangeWindowMessageFilterEx(w, 0xC000, MSGFLT_ALLOW, nullptr));  // an id it never has
  PeerProcess flood({"--names", std::to_string(reinterpret_cast<uintptr_t>(w)), "300"});
  int code = -1;
  for (int i = 0; i < 600 && !flood.Ended(code); ++i) {
    platform::win::ServeEndpoint(20);
    platform::headless::Driver().RunUntilIdle();
  }
  EXPECT_EQ(code, 0) << "a name this process never registered was taken";
  EXPECT_EQ(RegisterWindowMessageA("Registered after the flood"), before + 1);
  EXPECT_EQ(GlobalFindAtomA("Flood-0"), 0);
}

// The address of the socket the process of `peer` listens on, in the runtime folder `folder`.
sockaddr_un SocketOf(const std::string& folder, HWND peer) {
  const std::string path = folder + "/slot-" + std::to_string(platform::win::SlotOf(peer)) + ".sock";
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  std::snprintf(addr.sun_path, sizeof addr.sun_path, "%s", path.c_str());
  return addr;
}

// Requests are read off the interface thread: ten connections that say nothing and a frame 100
// bytes short of its length cost the window nothing (each paint and timer is answered within
// 100 ms), and a polite client of the same process is answered meanwhile.
TEST_F(CrossProcess, ASilentClientCostsTheWindowNothing) {
  paints = ticks = 0;
  HWND w = ResponsiveWindow(u"Responsive");
  ASSERT_TRUE(ChangeWindowMessageFilterEx(w, WM_USER + 11, MSGFLT_ALLOW, nullptr));
  SetTimer(w, 1, 20, nullptr);
  platform::headless::Driver().RunUntilIdle();

  PeerProcess neighbour({"--idle", std::to_string(reinterpret_cast<uintptr_t>(w)), "10"});
  int code = -1;
  auto slowest = Clock::duration::zero();
  int rounds = 0;
  for (; rounds < 400 && !neighbour.Ended(code); ++rounds) {
    const int paintsBefore = paints, ticksBefore = ticks;
    InvalidateRect(w, nullptr, FALSE);
    const auto start = Clock::now();
    platform::headless::Driver().Advance(20);
    platform::headless::Driver().RunUntilIdle();
    slowest = std::max(slowest, Clock::now() - start);
    ASSERT_GT(paints, paintsBefore);
    ASSERT_GT(ticks, ticksBefore);
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  EXPECT_EQ(code, 0) << "the polite client was not answered";
  EXPECT_LT(slowest, std::chrono::milliseconds(100))
      << std::chrono::duration_cast<std::chrono::milliseconds>(slowest).count() << " ms";
}

// A burst of connections to a process that is slow to take them (here stopped) waits in the
// listen backlog rather than being refused at once.
TEST_F(CrossProcess, ABurstOfConnectionsWaitsInTheBacklog) {
  PeerProcess process;
  HWND peer = PeerProcess::Window("MMS_manageRas");
  ASSERT_NE(peer, nullptr);
  process.Signal(SIGSTOP);
  sockaddr_un addr = SocketOf(dir.path(), peer);
  std::vector<int> burst;
  int refused = 0;
  for (int i = 0; i < 64; ++i) {
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) ++refused;
    burst.push_back(fd);
  }
  EXPECT_EQ(refused, 0);
  for (int fd : burst) close(fd);
  process.Signal(SIGCONT);
  EXPECT_EQ(SendMessageA(peer, WM_USER + 11, 0, 0), 7);
}

// Lock files in the runtime folder are never followed through a link planted there: the slot
// is passed by and nothing is created or locked at the link's target.
TEST_F(CrossProcess, APlantedLinkIsNoSlotLock) {
  platform::win::StopEndpoint();
  testsupport::TempDir outside;
  const std::string target = outside.file("made-through-the-link");
  ASSERT_EQ(symlink(target.c_str(), (dir.path() + "/slot-1.lock").c_str()), 0);
  ASSERT_EQ(mkfifo((dir.path() + "/slot-2.lock").c_str(), 0600), 0);
  ASSERT_TRUE(platform::win::StartEndpoint());
  EXPECT_EQ(platform::win::EndpointSlot(), 3u);
  struct stat st;
  EXPECT_NE(lstat(target.c_str(), &st), 0) << "the link's target was created";
  // Another process passes them by the same way, and finds this one.
  HWND own = ResponsiveWindow(u"Own");
  PeerProcess process;
  HWND peer = PeerProcess::Window("MMS_manageRas");
  ASSERT_NE(peer, nullptr);
  EXPECT_EQ(platform::win::SlotOf(peer), 4u);
  EXPECT_NE(lstat(target.c_str(), &st), 0);
  EXPECT_TRUE(PostMessageA(peer, WM_USER + 9, 0, 0));
  EXPECT_EQ(process.Wait(), 0);
  DestroyWindow(own);
}

// The bytes of a WM_COPYDATA of `size` bytes with dwData 5, and what the peer answers for them.
std::vector<uint8_t> CopyData(size_t size, LRESULT& expected) {
  std::vector<uint8_t> bytes(size);
  expected = 5;
  for (size_t i = 0; i < size; ++i) expected += bytes[i] = uint8_t(i * 13 + (i >> 16));
  return bytes;
}

// WM_COPYDATA carries up to 16 MiB (a message of twenty 300 KB pictures fits); more is refused
// before anything is sent.
TEST_F(CrossProcess, CopyDataUpToItsLimitCrosses) {
  PeerProcess process;
  HWND peer = PeerProcess::Window("MMS_manageRas");
  ASSERT_NE(peer, nullptr);
  for (size_t size : {size_t(1) << 20, size_t(20 * 300 * 1024), size_t(platform::win::kMaxCopyDataBytes)}) {
    LRESULT expected = 0;
    std::vector<uint8_t> bytes = CopyData(size, expected);
    COPYDATASTRUCT cds{5, DWORD(size), bytes.data()};
    SetLastError(0);
    EXPECT_EQ(SendMessageA(peer, WM_COPYDATA, 0, LPARAM(&cds)), expected) << size;
    EXPECT_EQ(GetLastError(), 0u) << size;
  }
  std::vector<uint8_t> over(platform::win::kMaxCopyDataBytes + 1);
  COPYDATASTRUCT cds{5, DWORD(over.size()), over.data()};
  EXPECT_EQ(SendMessageA(peer, WM_COPYDATA, 0, LPARAM(&cds)), 0);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

// A large message takes its time, by the clock of a slow or busy machine: it is not given up
// after the 5 s a small one has, neither by a sender whose receiver pauses before taking it...
TEST_F(CrossProcess, ALargeSendOutlastsAPauseOfItsReceiver) {
  PeerProcess process;
  HWND peer = PeerProcess::Window("MMS_manageRas");
  ASSERT_NE(peer, nullptr);
  LRESULT expected = 0;
  std::vector<uint8_t> bytes = CopyData(platform::win::kMaxCopyDataBytes, expected);
  process.Signal(SIGSTOP);
  std::thread resume([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(5500));
    process.Signal(SIGCONT);
  });
  COPYDATASTRUCT cds{5, DWORD(bytes.size()), bytes.data()};
  SetLastError(0);
  EXPECT_EQ(SendMessageA(peer, WM_COPYDATA, 0, LPARAM(&cds)), expected);
  EXPECT_EQ(GetLastError(), 0u);
  resume.join();
}

// ... nor by a receiver whose sender writes slowly.
TEST_F(CrossProcess, ALargeFrameSentSlowlyIsStillServed) {
  PeerProcess process;
  HWND peer = PeerProcess::Window("MMS_manageRas");
  ASSERT_NE(peer, nullptr);
  using namespace platform::win;
  LRESULT expected = 0;
  WireMessage m;
  m.hwnd = uint32_t(reinterpret_cast<uintptr_t>(peer));
  m.msg = WM_COPYDATA;
  m.payload = {5, 0, 0, 0, 0, 0, 0, 0};
  const std::vector<uint8_t> data = CopyData(size_t(4) << 20, expected);
  m.payload.insert(m.payload.end(), data.begin(), data.end());
  const std::vector<uint8_t> frame = EncodeMessage(WireKind::Send, m);

  sockaddr_un addr = SocketOf(dir.path(), peer);
  const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  ASSERT_EQ(connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
  timeval limit{20, 0};
  setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
  const size_t half = frame.size() / 2;
  ASSERT_EQ(send(fd, frame.data(), half, MSG_NOSIGNAL), ssize_t(half));
  std::this_thread::sleep_for(std::chrono::milliseconds(5500));
  ASSERT_EQ(send(fd, frame.data() + half, frame.size() - half, MSG_NOSIGNAL), ssize_t(frame.size() - half))
      << "the reader gave the connection up";
  uint8_t in[64];
  size_t got = 0;
  for (ssize_t n; got < sizeof in && (n = recv(fd, in + got, sizeof in - got, 0)) > 0;) got += size_t(n);
  close(fd);
  const auto header = DecodeHeader(in, got);
  ASSERT_TRUE(header && got == 12 + header->second) << "no whole reply: " << got << " bytes";
  const auto reply = DecodeReply(in + 12, header->second);
  ASSERT_TRUE(reply);
  EXPECT_EQ(reply->status, WireStatus::Delivered);
  EXPECT_EQ(reply->result, expected);
}

// A send that nobody got is told from one answered 0: a destroyed window or a killed process
// sets ERROR_INVALID_WINDOW_HANDLE, a process that never answers ERROR_TIMEOUT after 5 s, and a
// delivered send leaves the last error as it was.
TEST_F(CrossProcess, AFailedSendIsSeenInTheLastError) {
  PeerProcess process;
  HWND peer = PeerProcess::Window("MMS_manageRas");
  HWND doomed = PeerProcess::Window("Doomed");
  ASSERT_NE(peer, nullptr);
  ASSERT_NE(doomed, nullptr);
  SetLastError(12345);
  EXPECT_EQ(SendMessageA(peer, WM_USER + 11, 0, 0), 7);
  EXPECT_EQ(SendMessageA(doomed, WM_NULL, 0, 0), 0);  // delivered, answered 0
  EXPECT_EQ(GetLastError(), 12345u);

  EXPECT_EQ(SendMessageA(peer, WM_USER + 10, 0, 0), 1);  // the peer destroys "Doomed"
  SetLastError(0);
  EXPECT_EQ(SendMessageA(doomed, WM_USER + 11, 0, 0), 0);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);

  process.Signal(SIGSTOP);
  SetLastError(0);
  const auto start = Clock::now();
  EXPECT_EQ(SendMessageA(peer, WM_USER + 11, 0, 0), 0);
  EXPECT_EQ(GetLastError(), ERROR_TIMEOUT);
  EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(4500));

  process.Signal(SIGKILL);
  EXPECT_EQ(process.Wait(), -1);
  SetLastError(0);
  EXPECT_EQ(SendMessageA(peer, WM_USER + 11, 0, 0), 0);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
  SetLastError(0);
  EXPECT_FALSE(PostMessageA(peer, WM_USER + 11, 0, 0));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
}

// A search asks every process at once: two stopped processes in the lower slots delay finding
// a live one by well under the 5 s each of them could take.
TEST_F(CrossProcess, HungProcessesDoNotHoldUpASearch) {
  PeerProcess frozen1({"--title", "Frozen1"}), frozen2({"--title", "Frozen2"});
  HWND f1 = PeerProcess::Window("Frozen1"), f2 = PeerProcess::Window("Frozen2");
  ASSERT_NE(f1, nullptr);
  ASSERT_NE(f2, nullptr);
  PeerProcess live;
  HWND peer = PeerProcess::Window("MMS_manageRas");
  ASSERT_NE(peer, nullptr);
  ASSERT_GT(platform::win::SlotOf(peer), std::max(platform::win::SlotOf(f1), platform::win::SlotOf(f2)));
  frozen1.Signal(SIGSTOP);
  frozen2.Signal(SIGSTOP);
  const auto start = Clock::now();
  EXPECT_EQ(FindWindowA("PeerReceiver", "MMS_manageRas"), peer);
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(2));
}

TEST_F(CrossProcess, AForeignOwnedOrOpenRuntimeFolderIsRefused) {
  testsupport::TempDir open;
  chmod(open.path().c_str(), 0755);
  setenv("PLATFORM_RUNTIME_DIR", open.path().c_str(), 1);
  std::string error;
  EXPECT_EQ(platform::win::RuntimeFolder(&error), "");
  EXPECT_NE(error.find("0700"), std::string::npos);
  setenv("PLATFORM_RUNTIME_DIR", dir.path().c_str(), 1);
  EXPECT_EQ(platform::win::RuntimeFolder(&error), dir.path());
}

TEST(WireFrames, DecodingChecksEveryLength) {
  using namespace platform::win;
  WireMessage m;
  m.hwnd = 0x100001;
  m.msg = WM_COPYDATA;
  m.name = "MsgNetAppHandle";
  m.payload = {1, 2, 3};
  const std::vector<uint8_t> frame = EncodeMessage(WireKind::Send, m);
  auto header = DecodeHeader(frame.data(), frame.size());
  ASSERT_TRUE(header);
  EXPECT_EQ(header->first, 1u);
  ASSERT_EQ(header->second, frame.size() - 12);
  auto back = DecodeMessage(frame.data() + 12, frame.size() - 12);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->name, m.name);
  EXPECT_EQ(back->payload, m.payload);
  // Every truncation fails cleanly, as does trailing garbage.
  for (size_t n = 0; n < frame.size() - 12; ++n) EXPECT_FALSE(DecodeMessage(frame.data() + 12, n)) << n;
  std::vector<uint8_t> longer(frame.begin() + 12, frame.end());
  longer.push_back(0);
  EXPECT_FALSE(DecodeMessage(longer.data(), longer.size()));
  // A payload length beyond the body, a wrong magic and an over-limit body.
  std::vector<uint8_t> lying(frame.begin() + 12, frame.end());
  lying[lying.size() - 3 - 4] = 0xFF;
  EXPECT_FALSE(DecodeMessage(lying.data(), lying.size()));
  std::vector<uint8_t> bad = frame;
  bad[0] ^= 1;
  EXPECT_FALSE(DecodeHeader(bad.data(), bad.size()));
  const std::vector<uint8_t> huge = EncodeHeader(WireKind::Send, kWireBodyLimit + 1);
  EXPECT_FALSE(DecodeHeader(huge.data(), huge.size()));
  // A reply carries the result and what became of the message; an older peer's result alone
  // reads as delivered, an unknown status as no reply.
  std::vector<uint8_t> reply = EncodeReply(-5, WireStatus::NoWindow);
  auto r = DecodeReply(reply.data() + 12, reply.size() - 12);
  ASSERT_TRUE(r);
  EXPECT_EQ(r->result, -5);
  EXPECT_EQ(r->status, WireStatus::NoWindow);
  r = DecodeReply(reply.data() + 12, 8);
  ASSERT_TRUE(r);
  EXPECT_EQ(r->status, WireStatus::Delivered);
  reply[12 + 8] = 9;
  EXPECT_FALSE(DecodeReply(reply.data() + 12, reply.size() - 12));
  const std::vector<uint8_t> find = EncodeFind({"", "MMS_manageRas"});
  auto f = DecodeFind(find.data() + 12, find.size() - 12);
  ASSERT_TRUE(f);
  EXPECT_EQ(f->title, "MMS_manageRas");
}

}  // namespace
