// The Sun raster codec of the JPEG-2000 family class: standard and old-style uncompressed files
// of 1, 8, 24 and 32 bits (a colour map is checked, then left aside as other readers of this
// family do); written at 8 bits grey or 24 bits colour.
#pragma once

#include <vector>

#include "imagelib/IxJasImage.h"

class IxStreamCursor;

class IxJasRas {
 public:
  static bool Decode(IxStreamCursor& in, IxJasImage& image);
  static void Encode(const IxJasImage& image, std::vector<uint8_t>& out);
};
