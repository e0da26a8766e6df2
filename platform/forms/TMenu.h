// TMenu: the base of popup menus and menu bars. It owns the root item whose entries are the
// menu's, finds items by command, system menu or shortcut, runs the item a command or a key
// chord chooses, and reports changes of its items through DoChange.
#pragma once

#include "platform/forms/TMenuItem.h"
#include "platform/forms/TWMKey.h"

enum TFindItemKind { fkCommand, fkHandle, fkShortCut };

using TMenuChangeEvent = std::function<void(TObject* sender, TMenuItem* source, bool rebuild)>;

class TMenu : public TComponent {
 public:
  explicit TMenu(TComponent* owner);
  ~TMenu() override;

  TMenuItem* Items() const { return items_; }
  // The system menu of the root item.
  virtual HMENU Handle();
  // The item (the root included) whose command, system menu or shortcut is `value`.
  TMenuItem* FindItem(intptr_t value, TFindItemKind kind) const;
  // A key message (WM_KEYDOWN or WM_SYSKEYDOWN): the first item with that shortcut that is
  // enabled, with enabled parents, after being brought up to date is clicked; true when one was.
  virtual bool IsShortCut(TWMKey& message);
  // Clicks the item of a chosen command; false when no item of this menu has it.
  bool DispatchCommand(WORD command);
  // An item's sub-menu is about to open: its entries are brought up to date and it is clicked.
  bool DispatchPopup(HMENU menu);

  // Items are drawn by the program (WM_MEASUREITEM and WM_DRAWITEM through the popup list).
  bool OwnerDraw() const { return ownerDraw_; }
  void SetOwnerDraw(bool value);

  void GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) override;
  void Loaded() override;

  TMenuChangeEvent OnChange;

 protected:
  friend class TMenuItem;
  // An item changed (source null: the menu's own entries).
  virtual void MenuChanged(TObject* sender, TMenuItem* source, bool rebuild);
  virtual void DoChange(TMenuItem* source, bool rebuild);

 private:
  TMenuItem* items_;
  bool ownerDraw_ = false;
};
