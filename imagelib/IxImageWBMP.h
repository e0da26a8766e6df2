// The WBMP format class: the one-bit wireless bitmap (type 0), read and written with the
// format's multi-byte integers for width and height, rows from the top, 1 = white.
#pragma once

#include "imagelib/IxImage.h"

class IxImageWBMP : public IxImage {
 public:
  IxImageWBMP() : IxImage(IXIMAGE_FORMAT_WBMP) {}

  bool Decode(IxFile* hFile);
  bool Encode(IxFile* hFile);
};
