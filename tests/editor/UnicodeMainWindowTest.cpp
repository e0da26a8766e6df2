// The main window's labels, subject, slide strip and its popup menu, the text editor, the boxes
// and the preview are the Unicode layer's: in Khmer with a Vietnamese subject they show every
// letter whatever the system code page, while the window's 8-bit labels show the code page's form.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "controls/TImButton.h"
#include "editor/TMmsViewer.h"
#include "editor/TMsgBox.h"
#include "editor/TResStringManager.h"
#include "editor/TfrmMain.h"
#include "editor/TfrmTextEditor.h"
#include "mms/TK3VNMms.h"
#include "mms/TMediaItem.h"
#include "platform/backend/HeadlessDriver.h"
#include "platform/controls/Menus.h"
#include "platform/forms/TLabel.h"
#include "platform/rtl/CodePage.h"
#include "platform/rtl/Program.h"
#include "platform/rtl/SysUtils.h"
#include "tests/editor/EditorFixture.h"

namespace {

using platform::headless::Driver;
using platform::headless::ModalAnswer;
using platform::headless::ModalInfo;

// Pictures of the switched windows for a person to look at, beside the layer's own.
std::string UnicodeShot(const std::string& name) {
  const std::string dir = std::string(MMS_SCREENSHOT_DIR) + "/../unicode";
  std::filesystem::create_directories(dir);
  return dir + "/" + name;
}

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// The caption of the visible hint window, empty when none shows.
std::u16string ShownHint() {
  for (HWND hwnd : Driver().Windows()) {
    const platform::headless::WindowDescription d = Driver().Describe(hwnd);
    if (d.visible && d.className.find(u"Hint") != std::u16string::npos) return d.caption;
  }
  return u"";
}

constexpr char16_t kKhmerText[] =
    u"\u179F\u17BD\u179F\u17D2\u178F\u17B8 \u1780\u1798\u17D2\u1796\u17BB\u1787\u17B6";

class UnicodeMainWindow : public editortest::EditorTest, public ::testing::WithParamInterface<UINT> {
 protected:
  void SetUp() override {
    savedPage = GetACP();
    SetSystemCodePage(GetParam());
    EditorTest::SetUp();
    editortest::CopyProductLanguageFiles(app);
  }
  void TearDown() override {
    Driver().OnModal(nullptr);
    EditorTest::TearDown();
    SetSystemCodePage(savedPage);
  }
  std::string Suffix() const { return GetParam() == 1252 ? "-1252.png" : ".png"; }
  POINT StripPoint(int x, int y) const {
    return Driver().ClientPoint(frmMain->Handle(), frmMain->Controls().imgFrameList->Left() + x,
                                frmMain->Controls().imgFrameList->Top() + y);
  }
  UINT savedPage = 0;
};

TEST_P(UnicodeMainWindow, KhmerCaptionsAndAVietnameseSubjectShowEveryLetter) {
  ASSERT_TRUE(Start());
  frmMain->ApplyLanguage(2);  // Khmer
  const WideString subject(u"Ti\u1EBFng Vi\u1EC7t");
  frmMain->Controls().memo_title->SetText(subject);
  Driver().RunUntilIdle();

  const WideString picture = ResStringManager.GetString("STR_Main_Picture");
  ASSERT_GT(picture.Length(), 0);
  ASSERT_GE(picture[1], u'\u1780');  // a Khmer text
  EXPECT_EQ(frmMain->Controls().Label2->Caption(), picture);
  EXPECT_EQ(frmMain->Controls().subject->Caption(), ResStringManager.GetString("STR_Main_Subject"));
  EXPECT_EQ(frmMain->Controls().memo_title->Text(), subject);
  if (GetParam() == 1252) {
    EXPECT_EQ(frmMain->Controls().memo_title->TControl::Text(), AnsiString("Ti?ng Vi?t"));
  }

  // The strip's popup menu carries its Khmer captions into the system menu.
  const WideString insert = ResStringManager.GetString("STR_Main_Menu_Insert");
  char16_t buffer[128] = {};
  GetMenuStringW(frmMain->Controls().UcPopupMenu1->Items()->Handle(),
                 UINT(frmMain->Controls().insert_pop->Command()), buffer, 128, MF_BYCOMMAND);
  EXPECT_EQ(WideString(buffer), insert);

  std::filesystem::create_directories(MMS_SCREENSHOT_DIR);
  const std::string file = GetParam() == 1252 ? "/main-km-uc-1252.png" : "/main-km-uc.png";
  EXPECT_TRUE(Driver().SavePng(frmMain->Handle(), std::string(MMS_SCREENSHOT_DIR) + file));
}

TEST_P(UnicodeMainWindow, TheTextEditorTakesKhmerTypedAndWritesItsExactUnits) {
  ASSERT_TRUE(Start());
  frmMain->ApplyLanguage(2);
  const std::string path = app.path() + "/km.txt";
  std::unique_ptr<TfrmTextEditor> editor(TfrmTextEditor::New(frmMain, path.c_str()));
  editor->Show();
  Driver().RunUntilIdle();
  editor->MeContent->SetFocus();
  Driver().RunUntilIdle();
  EXPECT_EQ(editor->Label1->Caption(), ResStringManager.GetString("STR_TextEdit_Title"));
  EXPECT_EQ(editor->Label2->Caption(), ResStringManager.GetString("STR_TextEdit_Hint"));

  // A pair beside: the code pages hold it as one "?", the memo and the counter as two units.
  const std::u16string typed = std::u16string(kKhmerText) + u" Ti\u1EBFng Vi\u1EC7t \U0001F600";
  Driver().Type(typed);
  Driver().RunUntilIdle();
  EXPECT_EQ(editor->MeContent->Text(), WideString(typed));
  EXPECT_EQ(editor->lblCount->Caption().ToStd(), "(" + std::to_string(typed.size()) + "/1000)");
  EXPECT_TRUE(Driver().SavePng(editor->Handle(), UnicodeShot("texteditor-km" + Suffix())));

  // OK writes the mark and the units as typed, whatever the code page holds.
  editor->btnOKClick(nullptr);
  EXPECT_EQ(ReadBytes(path), editortest::Utf16Le(typed));
  editor.reset();
  editor.reset(TfrmTextEditor::New(frmMain, path.c_str()));
  EXPECT_EQ(editor->MeContent->Text(), WideString(typed));
}

TEST_P(UnicodeMainWindow, ABoxAndThePreviewShowKhmerWhole) {
  ASSERT_TRUE(Start());
  frmMain->ApplyLanguage(2);
  std::unique_ptr<TMsgBox> box(NewBox<TMsgBox>(frmMain));
  box->SetMessageKey("STR_TextEdit_SaveError");
  box->Show();
  Driver().RunUntilIdle();
  const WideString title = ResStringManager.GetString("STR_Main_Error_WarningBox");
  ASSERT_GE(title[1], u'\u1780');
  EXPECT_EQ(box->BoxTitle->Caption(), title);
  EXPECT_EQ(box->Boxlab->Caption(), ResStringManager.GetString("STR_TextEdit_SaveError"));
  EXPECT_TRUE(Driver().SavePng(box->Handle(), UnicodeShot("box-km" + Suffix())));
  box.reset();

  // The preview's memo holds a page's Khmer text whole.
  const std::string text = app.path() + "/tmp/TXT/page.txt";
  std::ofstream(text, std::ios::binary) << editortest::Utf16Le(kKhmerText);
  frmMain->Mms()->SetFrameItemFromFile(0, TMediaItem::kText, text);
  ASSERT_EQ(MmsViewer->ShowFrame(0), 1);
  EXPECT_EQ(MmsViewer->memo->Text(), WideString(kKhmerText));
  EXPECT_TRUE(MmsViewer->memo->Visible());
}

TEST_P(UnicodeMainWindow, TheStripsKhmerHintAndPopupMenu) {
  ASSERT_TRUE(Start());
  frmMain->ApplyLanguage(2);
  Driver().RunUntilIdle();
  // The pointer rests on the picture band: the band's Khmer hint.
  Driver().MoveMouse(StripPoint(50, 88));
  Driver().RunUntilIdle();
  Driver().MoveMouse(StripPoint(51, 88));
  Driver().RunUntilIdle();
  Driver().Advance(600);
  Driver().RunUntilIdle();
  EXPECT_EQ(ShownHint(), ResStringManager.GetString("STR_InsertImg_Hint").ToU16());
  for (HWND hwnd : Driver().Windows()) {
    const platform::headless::WindowDescription d = Driver().Describe(hwnd);
    if (d.visible && d.className.find(u"Hint") != std::u16string::npos) {
      EXPECT_TRUE(Driver().SavePng(hwnd, UnicodeShot("strip-hint-km" + Suffix())));
    }
  }

  // A right click opens the popup with its Khmer items; the window with the menu over it.
  std::vector<std::u16string> items;
  bool saved = false;
  Driver().OnModal([&](const ModalInfo& info) {
    if (info.kind != ModalInfo::Kind::PopupMenu) return ModalAnswer::Result(1);
    items = info.texts;
    platform::headless::CaptureImage image = Driver().Capture(frmMain->Handle());
    if (info.hwnd) {
      const platform::headless::CaptureImage menu = Driver().Capture(info.hwnd);
      const RECT at = Driver().Describe(info.hwnd).rect, base = Driver().Describe(frmMain->Handle()).rect;
      for (int y = 0; y < menu.height; ++y)
        for (int x = 0; x < menu.width; ++x) {
          const int tx = at.left - base.left + x, ty = at.top - base.top + y;
          if (tx >= 0 && ty >= 0 && tx < image.width && ty < image.height)
            image.pixels[size_t(ty * image.width + tx)] = menu.At(x, y);
        }
    }
    saved = platform::headless::WritePng(UnicodeShot("strip-popup-km" + Suffix()), image.width, image.height,
                                         image.pixels.data());
    return ModalAnswer::Cancel();
  });
  Driver().Press(1, StripPoint(50, 100));
  Driver().Release(1, StripPoint(50, 100));
  Driver().RunUntilIdle();
  EXPECT_TRUE(saved);
  const std::u16string insert = ResStringManager.GetString("STR_Main_Menu_Insert").ToU16();
  EXPECT_NE(std::find(items.begin(), items.end(), insert), items.end());
}

INSTANTIATE_TEST_SUITE_P(CodePages, UnicodeMainWindow, ::testing::Values(65001u, 1252u));

}  // namespace
