// TImButtonColors: the four colours of a skinned button's faces (default frame, disabled, pushed,
// hot). clDefault (0x20000000) means the button's own Color; a change repaints the button.
#pragma once

#include "platform/forms/TColor.h"
#include "platform/rtl/Object.h"

class TWinControl;

class TImButtonColors : public TPersistent {
 public:
  explicit TImButtonColors(TWinControl* owner) : owner_(owner) {}

  void ResetToDefault();
  // Takes the four colours of another colour set; any other source is ignored.
  void Assign(TPersistent* source) override;
  // clDefault for an index outside 0-3.
  TColor fGetIbColor(int index) const;
  // Ignores an index outside 0-3.
  void fSetIbColor(int index, TColor value);

  TColor DefaultColor() const { return colors_[0]; }
  TColor DisabledColor() const { return colors_[1]; }
  TColor PushedColor() const { return colors_[2]; }
  TColor HotColor() const { return colors_[3]; }
  void SetDefaultColor(TColor c) { fSetIbColor(0, c); }
  void SetDisabledColor(TColor c) { fSetIbColor(1, c); }
  void SetPushedColor(TColor c) { fSetIbColor(2, c); }
  void SetHotColor(TColor c) { fSetIbColor(3, c); }

 private:
  void Repaint();
  TWinControl* owner_;
  TColor colors_[4] = {clDefault, clDefault, clDefault, clDefault};
};
