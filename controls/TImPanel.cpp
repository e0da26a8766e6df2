#include "controls/TImPanel.h"

#include "controls/TImImage.h"
#include "platform/forms/ClassRegistry.h"

void TImPanel::fSetKeepSelStatus(bool value) {
  keepSelStatus_ = value;
  if (!value) UnselAllImages();
}

void TImPanel::ClearBit(int bit) {
  for (int i = 0; i < ControlCount(); ++i)
    if (auto* image = dynamic_cast<TImImage*>(Controls(i)); image && (image->Status() & bit))
      image->fSetImStatus(image->Status() & ~bit);
}

void TImPanel::UnselAllImages() { ClearBit(imsSelected); }
void TImPanel::ResetAllImages() { ClearBit(imsHot); }

void TImPanel::MouseMove(TShiftState shift, int x, int y) {
  TTarnelPanel::MouseMove(shift, x, y);
  ResetAllImages();
}

void RegisterImPanel() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterTarnelPanel();
  using T = TImPanel;
  RegisterProperties<T>("TImPanel", "TTarnelPanel", Factory<T>())
      .Bool("KeepSelStatus", &T::KeepSelStatus, &T::fSetKeepSelStatus, false);
}
