#include "controls/TImButtonColors.h"

#include "platform/forms/TWinControl.h"

void TImButtonColors::Repaint() {
  if (owner_) owner_->Invalidate();
}

void TImButtonColors::ResetToDefault() {
  for (TColor& c : colors_) c = clDefault;
  Repaint();
}

void TImButtonColors::Assign(TPersistent* source) {
  auto* other = dynamic_cast<TImButtonColors*>(source);
  if (!other) return;
  for (int i = 0; i < 4; ++i) colors_[i] = other->colors_[i];
  Repaint();
}

TColor TImButtonColors::fGetIbColor(int index) const {
  return index >= 0 && index < 4 ? colors_[index] : clDefault;
}

void TImButtonColors::fSetIbColor(int index, TColor value) {
  if (index < 0 || index > 3) return;
  colors_[index] = value;
  Repaint();
}
