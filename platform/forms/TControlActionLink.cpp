#include "platform/forms/TControlActionLink.h"

#include "platform/forms/TApplication.h"
#include "platform/forms/TCustomAction.h"
#include "platform/forms/TWinControl.h"

namespace {
TCustomAction* AsCustom(TBasicAction* action) { return dynamic_cast<TCustomAction*>(action); }
}  // namespace

TControlActionLink::TControlActionLink(TObject* client)
    : TActionLink(client), client_(dynamic_cast<TControl*>(client)) {}

bool TControlActionLink::IsCaptionLinked() {
  return TActionLink::IsCaptionLinked() && client_ && client_->Caption() == AsCustom(action_)->Caption();
}

bool TControlActionLink::IsEnabledLinked() {
  return TActionLink::IsEnabledLinked() && client_ && client_->Enabled() == AsCustom(action_)->Enabled();
}

bool TControlActionLink::IsHintLinked() {
  return TActionLink::IsHintLinked() && client_ && client_->Hint() == AsCustom(action_)->Hint();
}

bool TControlActionLink::IsVisibleLinked() {
  return TActionLink::IsVisibleLinked() && client_ && client_->Visible() == AsCustom(action_)->Visible();
}

void TControlActionLink::SetCaption(const AnsiString& value) {
  if (IsCaptionLinked()) client_->SetCaption(value);
}

void TControlActionLink::SetEnabled(bool value) {
  if (IsEnabledLinked()) client_->SetEnabled(value);
}

void TControlActionLink::SetHint(const AnsiString& value) {
  if (IsHintLinked()) client_->SetHint(value);
}

void TControlActionLink::SetVisible(bool value) {
  if (IsVisibleLinked()) client_->SetVisible(value);
}

bool TControlActionLink::DoShowHint(AnsiString& hintStr) {
  TCustomAction* action = AsCustom(action_);
  if (!action) return true;
  // OnHint decides whether the shortcut is added; the hint itself shows either way.
  if (action->DoHint(hintStr) && Application && Application->HintShortCuts && action->ShortCut() != scNone &&
      !hintStr.IsEmpty())
    hintStr = hintStr + " (" + ShortCutToText(action->ShortCut()) + ")";
  return true;
}

TWinControlActionLink::TWinControlActionLink(TObject* client)
    : TControlActionLink(client), winClient_(dynamic_cast<TWinControl*>(client)) {}
