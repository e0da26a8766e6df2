// The language string manager against the product's three language files and small fixtures
// written in their place beside the test program.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include "editor/TResStringManager.h"
#include "platform/rtl/CodePage.h"
#include "platform/rtl/Program.h"
#include "platform/rtl/SysUtils.h"
#include "support/SharedData.h"

namespace {

std::string LanguageDir() { return std::string(ExtractFileDir(ParamStr(0)).c_str()) + "/language_editer"; }

std::string Utf16Le(const std::u16string& text, bool bom = true) {
  std::string out = bom ? std::string("\xFF\xFE") : std::string();
  for (char16_t u : text) {
    out.push_back(static_cast<char>(u & 0xFF));
    out.push_back(static_cast<char>(u >> 8));
  }
  return out;
}

std::u16string FromUtf16Le(const std::vector<uint8_t>& bytes) {
  std::u16string out;
  for (size_t i = 2; i + 1 < bytes.size(); i += 2) out.push_back(char16_t(bytes[i] | (bytes[i + 1] << 8)));
  return out;
}

// Every key the editor looks up in its language files; a new text is added here and to all three.
const char16_t* const kEditorKeys[] = {
    u"STR_Main_Picture",
    u"STR_Main_Text",
    u"STR_Main_Video",
    u"STR_Main_MMSSize",
    u"STR_Main_MMSFrameSize",
    u"STR_Main_Subject",
    u"STR_Main_Cur_Dur",
    u"STR_Main_Menu_Mivora",
    u"STR_Main_Dur_Unit",
    u"STR_Main_Menu_File",
    u"STR_Main_Menu_Edit",
    u"STR_Main_Menu_Insert",
    u"STR_Main_Menu_Help",
    u"STR_Main_Menu_File_New",
    u"STR_Main_Menu_File_Open",
    u"STR_Main_Menu_File_SavaAsDraft",
    u"STR_Main_Menu_File_SavaAs",
    u"STR_Main_Menu_File_Exit",
    u"STR_Main_Menu_Edit_Cut",
    u"STR_Main_Menu_Edit_Copy",
    u"STR_Main_Menu_Edit_Paste",
    u"STR_Main_Menu_Edit_Delete",
    u"STR_Main_Menu_Edit_ImgEdit",
    u"STR_Main_Menu_Edit_VideoEdit",
    u"STR_Main_Menu_Edit_TextEdit",
    u"STR_Main_Menu_View_Language",
    u"STR_Main_Menu_View_Language_CHN",
    u"STR_Main_Menu_View_Language_ENG",
    u"STR_Main_Menu_Insert_InsertImg",
    u"STR_Main_Menu_Insert_InsertAudio",
    u"STR_Main_Menu_Insert_InsertText",
    u"STR_Main_Menu_Mivora_Preview",
    u"STR_Main_Menu_Mivora_NewPage",
    u"STR_Main_Menu_Mivora_DeletePage",
    u"STR_Main_Menu_Help_About",
    u"STR_Main_Menu_Help_Help",
    u"STR_Main_New",
    u"STR_Main_Open",
    u"STR_Main_ImgEdit",
    u"STR_Main_TextEdit",
    u"STR_Main_AudioEdit",
    u"STR_Main_btnResize",
    u"STR_Main_Menu_resize",
    u"STR_Main_btnCut",
    u"STR_Main_btnCopy",
    u"STR_Main_btnPaste",
    u"STR_Main_btnHelp",
    u"STR_Main_Send ",
    u"STR_Main_SaveAsDraft",
    u"STR_InsertImg_Hint",
    u"STR_InsertText_Hint",
    u"STR_InsertAudio_Hint",
    u"STR_Main_DialogTitle_Pic",
    u"STR_Main_DialogFilter_Pic",
    u"STR_Main_DialogTitle_Audio",
    u"STR_Main_DialogFilter_Audio",
    u"STR_Main_DialogTitle_MMS",
    u"STR_Main_DialogFilter_MMS",
    u"STR_Main_DialogTitle_Txt",
    u"STR_Main_DialogFilter_Txt",
    u"STR_Main_Error_AddImgError1",
    u"STR_Main_Error_AddImgError2",
    u"STR_Main_Text_Error",
    u"STR_Main_Text_Message",
    u"SizeHint",
    u"CreateMMS",
    u"AddSlide",
    u"STR_Main_Untitled",
    u"STR_Main_Error_WarningBox",
    u"STR_Main_Error_OnePage",
    u"STR_Main_Error_Page",
    u"STR_Mivora_DelHint",
    u"STR_Main_Del_Hint",
    u"STR_CloseFrm_Title",
    u"STR_CloseFrm_OK",
    u"STR_CloseFrm_NO ",
    u"STR_TextEdit_Cancle ",
    u"STR_Mivora_YES ",
    u"STR_CloseFrm_Cancel ",
    u"STR_Mivora_YES",
    u"STR_CloseFrm_Cancel",
    u"STR_ResizeFrm_Title",
    u"STR_ResizeFrm_Resolution",
    u"STR_ResizeFrm_Qulity",
    u"STR_ResizeFrm_Error",
    u"STR_ResizeSet_Title",
    u"STR_ResizeSet_Hint",
    u"STR_ResizeSet_Select1",
    u"STR_ResizeSet_Select2",
    u"STR_ResizeSet_Width",
    u"STR_ResizeSet_Height",
    u"STR_MAX_Value",
    u"STR_TextEdit_Title",
    u"STR_TextEdit_Hint",
    u"STR_TextEdit_OpenFile ",
    u"STR_TextEdit_Finish ",
    u"STR_TextEdit_SaveError",
    u"STR_Play",
    u"STR_Stop",
    u"STR_Main_Error_Send",
    u"STR_Main_Error_Save",
    u"STR_Main_Error_Open",
    u"STR_Main_Open_Discard",
    u"STR_Main_Open_LeftOut",
    u"STR_Main_Error_RuntimeFolder",
};

// Keys of section STR_ALL_STR of a UTF-16 language file, as written (trailing blanks kept).
std::set<std::u16string> KeysOf(const std::string& path) {
  std::u16string text = FromUtf16Le(testsupport::ReadFileBytes(path));
  std::set<std::u16string> keys;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find(u"\r\n", pos);
    if (end == std::u16string::npos) end = text.size();
    std::u16string line = text.substr(pos, end - pos);
    size_t eq = line.find(u'=');
    if (!line.empty() && line[0] != u';' && line[0] != u'[' && eq != std::u16string::npos)
      keys.insert(line.substr(0, eq));
    pos = end + 2;
  }
  return keys;
}

// Puts fixture bytes in place of the English file for one test and restores the real file after.
class LanguageFileFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = LanguageDir() + "/lan_ENG.ini";
    original_ = testsupport::ReadFileBytes(path_);
  }
  void TearDown() override {
    std::ofstream(path_, std::ios::binary)
        .write(reinterpret_cast<const char*>(original_.data()),
               static_cast<std::streamsize>(original_.size()));
    SetSystemCodePage(CP_UTF8);
  }
  void Write(const std::string& bytes) { std::ofstream(path_, std::ios::binary) << bytes; }

  std::string path_;
  std::vector<uint8_t> original_;
};

}  // namespace

// Each case runs in a process of its own under CTest, so this one sees the state at start-up.
TEST(TResStringManager, AnswersEmptyBeforeAnyLanguageIsChosen) {
  EXPECT_EQ(ResStringManager.GetString("STR_Play"), WideString());
  EXPECT_EQ(ResStringManager.GetString("STR_Main_Send "), WideString());
}

TEST(TResStringManager, OutOfRangeIndexKeepsTheChosenFile) {
  EXPECT_EQ(ResStringManager.SelectLanguageFile(1), 1);
  EXPECT_EQ(ResStringManager.GetString("STR_Play"), WideString(u"Play"));
  EXPECT_EQ(ResStringManager.SelectLanguageFile(3), 1);
  EXPECT_EQ(ResStringManager.GetString("STR_Play"), WideString(u"Play"));
  EXPECT_EQ(ResStringManager.SelectLanguageFile(-1), 1);
  EXPECT_EQ(ResStringManager.GetString("STR_Play"), WideString(u"Play"));
}

TEST(TResStringManager, ThreeLanguageFilesHoldTheSameKeysAndEveryTextIsThere) {
  const char* files[] = {"lan_Vietnamese.ini", "lan_ENG.ini", "lan_Khmer.ini"};
  const std::set<std::u16string> english(std::begin(kEditorKeys), std::end(kEditorKeys));
  for (int index = 0; index < 3; ++index) {
    SCOPED_TRACE(files[index]);
    EXPECT_EQ(KeysOf(LanguageDir() + "/" + files[index]), english);
    ResStringManager.SelectLanguageFile(index);
    for (const std::u16string& key : english) {
      AnsiString narrowKey = AnsiString(WideString(key));
      EXPECT_FALSE(ResStringManager.GetString(narrowKey).IsEmpty()) << narrowKey.c_str();
    }
  }
}

TEST(TResStringManager, KhmerAndVietnameseTextsComeBackIntact) {
  ResStringManager.SelectLanguageFile(2);
  EXPECT_EQ(ResStringManager.GetString("STR_Play"), WideString(u"ចាក់"));
  ResStringManager.SelectLanguageFile(0);
  EXPECT_EQ(ResStringManager.GetString("STR_Main_Menu_Edit_Delete"), WideString(u"Xóa"));
}

TEST_F(LanguageFileFixture, EmptyValueAbsentKeyAndMissingFileAllGiveEmptyText) {
  Write(Utf16Le(u"[STR_ALL_STR]\r\nSTR_Play=\r\nSTR_Stop=Stop\r\n"));
  ResStringManager.SelectLanguageFile(1);
  EXPECT_EQ(ResStringManager.GetString("STR_Play"), WideString());
  EXPECT_EQ(ResStringManager.GetString("STR_Nothing"), WideString());
  EXPECT_EQ(ResStringManager.GetString("STR_Stop"), WideString(u"Stop"));
  std::filesystem::remove(path_);
  EXPECT_EQ(ResStringManager.GetString("STR_Stop"), WideString());
}

TEST_F(LanguageFileFixture, KeyWithTrailingBlankIsFoundWhetherOrNotTheFileKeepsTheBlank) {
  ResStringManager.SelectLanguageFile(1);
  Write(Utf16Le(u"[STR_ALL_STR]\r\nSTR_Main_Send =Send\r\n"));
  EXPECT_EQ(ResStringManager.GetString("STR_Main_Send "), WideString(u"Send"));
  Write(Utf16Le(u"[STR_ALL_STR]\r\nSTR_Main_Send=Send\r\n"));
  EXPECT_EQ(ResStringManager.GetString("STR_Main_Send "), WideString(u"Send"));
}

TEST_F(LanguageFileFixture, ReadsTheFileAnewAtEveryLookup) {
  ResStringManager.SelectLanguageFile(1);
  Write(Utf16Le(u"[STR_ALL_STR]\r\nSTR_Play=One\r\n"));
  EXPECT_EQ(ResStringManager.GetString("STR_Play"), WideString(u"One"));
  Write(Utf16Le(u"[STR_ALL_STR]\r\nSTR_Play=Two\r\n"));
  EXPECT_EQ(ResStringManager.GetString("STR_Play"), WideString(u"Two"));
}

TEST_F(LanguageFileFixture, EightBitFileIsReadInTheSystemCodePage) {
  SetSystemCodePage(1252);
  ResStringManager.SelectLanguageFile(1);
  Write("[STR_ALL_STR]\r\nSTR_Play=Caf\xE9\r\n");
  EXPECT_EQ(ResStringManager.GetString("STR_Play"), WideString(u"Café"));
}

TEST_F(LanguageFileFixture, LongTextIsCutTo1023Units) {
  ResStringManager.SelectLanguageFile(1);
  std::u16string value(1500, u'ក');
  Write(Utf16Le(u"[STR_ALL_STR]\r\nSTR_Play=" + value + u"\r\n"));
  EXPECT_EQ(ResStringManager.GetString("STR_Play"), WideString(value.substr(0, 1023)));
}
