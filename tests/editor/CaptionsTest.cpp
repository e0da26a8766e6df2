// The main window's texts: which key every label, caption, menu entry and hint shows, where the
// four owner-drawn button texts stand, a change of language announced by another program (texts
// reloaded, open dialogs told in order), the language menu, and the main window in the three
// product languages (screenshots/editor/main-en.png, main-vi.png, main-km.png).
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "controls/TImButton.h"
#include "editor/TMsgBox.h"
#include "editor/TResStringManager.h"
#include "editor/TfrmMain.h"
#include "platform/backend/HeadlessDriver.h"
#include "platform/forms/FormMessages.h"
#include "platform/forms/TApplication.h"
#include "platform/forms/TBitmap.h"
#include "platform/forms/TCanvas.h"
#include "platform/forms/TLabel.h"
#include "platform/forms/TMenuItem.h"
#include "platform/gdi/Gdi.h"
#include "platform/rtl/Program.h"
#include "platform/rtl/SysUtils.h"
#include "platform/win/Backend.h"
#include "tests/editor/CommandFixture.h"
#include "tests/editor/EditorFixture.h"
#include "unicode/TUcLabel.h"

extern char** environ;

namespace {

using editortest::EditorTest;
using editortest::KeyLanguageFile;
using editortest::SettingsFor;
using platform::headless::Driver;
namespace fs = std::filesystem;

// Language files whose texts say which file they came from: "vi:<key>", "en:<key>", "km:<key>".
class Captions : public EditorTest {
 protected:
  void SetUp() override {
    EditorTest::SetUp();
    AppFile("language_editer/lan_Vietnamese.ini", KeyLanguageFile("vi:"));
    AppFile("language_editer/lan_ENG.ini", KeyLanguageFile("en:"));
    AppFile("language_editer/lan_Khmer.ini", KeyLanguageFile("km:"));
  }
  void TearDown() override {
    Driver().UseFixedMetricFont(0, 0);
    EditorTest::TearDown();
  }
  void Settle(int rounds = 5) {
    for (int i = 0; i < rounds; ++i) {
      platform::win::ServeEndpoint(5);
      Driver().RunUntilIdle();
    }
  }
};

struct TextOf {
  const char* name;
  std::function<AnsiString(TfrmMain*)> text;
  const char* key;
};

// Every text setCaption sets, with the key it comes from.
std::vector<TextOf> AllTexts() {
  auto caption = [](auto member) {
    return [member](TfrmMain* f) { return (f->Controls().*member)->Caption(); };
  };
  auto hint = [](auto member) { return [member](TfrmMain* f) { return (f->Controls().*member)->Hint(); }; };
  return {
      {"Label2", caption(&TfrmMainControls::Label2), "STR_Main_Picture"},
      {"Label3", caption(&TfrmMainControls::Label3), "STR_Main_Text"},
      {"Label4", caption(&TfrmMainControls::Label4), "STR_Main_Video"},
      {"labMMSSize", caption(&TfrmMainControls::labMMSSize), "STR_Main_MMSSize"},
      {"length", caption(&TfrmMainControls::length), "STR_Main_MMSFrameSize"},
      {"subject", caption(&TfrmMainControls::subject), "STR_Main_Subject"},
      {"MMSTitle", caption(&TfrmMainControls::MMSTitle), "STR_Main_Menu_Mivora"},
      {"CurDur", caption(&TfrmMainControls::CurDur), "STR_Main_Cur_Dur"},
      {"lbl2", caption(&TfrmMainControls::lbl2), "STR_Main_Dur_Unit"},
      {"lbl5", caption(&TfrmMainControls::lbl5), "STR_Main_Dur_Unit"},
      {"insert_pop", caption(&TfrmMainControls::insert_pop), "STR_Main_Menu_Insert"},
      {"delete_pop", caption(&TfrmMainControls::delete_pop), "STR_Main_Menu_Edit_Delete"},
      {"Select_pop", caption(&TfrmMainControls::Select_pop), "STR_Main_btnResize"},
      {"resize_pop", caption(&TfrmMainControls::resize_pop), "STR_Main_Menu_resize"},
      {"btnFileMenu", caption(&TfrmMainControls::btnFileMenu), "STR_Main_Menu_File"},
      {"btnEditMenu", caption(&TfrmMainControls::btnEditMenu), "STR_Main_Menu_Edit"},
      {"btnInsertMenu", caption(&TfrmMainControls::btnInsertMenu), "STR_Main_Menu_Insert"},
      {"btnMivora", caption(&TfrmMainControls::btnMivora), "STR_Main_Menu_Mivora"},
      {"btnHelpMenu", caption(&TfrmMainControls::btnHelpMenu), "STR_Main_Menu_Help"},
      {"btnNew", caption(&TfrmMainControls::btnNew), "STR_Main_New"},
      {"btnOpen", caption(&TfrmMainControls::btnOpen), "STR_Main_Open"},
      {"ImageEdit", caption(&TfrmMainControls::ImageEdit), "STR_Main_ImgEdit"},
      {"TextEdit", caption(&TfrmMainControls::TextEdit), "STR_Main_TextEdit"},
      {"BtnAudioEditor", caption(&TfrmMainControls::BtnAudioEditor), "STR_Main_AudioEdit"},
      {"btnSelect", caption(&TfrmMainControls::btnSelect), "STR_Main_btnResize"},
      {"btnResize", caption(&TfrmMainControls::btnResize), "STR_Main_Menu_resize"},
      {"New", caption(&TfrmMainControls::New), "STR_Main_Menu_File_New"},
      {"Open", caption(&TfrmMainControls::Open), "STR_Main_Menu_File_Open"},
      {"Menu_Send", caption(&TfrmMainControls::Menu_Send), "STR_Main_Send "},
      {"SaveAsDraft", caption(&TfrmMainControls::SaveAsDraft), "STR_Main_Menu_File_SavaAsDraft"},
      {"SaveAs", caption(&TfrmMainControls::SaveAs), "STR_Main_Menu_File_SavaAs"},
      {"Exit", caption(&TfrmMainControls::Exit), "STR_Main_Menu_File_Exit"},
      {"Cut", caption(&TfrmMainControls::Cut), "STR_Main_Menu_Edit_Cut"},
      {"copy", caption(&TfrmMainControls::copy), "STR_Main_Menu_Edit_Copy"},
      {"paste", caption(&TfrmMainControls::paste), "STR_Main_Menu_Edit_Paste"},
      {"Delete", caption(&TfrmMainControls::Delete), "STR_Main_Menu_Edit_Delete"},
      {"PictureEdit", caption(&TfrmMainControls::PictureEdit), "STR_Main_Menu_Edit_ImgEdit"},
      {"AudioEdit", caption(&TfrmMainControls::AudioEdit), "STR_Main_Menu_Edit_VideoEdit"},
      {"TextEditor", caption(&TfrmMainControls::TextEditor), "STR_Main_Menu_Edit_TextEdit"},
      {"Language", caption(&TfrmMainControls::Language), "STR_Main_Menu_View_Language"},
      {"MenuItem_CHN", caption(&TfrmMainControls::MenuItem_CHN), "STR_Main_Menu_View_Language_CHN"},
      {"MenuItem_ENG", caption(&TfrmMainControls::MenuItem_ENG), "STR_Main_Menu_View_Language_ENG"},
      {"InsertPicture", caption(&TfrmMainControls::InsertPictureItem), "STR_Main_Menu_Insert_InsertImg"},
      {"InsertAudio", caption(&TfrmMainControls::InsertAudioItem), "STR_Main_Menu_Insert_InsertAudio"},
      {"InsertText", caption(&TfrmMainControls::InsertTextItem), "STR_Main_Menu_Insert_InsertText"},
      {"MenuItem_Preview", caption(&TfrmMainControls::MenuItem_Preview), "STR_Main_Menu_Mivora_Preview"},
      {"Menu_NewFrame", caption(&TfrmMainControls::Menu_NewFrame), "STR_Main_Menu_Mivora_NewPage"},
      {"Menu_DeleteFrame", caption(&TfrmMainControls::Menu_DeleteFrame), "STR_Main_Menu_Mivora_DeletePage"},
      {"AboutMenu", caption(&TfrmMainControls::AboutMenu), "STR_Main_Menu_Help_About"},
      {"HelpMenu", caption(&TfrmMainControls::HelpMenu), "STR_Main_Menu_Help_Help"},
      {"btnCut hint", hint(&TfrmMainControls::btnCut), "STR_Main_btnCut"},
      {"btnCopy hint", hint(&TfrmMainControls::btnCopy), "STR_Main_btnCopy"},
      {"btnPaste hint", hint(&TfrmMainControls::btnPaste), "STR_Main_btnPaste"},
      {"btnHelp hint", hint(&TfrmMainControls::btnHelp), "STR_Main_btnHelp"},
      {"application title", [](TfrmMain*) { return Application->Title(); }, "STR_Main_Menu_Mivora"},
  };
}

// Every text of the main window comes from the file with `prefix`; the title stays "Mivora".
void ExpectTextsFrom(const std::string& prefix) {
  for (const TextOf& t : AllTexts()) {
    EXPECT_EQ(t.text(frmMain).ToStd(), prefix + "<" + t.key + ">") << t.name;
  }
  EXPECT_EQ(frmMain->Caption().ToStd(), "Mivora");
}

// The first column of the button holding a pixel of its (black) text.
int InkLeft(TImButton* button) {
  const platform::headless::CaptureImage image = Driver().Capture(button->Handle());
  for (int x = 0; x < image.width; ++x)
    for (int y = 0; y < image.height; ++y)
      if (image.At(x, y) == 0x000000) return x;
  return -1;
}

// Runs the peer program with `args`, serving this side until it ends: its exit code, or -1.
int RunPeer(std::vector<std::string> args, const std::function<void()>& serve) {
  pid_t pid = 0;
  args.insert(args.begin(), EDITOR_PEER_PATH);
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  if (posix_spawn(&pid, EDITOR_PEER_PATH, nullptr, nullptr, argv.data(), environ) != 0) return -1;
  int status = 0;
  for (int i = 0; i < 400; ++i) {
    serve();
    if (waitpid(pid, &status, WNOHANG) == pid) return WEXITSTATUS(status);
  }
  kill(pid, SIGKILL);
  waitpid(pid, &status, 0);
  return -1;
}

TEST_F(Captions, EveryTextOfTheMainWindowComesFromItsKeyAndTheTitleStays) {
  ASSERT_TRUE(Start());
  ExpectTextsFrom("en:");
  ResStringManager.SelectLanguageFile(2);
  frmMain->setCaption();
  ExpectTextsFrom("km:");
}

TEST_F(Captions, TheFourButtonsDrawTheirTextsAtTheirPlaces) {
  ASSERT_TRUE(Start());
  // Every character an 8 x 12 block of ink: the first inked column is where the text starts.
  Driver().UseFixedMetricFont(8, 12);
  const struct {
    TImButton* TfrmMainControls::*button;
    int x;
  } buttons[] = {{&TfrmMainControls::btnNewFrame, 8},
                 {&TfrmMainControls::btnDelFrame, 10},
                 {&TfrmMainControls::btnSend, 20},
                 {&TfrmMainControls::btnDrafts, 12}};
  for (const auto& b : buttons) {
    TImButton* button = frmMain->Controls().*b.button;
    SCOPED_TRACE(button->Name().ToStd());
    button->Invalidate();
    Driver().RunUntilIdle();
    EXPECT_EQ(InkLeft(button), b.x);
  }
  // The texts are looked up at every paint: a language chosen from the menu shows at once.
  AppFile("language_editer/lan_Vietnamese.ini", KeyLanguageFile("v:"));
  frmMain->Controls().MenuItem_CHN->Click();
  frmMain->Controls().btnSend->Invalidate();
  Driver().RunUntilIdle();
  EXPECT_EQ(InkLeft(frmMain->Controls().btnSend), 20);
  EXPECT_EQ(AnsiString(ResStringManager.GetString("STR_Main_Send ")).ToStd(), "v:<STR_Main_Send >");
}

TEST_F(Captions, TheLanguageMenuSwapsTheTicksAndTheFileButNotTheShownTexts) {
  ASSERT_TRUE(Start());
  ResStringManager.SelectLanguageFile(0);
  frmMain->setCaption();
  frmMain->Controls().MenuItem_ENG->Click();
  EXPECT_TRUE(frmMain->Controls().MenuItem_ENG->Checked());
  EXPECT_FALSE(frmMain->Controls().MenuItem_CHN->Checked());
  // Labels stay Vietnamese; what is looked up on use (the next warning box) is English.
  EXPECT_EQ(frmMain->Controls().subject->TControl::Caption().ToStd(), "vi:<STR_Main_Subject>");
  std::unique_ptr<TMsgBox> box(NewBox<TMsgBox>(frmMain));
  EXPECT_EQ(box->Boxlab->TControl::Caption().ToStd(), "en:<STR_Main_Error_OnePage>");

  frmMain->Controls().MenuItem_CHN->Click();
  EXPECT_TRUE(frmMain->Controls().MenuItem_CHN->Checked());
  EXPECT_FALSE(frmMain->Controls().MenuItem_ENG->Checked());
  EXPECT_EQ(AnsiString(ResStringManager.GetString("STR_Main_Subject")).ToStd(), "vi:<STR_Main_Subject>");
}

// Records the refresh message reaching a window, in the order of all windows.
struct RefreshSpy {
  TForm* form = nullptr;
  std::vector<std::string>* log = nullptr;
  TWndMethodValue saved;
  void Proc(TMessage& m) {
    if (m.Msg == WM_REFRESHCAPTION) log->push_back(form->Caption().ToStd());
    saved(m);
  }
  void Attach(TForm* f, std::vector<std::string>* into) {
    form = f;
    log = into;
    saved = f->WindowProc;
    f->WindowProc = TWndMethodValue::Of<RefreshSpy, &RefreshSpy::Proc>(this);
  }
};

#ifdef EDITOR_PEER_PATH
TEST_F(Captions, AnotherProgramChangesTheLanguageAndEveryOpenDialogIsTold) {
  ASSERT_TRUE(Start());
  ExpectTextsFrom("en:");
  // An open text editor (a stand-in window of that title) and an open message box, which shares
  // its title with the hidden one start-up made.
  std::vector<std::string> log;
  std::vector<std::unique_ptr<RefreshSpy>> spies;
  auto* editor = new TForm(frmMain);
  editor->SetCaption("TextEditor");
  editor->Show();
  TMsgBox* box = NewBox<TMsgBox>(frmMain);
  box->SetMessageKey("STR_Main_Error_Page");
  box->Show();
  auto* frameBoxLike = new TForm(frmMain);
  frameBoxLike->SetCaption("FrameBox");
  frameBoxLike->Show();
  for (TForm* f : {static_cast<TForm*>(frameBoxLike), static_cast<TForm*>(box), editor}) {
    spies.push_back(std::make_unique<RefreshSpy>());
    spies.back()->Attach(f, &log);
  }
  Settle();

  AppFile("App.Config.ini", SettingsFor(u"\\Language\\lan_Khmer.ini"));
  // The peer owns a window titled "MsgBox" too: another program's window is never told.
  const std::string received = app.file("peer-received.txt");
  ASSERT_EQ(RunPeer({"0x778", "MsgBox", received}, [&] { Settle(1); }), 0)
      << "the peer did not find the main window";
  Settle(20);
  ExpectTextsFrom("km:");
  EXPECT_EQ(AnsiString(ResStringManager.GetString("STR_Main_Subject")).ToStd(), "km:<STR_Main_Subject>");
  // Told in the order of the titles; the open box (not the hidden one only) shows its own
  // message in the new language.
  EXPECT_EQ(log, (std::vector<std::string>{"TextEditor", "MsgBox", "FrameBox"}));
  EXPECT_EQ(box->Boxlab->TControl::Caption().ToStd(), "km:<STR_Main_Error_Page>");
  EXPECT_TRUE(fs::exists(received));
  EXPECT_EQ(editortest::ReadAll(received), "");
  for (auto& spy : spies) spy->form->WindowProc = spy->saved;
}
#endif

#ifdef EDITOR_PEER_PATH
// Another program of the user finds the main window by its title and sends its private messages
// with numbers that would be pointers here (the picture insertion reads a file name through
// lParam, the open dialog's path query writes through it): each is refused before it arrives and
// the editor lives on; the language change the main window declares still arrives.
TEST_F(Captions, AnotherProgramsPrivateMessagesAreRefusedButTheLanguageChangeArrives) {
  ASSERT_TRUE(Start());
  ExpectTextsFrom("en:");
  const HWND main = frmMain->Handle();
  const int refused = RunPeer({"--refuse", "0x401", "0x402", "0x857", "0x465", "0xB000"}, [&] { Settle(1); });
  EXPECT_EQ(refused, 0) << "1: no window found, 2: a message was taken";
  ASSERT_TRUE(IsWindow(main));
  EXPECT_EQ(frmMain->Handle(), main);
  EXPECT_TRUE(exceptions.empty());

  AppFile("App.Config.ini", SettingsFor(u"\\Language\\lan_Khmer.ini"));
  ASSERT_EQ(RunPeer({"0x778"}, [&] { Settle(1); }), 0);
  Settle(20);
  ExpectTextsFrom("km:");
}
#endif

TEST_F(Captions, AReloadNamingNoKnownFileKeepsTheCurrentLanguage) {
  ASSERT_TRUE(Start());
  ResStringManager.SelectLanguageFile(2);
  const struct {
    std::u16string value;
    const char* prefix;
  } cases[] = {
      {u"\\Language\\lan_French.ini", "km:"}, {u"\\language\\lan_eng.ini", "km:"},  // compared byte for byte
      {u"\\Language\\lan_VIE.ini", "vi:"},    {u"", "vi:"},
      {u"\\Language\\lan_ENG.ini", "en:"},
  };
  for (const auto& c : cases) {
    AppFile("App.Config.ini", SettingsFor(c.value));
    PostMessageA(frmMain->Handle(), WM_CHANGELANGUAGE, 0, 0);
    Settle();
    ExpectTextsFrom(c.prefix);
  }
}

// The product's own language files: the main window as the user sees it in each language, with
// every visible text inside its control.
TEST_F(Captions, TheMainWindowInTheThreeLanguages) {
  editortest::CopyProductLanguageFiles(app);
  ASSERT_TRUE(Start());
  std::filesystem::create_directories(MMS_SCREENSHOT_DIR);
  const struct {
    int index;
    const char* file;
  } languages[] = {{1, "main-en.png"}, {0, "main-vi.png"}, {2, "main-km.png"}};
  TBitmap sheet;
  sheet.SetSize(8, 8);
  for (const auto& l : languages) {
    SCOPED_TRACE(l.file);
    frmMain->ApplyLanguage(l.index);
    Driver().RunUntilIdle();
    for (int i = 0; i < frmMain->ControlCount(); ++i) {
      // Labels of the form library and of the Unicode layer alike.
      auto* label = dynamic_cast<TCustomLabel*>(frmMain->Controls(i));
      if (!label || !label->Visible()) continue;
      auto* wide = dynamic_cast<TUcCustomLabel*>(label);
      const WideString text = wide ? wide->Caption() : WideString(label->TControl::Caption());
      if (text.IsEmpty()) continue;
      sheet.Canvas()->Font()->Assign(label->Font());
      RECT r{0, 0, 1000, 1000};
      DrawTextW(sheet.Canvas()->Handle(), text.c_bstr(), -1, &r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
      EXPECT_LE(r.right, label->Width()) << label->Name().ToStd();
      EXPECT_LE(r.bottom, label->Height()) << label->Name().ToStd();
    }
    const struct {
      TImButton* button;
      const char* key;
      int x;
    } drawn[] = {{frmMain->Controls().btnNewFrame, "STR_Main_Menu_Mivora_NewPage", 8},
                 {frmMain->Controls().btnDelFrame, "STR_Main_Menu_Edit_Delete", 10},
                 {frmMain->Controls().btnSend, "STR_Main_Send ", 20},
                 {frmMain->Controls().btnDrafts, "STR_Main_SaveAsDraft", 12}};
    for (const auto& d : drawn) {
      sheet.Canvas()->Font()->Assign(d.button->Font());
      const WideString text = ResStringManager.GetString(d.key);
      ASSERT_FALSE(text.IsEmpty()) << d.key;
      RECT r{0, 0, 1000, 1000};
      DrawTextW(sheet.Canvas()->Handle(), text.c_bstr(), -1, &r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
      EXPECT_LE(d.x + r.right, d.button->Width()) << d.key;
    }
    EXPECT_TRUE(Driver().SavePng(frmMain->Handle(), std::string(MMS_SCREENSHOT_DIR) + "/" + l.file));
  }
}

}  // namespace
