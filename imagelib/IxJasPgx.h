// The PGX codec of the JPEG-2000 family class: one grey component of 1 to 16 bits, big- or
// little-endian, signed or not; written at 8 bits with the header layout other readers expect.
#pragma once

#include <vector>

#include "imagelib/IxJasImage.h"

class IxStreamCursor;

class IxJasPgx {
 public:
  static bool Decode(IxStreamCursor& in, IxJasImage& image);
  static void Encode(const IxJasImage& image, std::vector<uint8_t>& out);
};
