// The metafile format class (Windows metafiles and enhanced metafiles). Rendering a metafile
// needs metafile playback, which the drawing layer does not offer: every decode fails with
// "corrupted WMF", so detection moves on and no metafile is ever shown half drawn. Metafiles are
// never written.
#pragma once

#include "imagelib/IxImage.h"

class IxImageWMF : public IxImage {
 public:
  IxImageWMF() : IxImage(IXIMAGE_FORMAT_WMF) {}

  // maxWidth, maxHeight: a size that replaces the metafile's own when non-zero.
  bool Decode(IxFile* hFile, int32_t maxWidth = 0, int32_t maxHeight = 0);
  bool Encode(IxFile* hFile);
};
