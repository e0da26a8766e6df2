#include "unicode/UcActions.h"

#include "platform/forms/TButtonControl.h"
#include "platform/forms/TWinControl.h"
#include "platform/rtl/Exceptions.h"
#include "unicode/TCustomActionHelper.h"
#include "unicode/UcActionLinks.h"
#include "unicode/UcControls.h"
#include "unicode/UcNarrowText.h"
#include "unicode/UcSyncedWideString.h"

namespace {

AnsiString Narrow(const WideString& s) { return UcNarrow(std::u16string_view(s.data(), size_t(s.Length()))); }

// The two texts of an action differ only in where they live.
struct TextAccess {
  TCustomActionHelper::WideText TCustomActionHelper::*field;
  AnsiString (TCustomAction::*get)() const;
  void (TCustomAction::*set)(const AnsiString&);
};
const TextAccess kCaption{&TCustomActionHelper::Caption, &TCustomAction::GetCaption,
                          &TCustomAction::SetCaption};
const TextAccess kHint{&TCustomActionHelper::Hint, &TCustomAction::GetHint, &TCustomAction::SetHint};

AnsiString AnsiOf(TCustomAction* action, const TextAccess& t) { return (action->*t.get)(); }

WideString GetText(TCustomAction* action, const TextAccess& t) {
  if (!UcIsWideAction(action)) return UcWiden(AnsiOf(action, t));
  auto& text = TCustomActionHelper::Of(action, true)->*t.field;
  if (text.beingSet && AnsiOf(action, t) != text.newAnsi) return text.previous;
  return GetSyncedWideString(text.wide, AnsiOf(action, t));
}

void SetText(TCustomAction* action, const TextAccess& t, const WideString& value) {
  if (!UcIsWideAction(action)) {
    (action->*t.set)(Narrow(value));
    return;
  }
  auto& text = TCustomActionHelper::Of(action, true)->*t.field;
  text.previous = GetText(action, t);
  text.newAnsi = Narrow(value);
  text.beingSet = true;
  struct Reset {
    bool& flag;
    ~Reset() { flag = false; }
  } reset{text.beingSet};
  SetSyncedWideString(value, text.wide, AnsiOf(action, t), [action, &t, &text](const AnsiString& ansi) {
    if (ansi.IsEmpty() && !text.newAnsi.IsEmpty()) text.previous = WideString();
    // The form library's own setter, past any override.
    (action->*t.set)(ansi);
  });
}

WideString GetNewText(TCustomAction* action, const TextAccess& t, const WideString& defaultText) {
  if (!UcIsWideAction(action)) return defaultText;
  auto* helper = TCustomActionHelper::Of(action, false);
  if (!helper) return defaultText;
  const auto& text = helper->*t.field;
  return text.beingSet ? text.wide : defaultText;
}

TCustomAction* AsCustomAction(TBasicAction* action) { return dynamic_cast<TCustomAction*>(action); }

}  // namespace

TCustomActionHelper* TCustomActionHelper::Of(TCustomAction* action, bool create) {
  for (int i = 0; i < action->ComponentCount(); ++i)
    if (auto* helper = dynamic_cast<TCustomActionHelper*>(action->Components(i))) return helper;
  return create ? new TCustomActionHelper(action) : nullptr;
}

bool UcIsWideAction(TBasicAction* action) { return dynamic_cast<IUcAction*>(action) != nullptr; }

WideString UcAction_GetCaption(TCustomAction* action) { return GetText(action, kCaption); }
void UcAction_SetCaption(TCustomAction* action, const WideString& text) { SetText(action, kCaption, text); }
WideString UcAction_GetNewCaption(TCustomAction* action, const WideString& d) {
  return GetNewText(action, kCaption, d);
}
WideString UcAction_GetHint(TCustomAction* action) { return GetText(action, kHint); }
void UcAction_SetHint(TCustomAction* action, const WideString& text) { SetText(action, kHint, text); }
WideString UcAction_GetNewHint(TCustomAction* action, const WideString& d) {
  return GetNewText(action, kHint, d);
}

void UcAction_AfterInherited_Assign(TCustomAction* action, TPersistent* source) {
  // The wide texts themselves: their 8-bit forms would lose what the code page lacks.
  if (auto* from = dynamic_cast<TCustomAction*>(source)) {
    UcAction_SetCaption(action, UcAction_GetCaption(from));
    UcAction_SetHint(action, UcAction_GetHint(from));
  } else if (auto* control = dynamic_cast<TControl*>(source)) {
    UcAction_SetCaption(action, UcControl_GetText(control));
    UcAction_SetHint(action, UcControl_GetHint(control));
  }
}

TActionLinkClass UcControl_GetActionLinkClass(TControl* control, TActionLinkClass inheritedClass) {
  TActionLinkClass chosen;
  if (dynamic_cast<TButtonControl*>(control))
    chosen = ActionLinkClassOf<TUcButtonActionLink>();
  else if (dynamic_cast<TWinControl*>(control))
    chosen = ActionLinkClassOf<TUcWinControlActionLink>();
  else
    chosen = ActionLinkClassOf<TUcControlActionLink>();
  if (chosen->Parent != inheritedClass) throw EAssertionFailed("Unicode action link of another base class");
  return chosen;
}

void UcControl_BeforeInherited_ActionChange(TControl* control, TObject* sender, bool checkDefaults) {
  auto* action = dynamic_cast<TCustomAction*>(sender);
  if (!action || !UcIsWideAction(action)) return;
  const WideString text = UcControl_GetText(control);
  if (!checkDefaults || text.IsEmpty() || text == UcWiden(control->Name()))
    UcControl_SetText(control, UcAction_GetCaption(action));
  if (!checkDefaults || UcControl_GetHint(control).IsEmpty())
    UcControl_SetHint(control, UcAction_GetHint(action));
}

bool UcActionLink_IsCaptionLinked(bool inheritedResult, TBasicAction* action, TControl* control) {
  TCustomAction* a = AsCustomAction(action);
  return inheritedResult && a && UcAction_GetCaption(a) == UcControl_GetText(control);
}

bool UcActionLink_IsHintLinked(bool inheritedResult, TBasicAction* action, TControl* control) {
  TCustomAction* a = AsCustomAction(action);
  return inheritedResult && a && UcAction_GetHint(a) == UcControl_GetHint(control);
}

void UcActionLink_SetCaption(bool linked, TBasicAction* action, TControl* control, const AnsiString& value) {
  if (TCustomAction* a = AsCustomAction(action); linked && a)
    UcControl_SetText(control, UcAction_GetNewCaption(a, UcWiden(value)));
}

void UcActionLink_SetHint(bool linked, TBasicAction* action, TControl* control, const AnsiString& value) {
  if (TCustomAction* a = AsCustomAction(action); linked && a)
    UcControl_SetHint(control, UcAction_GetNewHint(a, UcWiden(value)));
}
