// The main window's command table and chrome: every chord of the table with what a person sees,
// Alt+N by the active window, the two new-page commands at the size limit, the buttons every
// paint shows, moving the captionless window, and Delete while typing.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "controls/TImButton.h"
#include "editor/TMmsViewer.h"
#include "editor/TPicResize.h"
#include "mms/TK3VNMms.h"
#include "mms/TMediaItem.h"
#include "mms/TMmsBody.h"
#include "platform/backend/HeadlessDriver.h"
#include "platform/forms/TApplication.h"
#include "platform/forms/TEdit.h"
#include "platform/forms/TLabel.h"
#include "platform/rtl/Utf8.h"
#include "support/SharedData.h"
#include "tests/editor/CommandFixture.h"
#include "tests/editor/PicResizeFixture.h"

namespace {

using editortest::CommandTest;
using editortest::Noise;
using platform::headless::Driver;
using platform::win::ModalAnswer;
using platform::win::ModalInfo;

class CommandTable : public CommandTest {
 protected:
  void SetUp() override {
    CommandTest::SetUp();
    Record();
  }
  // Every modal window is kept whole and cancelled (forms answer 2, boxes Cancel).
  void Record() {
    Driver().OnModal([this](const ModalInfo& info) {
      modals.push_back(info);
      return info.kind == ModalInfo::Kind::Form ? ModalAnswer::Result(2) : ModalAnswer::Cancel();
    });
  }
  // Keys go through the program's own loop, where chords meet the forms' shortcuts.
  void Press(const std::string& chord) {
    Driver().Chord(chord);
    Application->ProcessMessages();
    Driver().RunUntilIdle();
  }
  int PageCount() const { return main->Mms()->Body->GetFrameCount(); }
  POINT Screen(int x, int y) const { return Driver().ClientPoint(main->Handle(), x, y); }
  POINT Centre(TControl* c) const { return Screen(c->Left() + c->Width() / 2, c->Top() + c->Height() / 2); }
  // A one-page message whose encoded size is exactly `target` bytes (a noise picture sized to it).
  void MessageOfSize(int target) {
    const std::string path = app.path() + "/tmp/Image/p.jpg";
    int size = target / 2;
    for (int round = 0; round < 8; ++round) {
      const std::string bytes = Noise(size_t(size));
      Put(0, TMediaItem::kImage, "p.jpg", &bytes);
      const int encoded = EncodedSize();
      if (encoded == target) return;
      size += target - encoded;
    }
    FAIL() << "no picture size gives " << target << " bytes";
  }
  // Whether the modal window carried this text among its labels and buttons.
  static bool Says(const ModalInfo& m, const std::u16string& text) {
    return std::find(m.texts.begin(), m.texts.end(), text) != m.texts.end();
  }
  std::vector<ModalInfo> modals;
};

TEST_F(CommandTable, EveryChordOfTheTableDoesWhatItsCommandShows) {
  AppFile("help/index.html", "<html></html>");
  std::string textEditorPath;
  main->SetTextEditorRunner([&](TfrmMain*, const AnsiString& path) {
    textEditorPath = path.c_str();
    return AnsiString();
  });
  struct Case {
    const char* chord;
    ModalInfo::Kind kind;  // the window it shows, when `shows`
    bool shows;
    const char16_t* says;  // its title, caption or a text of it
    int pagesAdded;
    bool editsText;
  };
  using K = ModalInfo::Kind;
  const Case cases[] = {
      {"Ctrl+Alt+O", K::OpenDialog, true, u"<STR_Main_DialogTitle_MMS>", 0, false},
      {"Ctrl+Alt+A", K::SaveDialog, true, u"mms", 0, false},  // Save As, not the sound editor
      {"Ctrl+F", K::OpenDialog, true, u"<STR_Main_DialogTitle_Audio>", 0, false},
      {"Alt+P", K::Form, true, u"ResizeSet", 0, false},
      {"Ctrl+R", K::Form, true, u"<STR_Mivora_DelHint>", 0, false},
      {"Ctrl+Delete", K::Form, true, u"<STR_Mivora_DelHint>", 0, false},
      {"Delete", K::Form, true, u"<STR_Mivora_DelHint>", 0, false},
      {"Ctrl+T", K::Form, false, nullptr, 0, true},
      {"Ctrl+Alt+T", K::Form, false, nullptr, 0, true},
      {"Ctrl+N", K::Form, false, nullptr, 1, false},
      {"Alt+E", K::Form, false, nullptr, 1, false},
      {"Ctrl+Alt+N", K::Form, false, nullptr, 0, false},
      {"Ctrl+Alt+E", K::Form, false, nullptr, 0, false},
      {"Ctrl+Alt+M", K::Form, false, nullptr, 0, false},
      {"Ctrl+P", K::Form, false, nullptr, 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.chord);
    // Two pages, the second one selected as a whole.
    while (PageCount() < 2) main->NewFrame();
    main->Document().SetCurrentPage(1);
    main->SetSelection(StripSelection::kPage);
    main->Document().SetModified(false);
    modals.clear();
    textEditorPath.clear();
    const int pages = PageCount();
    Press(c.chord);
    if (c.shows) {
      ASSERT_EQ(modals.size(), 1u);
      const ModalInfo& m = modals[0];
      EXPECT_EQ(m.kind, c.kind);
      bool found = m.title == c.says || m.caption == c.says || m.defaultExt == c.says;
      for (const std::u16string& t : m.texts) found = found || t == c.says;
      EXPECT_TRUE(found);
    } else {
      EXPECT_TRUE(modals.empty());
    }
    EXPECT_EQ(PageCount(), pages + c.pagesAdded);
    EXPECT_EQ(!textEditorPath.empty(), c.editsText);
    if (!c.shows && !c.pagesAdded && !c.editsText) {
      EXPECT_FALSE(main->Document().Modified());  // the commands that do nothing
    }
  }
  // F1: one start of the desktop's viewer on the help's first page; nothing shown.
  Press("F1");
  ASSERT_EQ(Driver().ProgramStarts().size(), 1u);
  EXPECT_EQ(Driver().ProgramStarts()[0].argv,
            (std::vector<std::string>{"xdg-open", app.path() + "/help/index.html"}));
  // Ctrl+Alt+V plays the slide show in the preview.
  ASSERT_NE(MmsViewer, nullptr);
  EXPECT_FALSE(MmsViewer->Playing());
  Press("Ctrl+Alt+V");
  EXPECT_TRUE(MmsViewer->Playing());
}

TEST_F(CommandTable, HelpWithoutItsPagesStartsNothingAndSaysNothing) {
  Press("F1");
  EXPECT_TRUE(Driver().ProgramStarts().empty());
  EXPECT_TRUE(modals.empty());
  EXPECT_TRUE(exceptions.empty());
}

TEST_F(CommandTable, AltNSendsFromTheMainWindowAndCancelsTheCompressionDialog) {
  // The main window is active: Alt+N is the send button (no connection manager: its warning).
  Press("Alt+N");
  ASSERT_EQ(modals.size(), 1u);
  EXPECT_TRUE(Says(modals[0], u"<STR_Main_Error_Send>"));
  // The compression dialog is active: Alt+N reaches the main window's list and cancels it.
  const std::string bytes = editortest::ReadFile(testsupport::SharedPath("testdata/pillow/jpeg/hopper.jpg"));
  Put(0, TMediaItem::kImage, "hopper.jpg", &bytes);
  main->Document().SetCurrentPage(0);
  main->SetSelection(StripSelection::kPicture);
  modals.clear();
  Press("Alt+A");
  ASSERT_NE(pPicResize, nullptr);
  ASSERT_TRUE(pPicResize->Visible());
  ASSERT_EQ(GetActiveWindow(), pPicResize->Handle());
  Press("Alt+N");
  EXPECT_FALSE(pPicResize->Visible());
  EXPECT_TRUE(modals.empty());  // nothing was sent
}

TEST_F(CommandTable, AltNDoesNothingUnderTheModalPictureSizeDialog) {
  Driver().OnModal([this](const ModalInfo& info) {
    modals.push_back(info);
    if (info.caption == u"ResizeSet") {
      return ModalAnswer::Drive([] {
        Driver().Chord("Alt+N");
        Driver().RunUntilIdle();
        Driver().Chord("Escape");
      });
    }
    return ModalAnswer::Cancel();
  });
  Press("Alt+P");
  ASSERT_GE(modals.size(), 1u);
  EXPECT_EQ(modals[0].caption, u"ResizeSet");
  EXPECT_EQ(modals.size(), 1u);  // no send warning came up over it
}

TEST_F(CommandTable, NewPageAtTheLimitIsRefusedOrTakenBackByBothCommands) {
  Record();
  // The label already at the limit: "300" and the size hint, no page.
  main->Controls().Label_Size->SetCaption("299");
  Driver().Click(Centre(main->Controls().btnNewFrame));
  Driver().RunUntilIdle();
  EXPECT_EQ(PageCount(), 1);
  EXPECT_EQ(Caption(main->Controls().Label_Size), "300");
  ASSERT_EQ(modals.size(), 1u);
  EXPECT_TRUE(Says(modals[0], u"<SizeHint>"));

  // A few bytes under the limit: the new page itself takes the message over, and both the
  // button and Ctrl+N take it back without a question, the labels as they were.
  MessageOfSize(299 * 1024 - 4);
  for (const char* how : {"button", "Ctrl+N"}) {
    SCOPED_TRACE(how);
    main->GetPduSize();
    ASSERT_EQ(Caption(main->Controls().Label_Size), "298");
    const std::string time = Caption(main->Controls().Label_Time);
    modals.clear();
    if (std::string(how) == "button") {
      Driver().Click(Centre(main->Controls().btnNewFrame));
      Driver().RunUntilIdle();
    } else {
      Press(how);
    }
    EXPECT_EQ(PageCount(), 1);
    EXPECT_EQ(main->Document().CurrentPage(), 0);
    EXPECT_EQ(Caption(main->Controls().Label_Size), "298");
    EXPECT_EQ(Caption(main->Controls().Label_Time), time);
    ASSERT_EQ(modals.size(), 1u);  // the size hint only: no delete question
    EXPECT_TRUE(Says(modals[0], u"<SizeHint>"));
  }
}

TEST_F(CommandTable, CtrlNAtTwentyPagesShowsThePageLimitAndAddsNothing) {
  Pages(20);
  Press("Ctrl+N");
  EXPECT_EQ(PageCount(), 20);
  ASSERT_EQ(modals.size(), 1u);
  EXPECT_EQ(modals[0].className, u"TFrameBox");
}

TEST_F(CommandTable, EveryPaintShowsTheSevenButtonsAndDoesNotRepeat) {
  int paints = 0;
  main->OnPaint = [&](TObject* sender) {
    ++paints;
    main->FormPaint(sender);
  };
  main->Controls().btnSend->SetVisible(false);
  main->Controls().UpBtn->SetVisible(false);
  main->Invalidate();
  Driver().RunUntilIdle();
  // Once every button shows, a paint leaves nothing to paint again.
  paints = 0;
  main->Invalidate();
  Driver().RunUntilIdle();
  Driver().RunUntilIdle();
  EXPECT_EQ(paints, 1);
  std::vector<std::string> shownButtons;
  for (int i = 0; i < main->ComponentCount(); ++i)
    if (auto* b = dynamic_cast<TImButton*>(main->Components(i)); b && b->Visible())
      shownButtons.push_back(b->Name().c_str());
  std::sort(shownButtons.begin(), shownButtons.end());
  EXPECT_EQ(shownButtons, (std::vector<std::string>{"CloseBtn", "DownBtn", "UpBtn", "btnDelFrame",
                                                    "btnDrafts", "btnNewFrame", "btnSend"}));
}

TEST_F(CommandTable, DraggingTheBackgroundOrTheTitleBandMovesTheWindow) {
  struct Case {
    const char* what;
    POINT client;
    int button;
    bool moves;
  };
  const Case cases[] = {
      {"background, left", {40, 320}, 0, true},
      {"title band, left", {440, 27}, 0, true},
      {"title band, right", {440, 27}, 1, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    RECT before;
    GetWindowRect(main->Handle(), &before);
    const POINT p = Screen(c.client.x, c.client.y);
    Driver().Press(c.button, p);
    Driver().MoveMouse({p.x + 40, p.y + 30});
    Driver().Release(c.button, {p.x + 40, p.y + 30});
    Driver().RunUntilIdle();
    RECT after;
    GetWindowRect(main->Handle(), &after);
    EXPECT_EQ(after.left - before.left, c.moves ? 40 : 0);
    EXPECT_EQ(after.top - before.top, c.moves ? 30 : 0);
    // The strip still hears the next click: it selects the first page's picture band.
    main->Document().SetCurrentPage(-1);
    main->SetSelection(StripSelection::kNone);
    const POINT cell =
        Screen(main->Controls().imgFrameList->Left() + 50, main->Controls().imgFrameList->Top() + 28 + 60);
    Driver().Click(cell);
    Driver().RunUntilIdle();
    EXPECT_EQ(main->Document().CurrentPage(), 0);
    EXPECT_EQ(main->Selection(), StripSelection::kPicture);
  }
}

TEST_F(CommandTable, DeleteWhileTypingRemovesACharacterAndAsksNothing) {
  for (TCustomEdit* edit : {static_cast<TCustomEdit*>(main->Controls().memo_title),
                            static_cast<TCustomEdit*>(main->Controls().Edit_Cur)}) {
    SCOPED_TRACE(edit->Name().c_str());
    main->Document().SetCurrentPage(0);
    main->SetSelection(StripSelection::kPage);
    edit->SetEnabled(true);
    edit->SetFocus();
    edit->SetTextProp("12");
    edit->SetSelStart(0);
    Driver().RunUntilIdle();
    Press("Delete");
    EXPECT_EQ(std::string(edit->Text().c_str()), "2");
    EXPECT_TRUE(modals.empty());
  }
  // With the focus away from the edits, Delete asks about the selection again.
  main->SetActiveControl(nullptr);
  main->SetSelection(StripSelection::kPage);
  Driver().RunUntilIdle();
  Press("Delete");
  EXPECT_EQ(modals.size(), 1u);
}

}  // namespace
