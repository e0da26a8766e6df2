// The form library's dialogs on the headless backend: the open dialog passes its filter, folder,
// title and options through to the script and returns the scripted file or files, cancel
// leaves it as it was, the save dialog adds the default extension and asks before replacing a
// file, and message dialogs show their captions and return the chosen button.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "platform/backend/HeadlessDriver.h"
#include "platform/controls/Controls.h"
#include "platform/forms/ClassRegistry.h"
#include "platform/forms/MessageDialogs.h"
#include "platform/forms/TApplication.h"
#include "platform/forms/TButton.h"
#include "platform/forms/TOpenDialog.h"
#include "platform/forms/TReader.h"
#include "platform/forms/TSaveDialog.h"
#include "platform/rtl/Exceptions.h"
#include "support/TempDir.h"

namespace {

using platform::headless::Driver;
using platform::headless::ModalAnswer;
using platform::headless::ModalInfo;

class DialogsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::headless::Install();
    platform::controls::Startup();
    FormsStartup();
  }
  void TearDown() override {
    FormsShutdown();
    platform::headless::Uninstall();
  }
  static std::vector<std::string> Names(TStrings* files) {
    std::vector<std::string> names;
    for (int i = 0; i < files->Count(); ++i) names.push_back(files->Strings(i).ToStd());
    return names;
  }
};

TEST_F(DialogsTest, TheOpenDialogPassesItsSettingsAndReturnsTheScriptedFile) {
  TOpenDialog dialog(nullptr);
  dialog.SetFilter("Pictures|*.jpg;*.png|Text|*.txt");
  dialog.SetFilterIndex(2);
  dialog.SetInitialDir("/home/user/Pictures");
  dialog.SetTitle("Add a picture");
  dialog.SetOptions(dialog.Options() | OpenOption(ofFileMustExist) | OpenOption(ofPathMustExist));
  dialog.SetFileName("old.jpg");
  int shown = 0, closed = 0;
  dialog.OnShow = [&](TObject*) { ++shown; };
  dialog.OnClose = [&](TObject*) { ++closed; };
  testsupport::TempDir dir;
  const std::string chosen = dir.path() + "/photo.jpg";
  std::ofstream(chosen) << "x";
  ModalInfo seen;
  Driver().OnModal([&](const ModalInfo& info) {
    seen = info;
    return ModalAnswer::Files({std::u16string(chosen.begin(), chosen.end())});
  });
  ASSERT_TRUE(dialog.Execute());
  EXPECT_EQ(dialog.FileName().ToStd(), chosen);
  EXPECT_EQ(Names(dialog.Files()), std::vector<std::string>{chosen});
  EXPECT_EQ(seen.kind, ModalInfo::Kind::OpenDialog);
  EXPECT_EQ(seen.filter, u"Pictures|*.jpg;*.png|Text|*.txt");
  EXPECT_EQ(seen.initialDir, u"/home/user/Pictures");
  EXPECT_EQ(seen.title, u"Add a picture");
  EXPECT_EQ(seen.caption, u"Add a picture");
  EXPECT_EQ(seen.defaultExt, u"");
  EXPECT_TRUE(seen.flags & OFN_FILEMUSTEXIST);
  EXPECT_TRUE(seen.flags & OFN_PATHMUSTEXIST);
  EXPECT_TRUE(seen.flags & OFN_HIDEREADONLY);
  EXPECT_TRUE(seen.flags & OFN_EXPLORER);
  EXPECT_FALSE(seen.flags & OFN_ALLOWMULTISELECT);
  EXPECT_EQ(dialog.FilterIndex(), 2);
  EXPECT_EQ(shown, 1);
  EXPECT_EQ(closed, 1);

  // A missing file is refused by the dialog (a warning, then the dialog again); cancel then
  // leaves the previous choice alone.
  int dialogs = 0, warnings = 0;
  Driver().OnModal([&](const ModalInfo& info) {
    if (info.kind == ModalInfo::Kind::MessageBox) return ++warnings, ModalAnswer::Result(IDOK);
    return ++dialogs == 1 ? ModalAnswer::Files({u"/no/such/file.jpg"}) : ModalAnswer::Cancel();
  });
  EXPECT_FALSE(dialog.Execute());
  EXPECT_EQ(dialogs, 2);
  EXPECT_EQ(warnings, 1);
  EXPECT_EQ(dialog.FileName().ToStd(), chosen);
  EXPECT_EQ(closed, 2);
}

TEST_F(DialogsTest, SeveralFilesComeBackWithTheirFolder) {
  TOpenDialog dialog(nullptr);
  dialog.SetOptions(dialog.Options() | OpenOption(ofAllowMultiSelect));
  ModalInfo seen;
  Driver().OnModal([&](const ModalInfo& info) {
    seen = info;
    return ModalAnswer::Files({u"/music/a.wav", u"/music/b.mid", u"/music/c.mp3"});
  });
  ASSERT_TRUE(dialog.Execute());
  EXPECT_TRUE(seen.flags & OFN_ALLOWMULTISELECT);
  EXPECT_EQ(Names(dialog.Files()),
            (std::vector<std::string>{"/music/a.wav", "/music/b.mid", "/music/c.mp3"}));
  EXPECT_EQ(dialog.FileName().ToStd(), "/music/a.wav");
  // One file of a multiple selection is its full path.
  Driver().OnModal([](const ModalInfo&) { return ModalAnswer::Files({u"/music/only.wav"}); });
  ASSERT_TRUE(dialog.Execute());
  EXPECT_EQ(Names(dialog.Files()), std::vector<std::string>{"/music/only.wav"});
  // Without multiple selection only the first file counts.
  dialog.SetOptions(dialog.Options() & ~OpenOption(ofAllowMultiSelect));
  Driver().OnModal([](const ModalInfo&) { return ModalAnswer::Files({u"/music/a.wav", u"/music/b.mid"}); });
  ASSERT_TRUE(dialog.Execute());
  EXPECT_EQ(Names(dialog.Files()), std::vector<std::string>{"/music/a.wav"});
  // OnCanClose runs while the dialog is still open; refusing keeps it up: it is asked again.
  int asked = 0;
  std::vector<bool> openWhenAsked;
  dialog.OnCanClose = [&](TObject*, bool& canClose) {
    openWhenAsked.push_back(dialog.Handle() && IsWindow(dialog.Handle()));
    canClose = dialog.FileName() == "/music/b.mid";
  };
  Driver().OnModal([&](const ModalInfo&) {
    return ModalAnswer::Files({++asked == 1 ? u"/music/a.wav" : u"/music/b.mid"});
  });
  ASSERT_TRUE(dialog.Execute());
  EXPECT_EQ(asked, 2);
  EXPECT_EQ(openWhenAsked, std::vector<bool>(2, true));
  EXPECT_EQ(dialog.Handle(), nullptr);
  EXPECT_EQ(dialog.FileName().ToStd(), "/music/b.mid");
  // An exception from OnCanClose leaves the dialog closed and goes to the caller.
  dialog.OnCanClose = [](TObject*, bool&) { throw Exception("refused loudly"); };
  EXPECT_THROW(dialog.Execute(), Exception);
  EXPECT_EQ(dialog.Handle(), nullptr);
}

TEST_F(DialogsTest, TheSaveDialogAddsTheDefaultExtensionAndAsksBeforeReplacing) {
  testsupport::TempDir dir;
  const std::string existing = dir.path() + "/old.mms";
  std::ofstream(existing) << "x";
  TSaveDialog dialog(nullptr);
  dialog.SetDefaultExt("mms");
  dialog.SetFilter("Messages (*.mms)|*.mms");
  dialog.SetOptions(dialog.Options() | OpenOption(ofOverwritePrompt));
  std::vector<ModalInfo> seen;
  std::vector<ModalAnswer> answers{ModalAnswer::Files({std::u16string(existing.begin(), existing.end())}),
                                   ModalAnswer::Result(IDNO), ModalAnswer::Files({u"/tmp/fresh"})};
  size_t next = 0;
  Driver().OnModal([&](const ModalInfo& info) {
    seen.push_back(info);
    return answers.at(next++);
  });
  ASSERT_TRUE(dialog.Execute());
  EXPECT_EQ(dialog.FileName().ToStd(), "/tmp/fresh.mms");
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_EQ(seen[0].kind, ModalInfo::Kind::SaveDialog);
  EXPECT_EQ(seen[0].defaultExt, u"mms");
  EXPECT_TRUE(seen[0].flags & OFN_OVERWRITEPROMPT);
  EXPECT_EQ(seen[1].kind, ModalInfo::Kind::MessageBox);  // "replace it?" answered No
  // Replacing confirmed.
  answers = {ModalAnswer::Files({std::u16string(existing.begin(), existing.end())}),
             ModalAnswer::Result(IDYES)};
  next = 0;
  ASSERT_TRUE(dialog.Execute());
  EXPECT_EQ(dialog.FileName().ToStd(), existing);
  EXPECT_FALSE(dialog.Options() & OpenOption(ofExtensionDifferent));
  // A name with another extension keeps it, and the dialog says the extension differs.
  Driver().OnModal([](const ModalInfo&) { return ModalAnswer::Files({u"/tmp/notes.TXT"}); });
  ASSERT_TRUE(dialog.Execute());
  EXPECT_EQ(dialog.FileName().ToStd(), "/tmp/notes.TXT");
  EXPECT_TRUE(dialog.Options() & OpenOption(ofExtensionDifferent));
}

TEST_F(DialogsTest, DialogsAreReadFromALayout) {
  TForm* form = new TForm(Application);
  ReadComponentText(form, R"(object Host: TForm
  object dlgOpen1: TOpenDialog
    DefaultExt = 'txt'
    Filter = 'Text|*.txt'
    FilterIndex = 1
    Options = [ofHideReadOnly, ofFileMustExist, ofEnableSizing]
    Title = 'Open text'
  end
  object dlgSave: TSaveDialog
    Options = [ofOverwritePrompt, ofHideReadOnly]
  end
end
)");
  auto* open = dynamic_cast<TOpenDialog*>(form->FindComponent("dlgOpen1"));
  auto* save = dynamic_cast<TSaveDialog*>(form->FindComponent("dlgSave"));
  ASSERT_TRUE(open && save);
  EXPECT_EQ(open->Filter().ToStd(), "Text|*.txt");
  EXPECT_EQ(open->DefaultExt().ToStd(), "txt");
  EXPECT_EQ(open->Title().ToStd(), "Open text");
  EXPECT_EQ(open->Options(),
            OpenOption(ofHideReadOnly) | OpenOption(ofFileMustExist) | OpenOption(ofEnableSizing));
  EXPECT_TRUE(save->Options() & OpenOption(ofOverwritePrompt));
}

TEST_F(DialogsTest, MessageDialogsShowTheirCaptionsAndReturnTheChosenButton) {
  struct Case {
    TMsgDlgType type;
    TMsgDlgButtons buttons;
    std::u16string caption;
    std::vector<std::u16string> texts;
    std::string defaultName, cancelName;
  } cases[] = {
      {mtWarning, mbYesNoCancel, u"Warning", {u"Text", u"&Yes", u"&No", u"Cancel"}, "Yes", "Cancel"},
      {mtError, MsgDlgButton(mbOK), u"Error", {u"Text", u"OK"}, "OK", "OK"},
      {mtInformation, mbOKCancel, u"Information", {u"Text", u"OK", u"Cancel"}, "OK", "Cancel"},
      {mtConfirmation, mbYesNo, u"Confirm", {u"Text", u"&Yes", u"&No"}, "Yes", "No"},
      {mtConfirmation,
       mbAbortRetryIgnore,
       u"Confirm",
       {u"Text", u"&Abort", u"&Retry", u"&Ignore"},
       "Retry",
       ""},
      {mtCustom,
       MsgDlgButton(mbAll) | MsgDlgButton(mbNoToAll) | MsgDlgButton(mbYesToAll) | MsgDlgButton(mbHelp),
       u"Editor",
       {u"Text", u"&All", u"N&o to All", u"Yes to &All", u"&Help"},
       "",
       ""},
  };
  Application->SetTitle("Editor");
  for (const Case& c : cases) {
    std::unique_ptr<TMessageForm> form(CreateMessageDialog("Text", c.type, c.buttons));
    EXPECT_EQ(form->Caption().ToStd(), AnsiString(WideString(c.caption)).ToStd());
    EXPECT_EQ(form->DefaultButton() ? form->DefaultButton()->Name().ToStd() : "", c.defaultName);
    EXPECT_EQ(form->CancelButton() ? form->CancelButton()->Name().ToStd() : "", c.cancelName);
    // Buttons side by side below the message, inside the form.
    for (size_t i = 1; i < form->Buttons().size(); ++i)
      EXPECT_GT(form->Buttons()[i]->Left(),
                form->Buttons()[i - 1]->Left() + form->Buttons()[i - 1]->Width() - 1);
    if (!form->Buttons().empty()) {
      EXPECT_LE(form->Buttons().back()->Left() + form->Buttons().back()->Width(), form->ClientWidth());
    }

    ModalInfo seen;
    Driver().OnModal([&](const ModalInfo& info) {
      seen = info;
      return ModalAnswer::Result(mrNo);
    });
    EXPECT_EQ(MessageDlg("Text", c.type, c.buttons, 0), mrNo);
    EXPECT_EQ(seen.kind, ModalInfo::Kind::MessageBox);
    EXPECT_EQ(seen.caption, c.caption);
    EXPECT_EQ(seen.texts, c.texts);
  }
}

TEST_F(DialogsTest, AClickOnAMessageDialogButtonClosesItWithThatButtonsResult) {
  Driver().OnModal([](const ModalInfo& info) {
    return ModalAnswer::Drive([hwnd = info.hwnd] {
      // The second button: "No".
      auto* form = dynamic_cast<TMessageForm*>(FindControl(hwnd));
      ASSERT_NE(form, nullptr);
      TButton* no = form->Buttons().at(1);
      Driver().Click(Driver().ClientPoint(no->Handle(), 5, 5));
    });
  });
  EXPECT_EQ(MessageDlg("Save the changes?", mtConfirmation, mbYesNoCancel, 0), mrNo);
  // ShowMessage: the application's title, one OK button.
  ModalInfo seen;
  Driver().OnModal([&](const ModalInfo& info) {
    seen = info;
    return ModalAnswer::Result(mrOk);
  });
  Application->SetTitle("Slides");
  ShowMessage("Done");
  EXPECT_EQ(seen.caption, u"Slides");
  EXPECT_EQ(seen.texts, (std::vector<std::u16string>{u"Done", u"OK"}));
  EXPECT_EQ(Application->ComponentCount(), 0);  // the dialog is gone
}

}  // namespace
