// TImage: a windowless control that shows a picture, at its size, centred or stretched, and
// with a transparent bitmap's key colour left out.
#pragma once

#include <memory>

#include "platform/forms/TGraphicControl.h"
#include "platform/forms/TPicture.h"

class TImage : public TGraphicControl {
 public:
  explicit TImage(TComponent* owner);
  TPicture* Picture() { return picture_.get(); }
  // The picture takes a copy of `value`'s graphic.
  void SetPicture(TPicture* value) { picture_->Assign(value); }
  // While set, the image repaints at each progress report of a graphic being loaded.
  bool IncrementalDisplay() const { return incrementalDisplay_; }
  void SetIncrementalDisplay(bool value) { incrementalDisplay_ = value; }
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
  // Puts `picture` in the old one's place with the image's change and progress handlers; the
  // old picture is freed.
  void ReplacePicture(std::unique_ptr<TPicture> picture);

 private:
  void PictureChanged();
  std::unique_ptr<TPicture> picture_;
  bool incrementalDisplay_ = false;
  bool stretch_ = false;
  bool center_ = false;
  bool transparent_ = false;
};
