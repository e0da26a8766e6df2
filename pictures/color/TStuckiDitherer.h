// TStuckiDitherer: Stucki's error diffusion (divisor 42).
#pragma once

#include "pictures/color/T5by3Ditherer.h"

class TStuckiDitherer : public T5by3Ditherer {
 public:
  TStuckiDitherer(int width, TColorLookup* lookup) : T5by3Ditherer(width, lookup, 42) {}

 protected:
  void SpreadError(int channel, int error) override;
};
