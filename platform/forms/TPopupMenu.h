// TPopupMenu: a menu shown at a point, by the program (Popup) or by a right click on a control
// whose PopupMenu it is. It tracks through the popup list's window, which receives the chosen
// command after the menu has closed and runs that item's OnClick.
#pragma once

#include "platform/forms/TMenu.h"

enum TPopupAlignment { paLeft, paRight, paCenter };
enum TTrackButton { tbRightButton, tbLeftButton };

class TPopupMenu : public TMenu {
 public:
  explicit TPopupMenu(TComponent* owner);
  ~TPopupMenu() override;

  // OnPopup, the entries brought up to date, then the menu tracked at the screen point (x, y).
  virtual void Popup(int x, int y);
  POINT PopupPoint() const { return popupPoint_; }
  // The component the menu was last shown for (a right-clicked control).
  TComponent* PopupComponent() const { return popupComponent_; }
  void SetPopupComponent(TComponent* value);
  bool AutoPopup() const { return autoPopup_; }
  void SetAutoPopup(bool value) { autoPopup_ = value; }
  // Which side of the point the menu lies on: paLeft puts its left edge there.
  TPopupAlignment Alignment() const { return alignment_; }
  void SetAlignment(TPopupAlignment value) { alignment_ = value; }
  TTrackButton TrackButton() const { return trackButton_; }
  void SetTrackButton(TTrackButton value) { trackButton_ = value; }

  TNotifyEvent OnPopup;

 protected:
  virtual void DoPopup(TObject* sender);
  void Notification(TComponent* component, TOperation operation) override;

 private:
  POINT popupPoint_{0, 0};
  TComponent* popupComponent_ = nullptr;
  bool autoPopup_ = true;
  TPopupAlignment alignment_ = paLeft;
  TTrackButton trackButton_ = tbRightButton;
};
