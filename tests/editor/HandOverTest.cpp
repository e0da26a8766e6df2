// Handing the message over to the connection manager, with the stand-in manager as a real second
// process: the record and the file it names, send and drafts, the manager announcing another
// window, the close question, and the failures that must lose nothing (no manager, one that dies
// while handling it, a Send folder that cannot be written, a page whose media is gone).
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <thread>

#include "editor/TMmsSendData.h"
#include "mms/MmsComposer.h"
#include "mms/MmsEncoder.h"
#include "mms/TK3VNMms.h"
#include "mms/TMediaItem.h"
#include "mms/TMmsBody.h"
#include "platform/backend/HeadlessDriver.h"
#include "platform/win/Win.h"
#include "support/TempDir.h"
#include "tests/editor/CommandFixture.h"
#include "tests/editor/StandInProcess.h"

extern char** environ;

namespace {

using editortest::CommandTest;
using editortest::Noise;
using editortest::ReadAll;
using platform::win::ModalAnswer;
using platform::win::ModalInfo;

class HandOver : public CommandTest {
 protected:
  void SetUp() override {
    CommandTest::SetUp();
    Pages(2);
    Put(0, TMediaItem::kImage, "p.jpg", &picture);
    Put(1, TMediaItem::kAudio, "s.wav", &sound);
    main->SetSubjectText(WideString(u"Hello there"));
    main->Document().SetModified(true);
    AnswerModals([this](const ModalInfo&) { return ModalAnswer::Result(closeAnswer); });
  }
  void TearDown() override {
    for (pid_t pid : peers) {
      kill(pid, SIGKILL);
      waitpid(pid, nullptr, 0);
    }
    DrainQuit();
    CommandTest::TearDown();
  }

  // Starts the stand-in manager headless; its window, found by its title.
  HWND StartPeer(const testsupport::TempDir& store, std::vector<std::string> extra = {},
                 const char* title = "MMS_manageRas") {
    pid_t pid = -1;
    HWND peer = editortest::StartStandIn(store.path(), extra, &pid, title);
    peers.push_back(pid);
    return peer;
  }
  std::vector<std::string> Journal(const testsupport::TempDir& store) {
    return editortest::StandInJournal(store.path());
  }

  // Whether a quit message is waiting; takes it.
  bool DrainQuit() {
    MSG msg;
    bool quit = false;
    while (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) quit = true;
    return quit;
  }
  std::string Encoded() {
    EXPECT_EQ(main->BuildMms(), 1);
    int count = 0;
    unsigned char* bytes = MmsEncodeMessage(&count);
    std::string out(reinterpret_cast<char*>(bytes), size_t(count));
    std::free(bytes);
    MmsComposerReset();
    return out;
  }
  std::string TempMms() const { return app.path() + "/tmp/Send/TempMMS.mms"; }
  bool Warned(const char16_t* key) const {
    for (const auto& s : shown) {
      if (s.Says(key)) return true;
    }
    return false;
  }

  const std::string picture = Noise(900, 11), sound = Noise(400, 12);
  std::vector<pid_t> peers;
  int closeAnswer = 1;
};

TEST_F(HandOver, SendAndDraftsDeliverTheRecordAndTheFileThenQuit) {
  testsupport::TempDir store;
  ASSERT_NE(StartPeer(store), nullptr);
  const std::string expected = Encoded();

  main->btnSendClick(nullptr);
  EXPECT_TRUE(shown.empty());
  EXPECT_TRUE(DrainQuit());
  EXPECT_EQ(ReadAll(TempMms()), expected);
  EXPECT_EQ(ReadAll(store.file("1.mms")), expected);
  TMmsSendData record;
  record.FileName = TempMms();
  record.Subject = "Hello there";
  record.Mode = TMmsSendData::kModeSend;
  const auto bytes = record.Bytes();
  EXPECT_EQ(ReadAll(store.file("1.rec")), std::string(bytes.begin(), bytes.end()));

  main->SetSavedAs(1);
  main->actDraftsExecute(nullptr);
  EXPECT_TRUE(DrainQuit());
  EXPECT_EQ(main->SavedAs(), 0);
  const std::vector<std::string> lines = Journal(store);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_NE(lines[0].find("\"mode\": 0, \"subject\": \"Hello there\""), std::string::npos) << lines[0];
  EXPECT_NE(lines[1].find("\"mode\": 2"), std::string::npos) << lines[1];
  EXPECT_NE(lines[1].find("\"problems\": []"), std::string::npos) << lines[1];
}

TEST_F(HandOver, AnAnnouncedWindowTakesTheHandOverUnlessItIsOurOwn) {
  testsupport::TempDir usual, other;
  ASSERT_NE(StartPeer(usual), nullptr);
  HWND announced = StartPeer(other, {"--title", "Other", "--announce"}, "Other");
  ASSERT_NE(announced, nullptr);
  for (int i = 0; i < 200 && main->PeerWnd() != announced; ++i) {
    platform::headless::Driver().RunUntilIdle();
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_EQ(main->PeerWnd(), announced);
  // Our own window in wParam, or no window in lParam, changes nothing.
  const UINT announce = RegisterWindowMessageA("MsgNetAppHandle");
  SendMessageA(main->Handle(), announce, WPARAM(main->Handle()), LPARAM(main->Handle()));
  SendMessageA(main->Handle(), announce, 0, 0);
  EXPECT_EQ(main->PeerWnd(), announced);

  main->btnSendClick(nullptr);
  EXPECT_TRUE(DrainQuit());
  EXPECT_EQ(Journal(other).size(), 1u);
  EXPECT_TRUE(Journal(usual).empty());
}

// A link standing at TempMMS.mms (planted after start, to a file or to no file yet) is replaced
// by the hand-over file; its target is never written.
TEST_F(HandOver, AHandOverFileLinkIsReplacedNeverWrittenThrough) {
  testsupport::TempDir store, outside;
  ASSERT_NE(StartPeer(store), nullptr);
  const std::string expected = Encoded();
  const std::string existing = outside.write("theirs.txt", "someone else's file");
  const std::string missing = outside.file("made.txt");
  for (const std::string& target : {existing, missing}) {
    SCOPED_TRACE(target);
    std::filesystem::remove(TempMms());
    ASSERT_EQ(symlink(target.c_str(), TempMms().c_str()), 0);
    main->btnSendClick(nullptr);
    EXPECT_TRUE(DrainQuit());
    EXPECT_FALSE(std::filesystem::is_symlink(TempMms()));
    EXPECT_EQ(ReadAll(TempMms()), expected);
  }
  EXPECT_EQ(ReadAll(existing), "someone else's file");
  EXPECT_FALSE(std::filesystem::exists(missing));
  EXPECT_EQ(Journal(store).size(), 2u);
}

// Every failure leaves the message as it was: the warning, no quit, the document, the working
// files, an older TempMMS.mms and `modified`.
TEST_F(HandOver, NoFailureLosesTheMessage) {
  enum Cause { kNoPeer, kPeerHangs, kPeerExits, kSendFolderIsFile, kLongPath, kMediaGone };
  enum Command { kSend, kDrafts, kCloseYes };
  struct Case {
    const char* name;
    Cause cause;
    const char16_t* warning;
  };
  const Case cases[] = {
      {"no manager", kNoPeer, u"<STR_Main_Error_Send>"},
      {"manager ends while handling it", kPeerExits, u"<STR_Main_Error_Send>"},
      {"Send folder is a file", kSendFolderIsFile, u"<STR_Main_Error_Send>"},
      {"path over 255 bytes", kLongPath, u"<STR_Main_Error_Send>"},
      {"manager never answers", kPeerHangs, u"<STR_Main_Error_Send>"},
      {"picture file removed", kMediaGone, u"<STR_Main_Error_Save>"},
  };
  const std::string sendDir = app.path() + "/tmp/Send";
  for (const Case& c : cases) {
    for (Command command : {kSend, kDrafts, kCloseYes}) {
      // A manager that never answers costs 5 s of real time: one row is enough.
      if (c.cause == kPeerHangs && command != kSend) continue;
      SCOPED_TRACE(std::string(c.name) + " / command " + std::to_string(command));
      testsupport::TempDir store;
      std::filesystem::create_directories(sendDir);
      std::ofstream(TempMms(), std::ios::binary) << "older";
      if (c.cause == kPeerExits || c.cause == kPeerHangs) {
        ASSERT_NE(StartPeer(store, {"--fail", c.cause == kPeerExits ? "exit" : "hang"}), nullptr);
      } else if (c.cause != kNoPeer) {
        ASSERT_NE(StartPeer(store), nullptr);
      }
      if (c.cause == kSendFolderIsFile) {
        std::filesystem::remove_all(sendDir);
        std::ofstream(sendDir) << "x";
      }
      if (c.cause == kMediaGone) std::remove((app.path() + "/tmp/Image/p.jpg").c_str());
      const AnsiString usualSendDir = main->Document().sendDir;
      std::string deep = sendDir;
      if (c.cause == kLongPath) {
        while (deep.size() < 250) deep += "/folder-of-some-depth";
        std::filesystem::create_directories(deep);
        main->Document().sendDir = deep.c_str();
      }
      main->SetPeerWnd(nullptr);
      main->Document().SetModified(true);
      shown.clear();

      if (command == kSend) main->btnSendClick(nullptr);
      if (command == kDrafts) main->SaveAsDraftClick(nullptr);
      if (command == kCloseYes) {
        bool canClose = true;
        main->FormCloseQuery(nullptr, canClose);
        EXPECT_FALSE(canClose);
      }
      EXPECT_TRUE(Warned(c.warning));
      EXPECT_FALSE(DrainQuit());
      EXPECT_TRUE(main->Document().Modified());
      EXPECT_EQ(main->Mms()->Body->GetFrameCount(), 2);
      EXPECT_EQ(ReadAll(app.path() + "/tmp/Audio/s.wav"), sound);
      // A manager that ended after taking the record may still have read the file, so the new
      // message stays in it; every failure found before sending keeps the older file.
      if (c.cause == kPeerExits || c.cause == kPeerHangs) {
        EXPECT_EQ(ReadAll(TempMms()), Encoded());
      } else if (c.cause != kSendFolderIsFile) {
        EXPECT_EQ(ReadAll(TempMms()), "older");
      }
      EXPECT_TRUE(main->Visible());
      EXPECT_TRUE(Journal(store).empty() || c.cause == kPeerExits || c.cause == kPeerHangs);
      main->Document().sendDir = usualSendDir;
      EXPECT_FALSE(std::filesystem::exists(deep + "/TempMMS.mms") && c.cause == kLongPath);

      if (c.cause == kSendFolderIsFile) std::filesystem::remove(sendDir);
      if (c.cause == kMediaGone) Put(0, TMediaItem::kImage, "p.jpg", &picture);
      for (pid_t pid : peers) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
      }
      peers.clear();
    }
  }
}

TEST_F(HandOver, CloseQuestionAsksOnlyForAChangedMessage) {
  testsupport::TempDir store;
  ASSERT_NE(StartPeer(store), nullptr);
  struct Case {
    const char* name;
    int modified;
    int answer;  // the box's result: 1 keep as draft, 3 drop, 2 stay
    bool canClose, asked, quit;
    size_t handedOver;
  };
  const Case cases[] = {
      {"unchanged", 0, 2, true, false, false, 0},
      {"Cancel", 1, 2, false, true, false, 0},
      {"No", 1, 3, true, true, false, 0},
      {"Yes", 1, 1, true, true, true, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    main->Document().SetModified(c.modified != 0);
    closeAnswer = c.answer;
    shown.clear();
    bool canClose = !c.canClose;
    main->FormCloseQuery(nullptr, canClose);
    EXPECT_EQ(canClose, c.canClose);
    EXPECT_EQ(!shown.empty(), c.asked);
    if (c.asked) {
      ASSERT_FALSE(shown.empty());
      EXPECT_EQ(shown[0].className, u"TMessageBoxForm");
    }
    EXPECT_EQ(DrainQuit(), c.quit);
    EXPECT_EQ(Journal(store).size(), c.handedOver);
  }
  EXPECT_NE(Journal(store)[0].find("\"mode\": 2"), std::string::npos);
}

}  // namespace
