// The PNG format class: the image object over libpng. Reads every PNG libpng accepts into the
// library's bottom-up DIB (palette, grey ramp, 24-bit with an alpha plane, transparency and
// resolution) and writes indexed, 24-bit and alpha pictures, interlaced when the codec option
// word of the PNG id is 1.
#pragma once

#include "imagelib/IxImage.h"

class IxImagePNG : public IxImage {
 public:
  IxImagePNG() : IxImage(IXIMAGE_FORMAT_PNG) {}

  bool Decode(IxFile* hFile);
  bool Encode(IxFile* hFile);

  // libpng's error exits jump back into these; they hold no object with a destructor.
  struct DecodeState;
  struct EncodeState;

 private:
  friend struct DecodeState;
  friend struct EncodeState;
  bool RunDecode(DecodeState& s);
  bool RunEncode(EncodeState& s);
};
