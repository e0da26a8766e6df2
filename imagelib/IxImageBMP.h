// The BMP format class: reads Windows and OS/2 bitmap files and bare DIBs at 1, 2, 4, 8, 16, 24
// and 32 bits per pixel, uncompressed, bit fields (with an alpha mask, kept in an alpha plane) or
// run-length coded, with any of the information headers (12, 40, 52, 56, 64, 108 and 124 bytes),
// and writes the library's own DIB block as an uncompressed BMP file.
#pragma once

#include "imagelib/IxImage.h"

class IxStreamCursor;

class IxImageBMP : public IxImage {
 public:
  IxImageBMP() : IxImage(IXIMAGE_FORMAT_BMP) {}

  bool Decode(IxFile* hFile);
  bool Encode(IxFile* hFile);
  bool Decode(FILE* hFile);
  bool Encode(FILE* hFile);

  // Reads the information header in any of its variants and normalises it to the 40-byte layout,
  // with the red, green, blue and alpha masks a later header carries (0 without them); false when
  // it is not a header this class can read.
  static bool ReadBitmapInfo(IxStreamCursor& in, IxBitmapInfoHeader* pdib, uint32_t masks[4]);

 private:
  bool DecodeRLE(const uint8_t* data, size_t length, bool rle4);
};
