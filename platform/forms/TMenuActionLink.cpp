#include "platform/forms/TMenuActionLink.h"

#include "platform/forms/TCustomAction.h"
#include "platform/forms/TMenuItem.h"

namespace {
TCustomAction* AsCustom(TBasicAction* action) { return dynamic_cast<TCustomAction*>(action); }
}  // namespace

TMenuActionLink::TMenuActionLink(TObject* client)
    : TActionLink(client), client_(dynamic_cast<TMenuItem*>(client)) {}

bool TMenuActionLink::IsCaptionLinked() {
  return TActionLink::IsCaptionLinked() && client_ && client_->Caption() == AsCustom(action_)->Caption();
}

bool TMenuActionLink::IsCheckedLinked() {
  return TActionLink::IsCheckedLinked() && client_ && client_->Checked() == AsCustom(action_)->Checked();
}

bool TMenuActionLink::IsEnabledLinked() {
  return TActionLink::IsEnabledLinked() && client_ && client_->Enabled() == AsCustom(action_)->Enabled();
}

bool TMenuActionLink::IsHintLinked() {
  return TActionLink::IsHintLinked() && client_ && client_->Hint() == AsCustom(action_)->Hint();
}

bool TMenuActionLink::IsShortCutLinked() {
  return TActionLink::IsShortCutLinked() && client_ && client_->ShortCut() == AsCustom(action_)->ShortCut();
}

bool TMenuActionLink::IsVisibleLinked() {
  return TActionLink::IsVisibleLinked() && client_ && client_->Visible() == AsCustom(action_)->Visible();
}

void TMenuActionLink::SetCaption(const AnsiString& value) {
  if (IsCaptionLinked()) client_->SetCaption(value);
}

void TMenuActionLink::SetChecked(bool value) {
  if (IsCheckedLinked()) client_->SetChecked(value);
}

void TMenuActionLink::SetEnabled(bool value) {
  if (IsEnabledLinked()) client_->SetEnabled(value);
}

void TMenuActionLink::SetHint(const AnsiString& value) {
  if (IsHintLinked()) client_->SetHint(value);
}

void TMenuActionLink::SetShortCut(TShortCut value) {
  if (IsShortCutLinked()) client_->SetShortCut(value);
}

void TMenuActionLink::SetVisible(bool value) {
  if (IsVisibleLinked()) client_->SetVisible(value);
}
