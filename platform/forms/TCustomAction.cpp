#include "platform/forms/TCustomAction.h"

#include "platform/forms/TActionLink.h"

namespace {

// Each link hears of the new value while the action still holds the old one.
template <class F>
void ForEachLink(const std::vector<TBasicActionLink*>& clients, F tell) {
  for (TBasicActionLink* link : std::vector<TBasicActionLink*>(clients))
    if (auto* actionLink = dynamic_cast<TActionLink*>(link)) tell(actionLink);
}

}  // namespace

TCustomAction::TCustomAction(TComponent* owner) : TContainedAction(owner) {}

void TCustomAction::SetCaption(const AnsiString& value) {
  if (value == caption_) return;
  ForEachLink(clients_, [&](TActionLink* l) { l->SetCaption(value); });
  caption_ = value;
  Change();
}

void TCustomAction::SetHint(const AnsiString& value) {
  if (value == hint_) return;
  ForEachLink(clients_, [&](TActionLink* l) { l->SetHint(value); });
  hint_ = value;
  Change();
}

void TCustomAction::SetEnabled(bool value) {
  if (value == enabled_) return;
  ForEachLink(clients_, [&](TActionLink* l) { l->SetEnabled(value); });
  enabled_ = value;
  Change();
}

void TCustomAction::SetChecked(bool value) {
  if (value == checked_) return;
  ForEachLink(clients_, [&](TActionLink* l) { l->SetChecked(value); });
  checked_ = value;
  Change();
}

void TCustomAction::SetVisible(bool value) {
  if (value == visible_) return;
  ForEachLink(clients_, [&](TActionLink* l) { l->SetVisible(value); });
  visible_ = value;
  Change();
}

void TCustomAction::SetShortCut(TShortCut value) {
  if (value == shortCut_) return;
  ForEachLink(clients_, [&](TActionLink* l) { l->SetShortCut(value); });
  shortCut_ = value;
  Change();
}

bool TCustomAction::Execute() {
  Update();
  return enabled_ && TContainedAction::Execute();
}

bool TCustomAction::HandleShortCut() {
  Update();
  if (!enabled_) return false;
  TContainedAction::Execute();
  return true;
}

bool TCustomAction::DoHint(AnsiString& hintStr) {
  bool canShow = true;
  if (OnHint) OnHint(hintStr, canShow);
  return canShow;
}

void TCustomAction::Assign(TPersistent* source) {
  auto* other = dynamic_cast<TCustomAction*>(source);
  if (!other) {
    TContainedAction::Assign(source);
    return;
  }
  SetCaption(other->Caption());
  SetHint(other->Hint());
  SetEnabled(other->Enabled());
  SetChecked(other->Checked());
  SetVisible(other->Visible());
  SetShortCut(other->ShortCut());
  OnExecute = other->OnExecute;
  OnUpdate = other->OnUpdate;
  OnHint = other->OnHint;
  OnChange = other->OnChange;
}
