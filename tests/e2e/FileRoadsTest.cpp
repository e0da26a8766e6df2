// The roads of files and handing over: Save As, opening (our own saved message, messages from
// others, one that is no message, and the command line), and sending, drafts and closing with
// the stand-in connection manager as a second process.
#include <signal.h>
#include <sys/wait.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <thread>

#include "controls/TImButton.h"
#include "editor/TMmsSendData.h"
#include "mms/TK3VNMms.h"
#include "mms/TMediaItem.h"
#include "mms/TMmsBody.h"
#include "mms/TMmsFrame.h"
#include "platform/forms/ShortCuts.h"
#include "platform/forms/TEdit.h"
#include "platform/forms/TImage.h"
#include "platform/forms/TLabel.h"
#include "platform/forms/TMenuItem.h"
#include "platform/rtl/Utf8.h"
#include "support/SharedData.h"
#include "support/TempDir.h"
#include "tests/e2e/MessageFile.h"
#include "tests/e2e/RoadFixture.h"
#include "tests/editor/StandInProcess.h"

namespace {

namespace fs = std::filesystem;
using e2e::ModalAnswer;
using e2e::ModalInfo;
using e2e::ReadFile;
using platform::headless::Driver;

class FileRoads : public e2e::Road {
 protected:
  void TearDown() override {
    for (pid_t pid : peers) {
      kill(pid, SIGKILL);
      waitpid(pid, nullptr, 0);
    }
    e2e::Road::TearDown();
  }
  const TMediaItem* Item(int page, int type) const {
    return main->Mms()->Body->GetFrame(page)->GetItem(type);
  }
  std::string FileName(int page, int type) const {
    const TMediaItem* item = Item(page, type);
    return item ? fs::path(item->Path).filename().string() : std::string();
  }
  // The document of the picture, text and sound roads: hopper as photo.jpg, "Hello" and a tone
  // on page 0.
  void PictureAndSound() {
    ChooseFile(Shared("pillow/jpeg/hopper.jpg", "photo.jpg"));
    DoubleClick(StripPoint(50, 100));
    Driver().Advance(1000);
    ChooseFile(Wav("tone.wav"));
    DoubleClick(StripPoint(50, 185));
    Driver().Advance(1000);
    WriteText(u"Hello");
    DoubleClick(StripPoint(50, 155));
    Driver().Advance(1000);
    answer = nullptr;
    ASSERT_NE(Item(0, TMediaItem::kText), nullptr);
    ASSERT_NE(Item(0, TMediaItem::kImage), nullptr);
    ASSERT_NE(Item(0, TMediaItem::kAudio), nullptr);
  }
  // Adds a page through the button and gives it `seconds` in the duration edit.
  void PageOf(int seconds) {
    Click(Centre(main->Controls().btnNewFrame));
    const int page = main->Document().CurrentPage();
    Click(StripPoint(page * 100 + 50, 40));
    Driver().Advance(1000);
    Click(Centre(main->Controls().Edit_Cur));
    Chord("End");
    Chord("Backspace");
    Type(platform::Utf8ToUtf16(std::to_string(seconds)));
  }
  void SaveAs(const std::string& file) {
    ChooseFile(file);
    Chord("Ctrl+Alt+A");
    answer = nullptr;
  }
  HWND StartPeer(const testsupport::TempDir& store, std::vector<std::string> extra = {},
                 const char* title = "MMS_manageRas") {
    pid_t pid = -1;
    HWND peer = editortest::StartStandIn(store.path(), extra, &pid, title);
    peers.push_back(pid);
    return peer;
  }
  std::vector<pid_t> peers;
};

TEST_F(FileRoads, R7Save) {
  StartEditor();
  PictureAndSound();
  const std::string out = app.path() + "/out.mms";
  // Cancel writes nothing.
  modals.clear();
  Chord("Ctrl+Alt+A");
  ASSERT_EQ(modals.size(), 1u);
  EXPECT_EQ(modals[0].kind, ModalInfo::Kind::SaveDialog);
  EXPECT_EQ(modals[0].defaultExt, u"mms");
  EXPECT_FALSE(fs::exists(out));

  SaveAs(out);
  const std::string bytes = ReadFile(out);
  ASSERT_GT(bytes.size(), 29u);
  EXPECT_EQ(bytes.substr(0, 4), std::string("\x84\x1B\xB3\x89", 4));
  EXPECT_EQ(bytes.substr(4, 17), std::string("application/smil\0", 17));
  EXPECT_EQ(bytes.substr(21, 8), std::string("\x8A<AAAA>\0", 8));
  const e2e::MessageFile saved = e2e::ReadMessageFile(out);
  ASSERT_TRUE(saved.read);
  EXPECT_EQ(saved.TypeOf("Image0.jpg"), "image/jpeg");
  EXPECT_EQ(saved.TypeOf("Audio0.wav"), "audio/wav");
  ASSERT_NE(saved.Part("text0.txt"), nullptr);
  EXPECT_NE(saved.TypeOf("text0.txt").find("text/plain"), std::string::npos) << saved.TypeOf("text0.txt");
  ASSERT_NE(saved.Part("Image0.jpg"), nullptr);
  EXPECT_EQ(saved.Part("Image0.jpg")->bytes, ReadFile(Tmp("Image/photo.jpg")));
  EXPECT_NE(saved.smil.find("dur=\"1000ms\""), std::string::npos) << saved.smil;
  EXPECT_TRUE(main->Document().Modified());  // saving a copy leaves the message changed
  Shot("e2e-R7-saved.png");
}

TEST_F(FileRoads, R8OpenOurOwnMessage) {
  StartEditor();
  PictureAndSound();
  PageOf(3);
  ASSERT_EQ(main->Mms()->Body->GetFrameDur(1), 3000);
  const std::string saved = app.path() + "/saved.mms";
  SaveAs(saved);
  ASSERT_TRUE(fs::exists(saved));
  // A fresh document, then the saved message opened through Ctrl+Alt+O: the changed message is
  // given up only after the question, answered OK.
  main->Init();
  Pump();
  ASSERT_EQ(Pages(), 1);
  modals.clear();
  ChooseFile(saved);
  Chord("Ctrl+Alt+O");
  ASSERT_GE(modals.size(), 2u);
  EXPECT_EQ(modals[0].className, u"TDelMessageBox");
  EXPECT_TRUE(Saw(u"<STR_Main_Open_Discard>"));
  EXPECT_EQ(modals[1].kind, ModalInfo::Kind::OpenDialog);
  EXPECT_EQ(modals[1].title, u"<STR_Main_DialogTitle_MMS>");
  EXPECT_EQ(modals[1].filter, u"<STR_Main_DialogFilter_MMS>");
  ASSERT_EQ(Pages(), 2);
  EXPECT_EQ(main->Mms()->Body->GetFrameDur(0), 1000);
  EXPECT_EQ(main->Mms()->Body->GetFrameDur(1), 3000);
  EXPECT_EQ(FileName(0, TMediaItem::kImage), "img_0.JPG");
  EXPECT_EQ(ReadFile(Item(0, TMediaItem::kImage)->Path), ReadFile(app.path() + "/media/photo.jpg"));
  EXPECT_EQ(FileName(0, TMediaItem::kAudio), "Audio_0.wav");
  EXPECT_EQ(ReadFile(Item(0, TMediaItem::kAudio)->Path), ReadFile(app.path() + "/media/tone.wav"));
  EXPECT_EQ(FileName(0, TMediaItem::kText), "txt_0.txt");
  // The text comes back as the opening unpacks it: UTF-16LE, without a byte-order mark.
  EXPECT_EQ(ReadFile(Item(0, TMediaItem::kText)->Path), std::string("H\0e\0l\0l\0o\0", 10));
}

TEST_F(FileRoads, R8OpenMessagesOfOthers) {
  StartEditor();
  struct Case {
    const char* file;
    int dur;
    const char* picture;
    const char* sound;
  };
  const Case cases[] = {
      {"SonyEricssonT310-R201.mms", 2000, "img_0.GIF", "Audio_0.mid"},
      {"openwave.mms", 30000, "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    modals.clear();
    ChooseFile(testsupport::SharedPath(std::string("testdata/mms/") + c.file));
    Chord("Ctrl+Alt+O");
    EXPECT_FALSE(Saw(u"<STR_Main_Error_Open>"));
    ASSERT_EQ(Pages(), 1);
    EXPECT_EQ(main->Mms()->Body->GetFrameDur(0), c.dur);
    EXPECT_EQ(FileName(0, TMediaItem::kImage), c.picture);
    EXPECT_EQ(FileName(0, TMediaItem::kAudio), c.sound);
    EXPECT_EQ(FileName(0, TMediaItem::kText), "txt_0.txt");
    if (std::string(c.file) == "SonyEricssonT310-R201.mms") Shot("e2e-R8-opened.png");
  }
  // A file without a presentation part: the warning, and the message from before stays.
  const TMmsFrame* before = main->Mms()->Body->GetFrame(0);
  modals.clear();
  ChooseFile(testsupport::SharedPath("testdata/mms/SIMPLE.MMS"));
  Chord("Ctrl+Alt+O");
  EXPECT_TRUE(Saw(u"<STR_Main_Error_Open>"));
  ASSERT_EQ(Pages(), 1);
  EXPECT_EQ(main->Mms()->Body->GetFrame(0), before);
  EXPECT_EQ(main->Mms()->Body->GetFrameDur(0), 30000);
}

TEST_F(FileRoads, R8OpenFromTheCommandLine) {
  const std::string copy =
      AppFile("media/t310.mms", ReadFile(testsupport::SharedPath("testdata/mms/SonyEricssonT310-R201.mms")));
  StartEditor({"OPEN", copy});
  ASSERT_EQ(Pages(), 1);
  EXPECT_EQ(main->Mms()->Body->GetFrameDur(0), 2000);
  EXPECT_EQ(FileName(0, TMediaItem::kImage), "img_0.GIF");
  EXPECT_EQ(std::u16string(main->Controls().memo_title->Text().c_str()), e2e::kSettingsTitle);
  EXPECT_FALSE(main->Document().Modified());
}

TEST_F(FileRoads, R9SendDraftsAndTheAnnouncedWindow) {
  testsupport::TempDir store;
  ASSERT_NE(StartPeer(store), nullptr);
  StartEditor();
  PictureAndSound();
  const std::u16string subject = u"Chào bạn, thư ảnh";
  Click(Centre(main->Controls().memo_title));
  Type(subject);
  const std::string copy = app.path() + "/copy.mms";
  SaveAs(copy);
  modals.clear();
  Click(Centre(main->Controls().btnSend));
  EXPECT_TRUE(modals.empty());
  EXPECT_TRUE(QuitRequested());
  const std::string temp = Tmp("Send/TempMMS.mms");
  EXPECT_EQ(ReadFile(temp), ReadFile(copy));
  const std::vector<std::string> journal = editortest::StandInJournal(store.path());
  ASSERT_EQ(journal.size(), 1u);
  EXPECT_NE(journal[0].find("\"mode\": 0"), std::string::npos) << journal[0];
  const std::string record = ReadFile(store.file("1.rec"));
  ASSERT_EQ(record.size(), 528u);
  EXPECT_EQ(std::string(record.c_str()), temp);
  EXPECT_EQ(std::string(record.c_str() + 256), platform::Utf16ToUtf8(subject));
  EXPECT_EQ(record.substr(512, 4), std::string("\0\0\0\0", 4));
  EXPECT_EQ(ReadFile(store.file("1.mms")), ReadFile(temp));

  // Ctrl+S, Alt+N and the File menu's Send entry send; the drafts button, Ctrl+Alt+D and Alt+S
  // keep as a draft. Each ends, after one hand-over.
  struct Way {
    const char* how;
    int mode;
  };
  const Way ways[] = {{"Ctrl+S", 0}, {"Alt+N", 0},      {"menu", 0},
                      {"button", 2}, {"Ctrl+Alt+D", 2}, {"Alt+S", 2}};
  size_t count = 1;
  for (const Way& w : ways) {
    SCOPED_TRACE(w.how);
    main->SetActiveControl(nullptr);
    if (std::string(w.how) == "button") {
      Click(Centre(main->Controls().btnDrafts));
    } else if (std::string(w.how) == "menu") {
      EXPECT_EQ(main->Controls().Menu_Send->ShortCut(), TextToShortCut("Ctrl+S"));
      main->Controls().Menu_Send->Click();
      Pump();
    } else {
      Chord(w.how);
    }
    EXPECT_TRUE(QuitRequested());
    const std::vector<std::string> lines = editortest::StandInJournal(store.path());
    ASSERT_EQ(lines.size(), ++count);
    EXPECT_NE(lines.back().find("\"mode\": " + std::to_string(w.mode)), std::string::npos) << lines.back();
  }

  // A second stand-in that announces itself takes the next hand-over.
  testsupport::TempDir other;
  HWND announced = StartPeer(other, {"--title", "Other", "--announce"}, "Other");
  ASSERT_NE(announced, nullptr);
  for (int i = 0; i < 200 && main->PeerWnd() != announced; ++i) {
    Pump();
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  Click(Centre(main->Controls().btnSend));
  EXPECT_TRUE(QuitRequested());
  EXPECT_EQ(editortest::StandInJournal(other.path()).size(), 1u);
  EXPECT_EQ(editortest::StandInJournal(store.path()).size(), count);

  // Once the main window is freed as after the program's loop, the working folder is emptied
  // but for the hand-over folder.
  delete main;
  main = nullptr;
  EXPECT_TRUE(fs::is_empty(Tmp("Image")));
  EXPECT_TRUE(fs::is_empty(Tmp("Audio")));
  EXPECT_TRUE(fs::exists(temp));
}

TEST_F(FileRoads, R9CloseQuestion) {
  testsupport::TempDir store;
  ASSERT_NE(StartPeer(store), nullptr);
  StartEditor();
  PictureAndSound();
  modals.clear();
  int result = 2;
  answer = [&](const ModalInfo& info) {
    if (info.className == u"TMessageBoxForm") Shot("e2e-R9-close-question.png", info.hwnd);
    return ModalAnswer::Result(result);
  };
  // 2: the editor stays.
  Click(Centre(main->Controls().CloseBtn));
  ASSERT_EQ(modals.size(), 1u);
  EXPECT_EQ(modals[0].className, u"TMessageBoxForm");
  EXPECT_TRUE(Saw(u"<STR_CloseFrm_Title>"));
  EXPECT_FALSE(QuitRequested());
  EXPECT_TRUE(main->Visible());
  // 3: ends without handing over.
  result = 3;
  Chord("Ctrl+Alt+X");
  EXPECT_EQ(modals.size(), 2u);
  EXPECT_TRUE(QuitRequested());
  EXPECT_TRUE(editortest::StandInJournal(store.path()).empty());
  // 1: hands the message over as a draft and ends.
  main->Show();
  Pump();
  result = 1;
  Click(Centre(main->Controls().CloseBtn));
  EXPECT_EQ(modals.size(), 3u);
  EXPECT_TRUE(QuitRequested());
  const std::vector<std::string> journal = editortest::StandInJournal(store.path());
  ASSERT_EQ(journal.size(), 1u);
  EXPECT_NE(journal[0].find("\"mode\": 2"), std::string::npos) << journal[0];
}

TEST_F(FileRoads, R9WithoutAConnectionManagerNothingIsLost) {
  StartEditor();
  PictureAndSound();
  const std::string picture = Item(0, TMediaItem::kImage)->Path;
  const std::string pictureBytes = ReadFile(picture);
  modals.clear();
  Click(Centre(main->Controls().btnSend));
  EXPECT_TRUE(Saw(u"<STR_Main_Error_Send>"));
  EXPECT_FALSE(QuitRequested());
  ASSERT_EQ(Pages(), 1);
  EXPECT_EQ(Item(0, TMediaItem::kImage)->Path, picture);
  EXPECT_EQ(ReadFile(picture), pictureBytes);
  EXPECT_TRUE(fs::exists(Tmp("Audio/tone.wav")));
  EXPECT_TRUE(main->Document().Modified());
}

}  // namespace
