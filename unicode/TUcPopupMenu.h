// Popup and main menus whose items' wide captions are written after each change, and the
// popup list through which a popup menu reports its highlighted item's wide hint.
#pragma once

#include "platform/forms/TMainMenu.h"
#include "platform/forms/TPopupList.h"
#include "platform/forms/TPopupMenu.h"

class TUcPopupMenu : public TPopupMenu {
 public:
  explicit TUcPopupMenu(TComponent* owner);
  ~TUcPopupMenu() override;
  // The form library's popup list is the layer's while the menu pops up.
  void Popup(int x, int y) override;

 protected:
  void DoChange(TMenuItem* source, bool rebuild) override;
};

class TUcMainMenu : public TMainMenu {
 public:
  explicit TUcMainMenu(TComponent* owner) : TMainMenu(owner) {}

 protected:
  void DoChange(TMenuItem* source, bool rebuild) override;
};

class TUcPopupList : public TPopupList {
 public:
  explicit TUcPopupList(TPopupList* saved) : saved_(saved) {}
  TPopupList* SavedPopupList() const { return saved_; }

 protected:
  void WndProc(TMessage& message) override;

 private:
  TPopupList* saved_;
};

// The layer's popup list, between the layer's start-up and shut-down.
extern TUcPopupList* UcPopupList;

// Writes the wide captions of every item of `menu`.
void UcUpdateMenuStrings(TMenu* menu);
