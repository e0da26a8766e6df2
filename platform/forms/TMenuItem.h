// TMenuItem: one entry of a menu and, when it has entries of its own, the sub-menu holding them.
// Its properties (caption with an "&" hotkey, "-" for a separator line, checked and radio marks,
// enabled, visible, shortcut shown after the caption) are written into the system menu of its
// parent; the item's own system menu is built on demand from its visible entries and rebuilt
// whenever one of them changes. Each item has a command id unique in the process, by which the
// popup list routes the chosen command back to it.
#pragma once

#include <functional>
#include <vector>

#include "platform/controls/Menus.h"
#include "platform/forms/ActionClient.h"
#include "platform/forms/OwnerDrawState.h"
#include "platform/forms/ShortCuts.h"
#include "platform/forms/TBasicAction.h"
#include "platform/forms/TComponent.h"
#include "platform/win/Win.h"

class TCanvas;
class TMenu;
class TMenuActionLink;

using TMenuDrawItemEvent = std::function<void(TObject* sender, TCanvas* canvas, RECT rect, bool selected)>;
using TAdvancedMenuDrawItemEvent =
    std::function<void(TObject* sender, TCanvas* canvas, RECT rect, TOwnerDrawState state)>;
using TMenuMeasureItemEvent = std::function<void(TObject* sender, TCanvas* canvas, int& width, int& height)>;

// The caption without its hotkey marks ("&&" stays one "&").
AnsiString StripHotkey(const AnsiString& caption);
// The long part of a hint: the text after "|", or the whole hint without one.
AnsiString MenuLongHint(const AnsiString& hint);

class TMenuItem : public TComponent {
 public:
  explicit TMenuItem(TComponent* owner);
  ~TMenuItem() override;

  const AnsiString& Caption() const { return caption_; }
  void SetCaption(const AnsiString& value);
  const AnsiString& Hint() const { return hint_; }
  void SetHint(const AnsiString& value) { hint_ = value; }
  bool Checked() const { return checked_; }
  void SetChecked(bool value);
  // Checking a radio item unchecks the radio items beside it with the same GroupIndex.
  bool RadioItem() const { return radioItem_; }
  void SetRadioItem(bool value);
  int GroupIndex() const { return groupIndex_; }
  void SetGroupIndex(int value);
  bool Default() const { return default_; }
  void SetDefault(bool value);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value);
  bool Visible() const { return visible_; }
  void SetVisible(bool value);
  TShortCut ShortCut() const { return shortCut_; }
  void SetShortCut(TShortCut value);
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int value);

  // The id of the WM_COMMAND that chooses this item.
  int Command() const { return command_; }
  // The system menu of this item's entries, made on first use.
  HMENU Handle();
  bool HandleAllocated() const { return handle_ != nullptr; }

  TMenuItem* Parent() const { return parent_; }
  int Count() const { return static_cast<int>(items_.size()); }
  // Raises EMenuError when the index is outside the entries.
  TMenuItem* Items(int index) const;
  void Add(TMenuItem* item);
  // Raises EMenuError when the item already sits in a menu.
  void Insert(int index, TMenuItem* item);
  // Takes the entry out without freeing it.
  void Delete(int index);
  void Remove(TMenuItem* item);
  // Frees every entry.
  void Clear();
  int IndexOf(const TMenuItem* item) const;
  int MenuIndex() const { return parent_ ? parent_->IndexOf(this) : -1; }
  // The first entry whose caption equals `caption` without hotkey marks, ignoring case.
  TMenuItem* Find(const AnsiString& caption) const;
  bool IsLine() const { return caption_ == "-"; }

  // The action the item follows (caption, hint, checked, enabled, shortcut, visible; choosing
  // the item executes it), or null. Setting one makes the link GetActionLinkClass names.
  TBasicAction* Action() const;
  void SetAction(TBasicAction* value);
  TMenuActionLink* ActionLink() const { return action_.ActionLink(); }

  // When the item is enabled: OnClick, or without one the action.
  virtual void Click();
  // Brings the item up to date (its action's OnUpdate) before it is shown or its shortcut is
  // tried.
  virtual void InitiateAction();
  void InitiateActions();
  // The menu this item belongs to, through its parents; null when it sits in none.
  TMenu* GetParentMenu() const;
  // Tells the parent (and finally the menu) that this item changed; `rebuild` when the parent's
  // system menu must be built again.
  virtual void MenuChanged(bool rebuild);
  void Loaded() override;

  // Owner drawing, for menus that ask for it.
  virtual void AdvancedDrawItem(TCanvas* canvas, RECT rect, TOwnerDrawState state, bool topLevel);
  virtual void MeasureItem(TCanvas* canvas, int& width, int& height);

  // The layout nests items in their menu or their parent item.
  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* value) override;
  void GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) override;

  TNotifyEvent OnClick;
  TMenuDrawItemEvent OnDrawItem;
  TAdvancedMenuDrawItemEvent OnAdvancedDrawItem;
  TMenuMeasureItemEvent OnMeasureItem;

 protected:
  virtual TActionLinkClass GetActionLinkClass() const;
  // Takes the action's values; with checkDefaults only where the item still has its own
  // defaults (the layout's values win).
  virtual void ActionChange(TObject* sender, bool checkDefaults);
  void Notification(TComponent* component, TOperation operation) override;

  // The text written into the parent's system menu: the caption, then a Tab and the shortcut's
  // text for a shortcut outside a menu bar.
  AnsiString MenuText() const;
  bool IsOwnerDraw() const;
  void RebuildHandle();

  AnsiString caption_;
  AnsiString hint_;

 private:
  friend class TMenu;
  void SubItemChanged(TMenuItem* source, bool rebuild);
  void AppendTo(HMENU menu);
  void TurnSiblingsOff();
  void DrawDefault(TCanvas* canvas, RECT rect, TOwnerDrawState state);

  bool checked_ = false;
  bool radioItem_ = false;
  bool default_ = false;
  bool enabled_ = true;
  bool visible_ = true;
  int groupIndex_ = 0;
  int imageIndex_ = -1;
  TShortCut shortCut_ = 0;
  int command_ = 0;
  HMENU handle_ = nullptr;
  TMenuItem* parent_ = nullptr;
  TMenu* menu_ = nullptr;  // set on a menu's root item
  std::vector<TMenuItem*> items_;
  TActionClient<TMenuActionLink> action_{this, "The action link class of %s is not a menu item's link"};
};
