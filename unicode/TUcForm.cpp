#include "unicode/TUcForm.h"

#include "platform/controls/FlatScrollBars.h"
#include "platform/controls/Menus.h"
#include "platform/forms/InitInheritedComponent.h"
#include "platform/forms/TApplication.h"
#include "platform/forms/TMainMenu.h"
#include "platform/forms/TMenuItem.h"
#include "platform/rtl/Exceptions.h"
#include "unicode/TUcApplication.h"
#include "unicode/TUcMenuItem.h"
#include "unicode/UcPlatformFlags.h"

void TUcForm::ReadFormLayout() {
  if (ClassName() == "TUcForm" || (ComponentState() & csDesigning)) return;
  if (!InitInheritedComponent(this, "TUcForm")) throw EResNotFound("Resource " + ClassName() + " not found");
}

void TUcForm::CreateWindowHandle(const TCreateParams& params) {
  if (!Win32PlatformIsUnicode()) {
    TForm::CreateWindowHandle(params);
    return;
  }
  // There are no MDI frame forms here, so an MDI child has no client window to live in.
  if (FormStyle() == fsMDIChild && !(ComponentState() & csDesigning))
    throw EInvalidOperation("Cannot create form. No MDI forms are currently active");
  TCreateParams plain = params;
  plain.ExStyle &= ~DWORD(WS_EX_LAYERED);
  CreateUnicodeHandle(this, plain, WideString(), false);
  // The layered style was held back: switching the effect off and on again applies it.
  if (AlphaBlend()) {
    SetAlphaBlend(false);
    SetAlphaBlend(true);
  } else if (TransparentColor()) {
    SetTransparentColor(false);
    SetTransparentColor(true);
  }
}

void TUcForm::DestroyWindowHandle() {
  if (Win32PlatformIsUnicode() && HandleAllocated()) UninitializeFlatSB(Handle());
  TForm::DestroyWindowHandle();
}

void TUcForm::UpdateActions() {
  TForm::UpdateActions();
  if (UcApplication) UcApplication->DoIdle();
}

void TUcForm::WMMenuSelect(TMessage& m) {
  TMainMenu* menu = Menu();
  if (!menu || !UcApplication) return;
  const UINT flags = HIWORD(m.WParam), item = LOWORD(m.WParam);
  const auto menuHandle = reinterpret_cast<HMENU>(m.LParam);
  TMenuItem* found = nullptr;
  if (!(flags == 0xFFFF && !menuHandle)) {
    if (flags & MF_POPUP)
      found = menu->FindItem(reinterpret_cast<intptr_t>(GetSubMenu(menuHandle, int(item))), fkHandle);
    else
      found = menu->FindItem(intptr_t(item), fkCommand);
  }
  UcApplication->SetHint(found ? WideGetLongHint(WideGetMenuItemHint(found)) : WideString());
}

void TUcForm::Dispatch(void* message) {
  auto& m = *static_cast<TMessage*>(message);
  switch (m.Msg) {
    case WM_MENUSELECT:
      WMMenuSelect(m);
      break;
    case WM_WINDOWPOSCHANGING:
      TForm::Dispatch(message);
      if (Menu()) FixMenuBiDiProblem(Menu());
      return;
    case CM_BIDIMODECHANGED:
      TForm::Dispatch(message);
      for (int i = 0; i < ComponentCount(); ++i)
        if (auto* menu = dynamic_cast<TMenu*>(Components(i))) FixMenuBiDiProblem(menu);
      return;
    default:
      break;
  }
  TForm::Dispatch(message);
}
