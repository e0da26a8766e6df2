// TControlColorSet: four colours of a control's states (index 0-3), clDefault (0x20000000) meaning
// the control's own Color; every change repaints the control. The skinned button's and the
// validating edit's colour sets are this, each taking colours only from its own kind.
#pragma once

#include "platform/forms/TColor.h"
#include "platform/rtl/Object.h"

class TControl;

class TControlColorSet : public TPersistent {
 public:
  explicit TControlColorSet(TControl* owner) : owner_(owner) {}

  // clDefault for an index outside 0-3.
  TColor GetColor(int index) const { return index >= 0 && index < 4 ? colors_[index] : clDefault; }
  // Ignores an index outside 0-3.
  void SetColor(int index, TColor value);
  void ResetToDefault();

 protected:
  // Takes the four colours of `other` and repaints.
  void CopyColors(const TControlColorSet& other);

 private:
  void Repaint();
  TControl* owner_;
  TColor colors_[4] = {clDefault, clDefault, clDefault, clDefault};
};
