// The standard actions: edit actions on the focused edit or memo, window actions over the
// shown forms, dialog actions with their events, the actions whose dialog the platform lacks,
// and standard actions in layouts.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "StdCtrlsTestSupport.h"
#include "platform/forms/ClassRegistry.h"
#include "platform/forms/TClipboard.h"
#include "platform/forms/TCustomActionList.h"
#include "platform/forms/TEditAction.h"
#include "platform/forms/TFileAction.h"
#include "platform/forms/THelpAction.h"
#include "platform/forms/TMemo.h"
#include "platform/forms/TReader.h"
#include "platform/forms/TScreen.h"
#include "platform/forms/TSearchAction.h"
#include "platform/forms/TWindowAction.h"
#include "platform/forms/TWriter.h"

using namespace stdctrlstest;

namespace {

using platform::headless::ModalAnswer;
using platform::headless::ModalInfo;

std::vector<int> Bounds(TControl* c) {
  const RECT r = c->BoundsRect();
  return {int(r.left), int(r.top), int(r.right), int(r.bottom)};
}

class StdActionsTest : public StdCtrlsTest {
 protected:
  void SetUp() override {
    StdCtrlsTest::SetUp();
    Application->OnException = [this](TObject*, Exception* e) { exceptions.push_back(e->Message.ToStd()); };
  }
  template <class C>
  C* FocusedEdit(const char* text, int selStart, int selLength) {
    C* e = Make<C>(10, 10, 240, 80);
    e->SetTextProp(text);
    e->SetFocus();
    Driver().RunUntilIdle();
    e->SetSelStart(selStart);
    e->SetSelLength(selLength);
    return e;
  }
  std::vector<std::string> exceptions;
};

TEST_F(StdActionsTest, EditActionsWorkOnTheFocusedEditAndEnableThemselvesByWhatItCanDo) {
  struct Case {
    const char* name;
    std::function<TEditAction*(TComponent*)> make;
    const char* text;
    int selStart, selLength;
    bool readOnly;
    bool enabled;
    const char* textAfter;  // when enabled and executed
    const char* clipboardAfter;
  };
  const Case cases[] = {
      {"cut", [](TComponent* o) { return new TEditCut(o); }, "hello", 1, 2, false, true, "hlo", "el"},
      {"cut nothing", [](TComponent* o) { return new TEditCut(o); }, "hello", 1, 0, false, false, "", ""},
      {"cut read-only", [](TComponent* o) { return new TEditCut(o); }, "hello", 1, 2, true, false, "", ""},
      {"copy", [](TComponent* o) { return new TEditCopy(o); }, "hello", 0, 4, true, true, "hello", "hell"},
      {"copy nothing", [](TComponent* o) { return new TEditCopy(o); }, "hello", 3, 0, false, false, "", ""},
      {"paste", [](TComponent* o) { return new TEditPaste(o); }, "hello", 5, 0, false, true, "helloclip",
       "clip"},
      {"paste read-only", [](TComponent* o) { return new TEditPaste(o); }, "hello", 5, 0, true, false, "",
       ""},
      {"select all", [](TComponent* o) { return new TEditSelectAll(o); }, "hello", 2, 0, false, true, "hello",
       "clip"},
      {"select all empty", [](TComponent* o) { return new TEditSelectAll(o); }, "", 0, 0, false, false, "",
       ""},
      {"delete", [](TComponent* o) { return new TEditDelete(o); }, "hello", 0, 2, false, true, "llo", "clip"},
      {"delete nothing", [](TComponent* o) { return new TEditDelete(o); }, "hello", 2, 0, false, false, "",
       ""},
      {"undo nothing", [](TComponent* o) { return new TEditUndo(o); }, "hello", 0, 0, false, false, "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Clipboard()->SetAsText("clip");
    auto* edit = FocusedEdit<TEdit>(c.text, c.selStart, c.selLength);
    edit->SetReadOnly(c.readOnly);
    TEditAction* action = c.make(form);
    action->Update();
    EXPECT_EQ(action->Enabled(), c.enabled);
    // Executing updates first; a disabled action leaves the edit alone.
    EXPECT_EQ(action->Execute(), c.enabled);
    if (c.enabled) {
      EXPECT_EQ(edit->Text(), c.textAfter);
      EXPECT_EQ(Clipboard()->AsText(), c.clipboardAfter);
    } else {
      EXPECT_EQ(edit->Text(), c.text);
    }
    if (std::string(c.name) == "select all") {
      EXPECT_EQ(edit->SelStart(), 0);
      EXPECT_EQ(edit->SelLength(), 5);
    }
    delete action;
    delete edit;
  }
  EXPECT_TRUE(exceptions.empty());
}

TEST_F(StdActionsTest, UndoTakesBackTheLastEditOfAMemo) {
  auto* memo = FocusedEdit<TMemo>("one\r\ntwo", 8, 0);
  Type(u"!");
  ASSERT_EQ(memo->Text(), "one\r\ntwo!");
  TEditUndo undo(form);
  EXPECT_TRUE(undo.Execute());
  EXPECT_EQ(memo->Text(), "one\r\ntwo");
}

TEST_F(StdActionsTest, AnEditActionTakesOnlyAFocusedEditAndOnlyItsOwnControlWhenItNamesOne) {
  auto* focused = FocusedEdit<TEdit>("focused", 0, 7);
  auto* other = Make<TEdit>(10, 120, 100, 24);
  other->SetTextProp("other");
  TEditCut cut(form);
  EXPECT_TRUE(cut.HandlesTarget(focused));
  EXPECT_FALSE(cut.HandlesTarget(other));  // not focused
  EXPECT_FALSE(cut.HandlesTarget(form));

  cut.SetControl(other);
  EXPECT_FALSE(cut.HandlesTarget(focused));
  EXPECT_FALSE(cut.Execute());
  EXPECT_EQ(focused->Text(), "focused");
  // The named edit going away leaves the action working on whatever edit has the focus.
  delete other;
  EXPECT_EQ(cut.Control(), nullptr);
  EXPECT_TRUE(cut.Execute());
  EXPECT_EQ(focused->Text(), "");
}

TEST_F(StdActionsTest, WindowActionsArrangeTheShownTopLevelFormsOverTheWorkArea) {
  auto* second = new TForm(Application);
  second->AfterConstruction();
  second->SetBounds(200, 200, 300, 200);
  second->Show();
  auto* hidden = new TForm(Application);
  hidden->AfterConstruction();
  hidden->SetBounds(7, 7, 50, 50);
  Driver().RunUntilIdle();
  const RECT area = Screen->WorkAreaRect();
  const int width = area.right - area.left, height = area.bottom - area.top;

  TWindowTileHorizontal horizontal(form);
  EXPECT_TRUE(horizontal.Execute());
  EXPECT_EQ(Bounds(form), (std::vector<int>{0, 0, width, height / 2}));
  EXPECT_EQ(Bounds(second), (std::vector<int>{0, height / 2, width, height}));
  EXPECT_EQ(Bounds(hidden), (std::vector<int>{7, 7, 57, 57}));

  TWindowTileVertical vertical(form);
  EXPECT_TRUE(vertical.Execute());
  EXPECT_EQ(Bounds(form), (std::vector<int>{0, 0, width / 2, height}));
  EXPECT_EQ(Bounds(second), (std::vector<int>{width / 2, 0, width, height}));

  form->SetBounds(0, 0, 400, 300);
  second->SetBounds(0, 0, 200, 100);
  TWindowCascade cascade(form);
  EXPECT_TRUE(cascade.Execute());
  const int step = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYDLGFRAME);
  EXPECT_EQ(Bounds(form), (std::vector<int>{0, 0, 400, 300}));
  EXPECT_EQ(Bounds(second), (std::vector<int>{step, step, step + 200, step + 100}));

  // Nothing is minimized here, so there is nothing to arrange.
  TWindowArrange arrange(form);
  EXPECT_FALSE(arrange.Execute());
  EXPECT_FALSE(arrange.Enabled());

  TWindowMinimizeAll minimize(form);
  EXPECT_TRUE(minimize.Execute());
  EXPECT_FALSE(IsWindowVisible(form->Handle()));
  EXPECT_FALSE(IsWindowVisible(second->Handle()));
  EXPECT_TRUE(exceptions.empty());
}

TEST_F(StdActionsTest, WindowCloseClosesTheFormItIsOfferedOrOnlyTheOneItNames) {
  auto* second = new TForm(Application);
  second->AfterConstruction();
  second->SetBounds(200, 200, 100, 100);
  second->Show();
  Driver().RunUntilIdle();
  TWindowClose close(form);
  close.SetForm(form);
  EXPECT_FALSE(close.HandlesTarget(second));
  EXPECT_TRUE(close.HandlesTarget(form));
  close.SetForm(nullptr);
  ASSERT_EQ(Screen->ActiveForm(), second);
  EXPECT_TRUE(close.Execute());
  EXPECT_FALSE(second->Visible());
  EXPECT_TRUE(form->Visible());
}

TEST_F(StdActionsTest, AFileActionRunsItsDialogBetweenItsEvents) {
  std::vector<std::string> log;
  TFileOpen open(form);
  open.BeforeExecute = [&](TObject* sender) {
    EXPECT_EQ(sender, &open);
    log.push_back("before");
  };
  open.OnAccept = [&](TObject*) { log.push_back("accept " + open.Dialog()->FileName().ToStd()); };
  open.OnCancel = [&](TObject*) { log.push_back("cancel"); };
  open.Dialog()->SetFilter("Text|*.txt");
  std::vector<ModalInfo> seen;
  Driver().OnModal([&](const ModalInfo& info) {
    seen.push_back(info);
    return log.size() < 2 ? ModalAnswer::Files({u"/d/a.txt"}) : ModalAnswer::Cancel();
  });
  EXPECT_TRUE(open.Execute());
  EXPECT_TRUE(open.ExecuteResult());
  EXPECT_TRUE(open.Execute());
  EXPECT_FALSE(open.ExecuteResult());
  EXPECT_EQ(log, (std::vector<std::string>{"before", "accept /d/a.txt", "before", "cancel"}));
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].kind, ModalInfo::Kind::OpenDialog);
  EXPECT_NE(seen[0].filter.find(u"*.txt"), std::u16string::npos);

  TFileSaveAs save(form);
  Driver().OnModal([&](const ModalInfo& info) {
    seen.push_back(info);
    return ModalAnswer::Files({u"/d/b.txt"});
  });
  EXPECT_TRUE(save.Execute());
  EXPECT_EQ(seen.back().kind, ModalInfo::Kind::SaveDialog);
  EXPECT_EQ(save.Dialog()->FileName(), "/d/b.txt");
  EXPECT_TRUE(exceptions.empty());
}

TEST_F(StdActionsTest, ActionsWithoutADialogOrHelpHereRaiseAndRunNoEvent) {
  struct Case {
    std::function<TCustomAction*(TComponent*)> make;
    const char* message;
  };
  const Case cases[] = {
      {[](TComponent* o) { return new TFontEdit(o); }, "The font dialog is not available"},
      {[](TComponent* o) { return new TColorSelect(o); }, "The colour dialog is not available"},
      {[](TComponent* o) { return new TPrintDlg(o); }, "The print dialog is not available"},
      {[](TComponent* o) { return new TFilePrintSetup(o); }, "The printer set-up dialog is not available"},
      {[](TComponent* o) { return new TSearchFind(o); }, "The find dialog is not available"},
      {[](TComponent* o) { return new TSearchFindFirst(o); }, "The find dialog is not available"},
      {[](TComponent* o) { return new TSearchReplace(o); }, "The replace dialog is not available"},
      {[](TComponent* o) { return new THelpContents(o); }, "Help is not available"},
      {[](TComponent* o) { return new THelpTopicSearch(o); }, "Help is not available"},
      {[](TComponent* o) { return new THelpOnHelp(o); }, "Help is not available"},
      {[](TComponent* o) { return new THelpContextAction(o); }, "Help is not available"},
  };
  auto* edit = FocusedEdit<TEdit>("text", 0, 0);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    std::unique_ptr<TCustomAction> action(c.make(form));
    int events = 0;
    if (auto* dialogAction = dynamic_cast<TCommonDialogAction*>(action.get())) {
      EXPECT_EQ(dialogAction->Dialog(), nullptr);
      dialogAction->BeforeExecute = dialogAction->OnAccept =
          dialogAction->OnCancel = [&](TObject*) { ++events; };
    }
    ASSERT_TRUE(action->HandlesTarget(edit));
    try {
      action->ExecuteTarget(edit);
      ADD_FAILURE() << "no exception";
    } catch (const EInvalidOperation& e) {
      EXPECT_EQ(e.Message, c.message);
    }
    EXPECT_EQ(events, 0);
    // Run as an action, the error reaches the application's handler.
    exceptions.clear();
    action->Execute();
    EXPECT_EQ(exceptions, std::vector<std::string>{c.message});
  }
  // Find next goes on with its find action's search: without a find action it takes no target.
  TSearchFindNext next(form);
  EXPECT_FALSE(next.HandlesTarget(edit));
  {
    TSearchFind find(form);
    next.SetSearchFind(&find);
    EXPECT_TRUE(next.HandlesTarget(edit));
    EXPECT_THROW(next.ExecuteTarget(edit), EInvalidOperation);
  }
  EXPECT_EQ(next.SearchFind(), nullptr);
}

TEST_F(StdActionsTest, SearchActionsAreEnabledOnlyWhileTheFocusedEditHasText) {
  auto* edit = FocusedEdit<TEdit>("", 0, 0);
  TSearchFind find(form);
  TSearchFindNext next(form);
  next.SetSearchFind(&find);
  find.Update();
  next.Update();
  EXPECT_FALSE(find.Enabled());
  EXPECT_FALSE(next.Enabled());
  edit->SetTextProp("x");
  find.Update();
  next.Update();
  EXPECT_TRUE(find.Enabled());
  EXPECT_TRUE(next.Enabled());
}

TEST_F(StdActionsTest, OpenWithAsksForAFileOnlyWhenNoneIsNamedAndReportsOneItCannotOpen) {
  TFileOpenWith openWith(form);
  int afterOpen = 0;
  openWith.AfterOpen = [&](TObject*) { ++afterOpen; };
  int dialogs = 0;
  Driver().OnModal([&](const ModalInfo&) {
    ++dialogs;
    return ModalAnswer::Cancel();
  });
  EXPECT_TRUE(openWith.Execute());
  EXPECT_EQ(dialogs, 1);
  EXPECT_EQ(openWith.FileName(), "");
  EXPECT_EQ(afterOpen, 0);

  openWith.SetFileName("/no/such/folder/x.txt");
  EXPECT_THROW(openWith.ExecuteTarget(nullptr), EInvalidOperation);
  EXPECT_EQ(dialogs, 1);
  EXPECT_EQ(afterOpen, 0);
}

TEST_F(StdActionsTest, FileExitClosesTheMainForm) {
  Application->MainForm = form;
  TFileExit exit(form);
  EXPECT_TRUE(exit.Execute());
  Application->ProcessMessages();
  EXPECT_TRUE(Application->Terminated());
}

class TStdActionsForm : public TForm {
 public:
  explicit TStdActionsForm(TComponent* owner) : TForm(owner) {}
  void OpenAccept(TObject*) { log.push_back("accept"); }
  std::vector<std::string> log;
};

const char* kStdActionsLayout = R"(object StdActionsForm: TStdActionsForm
  object Edit: TEdit
    Left = 8
    Top = 8
    Width = 60
    Height = 20
  end
  object Actions: TActionList
    object Cut: TEditCut
      Caption = 'Cu&t'
      Control = Edit
    end
    object Open: TFileOpen
      Dialog.Filter = 'Text|*.txt'
      OnAccept = OpenAccept
    end
    object OpenWith: TFileOpenWith
      FileName = '/d/a.txt'
    end
    object Find: TSearchFind
    end
    object FindNext: TSearchFindNext
      SearchFind = Find
    end
    object Tile: TWindowTileVertical
      Form = StdActionsForm
    end
  end
end
)";

TEST_F(StdActionsTest, StandardActionsComeFromALayoutWithWhatTheyNameAndAreWrittenBack) {
  static bool registered = false;
  if (!registered) {
    registered = true;
    RegisterProperties<TStdActionsForm>("TStdActionsForm", "TForm")
        .Handler("OpenAccept", &TStdActionsForm::OpenAccept);
  }
  auto* loaded = new TStdActionsForm(Application);
  ReadComponentText(loaded, kStdActionsLayout);
  {
    auto* cut = dynamic_cast<TEditCut*>(loaded->FindComponent("Cut"));
    auto* open = dynamic_cast<TFileOpen*>(loaded->FindComponent("Open"));
    auto* openWith = dynamic_cast<TFileOpenWith*>(loaded->FindComponent("OpenWith"));
    auto* find = dynamic_cast<TSearchFind*>(loaded->FindComponent("Find"));
    auto* next = dynamic_cast<TSearchFindNext*>(loaded->FindComponent("FindNext"));
    auto* tile = dynamic_cast<TWindowTileVertical*>(loaded->FindComponent("Tile"));
    ASSERT_TRUE(cut && open && openWith && find && next && tile);
    EXPECT_EQ(cut->Caption(), "Cu&t");
    EXPECT_EQ(cut->Control(), loaded->FindComponent("Edit"));
    EXPECT_EQ(open->Dialog()->Filter(), "Text|*.txt");
    ASSERT_TRUE(open->OnAccept);
    open->OnAccept(open);
    EXPECT_EQ(loaded->log, std::vector<std::string>{"accept"});
    EXPECT_EQ(openWith->FileName(), "/d/a.txt");
    EXPECT_EQ(next->SearchFind(), find);
    EXPECT_EQ(tile->Form(), loaded);
  }
  // Written back with the names of what they refer to (the form's controls are not written,
  // so the text is checked rather than read again).
  const std::string text = WriteComponentText(loaded);
  for (const char* line :
       {"      Control = Edit\n", "      Dialog.Filter = 'Text|*.txt'\n      OnAccept = OpenAccept\n",
        "      FileName = '/d/a.txt'\n", "      SearchFind = Find\n", "      Form = StdActionsForm\n"})
    EXPECT_NE(text.find(line), std::string::npos) << line << text;
}

}  // namespace
