// The JPEG-2000 family class: JP2 files and JPEG-2000 code streams (through OpenJPEG), PGX, PNM
// and Sun raster (through small codecs of our own), all read into one component model and turned
// into a picture: three colour components become a 24-bit picture, any other set one grey frame
// per component. The format id comes with each call; detection passes 0 and reads whatever the
// data is.
#pragma once

#include "imagelib/IxImage.h"

struct IxJasImage;

class IxImageJAS : public IxImage {
 public:
  IxImageJAS() : IxImage(IXIMAGE_FORMAT_UNKNOWN) {}

  bool Decode(IxFile* hFile, uint32_t imagetype);
  bool Encode(IxFile* hFile, uint32_t imagetype);

 private:
  bool ToPicture(IxJasImage& image, uint32_t imagetype);
};
