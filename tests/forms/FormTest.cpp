// Forms and the application: placement by Position, window styles, the show, hide, activate and
// close events with every close action, ShowModal disabling the other windows and giving them
// back also when it ends in an exception, a form docked into another form's panel, the colour
// key, and the application's loop (OnMessage, OnIdle, hooks on its window, released forms).
#include <memory>
#include <string>
#include <vector>

#include "platform/controls/Controls.h"
#include "platform/forms/TTimer.h"
#include "tests/forms/ShellFixture.h"

namespace shelltest {
namespace {

using FormTest = ShellTest;

TEST_F(FormTest, PositionPlacesAFormWhenFirstShown) {
  TForm* main = NewForm(100, 50, 400, 300);
  ASSERT_EQ(Application->MainForm, main);
  TForm* other = NewForm(600, 400, 300, 200);
  struct Case {
    TPosition position;
    TComponent* owner;
    POINT expected;
  };
  const Case cases[] = {
      {poDesigned, Application, {30, 40}},
      {poScreenCenter, Application, {(1280 - 200) / 2, (800 - 100) / 2}},
      {poDesktopCenter, Application, {(1280 - 200) / 2, (800 - 100) / 2}},
      {poMainFormCenter, other, {100 + (400 - 200) / 2, 50 + (300 - 100) / 2}},
      {poOwnerFormCenter, other, {600 + (300 - 200) / 2, 400 + (200 - 100) / 2}},
      {poOwnerFormCenter, Application, {100 + (400 - 200) / 2, 50 + (300 - 100) / 2}},  // no owner form
  };
  for (const Case& c : cases) {
    auto* form = new TForm(c.owner);
    form->AfterConstruction();
    form->SetBorderStyle(bsDialog);
    form->SetBounds(30, 40, 200, 100);
    form->Position = c.position;
    form->Show();
    Driver().RunUntilIdle();
    RECT r{};
    GetWindowRect(form->Handle(), &r);
    EXPECT_EQ(r.left, c.expected.x) << c.position;
    EXPECT_EQ(r.top, c.expected.y) << c.position;
    EXPECT_EQ(form->Left(), c.expected.x);
    // Only the first show places it.
    form->Hide();
    form->SetBounds(5, 6, 200, 100);
    form->Show();
    EXPECT_EQ(form->Left(), 5);
    delete form;
  }
}

TEST_F(FormTest, BorderAndFormStylesBecomeWindowStyles) {
  struct Case {
    TFormBorderStyle border;
    DWORD style, exStyle, notStyle;
  };
  const Case cases[] = {
      {bsNone, WS_POPUP, 0, WS_CAPTION},
      {bsSingle, WS_CAPTION, 0, WS_THICKFRAME},
      {bsSizeable, WS_CAPTION | WS_THICKFRAME, 0, 0},
      {bsDialog, WS_CAPTION, WS_EX_DLGMODALFRAME, WS_THICKFRAME},
      {bsToolWindow, WS_CAPTION, WS_EX_TOOLWINDOW, WS_THICKFRAME},
      {bsSizeToolWin, WS_CAPTION | WS_THICKFRAME, WS_EX_TOOLWINDOW, 0},
  };
  auto* form = new TForm(Application, 0);  // CreateNew
  form->AfterConstruction();
  for (const Case& c : cases) {
    form->SetBorderStyle(c.border);
    DWORD style = DWORD(GetWindowLongA(form->Handle(), GWL_STYLE)),
          ex = DWORD(GetWindowLongA(form->Handle(), GWL_EXSTYLE));
    EXPECT_EQ(style & c.style, c.style) << c.border;
    EXPECT_EQ(ex & c.exStyle, c.exStyle) << c.border;
    EXPECT_EQ(style & c.notStyle, 0u) << c.border;
    EXPECT_EQ(style & WS_CHILD, 0u);
  }
  form->SetFormStyle(fsStayOnTop);
  EXPECT_TRUE(GetWindowLongA(form->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  form->SetFormStyle(fsNormal);
  EXPECT_FALSE(GetWindowLongA(form->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);

  auto* child = new TForm(Application, 0);
  child->SetFormStyle(fsMDIChild);
  EXPECT_THROW(child->HandleNeeded(), EInvalidOperation);
  delete child;
}

TEST_F(FormTest, ShowHideActivateAndPaintEventsComeInOrder) {
  TForm* main = NewForm(0, 0, 200, 200);
  std::vector<std::string> log;
  auto* form = new TForm(Application);
  form->AfterConstruction();
  form->SetBorderStyle(bsNone);
  form->SetBounds(300, 0, 100, 80);
  form->SetName("Second");
  form->OnShow = [&](TObject*) {
    log.push_back(std::string("show visible-window=") + (IsWindowVisible(form->Handle()) ? "1" : "0"));
    EXPECT_TRUE(form->FormState() & fsShowing);
  };
  form->OnHide = [&](TObject*) { log.push_back("hide"); };
  form->OnActivate = [&](TObject* s) {
    log.push_back("activate " + static_cast<TComponent*>(s)->Name().ToStd());
  };
  form->OnDeactivate = [&](TObject*) { log.push_back("deactivate"); };
  form->OnPaint = [&](TObject* s) {
    auto* f = static_cast<TForm*>(s);
    f->Canvas()->Brush()->SetColor(clRed);
    f->Canvas()->FillRect(RECT{10, 10, 20, 20});
  };
  form->Show();
  Driver().RunUntilIdle();
  EXPECT_TRUE(form->FormState() & fsVisible);
  EXPECT_FALSE(form->FormState() & fsShowing);
  platform::headless::CaptureImage shot = Driver().Capture(form->Handle());
  EXPECT_EQ(shot.At(15, 15), 0xFF0000u);
  EXPECT_NE(shot.At(25, 25), 0xFF0000u);  // the form's own colour around it
  SetActiveWindow(main->Handle());
  Driver().RunUntilIdle();
  form->Hide();
  EXPECT_EQ(log,
            (std::vector<std::string>{"show visible-window=0", "activate Second", "deactivate", "hide"}));
  EXPECT_FALSE(form->FormState() & fsVisible);
  EXPECT_FALSE(IsWindowVisible(form->Handle()));
}

TEST_F(FormTest, CloseHonoursTheQueryAndEveryCloseAction) {
  NewForm(0, 0, 100, 100);  // the main form
  struct Case {
    TCloseAction action;
    bool visible, freed, windowShown;
  };
  const Case cases[] = {
      {caNone, true, false, true},
      {caHide, false, false, false},
      {caFree, false, true, false},
      {caMinimize, true, false, false},  // minimized: still Visible, its window out of sight
  };
  for (const Case& c : cases) {
    auto* form = NewForm(200, 0, 100, 100);
    bool freed = false;
    form->OnDestroy = [&](TObject*) { freed = true; };
    int closes = 0;
    form->OnClose = [&](TObject*, TCloseAction& action) {
      ++closes;
      EXPECT_EQ(action, caHide);
      action = c.action;
    };
    bool allow = false;
    form->OnCloseQuery = [&](TObject*, bool& canClose) { canClose = allow; };
    form->Close();
    EXPECT_EQ(closes, 0);  // refused: OnClose does not even run
    allow = true;
    form->Close();
    Driver().RunUntilIdle();
    EXPECT_EQ(closes, 1);
    EXPECT_EQ(freed, c.freed) << c.action;
    if (!freed) {
      EXPECT_EQ(form->Visible(), c.visible) << c.action;
      EXPECT_EQ(IsWindowVisible(form->Handle()) != 0, c.windowShown) << c.action;
      delete form;
    }
  }
  // Closing the main form ends the program.
  Application->MainForm->Close();
  Driver().RunUntilIdle();
  Application->ProcessMessages();
  EXPECT_TRUE(Application->Terminated());
}

TEST_F(FormTest, ShowModalDisablesTheOtherFormsAndGivesThemBackAlsoAfterAnException) {
  TForm* main = NewForm(0, 0, 200, 200);
  TForm* tool = NewForm(300, 0, 100, 100);
  SetActiveWindow(main->Handle());
  Driver().RunUntilIdle();
  auto* dialog = new TForm(Application);
  dialog->AfterConstruction();
  dialog->SetCaption("Dialog");

  // Inside the loop the other forms are disabled, the dialog is not.
  bool checked = false;
  Driver().OnModal([&](const platform::win::ModalInfo&) {
    return platform::win::ModalAnswer::Drive([&] {
      checked = true;
      EXPECT_FALSE(IsWindowEnabled(main->Handle()));
      EXPECT_FALSE(IsWindowEnabled(tool->Handle()));
      EXPECT_TRUE(IsWindowEnabled(dialog->Handle()));
      EXPECT_TRUE(dialog->FormState() & fsModal);
      // A handler failing inside the loop is handled and the loop goes on.
      PostMessageA(dialog->Handle(), WM_USER + 1, 0, 0);
    });
  });
  Application->OnMessage = [&](MSG& msg, bool& handled) {
    if (msg.message != WM_USER + 1) return;
    handled = true;
    // A later step answers, as a button would (a message wakes the waiting loop).
    Driver().SetIdleStep([&] {
      dialog->ModalResult = mrOk;
      PostMessageA(dialog->Handle(), WM_NULL, 0, 0);
    });
  };
  bool refuse = true;
  dialog->OnCloseQuery = [&](TObject*, bool& canClose) {
    canClose = !refuse;
    if (refuse)
      Driver().SetIdleStep([&] {
        dialog->ModalResult = mrYes;
        PostMessageA(dialog->Handle(), WM_NULL, 0, 0);
      });
    refuse = false;
  };
  EXPECT_EQ(dialog->ShowModal(), mrYes);  // the first answer was refused, the second taken
  EXPECT_TRUE(checked);
  EXPECT_TRUE(IsWindowEnabled(main->Handle()));
  EXPECT_TRUE(IsWindowEnabled(tool->Handle()));
  EXPECT_FALSE(dialog->Visible());
  EXPECT_FALSE(dialog->FormState() & fsModal);
  EXPECT_EQ(GetActiveWindow(), main->Handle());

  // An exception that leaves the loop still gives the windows back.
  dialog->OnCloseQuery = nullptr;
  Driver().OnModal([&](const platform::win::ModalInfo&) {
    return platform::win::ModalAnswer::Drive([&] { PostMessageA(dialog->Handle(), WM_USER + 2, 0, 0); });
  });
  Application->OnMessage = [&](MSG& msg, bool&) {
    if (msg.message == WM_USER + 2) throw EConvertError("Broken message");
  };
  EXPECT_THROW(dialog->ShowModal(), EConvertError);
  EXPECT_TRUE(IsWindowEnabled(main->Handle()));
  EXPECT_TRUE(IsWindowEnabled(tool->Handle()));
  EXPECT_FALSE(dialog->Visible());
  EXPECT_FALSE(dialog->FormState() & fsModal);
  Application->OnMessage = nullptr;

  // A disabled or visible form cannot be shown modally.
  dialog->SetEnabled(false);
  EXPECT_THROW(dialog->ShowModal(), EInvalidOperation);
  EXPECT_TRUE(IsWindowEnabled(main->Handle()));
}

// The product's preview window: a form docked into a panel of the main form.
class TPreview : public TForm {
 public:
  explicit TPreview(TComponent* owner) : TForm(owner) {}
  std::vector<std::string> log;
};

TEST_F(FormTest, AFormDockedIntoAPanelWorksFollowsThePanelAndGoesWithEitherOwner) {
  TForm* main = NewForm(100, 100, 400, 300);
  auto* panel = Child<TSheet>(main, "Panel", 50, 20, 200, 150, clBlue);
  for (bool freeMainFirst : {false, true}) {
    panel->SetBounds(50, 20, 200, 150);
    auto* preview = new TPreview(Application);
    preview->AfterConstruction();
    preview->SetColor(clRed);
    bool destroyed = false;
    preview->OnDestroy = [&](TObject*) { destroyed = true; };
    auto* box = new TBox(preview);
    box->SetName("Box");
    box->SetBounds(10, 10, 20, 20);
    box->SetColor(clYellow);
    box->SetParent(preview);
    box->OnClick = [preview](TObject* s) {
      preview->log.push_back("click " + static_cast<TComponent*>(s)->Name().ToStd());
    };
    TTimer* timer = new TTimer(preview);
    timer->SetInterval(100);
    timer->OnTimer = [preview](TObject*) { preview->log.push_back("tick"); };

    preview->SetParent(panel);
    preview->SetAlign(alClient);
    preview->Show();
    Driver().RunUntilIdle();
    ASSERT_TRUE(preview->HandleAllocated());
    EXPECT_EQ(GetParent(preview->Handle()), panel->Handle());
    EXPECT_TRUE(GetWindowLongA(preview->Handle(), GWL_STYLE) & WS_CHILD);
    EXPECT_EQ(preview->Width(), 200);
    EXPECT_EQ(preview->Height(), 150);

    // It paints into the panel, is clicked there and its timer runs.
    platform::headless::CaptureImage shot = Driver().Capture(main->Handle());
    EXPECT_EQ(shot.At(50 + 5, 20 + 5), 0xFF0000u);
    EXPECT_EQ(shot.At(50 + 15, 20 + 15), 0xFFFF00u);
    Driver().Click(At(box, 3, 3));
    Driver().Advance(250);
    EXPECT_EQ(preview->log, (std::vector<std::string>{"click Box", "tick", "tick"}));
    EXPECT_EQ(GetActiveWindow(), main->Handle());  // no activation of its own

    // It follows the panel's size.
    panel->SetBounds(50, 20, 300, 250);
    EXPECT_EQ(preview->Width(), 300);
    RECT r{};
    GetClientRect(preview->Handle(), &r);
    EXPECT_EQ(r.bottom, 250);

    // Taken out, it is a top-level window again; put back, a child.
    preview->SetParent(nullptr);
    EXPECT_FALSE(GetWindowLongA(preview->Handle(), GWL_STYLE) & WS_CHILD);
    EXPECT_TRUE(IsWindowVisible(preview->Handle()));
    preview->SetParent(panel);
    Driver().RunUntilIdle();
    EXPECT_EQ(GetParent(preview->Handle()), panel->Handle());

    if (!freeMainFirst) {
      delete preview;  // its owner, the application, frees it: the panel lets go
      EXPECT_EQ(panel->ControlCount(), 0);
      Driver().RunUntilIdle();
      EXPECT_EQ(Driver().Capture(main->Handle()).At(55, 25), 0x0000FFu);
    } else {
      delete main;  // the host goes: the docked form goes with it and leaves the application
      EXPECT_TRUE(destroyed);
      for (int i = 0; i < Application->ComponentCount(); ++i) EXPECT_NE(Application->Components(i), preview);
      EXPECT_EQ(Screen->FormCount(), 0);
      Driver().Advance(500);
    }
    EXPECT_TRUE(destroyed);
  }
}

TEST_F(FormTest, TheColourKeyLeavesKeyColouredAreasOutOfTheWindowShape) {
  TForm* form = NewForm(100, 100, 100, 60);
  form->SetTransparentColorValue(clFuchsia);
  form->SetTransparentColor(true);
  auto* hole = Child<TBox>(form, "Hole", 0, 0, 100, 20, clFuchsia);  // the top band is key-coloured
  int presses = 0;
  form->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++presses; };
  Driver().RunUntilIdle();
  std::vector<RECT> shape = Driver().Shape(form->Handle());
  ASSERT_EQ(shape.size(), 1u);
  EXPECT_EQ(shape[0].top, 20);
  EXPECT_EQ(shape[0].bottom, 60);
  EXPECT_EQ(shape[0].right, 100);
  // The key pixels stay in the surface; a press there reaches nothing.
  EXPECT_EQ(Driver().Capture(form->Handle()).At(5, 5), 0xFF00FFu);
  Driver().Click(At(form, 50, 10));
  Driver().RunUntilIdle();
  EXPECT_EQ(presses, 0);
  Driver().Advance(1000);
  Driver().Click(At(form, 50, 40));
  Driver().RunUntilIdle();
  EXPECT_EQ(presses, 1);

  // When the key colour goes, the area comes back, although it lay outside the shape.
  hole->SetColor(clRed);
  Driver().RunUntilIdle();
  shape = Driver().Shape(form->Handle());
  ASSERT_EQ(shape.size(), 1u);
  EXPECT_EQ(shape[0].top, 0);
  EXPECT_EQ(Driver().Capture(form->Handle()).At(5, 5), 0xFF0000u);

  form->SetTransparentColor(false);
  EXPECT_TRUE(Driver().Shape(form->Handle()).empty());
}

TEST_F(FormTest, TheLoopHonoursOnMessageRunsOnIdleAndLetsHooksSeeTheApplicationWindowFirst) {
  TForm* form = NewForm(0, 0, 100, 100);
  int delivered = 0;
  struct Receiver : TSheet {
    using TSheet::TSheet;
    int* delivered = nullptr;
    void Dispatch(void* message) override {
      if (static_cast<TMessage*>(message)->Msg == WM_USER + 5) ++*delivered;
      TSheet::Dispatch(message);
    }
  };
  auto* receiver = new Receiver(form);
  receiver->delivered = &delivered;
  receiver->SetBounds(0, 0, 10, 10);
  receiver->SetParent(form);
  Driver().RunUntilIdle();

  int seen = 0;
  Application->OnMessage = [&](MSG& msg, bool& handled) {
    if (msg.message != WM_USER + 5) return;
    ++seen;
    handled = msg.wParam == 1;  // the first is stopped, the second goes on
  };
  PostMessageA(receiver->Handle(), WM_USER + 5, 1, 0);
  PostMessageA(receiver->Handle(), WM_USER + 5, 2, 0);
  Application->ProcessMessages();
  EXPECT_EQ(seen, 2);
  EXPECT_EQ(delivered, 1);

  int idles = 0;
  Application->OnIdle = [&](TObject* sender, bool& done) {
    EXPECT_EQ(sender, Application);
    ++idles;
    done = false;  // more to do: no waiting
  };
  Application->HandleMessage();  // nothing pending: idle
  EXPECT_EQ(idles, 1);

  struct Hook {
    std::vector<UINT> seen;
    bool Proc(TMessage& m) {
      if (m.Msg < WM_USER) return false;
      seen.push_back(m.Msg);
      m.Result = 42;
      return m.Msg == WM_USER + 7;
    }
  } hook;
  TWindowHook h = TWindowHook::Of<Hook, &Hook::Proc>(&hook);
  Application->HookMainWindow(h);
  EXPECT_EQ(SendMessageA(Application->Handle(), WM_USER + 7, 0, 0), 42);
  EXPECT_EQ(SendMessageA(Application->Handle(), WM_USER + 8, 0, 0), 0);  // not handled: the window answers
  Application->UnhookMainWindow(h);
  SendMessageA(Application->Handle(), WM_USER + 7, 0, 0);
  EXPECT_EQ(hook.seen, (std::vector<UINT>{WM_USER + 7, WM_USER + 8}));

  // A released form is freed after the message, whoever runs the loop.
  bool freed = false;
  auto* released = NewForm(200, 0, 50, 50);
  released->OnDestroy = [&](TObject*) { freed = true; };
  released->Release();
  EXPECT_FALSE(freed);
  Driver().RunUntilIdle();
  EXPECT_TRUE(freed);
}

TEST_F(FormTest, MessageBoxDisablesTheFormsAndAnswersWithTheScriptedButton) {
  TForm* form = NewForm(0, 0, 100, 100);
  Driver().OnModal([&](const platform::win::ModalInfo& info) {
    EXPECT_EQ(info.kind, platform::win::ModalInfo::Kind::MessageBox);
    EXPECT_FALSE(IsWindowEnabled(form->Handle()));
    return platform::win::ModalAnswer::Result(IDNO);
  });
  EXPECT_EQ(Application->MessageBox("Really?", "Question", MB_YESNO), IDNO);
  EXPECT_TRUE(IsWindowEnabled(form->Handle()));
  EXPECT_FALSE(Application->ExeName().IsEmpty());
  EXPECT_TRUE(Application->Active());
}

}  // namespace
}  // namespace shelltest
