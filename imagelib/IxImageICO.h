// The ICO format class: reads one frame of an icon or cursor file (a DIB with its AND mask, or
// an embedded PNG) into a picture with its transparency, and writes a one-frame icon.
#pragma once

#include "imagelib/IxImage.h"

class IxImageICO : public IxImage {
 public:
  IxImageICO() : IxImage(IXIMAGE_FORMAT_ICO) {}

  bool Decode(IxFile* hFile);
  bool Encode(IxFile* hFile);

 private:
  // Applies the AND mask (stored rows, bit 1 = transparent) to the decoded picture.
  void ApplyMask(const uint8_t* mask, uint64_t maskRow, bool hadAlpha);
};
