// TImButtonColors: the four colours of a skinned button's faces (default frame, disabled, pushed,
// hot). clDefault (0x20000000) means the button's own Color; a change repaints the button.
#pragma once

#include "controls/TControlColorSet.h"

class TImButtonColors : public TControlColorSet {
 public:
  using TControlColorSet::TControlColorSet;

  // Takes the four colours of another button colour set; any other source is ignored.
  void Assign(TPersistent* source) override;
  TColor fGetIbColor(int index) const { return GetColor(index); }
  void fSetIbColor(int index, TColor value) { SetColor(index, value); }

  TColor DefaultColor() const { return GetColor(0); }
  TColor DisabledColor() const { return GetColor(1); }
  TColor PushedColor() const { return GetColor(2); }
  TColor HotColor() const { return GetColor(3); }
  void SetDefaultColor(TColor c) { SetColor(0, c); }
  void SetDisabledColor(TColor c) { SetColor(1, c); }
  void SetPushedColor(TColor c) { SetColor(2, c); }
  void SetHotColor(TColor c) { SetColor(3, c); }
};
