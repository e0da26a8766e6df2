// TDIBReader: reads a bitmap's rows in a chosen pixel format. A bitmap of another format is read
// through a converted copy: the caller's bitmap keeps its format and pixels.
#pragma once

#include <memory>

#include "pictures/dib/TDIB.h"

class TDIBReader : public TDIB {
 public:
  TDIBReader(TBitmap* bitmap, TPixelFormat pixelFormat);
  ~TDIBReader() override;
  // Rows of the bitmap's width, from the top; outside raises "Scan line index out of range".
  void* RowPointer(int row) override;

 private:
  std::unique_ptr<TBitmap> converted_;
};
