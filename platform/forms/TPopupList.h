// TPopupList: the popup menus of the program and the one window their tracking reports to.
// While a popup menu is open the window receives WM_INITMENUPOPUP (entries brought up to date),
// WM_MENUSELECT (the highlighted item's long hint becomes the application's hint) and the
// owner-drawing messages; after it closes, the WM_COMMAND of the chosen item, which runs its
// OnClick. The global PopupList is the list popup menus join and Popup reports to; a later
// layer may put its own list there while its menus pop up.
#pragma once

#include <vector>

#include "platform/win/Win.h"

class TPopupMenu;

class TPopupList {
 public:
  TPopupList() = default;
  virtual ~TPopupList();
  TPopupList(const TPopupList&) = delete;
  TPopupList& operator=(const TPopupList&) = delete;

  // Made on first use.
  HWND Window();
  void Add(TPopupMenu* menu);
  void Remove(TPopupMenu* menu);
  int Count() const { return static_cast<int>(menus_.size()); }
  TPopupMenu* Items(int index) const { return menus_.at(static_cast<std::size_t>(index)); }

 protected:
  virtual void WndProc(TMessage& message);

 private:
  void MainWndProc(TMessage& message);
  void MeasureItem(TMessage& message);
  void DrawItem(TMessage& message);

  std::vector<TPopupMenu*> menus_;
  HWND window_ = nullptr;
};

extern TPopupList* PopupList;

// The form library's start-up and shut-down of menus: the global popup list.
void MenusStartup();
void MenusShutdown();
