// TDIB: direct access to the pixel rows of a bitmap in a given pixel format, rows counted from
// the top.
#pragma once

#include "platform/forms/TBitmap.h"

class TDIB : public TObject {
 public:
  TDIB(TBitmap* bitmap, TPixelFormat pixelFormat) : bitmap_(bitmap), pixelFormat_(pixelFormat) {}
  virtual void* RowPointer(int row) = 0;
  TBitmap* Bitmap() const { return bitmap_; }
  TPixelFormat PixelFormat() const { return pixelFormat_; }

 protected:
  TBitmap* bitmap_;
  TPixelFormat pixelFormat_;
};
