// The keyboard path of forms on the headless backend, through the application's own loop:
// focus and Tab order with OnEnter and OnExit, KeyPreview, dialog keys and characters, the
// shortcut step that gives chords to actions before they become characters, shortcuts of a
// modal form only, and action updates at idle time.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/backend/HeadlessDriver.h"
#include "platform/forms/ClassRegistry.h"
#include "platform/forms/TApplication.h"
#include "platform/forms/TCustomAction.h"
#include "platform/forms/TCustomActionList.h"
#include "platform/forms/TCustomControl.h"
#include "platform/forms/TPopupMenu.h"
#include "platform/forms/TReader.h"

namespace {

using platform::headless::Driver;
using platform::headless::kAlt;
using platform::headless::kCtrl;
using platform::headless::kShift;

std::vector<std::string>* g_log = nullptr;
void Log(const std::string& s) {
  if (g_log) g_log->push_back(s);
}

// A windowed control that takes the focus, logs what reaches it, and may act as the default
// or cancel button (Enter, Esc) or answer an accelerator.
class TField : public TCustomControl {
 public:
  explicit TField(TComponent* owner) : TCustomControl(owner) {
    TabStop = true;
    OnEnter = [this](TObject*) { Log("enter " + Name().ToStd()); };
    OnExit = [this](TObject*) { Log("exit " + Name().ToStd()); };
  }
  WORD TakesKey = 0;             // the dialog key it answers (VK_RETURN for a default button)
  char Accelerator = 0;          // the character it answers as CM_DIALOGCHAR
  LRESULT DialogCode = 0;        // what it answers to WM_GETDLGCODE
  std::vector<int> chars;        // WM_CHAR codes that reached the control
  std::vector<int> windowChars;  // and those its handlers passed on to the window

  void DefaultHandler(void* message) override {
    auto* m = static_cast<TMessage*>(message);
    if (m->Msg == WM_CHAR) windowChars.push_back(static_cast<int>(m->WParam));
    TCustomControl::DefaultHandler(message);
  }

  void WndProc(TMessage& m) override {
    if (m.Msg == WM_CHAR) chars.push_back(static_cast<int>(m.WParam));
    if (m.Msg == WM_GETDLGCODE) {
      m.Result = DialogCode;
      return;
    }
    if (m.Msg == CM_DIALOGKEY && TakesKey && m.WParam == TakesKey) {
      Log("pressed " + Name().ToStd());
      m.Result = 1;
      return;
    }
    if (m.Msg == CM_DIALOGCHAR && Accelerator && static_cast<char>(m.WParam) == Accelerator) {
      Log("accelerator " + Name().ToStd());
      m.Result = 1;
      return;
    }
    TCustomControl::WndProc(m);
  }
};

class TKeysForm : public TForm {
 public:
  explicit TKeysForm(TComponent* owner) : TForm(owner) {}
};

const char* kKeysLayout = R"(object KeysForm: TKeysForm
  Left = 40
  Top = 40
  Width = 300
  Height = 200
  BorderStyle = bsNone
  object Third: TField
    Left = 8
    Top = 80
    Width = 60
    Height = 20
    TabOrder = 2
  end
  object First: TField
    Left = 8
    Top = 8
    Width = 60
    Height = 20
    TabOrder = 0
  end
  object Group: TField
    Left = 100
    Top = 8
    Width = 150
    Height = 100
    TabOrder = 1
    TabStop = False
    object InnerA: TField
      Left = 4
      Top = 4
      Width = 40
      Height = 20
    end
    object InnerB: TField
      Left = 4
      Top = 40
      Width = 40
      Height = 20
    end
  end
  object Actions: TActionList
    object SelectAll: TAction
      ShortCut = 16449
    end
  end
end
)";

class KeyboardTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::headless::Install();
    FormsStartup();
    static bool registered = false;
    if (!registered) {
      registered = true;
      RegisterProperties<TField>("TField", "TCustomControl", Factory<TField>());
      RegisterProperties<TKeysForm>("TKeysForm", "TForm");
      RegisterFormLayout("TKeysForm", kKeysLayout);
    }
    g_log = &log;
    Application->OnException = [this](TObject*, Exception* e) {
      log.push_back("exception " + e->Message.ToStd());
    };
  }
  void TearDown() override {
    g_log = nullptr;
    FormsShutdown();
    platform::headless::Uninstall();
  }
  TKeysForm* MakeForm() {
    TKeysForm* form = nullptr;
    Application->CreateForm(form);
    form->Show();
    Pump();
    return form;
  }
  template <class T = TField>
  T* Find(TComponent* form, const char* name) {
    return dynamic_cast<T*>(form->FindComponent(name));
  }
  // Keys go through the application's loop, where they get their shortcut step.
  static void Pump() { Application->ProcessMessages(); }
  static void Chord(const std::string& chord) {
    Driver().Chord(chord);
    Pump();
  }
  std::string Focus() {
    TWinControl* c = FindControl(GetFocus());
    return c ? c->Name().ToStd() : "";
  }
  std::vector<std::string> log;
};

TEST_F(KeyboardTest, TabAndShiftTabFollowTheTabOrderOverFocusableControls) {
  TKeysForm* form = MakeForm();
  // The layout wrote the controls out of order; their Tab order is what it named.
  EXPECT_EQ(Find(form, "First")->TabOrder(), 0);
  EXPECT_EQ(Find(form, "Group")->TabOrder(), 1);
  EXPECT_EQ(Find(form, "Third")->TabOrder(), 2);
  // Showing the form focuses the first control that takes Tab.
  EXPECT_EQ(Focus(), "First");
  EXPECT_EQ(form->ActiveControl(), Find(form, "First"));
  EXPECT_EQ(log, std::vector<std::string>{"enter First"});

  log.clear();
  Chord("Tab");
  EXPECT_EQ(Focus(), "InnerA");  // the group itself is no tab stop; its children are
  Chord("Tab");
  EXPECT_EQ(Focus(), "InnerB");
  Chord("Tab");
  EXPECT_EQ(Focus(), "Third");
  Chord("Tab");
  EXPECT_EQ(Focus(), "First");  // round again
  EXPECT_EQ(log, (std::vector<std::string>{"exit First", "enter Group", "enter InnerA", "exit InnerA",
                                           "enter InnerB", "exit InnerB", "exit Group", "enter Third",
                                           "exit Third", "enter First"}));
  // The Tab was used up: no character reached the control it left.
  EXPECT_TRUE(Find(form, "First")->chars.empty());
  EXPECT_TRUE(Find(form, "InnerB")->chars.empty());

  // Disabled and hidden controls are passed over; Shift+Tab goes back.
  Find(form, "InnerA")->SetEnabled(false);
  Find(form, "Third")->SetVisible(false);
  Chord("Shift+Tab");
  EXPECT_EQ(Focus(), "InnerB");
  Chord("Shift+Tab");
  EXPECT_EQ(Focus(), "First");
  // Arrows move within the focused control's group.
  Find(form, "InnerA")->SetEnabled(true);
  Find(form, "InnerB")->SetFocus();
  Pump();
  Chord("Up");
  EXPECT_EQ(Focus(), "InnerA");
  Chord("Up");
  EXPECT_EQ(Focus(), "InnerB");

  // A new Tab order takes effect at once.
  Find(form, "First")->SetTabOrder(2);
  Find(form, "First")->SetFocus();
  Pump();
  Chord("Shift+Tab");
  EXPECT_EQ(Focus(), "InnerB");

  // A control that cannot take the focus says so.
  Find(form, "InnerA")->SetEnabled(false);
  try {
    Find(form, "InnerA")->SetFocus();
    ADD_FAILURE() << "focused a disabled control";
  } catch (EInvalidOperation& e) {
    EXPECT_EQ(e.Message, "Cannot focus a disabled or invisible control");
  }
  EXPECT_THROW(form->SetActiveControl(Find(form, "Third")), EInvalidOperation);

  // Disabling the focused control hands the focus to the form.
  Find(form, "InnerB")->SetEnabled(false);
  EXPECT_EQ(form->ActiveControl(), nullptr);
  EXPECT_EQ(GetFocus(), form->Handle());
}

TEST_F(KeyboardTest, APreviewingFormSeesKeysBeforeItsControlsAndMayEatThem) {
  TKeysForm* form = MakeForm();
  TField* first = Find(form, "First");
  form->OnKeyDown = [](TObject* s, WORD& key, TShiftState) {
    Log("form down " + std::to_string(key) + " " + static_cast<TComponent*>(s)->Name().ToStd());
    if (key == 'X') key = 0;
  };
  form->OnKeyPress = [](TObject*, char& key) {
    Log(std::string("form press ") + key);
    if (key == 'q') key = 'Q';
  };
  form->OnKeyUp = [](TObject*, WORD& key, TShiftState) { Log("form up " + std::to_string(key)); };
  first->OnKeyDown = [](TObject*, WORD& key, TShiftState shift) {
    Log("field down " + std::to_string(key) + ((shift & ssShift) ? " shift" : ""));
  };
  first->OnKeyPress = [](TObject*, char& key) { Log(std::string("field press ") + key); };
  first->OnKeyUp = [](TObject*, WORD& key, TShiftState) { Log("field up " + std::to_string(key)); };

  log.clear();
  Chord("Q");  // without preview the form hears nothing
  EXPECT_EQ(log, (std::vector<std::string>{"field down 81", "field press q", "field up 81"}));

  form->KeyPreview = true;
  log.clear();
  Chord("Q");
  EXPECT_EQ(log, (std::vector<std::string>{"form down 81 KeysForm", "field down 81", "form press q",
                                           "field press Q", "form up 81", "field up 81"}));
  EXPECT_EQ(first->windowChars.back(), 'Q');  // the changed character goes on to the window

  // A key the form sets to 0 stops there. (Its character was made already and still comes.)
  log.clear();
  Driver().KeyDown('X');
  Pump();
  EXPECT_EQ(log, (std::vector<std::string>{"form down 88 KeysForm", "form press x", "field press x"}));
  Driver().KeyUp('X');
  Pump();
  log.clear();
  Driver().KeyDown('A', kShift);
  Pump();
  EXPECT_NE(std::find(log.begin(), log.end(), "field down 65 shift"), log.end());
  Driver().KeyUp('A', kShift);
  Pump();
}

TEST_F(KeyboardTest, AChordAnActionTakesMakesNoCharacterAndDisabledActionsLetItThrough) {
  TKeysForm* form = MakeForm();
  TField* first = Find(form, "First");
  auto* selectAll = Find<TAction>(form, "SelectAll");
  ASSERT_NE(selectAll, nullptr);
  // A second list, made later, with an action on the same chord and one of its own.
  auto* later = new TActionList(form);
  auto* twin = new TAction(form);
  twin->SetActionList(later);
  twin->SetShortCut(scCtrl | 'A');
  std::vector<std::string> ran;
  selectAll->OnExecute = [&](TObject*) { ran.push_back("SelectAll"); };
  twin->OnExecute = [&](TObject*) { ran.push_back("twin"); };
  first->OnKeyDown = [](TObject*, WORD& key, TShiftState) { Log("down " + std::to_string(key)); };

  Chord("Ctrl+A");
  EXPECT_EQ(ran, std::vector<std::string>{"SelectAll"});
  EXPECT_TRUE(first->chars.empty());  // no Ctrl+A character (1)
  EXPECT_EQ(std::count(log.begin(), log.end(), "down 65"), 0);

  // Disabled: the next action with the chord, in a list made later, takes it.
  selectAll->SetEnabled(false);
  Chord("Ctrl+A");
  EXPECT_EQ(ran, (std::vector<std::string>{"SelectAll", "twin"}));
  EXPECT_TRUE(first->chars.empty());

  // Nobody enabled: the chord reaches the control as a key and a character.
  twin->SetEnabled(false);
  Chord("Ctrl+A");
  EXPECT_EQ(ran.size(), 2u);
  EXPECT_EQ(first->chars, std::vector<int>{1});
  EXPECT_EQ(std::count(log.begin(), log.end(), "down 65"), 1);

  // A popup menu of the focused control or of a parent comes before the form's actions.
  selectAll->SetEnabled(true);
  auto* popup = new TPopupMenu(form);
  auto* item = new TMenuItem(form);
  item->SetShortCut(scCtrl | 'A');
  item->OnClick = [&](TObject*) { ran.push_back("menu"); };
  popup->Items()->Add(item);
  form->SetPopupMenu(popup);
  Chord("Ctrl+A");
  EXPECT_EQ(ran.back(), "menu");
  item->SetEnabled(false);
  Chord("Ctrl+A");
  EXPECT_EQ(ran.back(), "SelectAll");
  EXPECT_EQ(first->chars.size(), 1u);

  // The form's OnShortCut comes first and may take the chord itself.
  const std::size_t before = ran.size();
  form->SetPopupMenu(nullptr);
  form->OnShortCut = [](TWMKey& m, bool& handled) { handled = m.CharCode == 'A'; };
  Chord("Ctrl+A");
  EXPECT_EQ(ran.size(), before);
  EXPECT_EQ(first->chars.size(), 1u);
}

TEST_F(KeyboardTest, EnterEscAndAcceleratorsGoToTheFormsControlsUnlessTheFocusedOneWantsThem) {
  TKeysForm* form = MakeForm();
  TField* first = Find(form, "First");
  Find(form, "Third")->TakesKey = VK_RETURN;   // the default button
  Find(form, "InnerB")->TakesKey = VK_ESCAPE;  // the cancel button, inside the group
  Find(form, "InnerA")->Accelerator = 'o';
  log.clear();
  Chord("Enter");
  Chord("Esc");
  Chord("Alt+O");
  EXPECT_EQ(log, (std::vector<std::string>{"pressed Third", "pressed InnerB", "accelerator InnerA"}));
  EXPECT_TRUE(first->chars.empty());  // neither Enter's nor Esc's character followed

  // A focused control that wants every key (a multi-line edit) keeps Enter.
  first->DialogCode = DLGC_WANTALLKEYS;
  log.clear();
  Chord("Enter");
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(first->chars, std::vector<int>{13});
  // A character the focused control does not want is offered as an accelerator too.
  first->DialogCode = 0;
  Driver().Type(u"o");
  Pump();
  EXPECT_EQ(log, std::vector<std::string>{"accelerator InnerA"});
  first->DialogCode = DLGC_WANTCHARS;
  Driver().Type(u"o");
  Pump();
  EXPECT_EQ(log.size(), 1u);
  EXPECT_EQ(first->chars.back(), 'o');
}

TEST_F(KeyboardTest, WhileAFormIsModalOnlyItsShortcutsAct) {
  TKeysForm* main = MakeForm();
  auto* selectAll = Find<TAction>(main, "SelectAll");
  std::vector<std::string> ran;
  selectAll->OnExecute = [&](TObject*) { ran.push_back("main"); };

  auto* dialog = new TForm(Application);
  dialog->AfterConstruction();
  dialog->SetCaption("Question");
  auto* field = new TField(dialog);
  field->SetName("Answer");
  field->SetParent(dialog);
  field->SetBounds(4, 4, 50, 20);
  auto* list = new TActionList(dialog);
  auto* yes = new TAction(dialog);
  yes->SetActionList(list);
  yes->SetShortCut('Y');
  yes->OnExecute = [&](TObject*) {
    ran.push_back("yes");
    dialog->ModalResult = mrYes;
  };
  Driver().OnModal([&](const platform::win::ModalInfo&) {
    return platform::win::ModalAnswer::Drive([&] {
      Driver().Chord("Ctrl+A");  // the main form's chord: nothing happens
      Driver().Chord("Y");
    });
  });
  EXPECT_EQ(dialog->ShowModal(), mrYes);
  EXPECT_EQ(ran, std::vector<std::string>{"yes"});
  // The Ctrl+A reached the dialog's control as a plain key, and Y made no character.
  EXPECT_EQ(field->chars, std::vector<int>{1});

  // Afterwards the main form's shortcuts act again, and the dialog's do not.
  Pump();
  Chord("Ctrl+A");
  Chord("Y");
  EXPECT_EQ(ran, (std::vector<std::string>{"yes", "main"}));
}

TEST_F(KeyboardTest, IdleTimeUpdatesTheActionsOfVisibleFormsAndOfTheirControls) {
  TKeysForm* form = MakeForm();
  auto* selectAll = Find<TAction>(form, "SelectAll");
  bool allow = false;
  int listUpdates = 0;
  selectAll->OnUpdate = [&](TObject* sender) {
    ++listUpdates;
    static_cast<TCustomAction*>(sender)->SetEnabled(allow);
  };
  TField* first = Find(form, "First");
  first->SetAction(selectAll);
  // An action in no list, followed by a windowless control, is updated through the control.
  auto* idle = new TAction(form);
  int idleUpdates = 0;
  idle->OnUpdate = [&](TObject*) { ++idleUpdates; };
  auto* hidden = new TField(form);
  hidden->SetParent(form);
  hidden->SetAction(idle);

  auto runIdle = [] {
    // One idle turn: once nothing is pending the application idles, then the step posts a
    // message so that its wait ends.
    Application->ProcessMessages();
    Driver().SetIdleStep([] { PostMessageA(Application->Handle(), WM_NULL, 0, 0); });
    Application->HandleMessage();
    Application->ProcessMessages();
  };
  runIdle();
  EXPECT_EQ(listUpdates, 1);  // once, though a control follows it too
  EXPECT_EQ(idleUpdates, 1);
  EXPECT_FALSE(selectAll->Enabled());
  EXPECT_FALSE(first->Enabled());
  allow = true;
  runIdle();
  EXPECT_TRUE(selectAll->Enabled());
  EXPECT_TRUE(first->Enabled());

  // OnIdle that asks for more time holds the updates back.
  Application->OnIdle = [](TObject*, bool& done) { done = false; };
  Application->ProcessMessages();
  Application->HandleMessage();
  EXPECT_EQ(listUpdates, 2);
  Application->OnIdle = nullptr;

  // A hidden form is not updated; an exception in OnUpdate reaches the application.
  form->Hide();
  runIdle();
  EXPECT_EQ(listUpdates, 2);
  form->Show();
  selectAll->OnUpdate = [](TObject*) { throw Exception("Update failed"); };
  runIdle();
  EXPECT_EQ(log.back(), "exception Update failed");
}

// An action that acts on the focused field: a target action.
class TFieldAction : public TAction {
 public:
  explicit TFieldAction(TComponent* owner) : TAction(owner) {}
  bool HandlesTarget(TObject* target) override { return dynamic_cast<TField*>(target) != nullptr; }
  void ExecuteTarget(TObject* target) override {
    Log("execute on " + static_cast<TField*>(target)->Name().ToStd());
  }
  void UpdateTarget(TObject* target) override {
    Log("update on " + static_cast<TField*>(target)->Name().ToStd());
  }
};

TEST_F(KeyboardTest, AnActionWithoutHandlersFindsItsTargetInTheActiveForm) {
  TKeysForm* form = MakeForm();
  Find(form, "InnerB")->SetFocus();
  Pump();
  auto* copy = new TFieldAction(form);
  copy->SetActionList(Find<TActionList>(form, "Actions"));
  copy->SetShortCut(scCtrl | 'C');
  log.clear();
  Chord("Ctrl+C");
  EXPECT_EQ(log, (std::vector<std::string>{"update on InnerB", "execute on InnerB"}));
  EXPECT_TRUE(Find(form, "InnerB")->chars.empty());
  // Without an active control the form's visible controls are asked in turn.
  form->SetActiveControl(nullptr);
  log.clear();
  EXPECT_TRUE(copy->Execute());
  EXPECT_EQ(log.back(), "execute on Third");
}

}  // namespace
