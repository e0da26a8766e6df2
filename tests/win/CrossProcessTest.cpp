// Messages between processes: a second program finds nothing until it is up, then is found by
// title, receives a 528-byte WM_COPYDATA intact and a registered message under its own id; a
// dead peer's window is no window, and sends to it return at once. Wire frames from outside are
// parsed through bounds.
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <chrono>
#include <thread>

#include "platform/win/Endpoint.h"
#include "platform/win/WireFrame.h"
#include "support/TempDir.h"
#include "tests/win/WinTestSupport.h"

extern char** environ;

namespace {

class CrossProcess : public ::testing::Test {
 protected:
  void SetUp() override {
    chmod(dir.path().c_str(), 0700);
    setenv("PLATFORM_RUNTIME_DIR", dir.path().c_str(), 1);
    platform::headless::Install();
  }
  void TearDown() override {
    platform::headless::Uninstall();
    unsetenv("PLATFORM_RUNTIME_DIR");
  }
  testsupport::TempDir dir;
};

TEST_F(CrossProcess, SecondProcessIsFoundByTitleAndReceivesCopyData) {
  EXPECT_EQ(FindWindowA(nullptr, "MMS_manageRas"), nullptr);
  pid_t pid;
  char* argv[] = {const_cast<char*>(WIN_PEER_PATH), nullptr};
  ASSERT_EQ(posix_spawn(&pid, WIN_PEER_PATH, nullptr, nullptr, argv, environ), 0);
  HWND peer = nullptr;
  for (int i = 0; i < 200 && !peer; ++i) {
    peer = FindWindowA(nullptr, "MMS_manageRas");
    if (!peer) std::this_thread::sleep_for(std::chrono::milliseconds(25));
  }
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
  EXPECT_EQ(SendMessageA(peer, WM_SETTEXT, 0, LPARAM("x")), 0);  // pointers do not cross
  EXPECT_TRUE(PostMessageA(peer, WM_USER + 9, 0, 0));
  int status = -1;
  ASSERT_EQ(waitpid(pid, &status, 0), pid);
  EXPECT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "the copy-data bytes did not arrive intact";
  // The peer is gone: its handle is no window and a send returns at once with 0.
  EXPECT_FALSE(IsWindow(peer));
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(SendMessageA(peer, WM_USER, 0, 0), 0);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
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
  const std::vector<uint8_t> find = EncodeFind({"", "MMS_manageRas"});
  auto f = DecodeFind(find.data() + 12, find.size() - 12);
  ASSERT_TRUE(f);
  EXPECT_EQ(f->title, "MMS_manageRas");
}

}  // namespace
