// The roads in Khmer and Vietnamese, under UTF-8 and under a code page that holds neither: the
// strip's popup inserts a picture through its Khmer item, a Khmer text typed into the text editor
// is written as its exact UTF-16 units, a Khmer subject pasted from another program lands in the
// subject only, and a Vietnamese subject reaches the connection manager as its exact UTF-8.
#include <signal.h>
#include <sys/wait.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "controls/TImButton.h"
#include "editor/TResStringManager.h"
#include "mms/TK3VNMms.h"
#include "mms/TMediaItem.h"
#include "mms/TMmsBody.h"
#include "mms/TMmsFrame.h"
#include "platform/rtl/CodePage.h"
#include "platform/rtl/Program.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/Utf8.h"
#include "support/TempDir.h"
#include "tests/e2e/RoadFixture.h"
#include "tests/editor/StandInProcess.h"
#include "unicode/TUcEdit.h"
#include "unicode/TUcImage.h"

namespace {

namespace fs = std::filesystem;
using e2e::ModalAnswer;
using e2e::ModalInfo;
using e2e::ReadFile;
using platform::headless::Driver;

constexpr char16_t kKhmerSentence[] =
    u"\u179F\u17BD\u179F\u17D2\u178F\u17B8 \u1780\u1798\u17D2\u1796\u17BB\u1787\u17B6\u17D4";

class UnicodeRoads : public e2e::Road, public ::testing::WithParamInterface<UINT> {
 protected:
  void SetUp() override {
    savedPage = GetACP();
    SetSystemCodePage(GetParam());
    e2e::Road::SetUp();
    // The product's own language files: the roads choose Khmer as a person does.
    const std::string beside = std::string(ExtractFileDir(ParamStr(0)).c_str()) + "/language_editer/";
    for (const char* file : {"lan_Vietnamese.ini", "lan_ENG.ini", "lan_Khmer.ini"})
      fs::copy_file(beside + file, app.file(std::string("language_editer/") + file),
                    fs::copy_options::overwrite_existing);
  }
  void TearDown() override {
    for (pid_t pid : peers) {
      kill(pid, SIGKILL);
      waitpid(pid, nullptr, 0);
    }
    e2e::Road::TearDown();
    SetSystemCodePage(savedPage);
  }
  // The settings name the Khmer language file.
  void StartInKhmer() {
    AppFile("App.Config.ini",
            editortest::Utf16Le(u"[APP_SECTION]\r\nAPP_STRING_FILE=\\Language\\lan_Khmer.ini\r\n"
                                u"[MMS_TITLE_SECTION]\r\nMMS_TITLE=" +
                                std::u16string(e2e::kSettingsTitle) + u"\r\n"));
    StartEditor();
    ASSERT_GE(ResStringManager.GetString("STR_Main_Menu_Insert")[1], u'\u1780');
  }
  const TMediaItem* Item(int page, int type) const {
    return main->Mms()->Body->GetFrame(page)->GetItem(type);
  }
  std::string ShotName(const std::string& name) const {
    return name + (GetParam() == 1252 ? "-1252.png" : ".png");
  }

  UINT savedPage = 0;
  std::vector<pid_t> peers;
};

// R1 by the popup: a right click on the picture band, its Khmer "insert" item, a picture chosen.
TEST_P(UnicodeRoads, R1ThePopupsKhmerInsertItemPutsThePictureOnThePage) {
  StartInKhmer();
  const std::string photo = Shared("pillow/jpeg/hopper.jpg", "photo.jpg");
  const std::u16string insert = ResStringManager.GetString("STR_Main_Menu_Insert").ToU16();
  modals.clear();
  answer = [&](const ModalInfo& info) {
    if (info.kind == ModalInfo::Kind::PopupMenu) return ModalAnswer::MenuItem(insert);
    if (info.kind == ModalInfo::Kind::OpenDialog) return ModalAnswer::Files({platform::Utf8ToUtf16(photo)});
    return ModalAnswer::Result(1);
  };
  Driver().Press(1, StripPoint(50, 100));
  Driver().Release(1, StripPoint(50, 100));
  Pump();
  ASSERT_EQ(modals.size(), 2u);
  EXPECT_EQ(modals[0].kind, ModalInfo::Kind::PopupMenu);
  EXPECT_NE(std::find(modals[0].texts.begin(), modals[0].texts.end(), insert), modals[0].texts.end());
  EXPECT_EQ(modals[1].kind, ModalInfo::Kind::OpenDialog);
  const TMediaItem* picture = Item(0, TMediaItem::kImage);
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(picture->Path, Tmp("Image/photo.jpg"));
  EXPECT_EQ(ReadFile(picture->Path), ReadFile(photo));
  Shot(ShotName("e2e-R1-popup-km"));
}

// R2: "Hello" and a Khmer sentence typed into the text editor; the file is the mark and the
// typed units, nothing added after them.
TEST_P(UnicodeRoads, R2AKhmerTextIsWrittenAsItsExactUnits) {
  StartInKhmer();
  const std::u16string typed = u"Hello " + std::u16string(kKhmerSentence);
  modals.clear();
  WriteText(typed);
  DoubleClick(StripPoint(50, 155));
  ASSERT_EQ(modals.size(), 1u);
  EXPECT_EQ(modals[0].caption, u"TextEditor");
  const TMediaItem* text = Item(0, TMediaItem::kText);
  ASSERT_NE(text, nullptr);
  const std::string bytes = ReadFile(text->Path);
  EXPECT_EQ(bytes, editortest::Utf16Le(typed));
  ASSERT_GE(bytes.size(), 4u);
  EXPECT_NE(bytes.substr(bytes.size() - 4), std::string("\r\0\n\0", 4));
}

// R6's subject paste: with the subject focused, Ctrl+V puts another program's Khmer text into the
// subject and nothing onto the page selected in the strip.
TEST_P(UnicodeRoads, R6AKhmerSubjectIsPastedIntoTheSubjectOnly) {
  StartInKhmer();
  Driver().Advance(1000);
  Click(StripPoint(70, 155));  // the strip's text band selected
  const std::u16string khmer = u"\u1780\u1798\u17D2\u1796\u17BB\u1787\u17B6";
  std::vector<uint8_t> units;
  for (char16_t c : khmer + u'\0') {
    units.push_back(uint8_t(c & 0xFF));
    units.push_back(uint8_t(c >> 8));
  }
  Driver().ClipboardPut(CF_UNICODETEXT, units);
  Click(Centre(main->Controls().memo_title));
  Chord("Ctrl+V");
  EXPECT_EQ(main->Controls().memo_title->Text(), WideString(khmer));
  EXPECT_EQ(Pages(), 1);
  EXPECT_EQ(Item(0, TMediaItem::kText), nullptr);
  EXPECT_FALSE(fs::exists(Tmp("TXT")) && !fs::is_empty(Tmp("TXT")));
}

// R9: a Vietnamese subject typed, Send: the hand-over record holds its exact UTF-8.
TEST_P(UnicodeRoads, R9AVietnameseSubjectIsHandedOverAsItsExactUtf8) {
  testsupport::TempDir store;
  pid_t pid = -1;
  ASSERT_NE(editortest::StartStandIn(store.path(), {}, &pid, "MMS_manageRas"), nullptr);
  peers.push_back(pid);
  StartEditor();
  WriteText(u"Hello");
  DoubleClick(StripPoint(50, 155));
  answer = nullptr;
  const std::u16string subject = u"Ch\u00E0o b\u1EA1n, th\u01B0 \u1EA3nh";
  Click(Centre(main->Controls().memo_title));
  Chord("Ctrl+A");
  Chord("Delete");
  Type(subject);
  EXPECT_EQ(main->Controls().memo_title->Text(), WideString(subject));
  modals.clear();
  Click(Centre(main->Controls().btnSend));
  EXPECT_TRUE(modals.empty());
  EXPECT_TRUE(QuitRequested());
  const std::string record = ReadFile(store.file("1.rec"));
  ASSERT_EQ(record.size(), 528u);
  EXPECT_EQ(std::string(record.c_str() + 256), platform::Utf16ToUtf8(subject));
}

INSTANTIATE_TEST_SUITE_P(CodePages, UnicodeRoads, ::testing::Values(65001u, 1252u));

}  // namespace
