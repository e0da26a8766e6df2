#include "platform/forms/TPopupMenu.h"

#include "platform/forms/TPopupList.h"

TPopupMenu::TPopupMenu(TComponent* owner) : TMenu(owner) {
  if (PopupList) PopupList->Add(this);
}

TPopupMenu::~TPopupMenu() {
  if (PopupList) PopupList->Remove(this);
}

void TPopupMenu::SetPopupComponent(TComponent* value) {
  if (popupComponent_ == value) return;
  if (popupComponent_) popupComponent_->RemoveFreeNotification(this);
  popupComponent_ = value;
  if (value) value->FreeNotification(this);
}

void TPopupMenu::Notification(TComponent* component, TOperation operation) {
  TMenu::Notification(component, operation);
  if (operation == opRemove && component == popupComponent_) popupComponent_ = nullptr;
}

void TPopupMenu::DoPopup(TObject* sender) {
  if (OnPopup) OnPopup(sender);
}

void TPopupMenu::Popup(int x, int y) {
  popupPoint_ = POINT{x, y};
  DoPopup(this);
  Items()->InitiateActions();
  UINT flags = trackButton_ == tbLeftButton ? TPM_LEFTBUTTON : TPM_RIGHTBUTTON;
  if (alignment_ == paRight) flags |= TPM_RIGHTALIGN;
  if (alignment_ == paCenter) flags |= TPM_CENTERALIGN;
  HWND window = PopupList ? PopupList->Window() : nullptr;
  TrackPopupMenu(Items()->Handle(), flags, x, y, 0, window, nullptr);
}
