// TTarnelPanelColors: the bevel colours of a bordered picture panel: HighlightColor (slot 0) and
// ShadowColor (slot 1); clDefault (0x20000000) means the desktop's clBtnHighlight or clBtnShadow.
// A change repaints the panel.
#pragma once

#include "controls/TControlColorSet.h"

class TTarnelPanelColors : public TControlColorSet {
 public:
  using TControlColorSet::TControlColorSet;

  // Takes the colours of another panel colour set; any other source is ignored.
  void Assign(TPersistent* source) override;
  TColor fGetPnColor(int index) const { return GetColor(index); }
  void fSetPnColor(int index, TColor value) { SetColor(index, value); }

  TColor HighlightColor() const { return GetColor(0); }
  TColor ShadowColor() const { return GetColor(1); }
  void SetHighlightColor(TColor c) { SetColor(0, c); }
  void SetShadowColor(TColor c) { SetColor(1, c); }
  // The colours to draw with: the set ones, else the desktop's.
  TColor EffectiveHighlight() const;
  TColor EffectiveShadow() const;
};
