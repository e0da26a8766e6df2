// TTarnelPanel: a panel that can show through to its parent (it captures the parent's painting
// under itself on every paint), paints a picture over that in one of the background picture's
// four styles, and draws its bevels in colours of its own choosing.
#pragma once

#include <memory>

#include "controls/TQvBackImage.h"
#include "controls/TTarnelPanelColors.h"
#include "platform/forms/TBitmap.h"
#include "platform/forms/TCustomPanel.h"

class TCustomTarnelPanel : public TCustomPanel {
 public:
  explicit TCustomTarnelPanel(TComponent* owner);
  ~TCustomTarnelPanel() override;

  bool Transparent() const { return transparent_; }
  void SetTransparent(bool value);
  TQvBackImageStyle PictureStyle() const { return pictureStyle_; }
  void SetPictureStyle(TQvBackImageStyle value);
  TTarnelPanelColors* Colors() { return colors_.get(); }
  void SetColors(TTarnelPanelColors* value) { colors_->Assign(value); }
  TPicture* Picture() { return picture_.get(); }
  void SetPicture(TPicture* value) { picture_->Assign(value); }
  // The parent's painting under the panel, as last captured; null when none was.
  TBitmap* BackgroundBitmap() { return background_.get(); }

  TNotifyEvent OnPaint;

  void Dispatch(void* message) override;

 protected:
  void Paint() override;
  // Captures the parent's painting under the panel (nothing without a parent of positive size).
  void GetBkBmp();
  void FreeBkBmp() { background_.reset(); }
  // The background over `rect`: the parent's painting (captured again with `refresh`) or the
  // panel's colour, then the picture.
  void PaintBkgnd(TCanvas* canvas, const RECT& rect, bool refresh);

 private:
  bool transparent_ = true;
  bool painting_ = false;  // set while the parent is captured: a paint that comes back draws nothing
  TQvBackImageStyle pictureStyle_ = qvbmsTiled;
  std::unique_ptr<TBitmap> background_;
  std::unique_ptr<TTarnelPanelColors> colors_;
  std::unique_ptr<TPicture> picture_;
};

class TTarnelPanel : public TCustomTarnelPanel {
 public:
  using TCustomTarnelPanel::TCustomTarnelPanel;
};

// Registers the panel classes and their properties for form layouts.
void RegisterTarnelPanel();
