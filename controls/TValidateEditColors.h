// TValidateEditColors: the colours of the bordered edits' frames: default frame (0), disabled
// (1), focused (2) and hot (3); clDefault (0x20000000) means the frame's own default for the slot.
#pragma once

#include "controls/TControlColorSet.h"

class TValidateEditColors : public TControlColorSet {
 public:
  using TControlColorSet::TControlColorSet;
  // Takes the colours of another edit colour set; any other source is ignored.
  void Assign(TPersistent* source) override;
  TColor DefaultColor() const { return GetColor(0); }
  TColor DisabledColor() const { return GetColor(1); }
  TColor FocusedColor() const { return GetColor(2); }
  TColor HotColor() const { return GetColor(3); }
  void SetDefaultColor(TColor c) { SetColor(0, c); }
  void SetDisabledColor(TColor c) { SetColor(1, c); }
  void SetFocusedColor(TColor c) { SetColor(2, c); }
  void SetHotColor(TColor c) { SetColor(3, c); }
};

// Registers the colour set's properties for form layouts.
void RegisterValidateEditColors();
