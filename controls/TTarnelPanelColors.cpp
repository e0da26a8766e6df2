#include "controls/TTarnelPanelColors.h"

void TTarnelPanelColors::Assign(TPersistent* source) {
  if (auto* other = dynamic_cast<TTarnelPanelColors*>(source)) CopyColors(*other);
}

TColor TTarnelPanelColors::EffectiveHighlight() const {
  return HighlightColor() == clDefault ? clBtnHighlight : HighlightColor();
}

TColor TTarnelPanelColors::EffectiveShadow() const {
  return ShadowColor() == clDefault ? clBtnShadow : ShadowColor();
}
