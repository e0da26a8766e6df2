// The TGA format class: reads colour-mapped, true-colour and grey (with or without alpha) TGA
// files, raw or run-length coded, in any of the four row and column orders; writes 8-bit
// colour-mapped and 24- or 32-bit files, bottom-up and uncompressed.
#pragma once

#include "imagelib/IxImage.h"

class IxImageTGA : public IxImage {
 public:
  IxImageTGA() : IxImage(IXIMAGE_FORMAT_TGA) {}

  bool Decode(IxFile* hFile);
  bool Encode(IxFile* hFile);
};
