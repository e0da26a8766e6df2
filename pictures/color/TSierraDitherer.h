// TSierraDitherer: Sierra's error diffusion (divisor 32).
#pragma once

#include "pictures/color/T5by3Ditherer.h"

class TSierraDitherer : public T5by3Ditherer {
 public:
  TSierraDitherer(int width, TColorLookup* lookup) : T5by3Ditherer(width, lookup, 32) {}

 protected:
  void SpreadError(int channel, int error) override;
};
