// The text editor window: the counter and the cut at 1000 UTF-16 units (never half a pair), the
// key filter, the files it reads and writes (one FF FE mark, no mark taken into the text, large
// files refused unread), a failed save that keeps the window open and the file as it was, its
// owner-drawn texts, and the main window's text command running it for real.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "controls/TImButton.h"
#include "editor/TEditorBox.h"
#include "editor/TResStringManager.h"
#include "editor/TfrmMain.h"
#include "editor/TfrmTextEditor.h"
#include "mms/TK3VNMms.h"
#include "mms/TMediaItem.h"
#include "mms/TMmsBody.h"
#include "mms/TMmsFrame.h"
#include "platform/backend/HeadlessDriver.h"
#include "platform/forms/TFont.h"
#include "platform/forms/TImage.h"
#include "platform/forms/TLabel.h"
#include "platform/gdi/Gdi.h"
#include "platform/rtl/CodePage.h"
#include "platform/rtl/Program.h"
#include "platform/rtl/SysUtils.h"
#include "tests/editor/CommandFixture.h"

namespace {

using editortest::ReadAll;
using editortest::Utf16Le;
using platform::headless::Driver;
using platform::win::ModalAnswer;
using platform::win::ModalInfo;

std::string Ansi(const std::u16string& text) { return platform::Utf16ToMultiByte(text); }

class TextEditor : public editortest::CommandTest {
 protected:
  void SetUp() override {
    CommandTest::SetUp();
    path = app.path() + "/tmp/TXT/txt0.txt";
  }
  // A window on `path` (the file written first when `bytes` is given), shown without a modal
  // loop so that tests can type into it.
  TfrmTextEditor* Open(const std::string* bytes = nullptr) {
    if (bytes) std::ofstream(path, std::ios::binary | std::ios::trunc) << *bytes;
    editor.reset();
    editor.reset(TfrmTextEditor::New(main, path.c_str(), &main->Document()));
    editor->Show();
    Driver().RunUntilIdle();
    editor->MeContent->SetFocus();
    Driver().RunUntilIdle();
    return editor.get();
  }
  void SetText(const std::u16string& text) { editor->MeContent->SetTextProp(AnsiString(Ansi(text).c_str())); }
  std::u16string Text() { return editor->TextUnits(); }
  std::string Counter() { return editor->lblCount->Caption().c_str(); }
  TColor CounterColour() { return editor->lblCount->Font()->Color(); }
  POINT Centre(TControl* control) {
    return Driver().ClientPoint(static_cast<TWinControl*>(control)->Handle(), control->Width() / 2,
                                control->Height() / 2);
  }
  void TearDown() override {
    editor.reset();
    CommandTest::TearDown();
  }

  std::string path;
  std::unique_ptr<TfrmTextEditor> editor;
};

TEST_F(TextEditor, TheCounterFollowsTheTextAndTheTextIsCutAtTheLimit) {
  Open();
  EXPECT_EQ(Counter(), "(0/1000)");
  EXPECT_EQ(CounterColour(), clBlack);

  // 999 letters, then one typed: the limit, in red.
  SetText(std::u16string(999, u'a'));
  EXPECT_EQ(Counter(), "(999/1000)");
  Driver().Type(u"b");
  Driver().RunUntilIdle();
  EXPECT_EQ(Text().size(), 1000u);
  EXPECT_EQ(Counter(), "(1000/1000)");
  EXPECT_EQ(CounterColour(), TColor(0x0000FF));

  struct Case {
    const char* what;
    std::u16string text;
    std::u16string kept;
  };
  const std::u16string pair = u"\U0001F600";
  const Case cases[] = {
      {"1500 letters pasted", std::u16string(1500, u'x'), std::u16string(1000, u'x')},
      {"a pair at units 1000 and 1001", std::u16string(999, u'y') + pair + u"zz", std::u16string(999, u'y')},
      {"a pair ending at unit 1000", std::u16string(998, u'w') + pair + u"zz",
       std::u16string(998, u'w') + pair},
      {"Khmer past the limit", std::u16string(1200, u'\u1780'), std::u16string(1000, u'\u1780')},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SetText(u"");
    SetText(c.text);
    EXPECT_EQ(Text(), c.kept);
    EXPECT_EQ(editor->MeContent->SelStart(), int(editor->MeContent->Text().Length())) << "caret at the end";
    EXPECT_EQ(Counter(), "(" + std::to_string(c.kept.size()) + "/1000)");
  }
  EXPECT_TRUE(main->Document().Modified());
}

TEST_F(TextEditor, KeysAreFilteredAtTheLimit) {
  Open();
  struct Case {
    int length;
    bool selection;
    char key;
    bool passes;
  };
  const Case cases[] = {
      {999, false, 13, false},   {999, false, 'a', true},  {998, false, 13, true},  {1000, false, 8, true},
      {1000, false, 26, true},   {1000, false, 3, true},   {1000, false, 24, true}, {1000, false, 22, false},
      {1000, false, 'a', false}, {1000, false, 13, false}, {1000, true, 'a', true}, {1000, true, 22, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.length) + (c.selection ? " selected " : " ") + std::to_string(int(c.key)));
    SetText(std::u16string(size_t(c.length), u'q'));
    editor->MeContent->SetSelStart(0);
    editor->MeContent->SetSelLength(c.selection ? 3 : 0);
    char key = c.key;
    editor->TextKeyPress(editor->MeContent, key);
    EXPECT_EQ(key != 0, c.passes);
  }
  // Typed for real: a full memo takes no letter; with a selection the letter replaces it.
  SetText(std::u16string(1000, u'q'));
  editor->MeContent->SetSelLength(0);
  Driver().Type(u"z");
  Driver().RunUntilIdle();
  EXPECT_EQ(Text(), std::u16string(1000, u'q'));
  editor->MeContent->SetSelStart(0);
  editor->MeContent->SetSelLength(2);
  Driver().Type(u"z");
  Driver().RunUntilIdle();
  EXPECT_EQ(Text(), u"z" + std::u16string(998, u'q'));
  // Ctrl+A selects the whole text.
  Driver().Chord("Ctrl+A");
  Driver().RunUntilIdle();
  EXPECT_EQ(editor->MeContent->SelLength(), int(editor->MeContent->Text().Length()));
}

TEST_F(TextEditor, TheFileHoldsOneMarkAndTheTextAndLoadsBackWhole) {
  // "ab" exactly as FF FE 61 00 62 00.
  Open();
  SetText(u"ab");
  editor->btnOKClick(nullptr);
  EXPECT_EQ(ReadAll(path), std::string("\xFF\xFE\x61\x00\x62\x00", 6));
  EXPECT_EQ(editor->ModalResult, mrOk);
  Open();

  // Vietnamese and Khmer typed through the input, saved and read back unchanged.
  const std::u16string mixed =
      u"Xin ch\u00E0o Vi\u1EC7t Nam\r\n\u179F\u17BD\u179F\u17D2\u178F\u17B8 "
      u"\u1780\u1798\u17D2\u1796\u17BB\u1787\u17B6";
  SetText(u"");
  Driver().Type(mixed);
  Driver().RunUntilIdle();
  EXPECT_EQ(Text(), mixed);
  editor->btnOKClick(nullptr);
  EXPECT_EQ(ReadAll(path), Utf16Le(mixed));
  Open();
  EXPECT_EQ(Text(), mixed);
  EXPECT_FALSE(editor->Edited());

  // Two marks and 1000 letters: the marks stay out of the text, all 1000 letters load, one mark
  // is written back.
  const std::string twoMarks = "\xFF\xFE" + Utf16Le(std::u16string(1000, u'k'));
  Open(&twoMarks);
  EXPECT_EQ(Text(), std::u16string(1000, u'k'));
  SetText(std::u16string(999, u'k') + u"m");
  editor->btnOKClick(nullptr);
  EXPECT_EQ(ReadAll(path), Utf16Le(std::u16string(999, u'k') + u"m"));
  Open();
  EXPECT_EQ(Text().size(), 1000u);
}

TEST_F(TextEditor, TooLongOrTooLargeFilesAreRefusedWithTheWarning) {
  struct Case {
    const char* what;
    std::string bytes;
    bool refused;
  };
  const Case cases[] = {
      {"1001 letters and a mark", Utf16Le(std::u16string(1001, u'a')), true},
      {"1001 letters, no mark", Utf16Le(std::u16string(1001, u'a'), false), false},
      {"1000 letters and a mark", Utf16Le(std::u16string(1000, u'a')), false},
      {"1 MiB", std::string(1 << 20, 'a'), true},
      {"just over 64 KiB of marks", std::string(64 * 1024 + 2, '\xFE'), true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Open();
    SetText(u"before");
    std::ofstream(path, std::ios::binary | std::ios::trunc) << c.bytes;
    shown.clear();
    const int result = editor->LoadTextFile(path.c_str());
    EXPECT_EQ(result, c.refused ? TfrmTextEditor::kRefused : 0);
    if (c.refused) {
      ASSERT_EQ(shown.size(), 1u);
      EXPECT_EQ(shown[0].className, u"TMsgBox");
      EXPECT_TRUE(shown[0].Says(u"<STR_Main_Text_Message>"));
      EXPECT_EQ(Text(), u"");
    } else {
      EXPECT_TRUE(shown.empty());
      EXPECT_EQ(Text().size(), 1000u);
    }
  }
}

TEST_F(TextEditor, LoadTextFileAnswersForEachKindOfFile) {
  Open();
  const std::string dotted = app.path() + "/tmp/TXT/a.folder";
  std::filesystem::create_directories(dotted);
  std::ofstream(app.path() + "/tmp/TXT/upper.TXT", std::ios::binary) << Utf16Le(u"x");
  std::ofstream(dotted + "/name", std::ios::binary) << Utf16Le(u"x");
  std::ofstream(app.path() + "/tmp/TXT/empty.txt", std::ios::binary);
  std::ofstream(app.path() + "/tmp/TXT/odd.txt", std::ios::binary) << std::string("\xFF\xFEh\0i\0!", 7);
  struct Case {
    std::string file;
    int result;
    std::u16string text;
  };
  const Case cases[] = {
      {"", TfrmTextEditor::kNoPath, u"keep"},
      {app.path() + "/tmp/TXT/missing.txt", TfrmTextEditor::kNoSuchFile, u"keep"},
      {app.path() + "/tmp/TXT/upper.TXT", TfrmTextEditor::kRefused, u"keep"},
      {dotted + "/name", TfrmTextEditor::kRefused, u"keep"},
      {app.path() + "/tmp/TXT/empty.txt", 0, u"keep"},
      {app.path() + "/tmp/TXT/odd.txt", 0, u"hi"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    SetText(u"keep");
    shown.clear();
    EXPECT_EQ(editor->LoadTextFile(c.file.c_str()), c.result);
    EXPECT_EQ(Text(), c.text);
    EXPECT_TRUE(shown.empty());
  }
  // The extension is the file name's own.
  EXPECT_EQ(TfrmTextEditor::GetFileExt("/a.b/name").ToStd(), "");
  EXPECT_EQ(TfrmTextEditor::GetFileExt("/a.b/name.txt").ToStd(), "txt");
  EXPECT_EQ(TfrmTextEditor::GetFileExt("C:\\x.y\\z").ToStd(), "");
  EXPECT_EQ(TfrmTextEditor::GetFileExt("name.").ToStd(), "");
  // A missing file is made, empty, when the window opens.
  ::unlink(path.c_str());
  Open();
  EXPECT_TRUE(FileExists(path.c_str()));
  EXPECT_EQ(ReadAll(path), "");
}

TEST_F(TextEditor, CancelKeepsTheFileAndAFailedSaveKeepsTheWindowOpen) {
  const std::string before = Utf16Le(u"before");
  std::ofstream(path, std::ios::binary) << before;
  main->Document().SetModified(false);

  // Cancel after editing: the file as it was, the message marked changed.
  auto typeThen = [&](TImButton* TfrmTextEditor::*button) {
    return ModalAnswer::Drive([this, button] {
      Driver().RunUntilIdle();
      Driver().Type(u" more");
      Driver().RunUntilIdle();
      Driver().Click(Centre(editor.get()->*button));
      Driver().RunUntilIdle();
    });
  };
  editor.reset(TfrmTextEditor::New(main, path.c_str(), &main->Document()));
  AnswerModals([&](const ModalInfo&) { return typeThen(&TfrmTextEditor::btnCancle); });
  EXPECT_EQ(editor->ShowModal(), mrCancel);
  EXPECT_EQ(ReadAll(path), before);
  EXPECT_TRUE(main->Document().Modified());

  struct Case {
    const char* what;
    std::function<void()> spoil;
  };
  const Case cases[] = {
      {"the file is a folder now",
       [&] {
         ::unlink(path.c_str());
         std::filesystem::create_directories(path + "/inside");
       }},
      {"the TXT folder is gone", [&] { std::filesystem::remove_all(app.path() + "/tmp/TXT"); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::filesystem::create_directories(app.path() + "/tmp/TXT");
    std::filesystem::remove_all(path);
    std::ofstream(path, std::ios::binary) << before;
    editor.reset();
    editor.reset(TfrmTextEditor::New(main, path.c_str(), &main->Document()));
    shown.clear();
    bool stayed = false;
    AnswerModals([&](const ModalInfo& info) {
      if (info.className != u"TfrmTextEditor") return ModalAnswer::Result(1);
      return ModalAnswer::Drive([&] {
        Driver().RunUntilIdle();
        Driver().Type(u"x");
        c.spoil();
        Driver().Click(Centre(editor->btnOK));
        Driver().RunUntilIdle();
        stayed = editor->ModalResult == mrNone && editor->Visible();
        editor->ModalResult = mrCancel;
      });
    });
    editor->ShowModal();
    EXPECT_TRUE(stayed);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_TRUE(shown[1].Says(u"<STR_TextEdit_SaveError>"));
    if (std::string(c.what) == "the file is a folder now") {
      EXPECT_TRUE(std::filesystem::is_directory(path + "/inside"));
    }
  }
  std::filesystem::create_directories(app.path() + "/tmp/TXT");
}

TEST_F(TextEditor, ButtonTextsSitAtTheirPlacesAndALanguageChangeRereadsTheLabels) {
  Driver().UseFixedMetricFont(8, 12);
  Open();
  EXPECT_EQ(editor->Caption().ToStd(), "TextEditor");
  EXPECT_EQ(editor->Label1->Caption(), u"<STR_TextEdit_Title>");
  EXPECT_EQ(editor->Label2->Caption(), u"<STR_TextEdit_Hint>");
  struct Case {
    TImButton* button;
    int x;
  };
  const Case cases[] = {{editor->btnOK, 18}, {editor->btnCancle, 14}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.button->Name().ToStd());
    ASSERT_TRUE(c.button->Visible());
    const platform::headless::CaptureImage image = Driver().Capture(c.button->Handle());
    int inkLeft = -1, inkRight = -1;
    for (int x = 0; x < image.width; ++x)
      for (int y = 0; y < image.height; ++y)
        if (image.At(x, y) == 0x000000) {
          if (inkLeft < 0) inkLeft = x;
          inkRight = x;
        }
    EXPECT_EQ(inkLeft, c.x);
    // The text runs on to the button's face edge: "<STR_TextEdit_Finish >" is far wider.
    EXPECT_GE(inkRight, image.width - 2);
  }
  AppFile("language_editer/lan_ENG.ini", editortest::KeyLanguageFile("en:"));
  ResStringManager.SelectLanguageFile(1);
  PostMessageA(editor->Handle(), WM_REFRESHCAPTION, 0, 0);
  Driver().RunUntilIdle();
  EXPECT_EQ(editor->Label1->Caption(), u"en:<STR_TextEdit_Title>");
  EXPECT_EQ(editor->Label2->Caption(), u"en:<STR_TextEdit_Hint>");
  Driver().UseFixedMetricFont(0, 0);
}

// The main window's text band, double-clicked: the real window opens on the page's text file,
// "Hello" is typed and OK clicked.
TEST_F(TextEditor, TheTextCommandRunsTheWindowAndKeepsWhatWasTyped) {
  ASSERT_FALSE(main->HasTextEditorRunner());
  main->RefreshFrameList();
  Driver().RunUntilIdle();
  const POINT textBand = Driver().ClientPoint(main->Handle(), main->Controls().imgFrameList->Left() + 50,
                                              main->Controls().imgFrameList->Top() + 28 + 130);
  Driver().Click(textBand);
  Driver().RunUntilIdle();
  ASSERT_EQ(main->Selection(), StripSelection::kText);
  std::u16string caption;
  AnswerModals([&](const ModalInfo& info) {
    caption = info.caption;
    return ModalAnswer::Drive([&, hwnd = info.hwnd] {
      Driver().RunUntilIdle();
      Driver().Type(u"Hello");
      Driver().RunUntilIdle();
      auto* form = dynamic_cast<TfrmTextEditor*>(FindControl(hwnd));
      ASSERT_NE(form, nullptr);
      Driver().Click(Centre(form->btnOK));
      Driver().RunUntilIdle();
    });
  });
  Driver().DoubleClick(textBand);
  Driver().RunUntilIdle();
  EXPECT_EQ(caption, u"TextEditor");
  const TMediaItem* text = main->Mms()->Body->GetFrame(0)->GetItem(TMediaItem::kText);
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(ReadAll(text->Path), std::string("\xFF\xFE\x48\x00\x65\x00\x6C\x00\x6C\x00\x6F\x00", 12));
}

// What a person sees: the window as it opens, with Vietnamese and Khmer typed, at the limit,
// and the save-failure box in Khmer.
class TextEditorLook : public TextEditor {
 protected:
  void SetUp() override {
    TextEditor::SetUp();
    editortest::CopyProductLanguageFiles(app);
    ResStringManager.SelectLanguageFile(1);
    std::filesystem::create_directories(MMS_SCREENSHOT_DIR);
  }
  void Save(const char* name) {
    Driver().RunUntilIdle();
    EXPECT_TRUE(Driver().SavePng(editor->Handle(), std::string(MMS_SCREENSHOT_DIR) + "/" + name));
  }
};

TEST_F(TextEditorLook, TheWindowEmptyWithMixedScriptsAndAtTheLimit) {
  Open();
  editor->setCaption();
  Save("texteditor-empty.png");
  Driver().Type(
      u"Xin ch\u00E0o Vi\u1EC7t Nam!\r\u179F\u17BD\u179F\u17D2\u178F\u17B8 "
      u"\u1780\u1798\u17D2\u1796\u17BB\u1787\u17B6");
  Save("texteditor-mixed.png");
  EXPECT_EQ(Counter(), "(" + std::to_string(Text().size()) + "/1000)");
  SetText(std::u16string(1000, u'm'));
  Save("texteditor-limit.png");
  EXPECT_EQ(CounterColour(), TColor(0x0000FF));
}

TEST_F(TextEditorLook, TheSaveFailureBoxInKhmer) {
  ResStringManager.SelectLanguageFile(2);
  Open();
  SetText(u"\u1780");
  std::filesystem::remove_all(app.path() + "/tmp/TXT");
  bool fits = false;
  AnswerModals([&](const ModalInfo& info) {
    return ModalAnswer::Drive([&, hwnd = info.hwnd] {
      Driver().RunUntilIdle();
      EXPECT_TRUE(Driver().SavePng(hwnd, std::string(MMS_SCREENSHOT_DIR) + "/texteditor-save-error-km.png"));
      auto* box = dynamic_cast<TForm*>(FindControl(hwnd));
      ASSERT_NE(box, nullptr);
      for (int i = 0; i < box->ControlCount(); ++i) {
        auto* label = dynamic_cast<TUcLabel*>(box->Controls(i));
        if (!label || label->Caption() != ResStringManager.GetString("STR_TextEdit_SaveError")) continue;
        // The label shows its whole text: the lines it wraps to fit in the room it has.
        const WideString text = label->Caption();
        SIZE need{0, 0};
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, label->Font()->Handle());
        GetTextExtentPoint32W(dc, text.c_bstr(), text.Length(), &need);
        SelectObject(dc, old);
        DeleteDC(dc);
        const int lines = (need.cx + label->Width() - 1) / label->Width();
        fits = lines * need.cy <= label->Height();
      }
      box->ModalResult = mrOk;
    });
  });
  editor->btnOKClick(nullptr);
  EXPECT_EQ(editor->ModalResult, mrNone);
  EXPECT_TRUE(fits);
  std::filesystem::create_directories(app.path() + "/tmp/TXT");
}

}  // namespace
