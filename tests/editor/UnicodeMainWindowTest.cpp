// The main window's labels, subject, slide strip and its popup menu are the Unicode layer's: in
// Khmer with a Vietnamese subject they show every letter whatever the system code page, while
// the window's 8-bit labels show the code page's form.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "editor/TResStringManager.h"
#include "editor/TfrmMain.h"
#include "platform/backend/HeadlessDriver.h"
#include "platform/controls/Menus.h"
#include "platform/rtl/CodePage.h"
#include "platform/rtl/Program.h"
#include "platform/rtl/SysUtils.h"
#include "tests/editor/EditorFixture.h"

namespace {

using platform::headless::Driver;

class UnicodeMainWindow : public editortest::EditorTest, public ::testing::WithParamInterface<UINT> {
 protected:
  void SetUp() override {
    savedPage = GetACP();
    SetSystemCodePage(GetParam());
    EditorTest::SetUp();
    const std::string beside = std::string(ExtractFileDir(ParamStr(0)).c_str()) + "/language_editer/";
    for (const char* file : {"lan_Vietnamese.ini", "lan_ENG.ini", "lan_Khmer.ini"})
      std::filesystem::copy_file(beside + file, app.file(std::string("language_editer/") + file),
                                 std::filesystem::copy_options::overwrite_existing);
  }
  void TearDown() override {
    EditorTest::TearDown();
    SetSystemCodePage(savedPage);
  }
  UINT savedPage = 0;
};

TEST_P(UnicodeMainWindow, KhmerCaptionsAndAVietnameseSubjectShowEveryLetter) {
  ASSERT_TRUE(Start());
  frmMain->ApplyLanguage(2);  // Khmer
  const WideString subject(u"Ti\u1EBFng Vi\u1EC7t");
  frmMain->memo_title->SetText(subject);
  Driver().RunUntilIdle();

  const WideString picture = ResStringManager.GetString("STR_Main_Picture");
  ASSERT_GT(picture.Length(), 0);
  ASSERT_GE(picture[1], u'\u1780');  // a Khmer text
  EXPECT_EQ(frmMain->Label2->Caption(), picture);
  EXPECT_EQ(frmMain->subject->Caption(), ResStringManager.GetString("STR_Main_Subject"));
  EXPECT_EQ(frmMain->memo_title->Text(), subject);
  if (GetParam() == 1252) {
    EXPECT_EQ(frmMain->memo_title->TControl::Text(), AnsiString("Ti?ng Vi?t"));
  }

  // The strip's popup menu carries its Khmer captions into the system menu.
  const WideString insert = ResStringManager.GetString("STR_Main_Menu_Insert");
  char16_t buffer[128] = {};
  GetMenuStringW(frmMain->UcPopupMenu1->Items()->Handle(), UINT(frmMain->insert_pop->Command()), buffer, 128,
                 MF_BYCOMMAND);
  EXPECT_EQ(WideString(buffer), insert);

  std::filesystem::create_directories(MMS_SCREENSHOT_DIR);
  const std::string file = GetParam() == 1252 ? "/main-km-uc-1252.png" : "/main-km-uc.png";
  EXPECT_TRUE(Driver().SavePng(frmMain->Handle(), std::string(MMS_SCREENSHOT_DIR) + file));
}

INSTANTIATE_TEST_SUITE_P(CodePages, UnicodeMainWindow, ::testing::Values(65001u, 1252u));

}  // namespace
