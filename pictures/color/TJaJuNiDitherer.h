// TJaJuNiDitherer: the error diffusion of Jarvis, Judice and Ninke (divisor 48).
#pragma once

#include "pictures/color/T5by3Ditherer.h"

class TJaJuNiDitherer : public T5by3Ditherer {
 public:
  TJaJuNiDitherer(int width, TColorLookup* lookup) : T5by3Ditherer(width, lookup, 48) {}

 protected:
  void SpreadError(int channel, int error) override;
};
