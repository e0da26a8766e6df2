// TQvBackImage: a windowless control that paints one picture over its area, at the top-left
// corner, centred, tiled or stretched (the main window's whole skin is one); and ApplyShapeTo,
// which turns a picture into a window region: every run of pixels that differ from the
// top-left pixel's colour, row by row.
#pragma once

#include <memory>

#include "platform/forms/TCanvas.h"
#include "platform/forms/TGraphicControl.h"
#include "platform/forms/TPicture.h"

class TWinControl;

enum TQvBackImageStyle { qvbmsNormal, qvbmsCenter, qvbmsTiled, qvbmsStretch };

class TQvBackImage : public TGraphicControl {
 public:
  explicit TQvBackImage(TComponent* owner);
  ~TQvBackImage() override;

  TPicture* Picture() { return picture_.get(); }
  void SetPicture(TPicture* value) { picture_->Assign(value); }
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool value);
  TQvBackImageStyle Style() const { return style_; }
  void SetStyle(TQvBackImageStyle value);
  void SetAutoSize(bool value) override;

  // Shapes `control` from this control's picture.
  virtual bool ApplyShapeTo(TWinControl* control, bool redraw);
  // Shapes `control` from `graphic`: false, and the old region kept, when there is nothing to
  // shape with or every pixel has the key colour.
  static bool ApplyShapeTo(TWinControl* control, TGraphic* graphic, bool redraw);

 protected:
  void Paint() override;
  void Resize() override;
  virtual bool PaintPicture(TPicture* picture);
  virtual void PictureChanged();

 private:
  void AdjustBounds();
  void PaintDefault();

  std::unique_ptr<TPicture> picture_;
  bool transparent_ = false;
  TQvBackImageStyle style_ = qvbmsTiled;
};

// Paints `picture` over width x height of `canvas` in `style` (at the top-left corner, centred,
// tiled or stretched), its graphic's transparency set to `transparent`; false when there is no
// picture to paint. The background image and the bordered picture panel both paint this way.
bool PaintStyledPicture(TCanvas* canvas, TPicture* picture, int width, int height, TQvBackImageStyle style,
                        bool transparent);

// Registers the class and its properties for form layouts.
void RegisterQvBackImage();
