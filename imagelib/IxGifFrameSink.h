// Places the decoded lines of one GIF frame on the screen-sized picture: it maps each line to
// its row (top-down, or the four passes of an interlaced frame) and either composites the
// frame's palette indices (its transparent index leaves the picture unchanged) or, on a 24-bit
// picture, writes the pixels' colours from the frame's colour table (every pixel, or all but the
// transparent ones, which then leave the picture and its alpha plane unchanged; the others are
// made opaque). Rows and columns outside the frame or the picture are never written.
#pragma once

#include <cstdint>

#include "imagelib/IxGifLzwDecoder.h"
#include "imagelib/IxImageTypes.h"

class IxImage;

class IxGifFrameSink : public IxGifLineSink {
 public:
  struct Frame {
    int left = 0, top = 0, width = 0, height = 0;
    bool interlaced = false;
    int bpp = 8;          // indices are taken modulo 2^bpp, as a picture of that depth holds them
    int transIndex = -1;  // indexed compositing skips it; -1 for none
    bool colourSkipsTransparent = false;  // colour mode skips transIndex as well
  };

  // `colours` (256 entries) selects colour mode on a 24-bit picture; null composites indices.
  IxGifFrameSink(IxImage& picture, const Frame& frame, const IxRGBQuad* colours);

  bool PutLine(const uint8_t* indices, int count) override;

 private:
  // The frame row for the next line, or -1 when every row has had its line.
  int NextRow();

  IxImage& picture_;
  Frame frame_;
  const IxRGBQuad* colours_;
  int mask_;
  int row_ = 0;
  int pass_ = 0;
};
