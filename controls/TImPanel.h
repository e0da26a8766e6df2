// TImPanel: a bordered picture panel that keeps at most one of its picture-state images
// selected; the mouse moving over the panel itself clears their hot state.
#pragma once

#include "controls/TTarnelPanel.h"

class TImPanel : public TTarnelPanel {
 public:
  using TTarnelPanel::TTarnelPanel;

  bool KeepSelStatus() const { return keepSelStatus_; }
  void fSetKeepSelStatus(bool value);
  // Clears the selected bit of every picture-state image on the panel.
  virtual void UnselAllImages();
  // Clears the hot bit of every picture-state image on the panel.
  virtual void ResetAllImages();

 protected:
  void MouseMove(TShiftState shift, int x, int y) override;

 private:
  void ClearBit(int bit);
  bool keepSelStatus_ = false;
};

// Registers the class and its properties for form layouts (with the panel it rests on).
void RegisterImPanel();
