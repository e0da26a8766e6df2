// The OpenJPEG side of the JPEG-2000 family class: JP2 files and bare code streams read into the
// component model and written from it, through an OpenJPEG stream over an IxFile.
#pragma once

#include "imagelib/IxJasImage.h"

class IxFile;

class IxJasOpenJpeg {
 public:
  // jp2: the JP2 file format, else a bare code stream. False when the data is not readable.
  static bool Decode(IxFile* file, bool jp2, IxJasImage& image);
  // rate: the share of the raw size to aim at; 1 or more is lossless, 0 the strongest compression.
  static bool Encode(const IxJasImage& image, IxFile* file, bool jp2, double rate);
};
