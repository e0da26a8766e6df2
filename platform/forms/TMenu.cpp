#include "platform/forms/TMenu.h"

TMenu::TMenu(TComponent* owner) : TComponent(owner), items_(new TMenuItem(this)) { items_->menu_ = this; }

TMenu::~TMenu() {
  // The root goes (with every entry) while this is still a menu, before the owned-component
  // sweep of the base destructor.
  TMenuItem* root = items_;
  items_ = nullptr;
  root->menu_ = nullptr;
  delete root;
}

HMENU TMenu::Handle() { return items_->Handle(); }

TMenuItem* TMenu::FindItem(intptr_t value, TFindItemKind kind) const {
  // A zero handle or shortcut names nothing (items without a system menu have a zero handle).
  if (!items_ || (value == 0 && kind != fkCommand)) return nullptr;
  std::function<TMenuItem*(TMenuItem*)> find = [&](TMenuItem* item) -> TMenuItem* {
    const bool match = (kind == fkCommand && value == item->Command()) ||
                       (kind == fkHandle && value == reinterpret_cast<intptr_t>(item->handle_)) ||
                       (kind == fkShortCut && value == item->ShortCut());
    if (match) return item;
    for (TMenuItem* sub : item->items_)
      if (TMenuItem* found = find(sub)) return found;
    return nullptr;
  };
  return find(items_);
}

bool TMenu::IsShortCut(TWMKey& message) {
  const TShortCut shortCut = ShortCut(message.CharCode, KeyDataToShiftState(message.KeyData));
  if (shortCut == scNone || !items_) return false;
  std::vector<TMenuItem*> matches;
  std::function<void(TMenuItem*)> collect = [&](TMenuItem* item) {
    if (item != items_ && item->ShortCut() == shortCut) matches.push_back(item);
    for (TMenuItem* sub : item->items_) collect(sub);
  };
  collect(items_);
  for (TMenuItem* item : matches) {
    // Parents first, as if the person opened the sub-menus down to the item.
    std::vector<TMenuItem*> chain;
    for (TMenuItem* p = item; p && p != items_; p = p->Parent()) chain.insert(chain.begin(), p);
    for (TMenuItem* p : chain) p->InitiateAction();
    bool usable = true;
    for (TMenuItem* p : chain) usable = usable && p->Enabled() && p->Visible();
    if (!usable) continue;
    item->Click();
    return true;
  }
  return false;
}

bool TMenu::DispatchCommand(WORD command) {
  TMenuItem* item = FindItem(command, fkCommand);
  if (!item || item == items_) return false;
  item->Click();
  return true;
}

bool TMenu::DispatchPopup(HMENU menu) {
  TMenuItem* item = FindItem(reinterpret_cast<intptr_t>(menu), fkHandle);
  if (!item) return false;
  item->InitiateActions();
  if (item != items_) item->Click();
  return true;
}

void TMenu::SetOwnerDraw(bool value) {
  if (ownerDraw_ == value) return;
  ownerDraw_ = value;
  std::function<void(TMenuItem*)> rebuild = [&](TMenuItem* item) {
    item->RebuildHandle();
    for (TMenuItem* sub : item->items_) rebuild(sub);
  };
  rebuild(items_);
  DoChange(nullptr, true);
}

void TMenu::GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) {
  items_->GetChildren(proc, root);
}

void TMenu::Loaded() {
  TComponent::Loaded();
  DoChange(nullptr, false);
}

void TMenu::MenuChanged(TObject*, TMenuItem* source, bool rebuild) {
  if (ComponentState() & (csLoading | csDestroying)) return;
  DoChange(source, rebuild);
}

void TMenu::DoChange(TMenuItem* source, bool rebuild) {
  if (OnChange) OnChange(this, source, rebuild);
}
