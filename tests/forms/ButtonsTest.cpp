// Push, check and radio buttons, group boxes and static texts: a modal form closed by its
// default and cancel buttons with their ModalResult; clicks by mouse, by code and by mnemonic
// firing OnClick once; check boxes cycling their states; radio buttons unchecking the others of
// their own parent only; static texts sizing to their caption.
#include <string>
#include <vector>

#include "StdCtrlsTestSupport.h"
#include "platform/forms/TButton.h"
#include "platform/forms/TButtonActionLink.h"
#include "platform/forms/TCheckBox.h"
#include "platform/forms/TCustomAction.h"
#include "platform/forms/TEdit.h"
#include "platform/forms/TGroupBox.h"
#include "platform/forms/TRadioButton.h"
#include "platform/forms/TStaticText.h"

using namespace stdctrlstest;

namespace {

class ButtonsTest : public StdCtrlsTest {
 protected:
  void ClickOn(TWinControl* c) {
    Driver().Advance(1000);  // never a double click with the previous one
    Driver().Click(At(c, 4, 4));
    Driver().RunUntilIdle();
  }
  static LRESULT Offer(TWinControl* to, UINT msg, WPARAM key) {
    TMessage m{msg, key, 0, 0};
    to->Broadcast(m);
    return m.Result;
  }
};

TEST_F(ButtonsTest, DefaultAndCancelButtonsCloseAModalFormWithTheirResult) {
  struct Case {
    const char* how;
    TModalResult expected;
  } cases[] = {
      {"click ok", mrOk}, {"enter", mrOk}, {"escape", mrCancel}, {"enter on focused other", mrRetry}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.how);
    auto* dialog = new TForm(Application);
    dialog->AfterConstruction();
    dialog->SetBounds(100, 100, 260, 120);
    dialog->SetCaption("Question");
    auto* ok = new TButton(dialog);
    ok->SetParent(dialog);
    ok->SetBounds(10, 60, 75, 25);
    ok->SetCaption("OK");
    ok->SetDefault(true);
    ok->SetModalResult(mrOk);
    auto* cancel = new TButton(dialog);
    cancel->SetParent(dialog);
    cancel->SetBounds(90, 60, 75, 25);
    cancel->SetCaption("Cancel");
    cancel->SetCancel(true);
    cancel->SetModalResult(mrCancel);
    auto* retry = new TButton(dialog);
    retry->SetParent(dialog);
    retry->SetBounds(170, 60, 75, 25);
    retry->SetCaption("&Retry");
    retry->SetModalResult(mrRetry);
    std::vector<std::string> clicked;
    for (TButton* b : {ok, cancel, retry})
      b->OnClick = [&, b](TObject*) { clicked.push_back(b->Caption().ToStd()); };
    const std::string how = c.how;
    Driver().OnModal([&](const platform::win::ModalInfo&) {
      return platform::win::ModalAnswer::Drive([&] {
        EXPECT_TRUE(GetWindowLongA(ok->Handle(), GWL_STYLE) & BS_DEFPUSHBUTTON);
        if (how == "click ok") {
          ClickOn(ok);
        } else if (how == "enter") {
          EXPECT_EQ(Offer(dialog, CM_DIALOGKEY, VK_RETURN), 1);
        } else if (how == "escape") {
          EXPECT_EQ(Offer(dialog, CM_DIALOGKEY, VK_ESCAPE), 1);
        } else {
          // The focused push button is the active one and takes Enter; the default frame moves.
          retry->SetFocus();
          TMessage focus{CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(static_cast<TWinControl*>(retry)), 0};
          dialog->Broadcast(focus);
          EXPECT_FALSE(GetWindowLongA(ok->Handle(), GWL_STYLE) & BS_DEFPUSHBUTTON);
          EXPECT_TRUE(GetWindowLongA(retry->Handle(), GWL_STYLE) & BS_DEFPUSHBUTTON);
          EXPECT_EQ(Offer(dialog, CM_DIALOGKEY, VK_RETURN), 1);
        }
      });
    });
    EXPECT_EQ(dialog->ShowModal(), c.expected);
    EXPECT_EQ(clicked.size(), 1u);
    EXPECT_FALSE(dialog->Visible());
    delete dialog;
  }
}

TEST_F(ButtonsTest, AButtonClicksOncePerPressAndByItsMnemonic) {
  auto* b = Make<TButton>(10, 10, 80, 25);
  b->SetCaption("&Play");
  int clicks = 0;
  b->OnClick = [&](TObject* sender) {
    EXPECT_EQ(sender, b);
    ++clicks;
  };
  ClickOn(b);
  EXPECT_EQ(clicks, 1);
  // A double click is two presses, so two clicks.
  Driver().Advance(1000);
  Driver().DoubleClick(At(b, 4, 4));
  Driver().RunUntilIdle();
  EXPECT_EQ(clicks, 3);
  EXPECT_EQ(Offer(form, CM_DIALOGCHAR, 'p'), 1);
  EXPECT_EQ(clicks, 4);
  EXPECT_EQ(Offer(form, CM_DIALOGCHAR, 'x'), 0);
  // A press that leaves the button before the release is no click; neither is Esc on a button
  // that is not the cancel button.
  Driver().Advance(1000);
  Driver().Press(0, At(b, 4, 4));
  Driver().Release(0, At(form, 300, 200));
  Driver().RunUntilIdle();
  EXPECT_EQ(Offer(form, CM_DIALOGKEY, VK_ESCAPE), 0);
  EXPECT_EQ(clicks, 4);
  // A disabled button takes no mnemonic.
  b->SetEnabled(false);
  EXPECT_EQ(Offer(form, CM_DIALOGCHAR, 'p'), 0);
  EXPECT_EQ(clicks, 4);
}

TEST_F(ButtonsTest, CheckBoxesCycleTheirStatesAndClickOncePerChange) {
  auto* box = Make<TCheckBox>(10, 10, 120, 20);
  box->SetCaption("&Loop");
  int clicks = 0;
  box->OnClick = [&](TObject*) { ++clicks; };
  auto windowCheck = [&] { return SendMessageA(box->Handle(), BM_GETCHECK, 0, 0); };
  ClickOn(box);
  EXPECT_TRUE(box->Checked());
  EXPECT_EQ(windowCheck(), BST_CHECKED);
  EXPECT_EQ(clicks, 1);
  ClickOn(box);
  EXPECT_EQ(box->State(), cbUnchecked);
  EXPECT_EQ(clicks, 2);
  box->SetAllowGrayed(true);
  const TCheckBoxState cycle[] = {cbGrayed, cbChecked, cbUnchecked};
  for (TCheckBoxState expected : cycle) {
    box->Toggle();
    EXPECT_EQ(box->State(), expected);
  }
  EXPECT_EQ(clicks, 5);
  // By code: one click per change, none when unchanged; the window is made again with it.
  box->SetCheckedProp(true);
  box->SetCheckedProp(true);
  EXPECT_EQ(clicks, 6);
  box->SetAlignment(taLeftJustify);
  EXPECT_EQ(windowCheck(), BST_CHECKED);
  EXPECT_TRUE(GetWindowLongA(box->Handle(), GWL_STYLE) & BS_LEFTTEXT);
  // Its mnemonic focuses and toggles it.
  EXPECT_EQ(Offer(form, CM_DIALOGCHAR, 'L'), 1);
  EXPECT_TRUE(box->Focused());
  EXPECT_FALSE(box->Checked());
  EXPECT_EQ(clicks, 7);
}

TEST_F(ButtonsTest, RadioButtonsUncheckTheOthersOfTheirOwnParentOnly) {
  auto* group = Make<TGroupBox>(200, 10, 180, 100);
  group->SetCaption("&Fit");
  TRadioButton* outside[3];
  TRadioButton* inside[2];
  std::vector<std::string> clicks;
  for (int i = 0; i < 3; ++i) {
    outside[i] = Make<TRadioButton>(10, 10 + 25 * i, 120, 20);
    outside[i]->SetCaption(AnsiString("Out " + std::to_string(i)));
  }
  for (int i = 0; i < 2; ++i) {
    inside[i] = Make<TRadioButton>(10, 20 + 25 * i, 120, 20, group);
    inside[i]->SetCaption(AnsiString("In " + std::to_string(i)));
  }
  for (TRadioButton* r : {outside[0], outside[1], outside[2], inside[0], inside[1]})
    r->OnClick = [&, r](TObject*) { clicks.push_back(r->Caption().ToStd()); };
  Driver().RunUntilIdle();
  auto states = [&] {
    std::string s;
    for (TRadioButton* r : {outside[0], outside[1], outside[2], inside[0], inside[1]}) {
      EXPECT_EQ(SendMessageA(r->Handle(), BM_GETCHECK, 0, 0), r->Checked() ? BST_CHECKED : BST_UNCHECKED);
      s += r->Checked() ? '1' : '0';
    }
    return s;
  };
  ClickOn(outside[1]);
  EXPECT_EQ(states(), "01000");
  ClickOn(inside[0]);
  EXPECT_EQ(states(), "01010");
  ClickOn(outside[2]);
  EXPECT_EQ(states(), "00110");
  inside[1]->SetCheckedProp(true);
  EXPECT_EQ(states(), "00101");
  // Clicking the checked one again changes nothing.
  ClickOn(inside[1]);
  EXPECT_EQ(states(), "00101");
  EXPECT_EQ(clicks, (std::vector<std::string>{"Out 1", "In 0", "Out 2", "In 1"}));
  // Only the checked button of a group is a tab stop.
  EXPECT_TRUE(inside[1]->TabStop);
  EXPECT_FALSE(inside[0]->TabStop);
  // The group box's mnemonic focuses its first child that takes the focus.
  EXPECT_EQ(Offer(form, CM_DIALOGCHAR, 'f'), 1);
  EXPECT_TRUE(inside[1]->Focused());
}

TEST_F(ButtonsTest, StaticTextsSizeToTheirCaptionAndLeadToTheirControl) {
  auto* edit = Make<TEdit>(10, 40, 100, 22);
  auto* label = Make<TStaticText>(10, 10, 10, 10);
  label->SetCaption("Duration (&s):");
  label->SetFocusControl(edit);
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, label->Font()->Handle());
  SIZE size{};
  GetTextExtentPoint32A(dc, "Duration (&s):", 14, &size);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  EXPECT_EQ(label->Width(), size.cx + 4 * GetSystemMetrics(SM_CXBORDER));
  EXPECT_EQ(label->Height(), size.cy + 4 * GetSystemMetrics(SM_CYBORDER));
  const int wide = label->Width();
  label->SetCaption("D");
  EXPECT_LT(label->Width(), wide);
  label->SetAutoSize(false);
  label->SetCaption("Duration (&s):");
  EXPECT_LT(label->Width(), wide);
  label->SetCaption("Duration (&s):x");
  EXPECT_EQ(Offer(form, CM_DIALOGCHAR, 's'), 1);
  EXPECT_TRUE(edit->Focused());
  // Once the control is gone the mnemonic leads nowhere.
  delete edit;
  EXPECT_EQ(label->FocusControl(), nullptr);
  EXPECT_EQ(Offer(form, CM_DIALOGCHAR, 's'), 0);
}

TEST_F(ButtonsTest, ButtonsFollowTheirActionAndAClickExecutesIt) {
  auto* action = new TAction(form);
  action->SetCaption("&Loop");
  int executed = 0;
  action->OnExecute = [&](TObject*) { ++executed; };
  auto* box = Make<TCheckBox>(10, 10, 120, 20);
  auto* push = Make<TButton>(10, 40, 80, 25);
  box->SetAction(action);
  push->SetAction(action);
  EXPECT_NE(dynamic_cast<TButtonActionLink*>(box->ActionLink()), nullptr);
  EXPECT_EQ(box->Caption(), "&Loop");
  EXPECT_EQ(push->Caption(), "&Loop");
  // The action's Checked reaches the check box without a click of its own.
  action->SetChecked(true);
  EXPECT_TRUE(box->Checked());
  EXPECT_EQ(SendMessageA(box->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(executed, 0);
  // A change by the user is a click: it executes the action.
  box->SetCheckedProp(false);
  EXPECT_EQ(executed, 1);
  // Showing what the action does not, the box is left alone; once they agree again it follows.
  action->SetChecked(false);
  action->SetChecked(true);
  EXPECT_TRUE(box->Checked());
  EXPECT_EQ(executed, 1);
  ClickOn(push);
  EXPECT_EQ(executed, 2);
  action->SetEnabled(false);
  EXPECT_FALSE(push->Enabled());
}

}  // namespace
