#include "platform/forms/TMenuItem.h"

#include <algorithm>

#include "platform/forms/TCanvas.h"
#include "platform/forms/TCustomAction.h"
#include "platform/forms/TMainMenu.h"
#include "platform/forms/TMenu.h"
#include "platform/forms/TMenuActionLink.h"
#include "platform/forms/TPopupMenu.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/StringRoutines.h"

namespace {

// Command ids in use. WM_COMMAND carries a 16-bit id and 0 means "nothing chosen", so ids run
// from 1 to 0xFFFF and are handed back when their item goes.
std::vector<bool>& CommandPool() {
  static std::vector<bool> used(0x10000, false);
  return used;
}

int UniqueCommand() {
  std::vector<bool>& used = CommandPool();
  for (std::size_t i = 1; i < used.size(); ++i)
    if (!used[i]) {
      used[i] = true;
      return static_cast<int>(i);
    }
  throw EMenuError("Too many menu items");
}

void FreeCommand(int command) {
  if (command > 0 && command < 0x10000) CommandPool()[static_cast<std::size_t>(command)] = false;
}

}  // namespace

AnsiString StripHotkey(const AnsiString& caption) {
  std::string out;
  const std::string& s = caption.ToStd();
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '&') {
      if (i + 1 < s.size()) out.push_back(s[++i]);
      continue;
    }
    out.push_back(s[i]);
  }
  return AnsiString(std::move(out));
}

AnsiString MenuLongHint(const AnsiString& hint) {
  const int bar = hint.Pos("|");
  return bar == 0 ? hint : hint.SubString(bar + 1, hint.Length() - bar);
}

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner), command_(UniqueCommand()) {}

TMenuItem::~TMenuItem() {
  SetAction(nullptr);
  if (parent_) parent_->Remove(this);
  // Entries go with their item, whoever owns them.
  while (!items_.empty()) delete items_.back();
  if (handle_) DestroyMenu(handle_);
  FreeCommand(command_);
}

TMenuItem* TMenuItem::Items(int index) const {
  if (index < 0 || index >= Count()) throw EMenuError("Menu index out of range");
  return items_[static_cast<std::size_t>(index)];
}

void TMenuItem::Add(TMenuItem* item) { Insert(Count(), item); }

void TMenuItem::Insert(int index, TMenuItem* item) {
  if (!item) return;
  if (item->parent_ || item->menu_) throw EMenuError("Menu inserted twice");
  for (TMenuItem* p = this; p; p = p->parent_)
    if (p == item) throw EMenuError("A menu item cannot contain itself");
  index = std::clamp(index, 0, Count());
  items_.insert(items_.begin() + index, item);
  item->parent_ = this;
  RebuildHandle();
  // The first entry turns this item into a sub-menu, which its parent's system menu must show.
  MenuChanged(items_.size() == 1);
}

void TMenuItem::Delete(int index) {
  TMenuItem* item = Items(index);
  items_.erase(items_.begin() + index);
  item->parent_ = nullptr;
  RebuildHandle();
  MenuChanged(items_.empty());
}

void TMenuItem::Remove(TMenuItem* item) {
  const int index = IndexOf(item);
  if (index < 0) throw EMenuError("Sub-menu is not in menu");
  Delete(index);
}

void TMenuItem::Clear() {
  while (!items_.empty()) delete items_.back();
}

int TMenuItem::IndexOf(const TMenuItem* item) const {
  auto it = std::find(items_.begin(), items_.end(), item);
  return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

TMenuItem* TMenuItem::Find(const AnsiString& caption) const {
  const AnsiString wanted = StripHotkey(caption);
  for (TMenuItem* item : items_)
    if (AnsiSameText(wanted, StripHotkey(item->caption_))) return item;
  return nullptr;
}

TMenu* TMenuItem::GetParentMenu() const {
  const TMenuItem* root = this;
  while (root->parent_) root = root->parent_;
  return root->menu_;
}

TComponent* TMenuItem::GetParentComponent() const {
  if (parent_ && parent_->menu_) return parent_->menu_;
  return parent_;
}

void TMenuItem::SetParentComponent(TComponent* value) {
  if (parent_) parent_->Remove(this);
  if (auto* menu = dynamic_cast<TMenu*>(value))
    menu->Items()->Add(this);
  else if (auto* item = dynamic_cast<TMenuItem*>(value))
    item->Add(this);
}

void TMenuItem::GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) {
  for (TMenuItem* item : std::vector<TMenuItem*>(items_))
    if (item->Owner() == root) proc(item);
}

HMENU TMenuItem::Handle() {
  if (!handle_) {
    handle_ = dynamic_cast<TMainMenu*>(menu_) ? CreateMenu() : CreatePopupMenu();
    if (!handle_) throw EMenuError("Out of system resources");
    RebuildHandle();
  }
  return handle_;
}

void TMenuItem::RebuildHandle() {
  if (!handle_) return;
  while (GetMenuItemCount(handle_) > 0) RemoveMenu(handle_, 0, MF_BYPOSITION);
  for (TMenuItem* item : items_)
    if (item->visible_) item->AppendTo(handle_);
}

AnsiString TMenuItem::MenuText() const {
  AnsiString text = caption_;
  // A menu bar shows no shortcuts on its own entries.
  const bool onMenuBar = parent_ && parent_->menu_ && dynamic_cast<TMainMenu*>(parent_->menu_);
  if (shortCut_ != 0 && !onMenuBar) {
    const AnsiString keys = ShortCutToText(shortCut_);
    if (!keys.IsEmpty()) text += AnsiString("\t") + keys;
  }
  return text;
}

bool TMenuItem::IsOwnerDraw() const {
  const TMenu* menu = GetParentMenu();
  return menu && menu->OwnerDraw() && !IsLine();
}

void TMenuItem::AppendTo(HMENU menu) {
  MENUITEMINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_DATA;
  const AnsiString text = MenuText();
  if (IsLine()) {
    info.fType = MFT_SEPARATOR;
  } else {
    info.fMask |= MIIM_STRING;
    info.dwTypeData = const_cast<char*>(text.c_str());
    info.cch = static_cast<UINT>(text.Length());
    if (radioItem_) info.fType |= MFT_RADIOCHECK;
    if (IsOwnerDraw()) info.fType |= MFT_OWNERDRAW;
  }
  if (checked_) info.fState |= MFS_CHECKED;
  if (default_) info.fState |= MFS_DEFAULT;
  if (!enabled_) info.fState |= MFS_GRAYED;
  info.wID = static_cast<UINT>(command_);
  info.hSubMenu = items_.empty() ? nullptr : Handle();
  info.dwItemData = reinterpret_cast<ULONG_PTR>(this);
  InsertMenuItemA(menu, static_cast<UINT>(GetMenuItemCount(menu)), TRUE, &info);
}

void TMenuItem::MenuChanged(bool rebuild) {
  if (parent_)
    parent_->SubItemChanged(this, rebuild);
  else if (menu_)
    menu_->MenuChanged(this, nullptr, rebuild);
}

void TMenuItem::SubItemChanged(TMenuItem* source, bool rebuild) {
  if (rebuild) RebuildHandle();
  if (parent_)
    parent_->SubItemChanged(source, false);
  else if (menu_)
    menu_->MenuChanged(this, source, false);
}

void TMenuItem::SetCaption(const AnsiString& value) {
  if (caption_ == value) return;
  caption_ = value;
  MenuChanged(true);
}

void TMenuItem::TurnSiblingsOff() {
  if (!parent_) return;
  for (TMenuItem* item : parent_->items_)
    if (item != this && item->radioItem_ && item->groupIndex_ == groupIndex_) item->checked_ = false;
}

void TMenuItem::SetChecked(bool value) {
  if (checked_ == value) return;
  checked_ = value;
  if (value && radioItem_ && !(ComponentState() & csReading)) TurnSiblingsOff();
  MenuChanged(true);
}

void TMenuItem::SetRadioItem(bool value) {
  if (radioItem_ == value) return;
  radioItem_ = value;
  if (checked_ && value && !(ComponentState() & csReading)) TurnSiblingsOff();
  MenuChanged(true);
}

void TMenuItem::SetGroupIndex(int value) {
  if (groupIndex_ == value) return;
  groupIndex_ = value;
  if (checked_ && radioItem_ && !(ComponentState() & csReading)) TurnSiblingsOff();
  MenuChanged(true);
}

void TMenuItem::SetDefault(bool value) {
  if (default_ == value) return;
  // One default entry per menu.
  if (value && parent_)
    for (TMenuItem* item : parent_->items_) item->default_ = false;
  default_ = value;
  MenuChanged(true);
}

void TMenuItem::SetEnabled(bool value) {
  if (enabled_ == value) return;
  enabled_ = value;
  MenuChanged(true);
}

void TMenuItem::SetVisible(bool value) {
  if (visible_ == value) return;
  visible_ = value;
  MenuChanged(true);
}

void TMenuItem::SetShortCut(TShortCut value) {
  if (shortCut_ == value) return;
  shortCut_ = value;
  MenuChanged(true);
}

void TMenuItem::SetImageIndex(int value) {
  if (imageIndex_ == value) return;
  imageIndex_ = value;
  MenuChanged(true);
}

void TMenuItem::Click() {
  if (!enabled_) return;
  // The item's own handler wins; without one the action runs, with the item as its
  // ActionComponent.
  if (OnClick)
    OnClick(this);
  else
    action_.Execute();
}

void TMenuItem::InitiateAction() { action_.Update(); }

TBasicAction* TMenuItem::Action() const { return action_.Action(); }

TActionLinkClass TMenuItem::GetActionLinkClass() const { return ActionLinkClassOf<TMenuActionLink>(); }

void TMenuItem::SetAction(TBasicAction* value) {
  if (!value) {
    action_.Drop();
    return;
  }
  action_.MakeLink(GetActionLinkClass());
  action_.Follow(value, [this](TObject* sender, bool checkDefaults) { ActionChange(sender, checkDefaults); });
}

void TMenuItem::ActionChange(TObject* sender, bool checkDefaults) {
  auto* action = dynamic_cast<TCustomAction*>(sender);
  if (!action) return;
  if (!checkDefaults || caption_.IsEmpty()) SetCaption(action->Caption());
  if (!checkDefaults || !checked_) SetChecked(action->Checked());
  if (!checkDefaults || enabled_) SetEnabled(action->Enabled());
  if (!checkDefaults || hint_.IsEmpty()) SetHint(action->Hint());
  if (!checkDefaults || shortCut_ == scNone) SetShortCut(action->ShortCut());
  if (!checkDefaults || visible_) SetVisible(action->Visible());
}

void TMenuItem::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (action_.LosesAction(component, operation)) SetAction(nullptr);
}

void TMenuItem::InitiateActions() {
  for (TMenuItem* item : std::vector<TMenuItem*>(items_)) item->InitiateAction();
}

void TMenuItem::Loaded() {
  TComponent::Loaded();
  if (TBasicAction* action = Action()) ActionChange(action, true);
}

void TMenuItem::MeasureItem(TCanvas* canvas, int& width, int& height) {
  if (IsLine()) {
    width = 10;
    height = 9;
  } else {
    const AnsiString text = StripHotkey(caption_);
    const AnsiString keys = shortCut_ ? ShortCutToText(shortCut_) : AnsiString();
    width = canvas->TextWidth(text) + (keys.IsEmpty() ? 0 : canvas->TextWidth(keys) + 24) + 36;
    height = std::max(canvas->TextHeight("Wg") + 6, 19);
  }
  if (OnMeasureItem) OnMeasureItem(this, canvas, width, height);
}

void TMenuItem::DrawDefault(TCanvas* canvas, RECT rect, TOwnerDrawState state) {
  const bool selected = state & odSelected;
  canvas->Brush()->SetColor(selected ? clHighlight : clMenu);
  canvas->FillRect(rect);
  if (IsLine()) {
    const int y = (rect.top + rect.bottom) / 2 - 1;
    canvas->Brush()->SetColor(clBtnShadow);
    canvas->FillRect(RECT{rect.left + 1, y, rect.right - 1, y + 1});
    canvas->Brush()->SetColor(clBtnHighlight);
    canvas->FillRect(RECT{rect.left + 1, y + 1, rect.right - 1, y + 2});
    return;
  }
  canvas->Font()->SetColor((state & (odGrayed | odDisabled)) ? clGrayText
                           : selected                        ? clHighlightText
                                                             : clMenuText);
  canvas->Brush()->SetStyle(bsClear);
  HDC dc = canvas->Handle();
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, static_cast<COLORREF>(ColorToRGB(canvas->Font()->Color())));
  if (checked_) {
    RECT mark{rect.left, rect.top, rect.left + 20, rect.bottom};
    DrawTextA(dc, radioItem_ ? "*" : "v", 1, &mark, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  }
  RECT textRect{rect.left + 20, rect.top, rect.right - 16, rect.bottom};
  UINT align = DT_LEFT;
  if (auto* popup = dynamic_cast<TPopupMenu*>(GetParentMenu())) {
    if (popup->Alignment() == paRight) align = DT_RIGHT;
    if (popup->Alignment() == paCenter) align = DT_CENTER;
  }
  DrawTextA(dc, caption_.c_str(), caption_.Length(), &textRect,
            align | DT_VCENTER | DT_SINGLELINE | DT_EXPANDTABS | ((state & odNoAccel) ? DT_HIDEPREFIX : 0));
  if (shortCut_) {
    const AnsiString keys = ShortCutToText(shortCut_);
    DrawTextA(dc, keys.c_str(), keys.Length(), &textRect,
              DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  }
  canvas->Brush()->SetStyle(bsSolid);
}

void TMenuItem::AdvancedDrawItem(TCanvas* canvas, RECT rect, TOwnerDrawState state, bool) {
  if (OnAdvancedDrawItem) {
    OnAdvancedDrawItem(this, canvas, rect, state);
    return;
  }
  if (OnDrawItem) {
    OnDrawItem(this, canvas, rect, (state & odSelected) != 0);
    return;
  }
  DrawDefault(canvas, rect, state);
}
