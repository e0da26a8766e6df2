// The stand-in connection manager, run as a real second process: what it stores, answers and
// journals for sound and broken hand-over records, its numbering, and --exit-after.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>
#include <vector>

#include "platform/backend/HeadlessDriver.h"
#include "platform/win/Win.h"
#include "support/RuntimeFolder.h"
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
    testsupport::RestoreRuntimeFolder();
  }

  HWND Start(std::vector<std::string> extra = {}) {
    return editortest::StartStandIn(store.path(), extra, &pid);
  }

  LRESULT HandOver(HWND peer, std::vector<uint8_t> bytes, ULONG_PTR kind = 0) {
    COPYDATASTRUCT cds{kind, DWORD(bytes.size()), bytes.data()};
    return SendMessageA(peer, WM_COPYDATA, 0, LPARAM(&cds));
  }

  std::vector<std::string> JournalLines() { return editortest::StandInJournal(store.path()); }

  // A copy of a shared message among the test's own files (the user's, as the editor's are).
  std::string OwnCopy(const char* name) {
    return files.write(name, ReadFile(testsupport::SharedPath(std::string("testdata/mms/") + name)));
  }

  testsupport::TempDir runtime, store, files;
  pid_t pid = -1;
};

TEST_F(ConnectionManager, StoresSoundHandOversAndRefusesBrokenRecordsWithTheirProblem) {
  const std::string message = OwnCopy("SonyEricssonT310-R201.mms");
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

// Only a whole message of the user's own is taken: a file that is no message (the stand-in's own
// environment), a message cut short, a path that climbs folders, a link, a folder and another
// user's file are refused with the reason in the journal.
TEST_F(ConnectionManager, OnlyAWholeMessageFileOfTheUsersOwnIsTaken) {
  const std::string message = OwnCopy("SonyEricssonT310-R201.mms");
  const std::string whole = ReadFile(message);
  const std::string cut = files.write("cut.mms", whole.substr(0, 100));
  const std::string cutLate = files.write("cut-late.mms", whole.substr(0, whole.size() - 10));
  const std::string link = files.file("link.mms");
  ASSERT_EQ(symlink(message.c_str(), link.c_str()), 0);
  std::filesystem::create_directories(files.file("sub"));
  const std::string climbing = files.file("sub/../SonyEricssonT310-R201.mms");
  struct Case {
    const char* what;
    std::string path;
    const char* problem;
  };
  std::vector<Case> cases = {
      {"its own environment", "/proc/self/environ", "does not decode"},
      {"cut to 100 bytes", cut, "does not decode"},
      {"cut by its last 10 bytes", cutLate, "does not decode"},
      {"through ..", climbing, "without .."},
      {"relative", "SonyEricssonT310-R201.mms", "absolute"},
      {"a link", link, "link"},
      {"a folder", files.file("sub"), "not a regular file"},
  };
  if (getuid() == 0) {
    const std::string foreign = files.write("foreign.mms", whole);
    ASSERT_EQ(chown(foreign.c_str(), 65534, 65534), 0);
    cases.push_back({"another user's", foreign, "another user"});
  }
  HWND peer = Start();
  ASSERT_NE(peer, nullptr);
  for (const Case& c : cases) EXPECT_EQ(HandOver(peer, Record(c.path, "s", 0)), 0) << c.what;
  EXPECT_EQ(HandOver(peer, Record(message, "s", 0)), 1);  // the whole message itself is taken
  const std::vector<std::string> lines = JournalLines();
  ASSERT_EQ(lines.size(), cases.size() + 1);
  for (size_t i = 0; i < cases.size(); ++i) {
    EXPECT_NE(lines[i].find(cases[i].problem), std::string::npos) << cases[i].what << ": " << lines[i];
    struct stat st;
    EXPECT_NE(stat(store.file(std::to_string(i + 1) + ".mms").c_str(), &st), 0) << cases[i].what;
  }
}

// A record longer than 528 bytes is kept only that far, and a journal line stays valid JSON
// whatever bytes the file name holds.
TEST_F(ConnectionManager, OversizedRecordsAreCutAndTheJournalEscapesWhatIsNotUtf8) {
  HWND peer = Start();
  ASSERT_NE(peer, nullptr);
  std::vector<uint8_t> huge = Record("/nowhere", "s", 0);
  huge.resize(16u << 20, 0x55);
  EXPECT_EQ(HandOver(peer, huge), 0);
  EXPECT_EQ(ReadFile(store.file("1.rec")), std::string(huge.begin(), huge.begin() + 528));
  EXPECT_EQ(HandOver(peer, Record(files.file("name-\xFF\xC3.mms"), "s", 0)), 0);
  const std::vector<std::string> lines = JournalLines();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_NE(lines[0].find("record of 16777216 bytes"), std::string::npos) << lines[0];
  EXPECT_NE(lines[1].find("name-\\u00ff\\u00c3.mms"), std::string::npos) << lines[1];
  for (const std::string& line : lines)
    for (unsigned char ch : line) EXPECT_LT(ch, 0x80) << line;  // all else here is ASCII
}

TEST_F(ConnectionManager, ExitsAfterTheNamedNumberOfHandOversAndNumbersOnAfterARestart) {
  const std::string message = OwnCopy("projekt_exempel.mms");
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
  const std::string message = OwnCopy("projekt_exempel.mms");
  HWND peer = Start({"--fail", "exit"});
  ASSERT_NE(peer, nullptr);
  EXPECT_EQ(HandOver(peer, Record(message, "Hej", 0)), 0);
  int status = -1;
  ASSERT_EQ(waitpid(pid, &status, 0), pid);
  pid = -1;
  EXPECT_TRUE(JournalLines().empty());
}

}  // namespace
