// TImage: a windowless control that shows a picture, at its size, centred or stretched, and
// with a transparent bitmap's key colour left out.
#pragma once

#include "platform/forms/TGraphicControl.h"
#include "platform/forms/TPicture.h"

class TImage : public TGraphicControl {
 public:
  explicit TImage(TComponent* owner);
  TPicture* Picture() { return &picture_; }
  bool Stretch() const { return stretch_; }
  void SetStretch(bool value);
  bool Center() const { return center_; }
  void SetCenter(bool value);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool value);
  // Where the picture is drawn, in the control's coordinates.
  RECT DestRect() const;

 protected:
  void Paint() override;

 private:
  void PictureChanged();
  TPicture picture_;
  bool stretch_ = false;
  bool center_ = false;
  bool transparent_ = false;
};
