// The message inspector on whole, cut and notification files: what it prints and its exit status.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <string>
#include <vector>

#include "support/SharedData.h"
#include "support/TempDir.h"
#include "tests/mms/MessageBytes.h"

namespace {

struct Inspection {
  int status;
  std::string out;
};

Inspection Inspect(const std::string& path) {
#ifdef MMSINFO_PROGRAM
  std::string command = std::string("'") + MMSINFO_PROGRAM + "' '" + path + "'";
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return {-1, ""};
  Inspection run{0, ""};
  char buffer[4096];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) run.out.append(buffer, n);
  int status = pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
#else
  (void)path;
  return {-1, ""};
#endif
}

class MmsInfoTest : public ::testing::Test {
 protected:
  void SetUp() override {
#ifndef MMSINFO_PROGRAM
    GTEST_SKIP() << "this build has no message inspector";
#endif
  }
  testsupport::TempDir dir_;
};

bool Holds(const std::string& out, const std::string& what) { return out.find(what) != std::string::npos; }

TEST_F(MmsInfoTest, ACutMessageIsReportedIncompleteWithWhatWasRead) {
  std::vector<uint8_t> whole =
      testsupport::ReadFileBytes(testsupport::SharedPath("testdata/mms/SonyEricssonT310-R201.mms"));
  ASSERT_GT(whole.size(), 6000u);
  std::string bytes(whole.begin(), whole.end());

  Inspection full = Inspect(dir_.write("whole.mms", bytes));
  EXPECT_EQ(full.status, 0) << full.out;
  EXPECT_TRUE(Holds(full.out, "\"incomplete\": false")) << full.out;

  // Cut inside the sound, the third of its four entries: the picture and the text are intact.
  Inspection cut = Inspect(dir_.write("cut.mms", bytes.substr(0, 6000)));
  EXPECT_EQ(cut.status, 1) << cut.out;
  EXPECT_TRUE(Holds(cut.out, "\"incomplete\": true")) << cut.out;
  EXPECT_TRUE(Holds(cut.out, "\"entriesDeclared\": 4")) << cut.out;
  EXPECT_TRUE(Holds(cut.out, "\"entriesDecoded\": 2")) << cut.out;
  EXPECT_TRUE(Holds(cut.out, "\"name\": \"Tony.gif\"")) << cut.out;
  EXPECT_TRUE(Holds(cut.out, "\"attachments\"")) << cut.out;
}

TEST_F(MmsInfoTest, ANotificationIsNamedAsSuch) {
  mmstest::MessageBytes notification{0x8C, 0x82, 0x98};
  notification.Text("T-9").Add(
      {0x8D, 0x92, 0x8A, 0x80, 0x8E, 0x02, 0x0B, 0xB8, 0x88, 0x05, 0x81, 0x03, 0x01, 0x51, 0x80, 0x83});
  notification.Text("http://mmsc.example/m/1");
  Inspection run =
      Inspect(dir_.write("notification.mms", std::string(notification.v.begin(), notification.v.end())));
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(Holds(run.out, "the file is a notification and holds no message")) << run.out;
  Inspection damaged = Inspect(dir_.write("damaged.mms", "\x8C\x84\x05"));
  EXPECT_TRUE(Holds(damaged.out, "the header fields do not decode")) << damaged.out;
}

}  // namespace
