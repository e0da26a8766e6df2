// The PCX format class: reads run-length coded PCX files of 1, 2, 4 or 8 bits in one plane, 1
// bit in 2 to 4 planes and 8 bits in 3 or 4 planes; writes 1- and 4-bit pictures as bit planes,
// 8-bit ones with the 256-colour palette at the end and 24-bit ones as colour planes.
#pragma once

#include "imagelib/IxImage.h"

class IxImagePCX : public IxImage {
 public:
  IxImagePCX() : IxImage(IXIMAGE_FORMAT_PCX) {}

  bool Decode(IxFile* hFile);
  bool Encode(IxFile* hFile);
};
