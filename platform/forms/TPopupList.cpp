#include "platform/forms/TPopupList.h"

#include <algorithm>

#include "platform/controls/Controls.h"
#include "platform/forms/CanvasHandleScope.h"
#include "platform/forms/TApplication.h"
#include "platform/forms/TCanvas.h"
#include "platform/forms/TMainMenu.h"
#include "platform/forms/TPopupMenu.h"
#include "platform/rtl/ScopeExit.h"
#include "platform/win/WindowDC.h"

void ApplicationHandleException(TObject* sender);

TPopupList* PopupList = nullptr;

void MenusStartup() {
  if (!PopupList) PopupList = new TPopupList();
  // A form's menu bar is the menu of the form's own that shows on its window.
  FormMenuShortCut = [](TComponent* form, TWMKey& message) {
    auto* control = dynamic_cast<TWinControl*>(form);
    if (!control || !control->HandleAllocated()) return false;
    for (int i = 0; i < form->ComponentCount(); ++i)
      if (auto* menu = dynamic_cast<TMainMenu*>(form->Components(i));
          menu && menu->WindowHandle() == control->Handle() && menu->IsShortCut(message))
        return true;
    return false;
  };
}

void MenusShutdown() {
  FormMenuShortCut = nullptr;
  delete PopupList;
  PopupList = nullptr;
}

TPopupList::~TPopupList() {
  if (window_) DeallocateHWnd(window_);
}

HWND TPopupList::Window() {
  if (!window_) window_ = AllocateHWnd([this](TMessage& m) { MainWndProc(m); });
  return window_;
}

void TPopupList::Add(TPopupMenu* menu) {
  if (std::find(menus_.begin(), menus_.end(), menu) == menus_.end()) menus_.push_back(menu);
}

void TPopupList::Remove(TPopupMenu* menu) { std::erase(menus_, menu); }

void TPopupList::MainWndProc(TMessage& m) {
  try {
    WndProc(m);
  } catch (...) {
    m.Result = 0;
    ApplicationHandleException(nullptr);
  }
}

void TPopupList::WndProc(TMessage& m) {
  // A handler may free menus: walk a copy, checking each is still listed.
  const std::vector<TPopupMenu*> menus = menus_;
  auto listed = [this](TPopupMenu* menu) {
    return std::find(menus_.begin(), menus_.end(), menu) != menus_.end();
  };
  switch (m.Msg) {
    case WM_COMMAND:
      for (TPopupMenu* menu : menus)
        if (listed(menu) && menu->DispatchCommand(m.WParamLo())) {
          m.Result = 0;
          return;
        }
      break;
    case WM_INITMENUPOPUP:
      for (TPopupMenu* menu : menus)
        if (listed(menu) && menu->DispatchPopup(reinterpret_cast<HMENU>(m.WParam))) {
          m.Result = 0;
          return;
        }
      break;
    case WM_MENUSELECT: {
      // The closing report (no menu) has nothing highlighted.
      const HMENU system = reinterpret_cast<HMENU>(m.LParam);
      TMenuItem* item = nullptr;
      if (system) {
        const bool subMenu = m.WParamHi() != 0xFFFF && (m.WParamHi() & MF_POPUP);
        const intptr_t value =
            subMenu ? reinterpret_cast<intptr_t>(GetSubMenu(system, m.WParamLo())) : intptr_t(m.WParamLo());
        for (TPopupMenu* menu : menus)
          if (listed(menu) && (item = menu->FindItem(value, subMenu ? fkHandle : fkCommand))) break;
      }
      if (Application) Application->SetHint(item ? MenuLongHint(item->Hint()) : AnsiString());
      m.Result = 0;
      return;
    }
    case WM_MEASUREITEM:
      MeasureItem(m);
      if (m.Result) return;
      break;
    case WM_DRAWITEM:
      DrawItem(m);
      if (m.Result) return;
      break;
    default:
      break;
  }
  m.Result = DefWindowProcA(window_, m.Msg, m.WParam, m.LParam);
}

void TPopupList::MeasureItem(TMessage& m) {
  auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
  if (!measure || measure->CtlType != ODT_MENU) return;
  for (TPopupMenu* menu : std::vector<TPopupMenu*>(menus_)) {
    TMenuItem* item = menu->FindItem(static_cast<intptr_t>(measure->itemID), fkCommand);
    if (!item) continue;
    int width = static_cast<int>(measure->itemWidth), height = static_cast<int>(measure->itemHeight);
    {
      const WindowDC dc(nullptr);
      TCanvas canvas;
      CanvasHandleScope measuring(canvas, dc);
      item->MeasureItem(&canvas, width, height);
    }
    measure->itemWidth = static_cast<UINT>(std::max(width, 0));
    measure->itemHeight = static_cast<UINT>(std::max(height, 0));
    m.Result = 1;
    return;
  }
}

void TPopupList::DrawItem(TMessage& m) {
  auto* draw = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
  if (!draw || draw->CtlType != ODT_MENU) return;
  for (TPopupMenu* menu : std::vector<TPopupMenu*>(menus_)) {
    TMenuItem* item = menu->FindItem(static_cast<intptr_t>(draw->itemID), fkCommand);
    if (!item) continue;
    static const std::pair<UINT, TOwnerDrawStateFlag> kStates[] = {
        {ODS_SELECTED, odSelected}, {ODS_GRAYED, odGrayed},   {ODS_DISABLED, odDisabled},
        {ODS_CHECKED, odChecked},   {ODS_FOCUS, odFocused},   {ODS_DEFAULT, odDefault},
        {ODS_HOTLIGHT, odHotLight}, {ODS_NOACCEL, odNoAccel}, {ODS_NOFOCUSRECT, odNoFocusRect}};
    TOwnerDrawState state = 0;
    for (const auto& [bit, flag] : kStates)
      if (draw->itemState & bit) state |= flag;
    {
      const int saved = SaveDC(draw->hDC);
      platform::ScopeExit restore([&] { RestoreDC(draw->hDC, saved); });
      TCanvas canvas;
      CanvasHandleScope drawing(canvas, draw->hDC);
      item->AdvancedDrawItem(&canvas, draw->rcItem, state, false);
    }
    m.Result = 1;
    return;
  }
}
