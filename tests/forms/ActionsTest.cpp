// Shortcut values and their text, actions and action lists, and the links that make controls
// follow their action: propagation before the action stores a value, clicks executing the
// action, the order in which an execution is offered around, and action lists in layouts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/backend/HeadlessDriver.h"
#include "platform/forms/ClassRegistry.h"
#include "platform/forms/TApplication.h"
#include "platform/forms/TControlActionLink.h"
#include "platform/forms/TCustomAction.h"
#include "platform/forms/TCustomActionList.h"
#include "platform/forms/TGraphicControl.h"
#include "platform/forms/THintAction.h"
#include "platform/forms/TReader.h"
#include "platform/forms/TWriter.h"

namespace {

using platform::headless::Driver;

TEST(ShortCutText, NamesAndParsesChords) {
  struct Case {
    TShortCut shortCut;
    const char* text;
  };
  const Case cases[] = {
      {0x804F, "Alt+O"},
      {0x4000 | 'S', "Ctrl+S"},
      {0x6000 | 'S', "Shift+Ctrl+S"},
      {0xE000 | 'Z', "Shift+Ctrl+Alt+Z"},
      {89, "Y"},
      {'7', "7"},
      {VK_BACK, "Backspace"},
      {VK_TAB, "Tab"},
      {VK_RETURN, "Enter"},
      {VK_ESCAPE, "Esc"},
      {VK_SPACE, "Space"},
      {VK_PRIOR, "PgUp"},
      {VK_NEXT, "PgDn"},
      {VK_END, "End"},
      {VK_HOME, "Home"},
      {VK_LEFT, "Left"},
      {VK_UP, "Up"},
      {VK_RIGHT, "Right"},
      {VK_DOWN, "Down"},
      {VK_INSERT, "Ins"},
      {scCtrl | VK_DELETE, "Ctrl+Del"},
      {VK_F1, "F1"},
      {scShift | (VK_F1 + 23), "Shift+F24"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ShortCutToText(c.shortCut), c.text) << c.text;
    EXPECT_EQ(TextToShortCut(c.text), c.shortCut) << c.text;
  }
  // Keys without a name have no text; the keypad's digits read as digits, and the text gives
  // back the main digit key.
  EXPECT_EQ(ShortCutToText(scCtrl | VK_MULTIPLY), "");
  EXPECT_EQ(ShortCutToText(0), "");
  EXPECT_EQ(ShortCutToText(VK_NUMPAD0 + 5), "5");
  EXPECT_EQ(TextToShortCut("5"), '5');
  // Modifiers in any order and letter case, "^" for Ctrl; nothing after them is no chord.
  EXPECT_EQ(TextToShortCut("ctrl+shift+s"), scShift | scCtrl | 'S');
  EXPECT_EQ(TextToShortCut("Alt+Ctrl+del"), scAlt | scCtrl | VK_DELETE);
  EXPECT_EQ(TextToShortCut("^C"), scCtrl | 'C');
  EXPECT_EQ(TextToShortCut("Ctrl+"), 0);
  EXPECT_EQ(TextToShortCut(""), 0);
  EXPECT_EQ(TextToShortCut("Ctrl+Banana"), 0);

  WORD key = 0;
  TShiftState shift = 0;
  ShortCutToKey(0xE041, key, shift);
  EXPECT_EQ(key, 'A');
  EXPECT_EQ(shift, TShiftState(ssShift | ssCtrl | ssAlt));
  EXPECT_EQ(ShortCut('A', ssAlt | ssShift), scAlt | scShift | 'A');
  EXPECT_EQ(ShortCut(0x141, 0), 0);  // not a key of one byte
}

// A windowless control that also shows "checked", through a link class of its own.
class TToggle;
class TToggleActionLink : public TControlActionLink {
 public:
  using inherited = TControlActionLink;
  explicit TToggleActionLink(TObject* client);
  bool IsCheckedLinked() override;
  void SetChecked(bool value) override;
};

class TToggle : public TGraphicControl {
 public:
  explicit TToggle(TComponent* owner) : TGraphicControl(owner) {}
  bool Checked = false;
  void ClickNow() { Click(); }

 protected:
  TActionLinkClass GetActionLinkClass() const override { return ActionLinkClassOf<TToggleActionLink>(); }
  void ActionChange(TObject* sender, bool checkDefaults) override {
    TGraphicControl::ActionChange(sender, checkDefaults);
    if (auto* a = dynamic_cast<TCustomAction*>(sender); a && (!checkDefaults || !Checked))
      Checked = a->Checked();
  }
};

TToggleActionLink::TToggleActionLink(TObject* client) : TControlActionLink(client) {}
bool TToggleActionLink::IsCheckedLinked() {
  return TControlActionLink::IsCheckedLinked() &&
         static_cast<TToggle*>(client_)->Checked == static_cast<TCustomAction*>(action_)->Checked();
}
void TToggleActionLink::SetChecked(bool value) {
  if (IsCheckedLinked()) static_cast<TToggle*>(client_)->Checked = value;
}

class ActionsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::headless::Install();
    FormsStartup();
    form = new TForm(Application);
    form->AfterConstruction();
    list = new TActionList(form);
  }
  void TearDown() override {
    FormsShutdown();
    platform::headless::Uninstall();
  }
  TAction* NewAction(const char* name, TShortCut shortCut = 0) {
    auto* a = new TAction(form);
    a->SetName(name);
    a->SetActionList(list);
    a->SetShortCut(shortCut);
    a->OnExecute = [this](TObject* sender) {
      executed.push_back(static_cast<TComponent*>(sender)->Name().ToStd());
    };
    return a;
  }
  TForm* form = nullptr;
  TActionList* list = nullptr;
  std::vector<std::string> executed;
};

TEST_F(ActionsTest, AControlFollowsItsActionWhileItStillShowsTheActionsValue) {
  TAction* save = NewAction("Save", scCtrl | 'S');
  save->SetCaption("&Save");
  save->SetHint("Save the message");
  auto* toggle = new TToggle(form);
  toggle->SetParent(form);
  toggle->SetAction(save);
  EXPECT_EQ(toggle->Action(), save);
  EXPECT_TRUE(toggle->ControlStyle & csActionClient);
  EXPECT_EQ(toggle->Caption(), "&Save");
  EXPECT_EQ(toggle->Hint(), "Save the message");
  // The link class is the control's own, and a windowed control gets the windowed one.
  EXPECT_EQ(toggle->ActionLink()->ClassType(), &typeid(TToggleActionLink));
  EXPECT_TRUE(ActionLinkClassOf<TToggleActionLink>()->InheritsFrom(ActionLinkClassOf<TControlActionLink>()));
  auto* panel = new TWinControl(form);
  panel->SetParent(form);
  panel->SetAction(save);
  EXPECT_EQ(panel->ActionLink()->ClassType(), &typeid(TWinControlActionLink));

  save->SetCaption("Save &as");
  save->SetEnabled(false);
  save->SetChecked(true);
  save->SetHint("Elsewhere");
  EXPECT_EQ(toggle->Caption(), "Save &as");
  EXPECT_FALSE(toggle->Enabled());
  EXPECT_TRUE(toggle->Checked);
  EXPECT_EQ(toggle->Hint(), "Elsewhere");
  EXPECT_EQ(panel->Caption(), "Save &as");

  // The links hear of a value before the action stores it: a link still sees the old one.
  struct Spy : TControlActionLink {
    explicit Spy(TObject* client) : TControlActionLink(client) {}
    void SetCaption(const AnsiString& value) override {
      seen.push_back(static_cast<TCustomAction*>(action_)->Caption().ToStd() + "->" + value.ToStd());
      TControlActionLink::SetCaption(value);
    }
    std::vector<std::string> seen;
  };
  Spy spy(toggle);
  spy.SetAction(save);
  save->SetCaption("Keep");
  EXPECT_EQ(spy.seen, std::vector<std::string>{"Save &as->Keep"});
  spy.SetAction(nullptr);

  // A link applies a value only where its control still shows the action's: a caption
  // changed by hand stays, and IsCaptionLinked says so.
  toggle->SetCaption("Mine");
  auto* link = toggle->ActionLink();
  EXPECT_FALSE(link->IsCaptionLinked());
  EXPECT_TRUE(link->IsHintLinked());
  save->SetHint("Hint two");
  EXPECT_EQ(toggle->Hint(), "Hint two");

  // The hint shows the shortcut (the application names shortcuts in hints by default).
  AnsiString hint = "Save";
  EXPECT_TRUE(link->DoShowHint(hint));
  EXPECT_EQ(hint, "Save (Ctrl+S)");
  Application->HintShortCuts = false;
  hint = "Save";
  link->DoShowHint(hint);
  EXPECT_EQ(hint, "Save");

  // Freeing the action leaves the controls without one.
  delete save;
  EXPECT_EQ(toggle->Action(), nullptr);
  EXPECT_EQ(toggle->ActionLink(), nullptr);
  EXPECT_FALSE(toggle->ControlStyle & csActionClient);
  EXPECT_EQ(panel->Action(), nullptr);
  EXPECT_EQ(list->ActionCount(), 0);
}

TEST_F(ActionsTest, ClickingAControlExecutesItsActionUnlessTheControlHasItsOwnHandler) {
  TAction* open = NewAction("Open");
  TComponent* during = nullptr;
  TObject* sender = nullptr;
  open->OnExecute = [&](TObject* s) {
    sender = s;
    during = open->ActionComponent;
  };
  auto* toggle = new TToggle(form);
  toggle->SetName("OpenButton");
  toggle->SetParent(form);
  toggle->SetBounds(10, 10, 40, 20);
  toggle->SetAction(open);
  form->Show();
  Driver().Click(Driver().ClientPoint(form->Handle(), 15, 15));
  Driver().RunUntilIdle();
  EXPECT_EQ(sender, open);
  EXPECT_EQ(during, toggle);
  EXPECT_EQ(open->ActionComponent, nullptr);

  // A disabled action does not run.
  sender = nullptr;
  open->SetEnabled(false);
  toggle->SetEnabled(true);
  toggle->ClickNow();
  EXPECT_EQ(sender, nullptr);

  // The control's own handler wins over the action.
  open->SetEnabled(true);
  TObject* clicked = nullptr;
  toggle->OnClick = [&](TObject* s) { clicked = s; };
  toggle->ClickNow();
  EXPECT_EQ(clicked, toggle);
  EXPECT_EQ(sender, nullptr);
}

TEST_F(ActionsTest, AnExecutionIsOfferedToTheListTheApplicationTheActionAndTheApplicationWindow) {
  TAction* cut = NewAction("Cut");
  std::vector<std::string> order;
  bool listTakes = true, appTakes = true;
  list->OnExecute = [&](TBasicAction* a, bool& handled) {
    order.push_back("list " + static_cast<TComponent*>(a)->Name().ToStd());
    handled = listTakes;
  };
  Application->OnActionExecute = [&](TBasicAction*, bool& handled) {
    order.push_back("application");
    handled = appTakes;
  };
  EXPECT_TRUE(cut->Execute());
  EXPECT_EQ(order, std::vector<std::string>{"list Cut"});
  EXPECT_TRUE(executed.empty());

  listTakes = false;
  order.clear();
  EXPECT_TRUE(cut->Execute());
  EXPECT_EQ(order, (std::vector<std::string>{"list Cut", "application"}));
  EXPECT_TRUE(executed.empty());

  appTakes = false;
  order.clear();
  EXPECT_TRUE(cut->Execute());
  EXPECT_EQ(executed, std::vector<std::string>{"Cut"});

  // Without any handler the application window gets CM_ACTIONEXECUTE with the action; nobody
  // answers 1 there, so the execution is reported as not handled.
  cut->OnExecute = nullptr;
  EXPECT_FALSE(cut->Execute());

  // Updates go the same way; the update decides before an execution.
  int updates = 0;
  cut->OnUpdate = [&](TObject*) {
    ++updates;
    cut->SetEnabled(false);
  };
  cut->OnExecute = [&](TObject*) { executed.push_back("again"); };
  EXPECT_FALSE(cut->Execute());
  EXPECT_EQ(updates, 1);
  EXPECT_EQ(executed, std::vector<std::string>{"Cut"});
}

TEST_F(ActionsTest, TheFirstEnabledActionWithTheChordTakesIt) {
  TAction* first = NewAction("First", scAlt | 'O');
  TAction* second = NewAction("Second", scAlt | 'O');
  NewAction("Other", scAlt | 'F');
  TWMKey altO(WM_SYSKEYDOWN, 'O', 0x20000000);
  EXPECT_TRUE(list->IsShortCut(altO));
  EXPECT_EQ(executed, std::vector<std::string>{"First"});

  // Disabled after its update: passed over.
  executed.clear();
  first->OnUpdate = [first](TObject*) { first->SetEnabled(false); };
  EXPECT_TRUE(list->IsShortCut(altO));
  EXPECT_EQ(executed, std::vector<std::string>{"Second"});

  executed.clear();
  second->SetEnabled(false);
  EXPECT_FALSE(list->IsShortCut(altO));
  EXPECT_TRUE(executed.empty());
  // Without Alt it is another chord.
  TWMKey plainO(WM_KEYDOWN, 'O', 0);
  EXPECT_FALSE(list->IsShortCut(plainO));
}

TEST_F(ActionsTest, ControlsCopyIntoAnActionAndAHintActionIsAnAction) {
  auto* toggle = new TToggle(form);
  toggle->SetCaption("Print");
  toggle->SetHint("Print it");
  toggle->SetEnabled(false);
  int clicks = 0;
  toggle->OnClick = [&](TObject*) { ++clicks; };
  TAction* print = NewAction("Print");
  print->Assign(toggle);
  EXPECT_EQ(print->Caption(), "Print");
  EXPECT_EQ(print->Hint(), "Print it");
  EXPECT_FALSE(print->Enabled());
  print->SetEnabled(true);
  print->Execute();
  EXPECT_EQ(clicks, 1);

  THintAction hint(nullptr);
  hint.SetHint("Long hint");
  TBasicAction* seen = nullptr;
  Application->OnActionExecute = [&](TBasicAction* a, bool& handled) {
    seen = a;
    handled = true;
  };
  EXPECT_TRUE(hint.Execute());
  ASSERT_EQ(seen, &hint);
  EXPECT_EQ(seen->ClassType(), &typeid(THintAction));
}

class TActionsForm : public TForm {
 public:
  explicit TActionsForm(TComponent* owner) : TForm(owner) {}
  void OpenExecute(TObject* sender) {
    log.push_back("open by " + static_cast<TComponent*>(sender)->Name().ToStd());
  }
  void OpenUpdate(TObject*) { log.push_back("update"); }
  std::vector<std::string> log;
};

const char* kActionsLayout = R"(object ActionsForm: TActionsForm
  Caption = 'Actions'
  object Button: TToggle
    Left = 8
    Top = 8
    Width = 60
    Height = 20
    Action = OpenAction
  end
  object Actions: TActionList
    object OpenAction: TAction
      Caption = 'Open'
      Category = 'File'
      ShortCut = 32847
      Hint = 'Open a message'
      OnExecute = OpenExecute
      OnUpdate = OpenUpdate
    end
    object OkAction: TAction
      Caption = 'OK'
      Enabled = False
      ShortCut = 89
    end
  end
end
)";

TEST_F(ActionsTest, AnActionListAndAControlsActionComeFromALayoutAndGoBackIntoOne) {
  static bool registered = false;
  if (!registered) {
    registered = true;
    RegisterProperties<TToggle>("TToggle", "TGraphicControl", Factory<TToggle>());
    RegisterProperties<TActionsForm>("TActionsForm", "TForm")
        .Handler("OpenExecute", &TActionsForm::OpenExecute)
        .Handler("OpenUpdate", &TActionsForm::OpenUpdate);
  }
  auto* loaded = new TActionsForm(Application);
  ReadComponentText(loaded, kActionsLayout);
  auto* actions = dynamic_cast<TActionList*>(loaded->FindComponent("Actions"));
  auto* open = dynamic_cast<TAction*>(loaded->FindComponent("OpenAction"));
  auto* ok = dynamic_cast<TAction*>(loaded->FindComponent("OkAction"));
  auto* button = dynamic_cast<TToggle*>(loaded->FindComponent("Button"));
  ASSERT_TRUE(actions && open && ok && button);
  ASSERT_EQ(actions->ActionCount(), 2);
  EXPECT_EQ(actions->Actions(0), open);
  EXPECT_EQ(actions->Actions(1), ok);
  EXPECT_EQ(open->ActionList(), actions);
  EXPECT_EQ(open->Index(), 0);
  EXPECT_EQ(open->Owner(), loaded);
  EXPECT_EQ(open->ShortCut(), scAlt | 'O');
  EXPECT_EQ(open->Category(), "File");
  EXPECT_FALSE(ok->Enabled());
  EXPECT_EQ(ok->ShortCut(), 'Y');
  EXPECT_EQ(button->Action(), open);
  EXPECT_EQ(button->Caption(), "Open");
  EXPECT_EQ(button->Hint(), "Open a message");

  button->ClickNow();
  EXPECT_EQ(loaded->log, (std::vector<std::string>{"update", "open by OpenAction"}));

  // Written back: the actions inside their list.
  std::string text = WriteComponentText(loaded);
  EXPECT_NE(text.find("  object Actions: TActionList\n    object OpenAction: TAction"), std::string::npos)
      << text;
  EXPECT_NE(text.find("ShortCut = 32847"), std::string::npos) << text;
  {
    TActionsForm again(nullptr);
    ReadComponentText(&again, text);
    auto* againList = dynamic_cast<TActionList*>(again.FindComponent("Actions"));
    ASSERT_NE(againList, nullptr);
    ASSERT_EQ(againList->ActionCount(), 2);
    EXPECT_EQ(againList->Actions(1)->Name(), "OkAction");
    EXPECT_EQ(againList->Actions(0)->OnExecute != nullptr, true);
  }

  // The list frees its actions.
  delete actions;
  EXPECT_EQ(loaded->FindComponent("OpenAction"), nullptr);
  EXPECT_EQ(button->Action(), nullptr);
}

}  // namespace
