#include "unicode/TUcPopupMenu.h"

#include <functional>

#include "platform/controls/Menus.h"
#include "platform/rtl/ScopeExit.h"
#include "unicode/TUcApplication.h"
#include "unicode/TUcMenuItem.h"
#include "unicode/UcControls.h"

TUcPopupList* UcPopupList = nullptr;

void UcUpdateMenuStrings(TMenu* menu) {
  std::function<void(TMenuItem*)> walk = [&](TMenuItem* item) {
    for (int i = 0; i < item->Count(); ++i) {
      TMenuItem* sub = item->Items(i);
      if (auto* uc = dynamic_cast<TUcMenuItem*>(sub)) uc->UpdateMenuString(menu);
      walk(sub);
    }
  };
  walk(menu->Items());
}

TUcPopupMenu::TUcPopupMenu(TComponent* owner) : TPopupMenu(owner) {
  if (PopupList) PopupList->Remove(this);
  if (UcPopupList) UcPopupList->Add(this);
}

TUcPopupMenu::~TUcPopupMenu() {
  if (UcPopupList) UcPopupList->Remove(this);
  if (PopupList) PopupList->Add(this);  // the inherited destructor takes it out again
}

void TUcPopupMenu::Popup(int x, int y) {
  if (!UcPopupList) {
    TPopupMenu::Popup(x, y);
    return;
  }
  TPopupList* saved = UcPopupList->SavedPopupList();
  PopupList = UcPopupList;
  const platform::ScopeExit restore([saved] { PopupList = saved; });
  TPopupMenu::Popup(x, y);
}

void TUcPopupMenu::DoChange(TMenuItem* source, bool rebuild) {
  TPopupMenu::DoChange(source, rebuild);
  UcUpdateMenuStrings(this);
}

void TUcMainMenu::DoChange(TMenuItem* source, bool rebuild) {
  TMainMenu::DoChange(source, rebuild);
  UcUpdateMenuStrings(this);
}

void TUcPopupList::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_MENUSELECT: {
      const HMENU system = reinterpret_cast<HMENU>(m.LParam);
      const bool subMenu = m.WParamHi() != 0xFFFF && (m.WParamHi() & MF_POPUP);
      intptr_t value = intptr_t(m.WParamLo());
      if (subMenu) value = system ? reinterpret_cast<intptr_t>(GetSubMenu(system, m.WParamLo())) : -1;
      for (int i = 0; system && i < Count(); ++i) {
        if (TMenuItem* item = Items(i)->FindItem(value, subMenu ? fkHandle : fkCommand)) {
          if (UcApplication) UcApplication->SetHint(WideGetLongHint(WideGetMenuItemHint(item)));
          m.Result = 0;
          return;
        }
      }
      if (UcApplication) UcApplication->SetHint(WideString());
      break;
    }
    case WM_ENTERMENULOOP:
      PopupList = saved_;
      for (int i = 0; i < Count(); ++i) FixMenuBiDiProblem(Items(i));
      break;
    default:
      break;
  }
  TPopupList::WndProc(m);
}
