// The PNM codec of the JPEG-2000 family class: reads P1 to P6 (text and binary, comments in the
// header) into one grey or three colour components; writes P5 or P6 at 8 bits.
#pragma once

#include <string>
#include <vector>

#include "imagelib/IxJasImage.h"

class IxStreamCursor;

class IxJasPnm {
 public:
  static bool Decode(IxStreamCursor& in, IxJasImage& image);
  static void Encode(const IxJasImage& image, std::vector<uint8_t>& out);
};
