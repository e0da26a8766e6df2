// Saving the message to a file: Save As writes exactly the encoder's bytes to the chosen file,
// a cancelled dialog writes nothing, and every failure (a page whose media cannot be read, a
// folder that cannot be written) shows the save warning and leaves an older file as it was.
// Also the hand-over record, written field by field.
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "editor/TMmsSendData.h"
#include "mms/MmsComposer.h"
#include "mms/MmsEncoder.h"
#include "mms/TMediaItem.h"
#include "platform/rtl/Utf8.h"
#include "tests/editor/CommandFixture.h"

namespace {

using editortest::CommandTest;
using editortest::Noise;
using editortest::ReadAll;
using platform::win::ModalAnswer;
using platform::win::ModalInfo;

class SaveAs : public CommandTest {
 protected:
  void SetUp() override {
    CommandTest::SetUp();
    Pages(2);
    const std::string picture = Noise(700, 7);
    Put(0, TMediaItem::kImage, "p.jpg", &picture);
    Put(1, TMediaItem::kAudio, "s.wav", &sound);
    main->Document().SetModified(true);
  }
  // The save dialog answers `file` (cancelled when empty); boxes get OK.
  void SaveTo(const std::string& file) {
    AnswerModals([file](const ModalInfo& info) {
      if (info.kind != ModalInfo::Kind::SaveDialog) return ModalAnswer::Result(1);
      if (file.empty()) return ModalAnswer::Cancel();
      return ModalAnswer::Files({platform::Utf8ToUtf16(file)});
    });
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
  bool SaveWarned() const { return !shown.empty() && shown.back().Says(u"<STR_Main_Error_Save>"); }
  std::string sound = Noise(300, 8);
};

TEST_F(SaveAs, WritesTheEncodersBytesAndKeepsModified) {
  const std::string target = app.path() + "/out.mms";
  SaveTo(target);
  main->actAntherExecute(nullptr);
  const std::string written = ReadAll(target);
  EXPECT_EQ(written, Encoded());
  ASSERT_GT(written.size(), 30u);
  // X-Mms-Message-Type m-send-req, version 1.3, a multipart related body with its SMIL start.
  EXPECT_EQ(written.substr(0, 4), std::string("\x84\x1B\xB3\x89", 4));
  EXPECT_EQ(written.substr(4, 17), std::string("application/smil\0", 17));
  EXPECT_EQ(written.substr(21, 8), std::string("\x8A<AAAA>\0", 8));
  EXPECT_TRUE(main->Document().Modified());
  EXPECT_EQ(main->SavedAs(), 1);
  ASSERT_FALSE(shown.empty());
  EXPECT_EQ(shown[0].kind, ModalInfo::Kind::SaveDialog);
  EXPECT_FALSE(SaveWarned());
}

TEST_F(SaveAs, CancelWritesNothing) {
  SaveTo("");
  main->actAntherExecute(nullptr);
  EXPECT_EQ(main->SavedAs(), 0);
  EXPECT_FALSE(std::filesystem::exists(app.path() + "/out.mms"));
  EXPECT_FALSE(SaveWarned());
}

TEST_F(SaveAs, FailuresWarnAndKeepTheOlderFile) {
  struct Case {
    const char* name;
    bool unreadableMedia;
    bool folderIsFile;
  };
  const Case cases[] = {{"media gone", true, false}, {"folder is a file", false, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string folder = app.path() + "/target-" + c.name;
    std::string target = folder + "/old.mms";
    if (c.folderIsFile) {
      // The chosen file's folder is a regular file: nothing can be written below it, even as root.
      std::ofstream(folder) << "x";
      target = folder + "/new.mms";
    } else {
      std::filesystem::create_directories(folder);
      std::ofstream(target, std::ios::binary) << "older message";
    }
    if (c.unreadableMedia) std::remove((app.path() + "/tmp/Audio/s.wav").c_str());
    shown.clear();
    SaveTo(target);
    main->actAntherExecute(nullptr);
    EXPECT_TRUE(SaveWarned());
    if (!c.folderIsFile) {
      EXPECT_EQ(ReadAll(target), "older message");
    }
    EXPECT_TRUE(main->Document().Modified());
    // SaveMmsFile refuses alike.
    shown.clear();
    EXPECT_EQ(main->SaveMmsFile(target), 0);
    EXPECT_TRUE(SaveWarned());
    if (!c.folderIsFile) {
      EXPECT_EQ(ReadAll(target), "older message");
    }
    if (c.unreadableMedia) Put(1, TMediaItem::kAudio, "s.wav", &sound);
  }
}

TEST_F(SaveAs, SaveMmsFileReplacesAnOlderFileWhole) {
  const std::string target = app.path() + "/m.mms";
  std::ofstream(target, std::ios::binary) << std::string(100000, 'o');
  EXPECT_EQ(main->SaveMmsFile(target), 1);
  EXPECT_EQ(ReadAll(target), Encoded());
  EXPECT_TRUE(shown.empty());
}

TEST(TMmsSendData, RecordFieldsSitAtTheirOffsets) {
  struct Case {
    const char* name;
    std::string subject;
    int32_t mode;
  };
  const std::string vietnamese = "Tin nhắn gửi từ Hà Nội đến Sài Gòn hôm nay";
  const Case cases[] = {
      {"empty subject, send", "", TMmsSendData::kModeSend},
      {"Vietnamese, drafts", vietnamese, TMmsSendData::kModeDrafts},
      {"beyond the BMP", "a\xF0\x9F\x98\x80z", TMmsSendData::kModeSend},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TMmsSendData data;
    data.FileName = "/home/u/app/tmp/Send/TempMMS.mms";
    data.Subject = c.subject;
    data.Mode = c.mode;
    const auto record = data.Bytes();
    ASSERT_EQ(record.size(), 528u);
    const std::string bytes(reinterpret_cast<const char*>(record.data()), record.size());
    EXPECT_EQ(bytes.substr(0, data.FileName.size() + 1), data.FileName + '\0');
    EXPECT_EQ(bytes.substr(data.FileName.size(), 256 - data.FileName.size()),
              std::string(256 - data.FileName.size(), '\0'));
    EXPECT_EQ(bytes.substr(256, c.subject.size()), c.subject);
    EXPECT_EQ(bytes.substr(256 + c.subject.size(), 256 - c.subject.size()),
              std::string(256 - c.subject.size(), '\0'));
    EXPECT_EQ(bytes.substr(512, 4), std::string({char(c.mode), 0, 0, 0}));
    EXPECT_EQ(bytes.substr(516), std::string(12, '\0'));
  }
}

TEST(TMmsSendData, LongSubjectIsCutOnACharacterBoundaryAndLongPathsDoNotFit) {
  std::string subject;
  for (int i = 0; i < 100; ++i) subject += "\xE1\x9E\x80";  // 300 bytes of three-byte letters
  TMmsSendData data;
  data.Subject = subject;
  const auto record = data.Bytes();
  // 85 whole letters (255 bytes), then the terminator.
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(record.data()) + 256, 255), subject.substr(0, 255));
  EXPECT_EQ(record[511], 0);
  EXPECT_EQ(CutUtf8("ab\xF0\x9F\x98\x80", 5), "ab");
  EXPECT_EQ(CutUtf8("ab\xF0\x9F\x98\x80", 6), "ab\xF0\x9F\x98\x80");
  data.FileName = std::string(255, 'p');
  EXPECT_TRUE(data.FileNameFits());
  data.FileName += 'p';
  EXPECT_FALSE(data.FileNameFits());
}

}  // namespace
