#include "controls/TControlColorSet.h"

#include "platform/forms/TControl.h"

void TControlColorSet::Repaint() {
  if (owner_) owner_->Invalidate();
}

void TControlColorSet::SetColor(int index, TColor value) {
  if (index < 0 || index > 3) return;
  colors_[index] = value;
  Repaint();
}

void TControlColorSet::ResetToDefault() {
  for (TColor& c : colors_) c = clDefault;
  Repaint();
}

void TControlColorSet::CopyColors(const TControlColorSet& other) {
  for (int i = 0; i < 4; ++i) colors_[i] = other.colors_[i];
  Repaint();
}
