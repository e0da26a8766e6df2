// The stand-in connection manager, run as a real second process: what it stores, answers and
// journals for sound and broken hand-over records, its numbering, and --exit-after.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <chrono>
#include <cstring>
#include <fstream>
#include <iterator>
#include <thread>
#include <vector>

#include "platform/backend/HeadlessDriver.h"
#include "platform/win/Win.h"
#include "support/SharedData.h"
#include "support/TempDir.h"
#include "tests/editor/StandInProcess.h"

extern char** environ;

namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// A record as the editor lays it out.
std::vector<uint8_t> Record(const std::string& fileName, const std::string& subject, int32_t mode) {
  std::vector<uint8_t> bytes(528, 0);
  std::memcpy(bytes.data(), fileName.data(), std::min<size_t>(fileName.size(), 256));
  std::memcpy(bytes.data() + 256, subject.data(), std::min<size_t>(subject.size(), 256));
  for (int i = 0; i < 4; ++i) bytes[512 + i] = uint8_t(uint32_t(mode) >> (8 * i));
  return bytes;
}

class ConnectionManager : public ::testing::Test {
 protected:
  void SetUp() override {
    chmod(runtime.path().c_str(), 0700);
    setenv("PLATFORM_RUNTIME_DIR", runtime.path().c_str(), 1);
    platform::headless::Install();
  }
  void TearDown() override {
    if (pid > 0) {
      kill(pid, SIGKILL);
      waitpid(pid, nullptr, 0);
    }
    platform::headless::Uninstall();
    unsetenv("PLATFORM_RUNTIME_DIR");
  }

  HWND Start(std::vector<std::string> extra = {}) {
    return editortest::StartStandIn(store.path(), extra, &pid);
  }

  LRESULT HandOver(HWND peer, std::vector<uint8_t> bytes, ULONG_PTR kind = 0) {
    COPYDATASTRUCT cds{kind, DWORD(bytes.size()), bytes.data()};
    return SendMessageA(peer, WM_COPYDATA, 0, LPARAM(&cds));
  }

  std::vector<std::string> JournalLines() { return editortest::StandInJournal(store.path()); }

  testsupport::TempDir runtime, store, files;
  pid_t pid = -1;
};

TEST_F(ConnectionManager, StoresSoundHandOversAndRefusesBrokenRecordsWithTheirProblem) {
  const std::string message = testsupport::SharedPath("testdata/mms/SonyEricssonT310-R201.mms");
  const std::string text = files.write("note.mms", "not a message at all");
  HWND peer = Start();
  ASSERT_NE(peer, nullptr);

  struct Case {
    const char* what;
    std::vector<uint8_t> record;
    ULONG_PTR kind;
    LRESULT answer;
    const char* problem;  // found in the journal line, or null for a stored copy
  };
  std::vector<uint8_t> unterminated = Record(message, "s", 0);
  std::memset(unterminated.data(), 'a', 256);
  std::vector<uint8_t> reserved = Record(message, "s", 0);
  reserved[520] = 1;
  std::vector<uint8_t> shortRecord = Record(message, "s", 0);
  shortRecord.pop_back();
  std::vector<uint8_t> badSubject = Record(message, "\xC3\x28", 0);
  const std::vector<Case> cases = {
      {"sound send", Record(message, "Chào bạn", 0), 0, 1, nullptr},
      {"sound draft", Record(message, "", 2), 0, 1, nullptr},
      {"527 bytes", shortRecord, 0, 0, "record of 527 bytes"},
      {"data kind 1", Record(message, "s", 0), 1, 0, "data kind 1"},
      {"name without terminator", unterminated, 0, 0, "file name not terminated"},
      {"mode 5", Record(message, "s", 5), 0, 0, "mode 5"},
      {"reserved bytes", reserved, 0, 0, "reserved bytes not zero"},
      {"subject not UTF-8", badSubject, 0, 0, "subject not UTF-8"},
      {"missing file", Record(files.file("gone.mms"), "s", 0), 0, 0, "cannot be read"},
      {"not a message", Record(text, "s", 0), 0, 0, "does not decode"},
  };
  for (const Case& c : cases) EXPECT_EQ(HandOver(peer, c.record, c.kind), c.answer) << c.what;

  const std::vector<std::string> lines = JournalLines();
  ASSERT_EQ(lines.size(), cases.size());
  for (size_t i = 0; i < cases.size(); ++i) {
    const Case& c = cases[i];
    const std::string n = std::to_string(i + 1);
    EXPECT_EQ(lines[i].rfind("{\"n\": " + n + ",", 0), 0u) << lines[i];
    EXPECT_EQ(ReadFile(store.file(n + ".rec")), std::string(c.record.begin(), c.record.end())) << c.what;
    if (c.problem) {
      EXPECT_NE(lines[i].find(c.problem), std::string::npos) << c.what << ": " << lines[i];
      EXPECT_NE(lines[i].find("\"stored\": null"), std::string::npos) << c.what;
      struct stat st;
      EXPECT_NE(stat(store.file(n + ".mms").c_str(), &st), 0) << c.what << " stored a copy";
    } else {
      EXPECT_NE(lines[i].find("\"problems\": []"), std::string::npos) << lines[i];
      EXPECT_EQ(ReadFile(store.file(n + ".mms")), ReadFile(message)) << c.what;
    }
  }
  EXPECT_NE(lines[0].find("\"mode\": 0, \"subject\": \"Chào bạn\""), std::string::npos) << lines[0];
  EXPECT_NE(lines[1].find("\"mode\": 2, \"subject\": \"\""), std::string::npos) << lines[1];
}

TEST_F(ConnectionManager, ExitsAfterTheNamedNumberOfHandOversAndNumbersOnAfterARestart) {
  const std::string message = testsupport::SharedPath("testdata/mms/projekt_exempel.mms");
  HWND peer = Start({"--exit-after", "1"});
  ASSERT_NE(peer, nullptr);
  EXPECT_EQ(HandOver(peer, Record(message, "Hej", 0)), 1);
  int status = -1;
  ASSERT_EQ(waitpid(pid, &status, 0), pid);
  pid = -1;
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);

  // A second run in the same store goes on with 2 and leaves 1 as it was.
  peer = Start({"--exit-after", "1"});
  ASSERT_NE(peer, nullptr);
  EXPECT_EQ(HandOver(peer, Record(message, "Hej igen", 2)), 1);
  ASSERT_EQ(waitpid(pid, &status, 0), pid);
  pid = -1;
  const std::vector<std::string> lines = JournalLines();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[1].rfind("{\"n\": 2, \"mode\": 2, \"subject\": \"Hej igen\"", 0), 0u) << lines[1];
  EXPECT_EQ(ReadFile(store.file("1.mms")), ReadFile(message));
  EXPECT_EQ(ReadFile(store.file("2.mms")), ReadFile(message));
}

TEST_F(ConnectionManager, AFailingPeerAnswersNothing) {
  const std::string message = testsupport::SharedPath("testdata/mms/projekt_exempel.mms");
  HWND peer = Start({"--fail", "exit"});
  ASSERT_NE(peer, nullptr);
  EXPECT_EQ(HandOver(peer, Record(message, "Hej", 0)), 0);
  int status = -1;
  ASSERT_EQ(waitpid(pid, &status, 0), pid);
  pid = -1;
  EXPECT_TRUE(JournalLines().empty());
}

}  // namespace
