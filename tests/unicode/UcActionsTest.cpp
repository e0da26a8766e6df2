// Wide captions and hints of actions and how the links of the layer's controls and menu items
// copy and compare them.
#include <vector>

#include "UcFixture.h"
#include "platform/forms/TButton.h"
#include "platform/forms/TPopupMenu.h"
#include "unicode/TUcAction.h"
#include "unicode/TUcActionList.h"
#include "unicode/TUcEdit.h"
#include "unicode/TUcLabel.h"
#include "unicode/TUcMenuItem.h"
#include "unicode/TUcPopupMenu.h"
#include "unicode/UcActionLinks.h"
#include "unicode/UcActions.h"
#include "unicode/UcControls.h"

namespace uctest {
namespace {

// Records what its action reads while the action tells the label of a new caption.
class TWatchingLabel : public TUcLabel {
 public:
  using TUcLabel::TUcLabel;
  TUcAction* action = nullptr;
  std::vector<WideString> actionCaptions;
  void WndProc(TMessage& m) override {
    if (m.Msg == CM_TEXTCHANGED && action) actionCaptions.push_back(action->Caption());
    TUcLabel::WndProc(m);
  }
};

using UcActions = UcTest;

TEST_F(UcActions, AWideCaptionReachesLinkedLabelsAndMenuItemsExactly) {
  CodePageScope page(1252);
  TForm* form = NewForm();
  auto* list = new TUcActionList(form);
  auto* action = new TUcAction(form);
  action->SetActionList(list);
  action->SetCaption(u"Old");
  auto* label = Child<TWatchingLabel>(form, 0, 0, 100, 20);
  label->SetAction(action);
  auto* menu = new TUcPopupMenu(form);
  auto* item = new TUcMenuItem(form);
  menu->Items()->Add(item);
  item->SetAction(action);
  ASSERT_EQ(label->Caption(), WideString(u"Old"));
  label->action = action;

  action->SetCaption(kKhmer);
  EXPECT_EQ(label->Caption(), WideString(kKhmer));
  EXPECT_EQ(item->Caption(), WideString(kKhmer));
  EXPECT_EQ(label->TControl::Caption(), AnsiString("?????????"));
  // While the label heard of the change, the action still read as before.
  ASSERT_FALSE(label->actionCaptions.empty());
  EXPECT_EQ(label->actionCaptions.front(), WideString(u"Old"));
  EXPECT_EQ(action->Caption(), WideString(kKhmer));

  action->SetHint(u"\u1780|\u1781");
  EXPECT_EQ(label->Hint(), WideString(u"\u1780|\u1781"));
  EXPECT_EQ(item->Hint(), WideString(u"\u1780|\u1781"));
}

TEST_F(UcActions, ALabelChangedByHandLeavesTheCaptionLinkButAMenuItemKeepsItAcrossCaseAndMarks) {
  TForm* form = NewForm();
  auto* action = new TUcAction(form);
  action->SetCaption(u"Open");
  auto* label = Child<TUcLabel>(form, 0, 0, 100, 20);
  label->SetAction(action);
  auto* menu = new TUcPopupMenu(form);
  auto* item = new TUcMenuItem(form);
  menu->Items()->Add(item);
  item->SetAction(action);

  ASSERT_TRUE(label->ActionLink()->IsCaptionLinked());
  label->SetCaption(u"open");
  item->SetCaption(u"&oPEN");
  EXPECT_FALSE(label->ActionLink()->IsCaptionLinked());
  EXPECT_TRUE(item->ActionLink()->IsCaptionLinked());
  item->SetCaption(u"Opened");
  EXPECT_FALSE(item->ActionLink()->IsCaptionLinked());
}

TEST_F(UcActions, EachControlGetsTheLinkClassOfItsKind) {
  TForm* form = NewForm();
  auto* label = Child<TUcLabel>(form, 0, 0, 10, 10);
  auto* edit = Child<TUcEdit>(form, 0, 20, 10, 10);
  auto* button = Child<TButton>(form, 0, 40, 10, 10);
  struct Case {
    TControl* control;
    TActionLinkClass inherited;
    TActionLinkClass expected;
  };
  const Case cases[] = {
      {label, ActionLinkClassOf<TControlActionLink>(), ActionLinkClassOf<TUcControlActionLink>()},
      {edit, ActionLinkClassOf<TWinControlActionLink>(), ActionLinkClassOf<TUcWinControlActionLink>()},
      {button, ActionLinkClassOf<TButtonActionLink>(), ActionLinkClassOf<TUcButtonActionLink>()},
  };
  for (const Case& c : cases) EXPECT_EQ(UcControl_GetActionLinkClass(c.control, c.inherited), c.expected);
  EXPECT_ANY_THROW(UcControl_GetActionLinkClass(label, ActionLinkClassOf<TWinControlActionLink>()));
}

TEST_F(UcActions, ActionChangeKeepsAControlsOwnCaptionWhenAskedForDefaults) {
  TForm* form = NewForm();
  auto* action = new TUcAction(form);
  action->SetCaption(kKhmer);
  action->SetHint(u"hint");
  auto* own = Child<TUcLabel>(form, 0, 0, 10, 10);
  own->SetName("Own");
  own->SetCaption(u"Mine");
  auto* named = Child<TUcLabel>(form, 0, 0, 10, 10);
  named->SetName("Named");
  named->SetCaption(u"Named");
  UcControl_BeforeInherited_ActionChange(own, action, true);
  UcControl_BeforeInherited_ActionChange(named, action, true);
  EXPECT_EQ(own->Caption(), WideString(u"Mine"));
  EXPECT_EQ(named->Caption(), WideString(kKhmer));
  EXPECT_EQ(own->Hint(), WideString(u"hint"));
}

TEST_F(UcActions, AssignCopiesTheWideTextsOfAnActionOrAControl) {
  CodePageScope page(1252);
  TForm* form = NewForm();
  auto* source = new TUcAction(form);
  source->SetCaption(kKhmer);
  source->SetHint(kVietnamese);
  auto* copy = new TUcAction(form);
  copy->Assign(source);
  EXPECT_EQ(copy->Caption(), WideString(kKhmer));
  EXPECT_EQ(copy->Hint(), WideString(kVietnamese));

  auto* label = Child<TUcLabel>(form, 0, 0, 10, 10);
  label->SetCaption(u"\u1780\u1781");
  label->SetHint(u"\u1782");
  auto* fromControl = new TUcAction(form);
  fromControl->Assign(label);
  EXPECT_EQ(fromControl->Caption(), WideString(u"\u1780\u1781"));
  EXPECT_EQ(fromControl->Hint(), WideString(u"\u1782"));
}

TEST_F(UcActions, APlainActionDrivesUnicodeControlsThroughItsWidenedCaption) {
  TForm* form = NewForm();
  auto* action = new TAction(form);
  auto* label = Child<TUcLabel>(form, 0, 0, 10, 10);
  label->SetAction(action);
  action->SetCaption("Plain");
  EXPECT_EQ(label->Caption(), WideString(u"Plain"));
  EXPECT_EQ(UcAction_GetCaption(action), WideString(u"Plain"));
}

}  // namespace
}  // namespace uctest
