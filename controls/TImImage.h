// TImImage: a picture with states. It shows one picture normally (the background picture's own),
// HotPicture while the mouse is over it and SelPicture while it is pressed or selected, each
// with a one-pixel bevel; a 200 ms timer notices the mouse leaving. Inside a TImPanel a click
// selects it and clears the others, like a tool bar of picture buttons.
#pragma once

#include <functional>
#include <memory>

#include "controls/TQvBackImage.h"
#include "platform/forms/TTimer.h"

// Status bits.
constexpr int imsHot = 1, imsSelected = 2, imsPressed = 4;

using TImStatusChangedEvent = std::function<void(TObject* sender, int newStatus, int oldStatus)>;

class TImImage : public TQvBackImage {
 public:
  explicit TImImage(TComponent* owner);
  ~TImImage() override;

  int Status() const { return status_; }
  void fSetImStatus(int value);
  bool IsBkgnd() const { return isBkgnd_; }
  void fSetIsBkgnd(bool value) { isBkgnd_ = value; }
  bool Grouped() const { return grouped_; }
  void fSetGrouped(bool value) { grouped_ = value; }
  bool EnableDblClick() const { return enableDblClick_; }
  void SetEnableDblClick(bool value) { enableDblClick_ = value; }
  bool EnableDrawBevel() const { return enableDrawBevel_; }
  void fSetDrawBevel(bool value);
  TPicture* NomPicture() { return nomPicture_.get(); }
  TPicture* HotPicture() { return hotPicture_.get(); }
  TPicture* SelPicture() { return selPicture_.get(); }
  void SetNomPicture(TPicture* value) { nomPicture_->Assign(value); }
  void SetHotPicture(TPicture* value) { hotPicture_->Assign(value); }
  void SetSelPicture(TPicture* value) { selPicture_->Assign(value); }
  bool MouseInside() const { return mouseInside_; }
  TTimer* MouseTimer() { return timer_.get(); }

  TImStatusChangedEvent OnImStatusChanged;
  TNotifyEvent OnPictureChanged;

  void Click() override;
  void Dispatch(void* message) override;

 protected:
  void Paint() override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void PictureChanged() override;
  virtual void EvMouseEnter();
  virtual void EvMouseLeave();

 private:
  void TimerTick();

  int status_ = 0;
  bool isBkgnd_ = false;
  bool grouped_ = true;
  bool enableDblClick_ = false;
  bool enableDrawBevel_ = true;
  bool mouseInside_ = false;
  bool buttonDown_ = false;
  std::unique_ptr<TPicture> nomPicture_, hotPicture_, selPicture_;
  std::unique_ptr<TTimer> timer_;
};

// Registers the class and its properties for form layouts.
void RegisterImImage();
