// TDIBWriter: builds an 8-bit (with a palette's colours) or 24-bit DIB in memory, row by row,
// and hands it to the bitmap when it is freed. Rows are counted from the top and stored
// bottom-up, as a BMP file holds them.
#pragma once

#include <vector>

#include "pictures/dib/TDIB.h"
#include "platform/gdi/GdiTypes.h"

class TDIBWriter : public TDIB {
 public:
  // Formats other than pf8bit and pf24bit raise "Unsupported PixelFormat"; a zero width or
  // height raises "Invalid image dimensions". Nothing is allocated before the first row.
  TDIBWriter(TBitmap* bitmap, HPALETTE palette, int height, int width, TPixelFormat pixelFormat);
  // Hands the finished DIB to the bitmap (when any row was asked for).
  ~TDIBWriter() override;
  void* RowPointer(int row) override;
  // The header and colour table of the DIB (valid once a row was asked for).
  const BITMAPINFOHEADER* InfoHeader() const;
  int BitsSize() const { return bitsSize_; }

 private:
  void CreateDIB();
  void HandOver();

  std::vector<BYTE> info_;
  std::vector<BYTE> bits_;
  int infoSize_ = 0;
  int bitsSize_ = 0;
  HPALETTE palette_;
  int height_;
  int width_;
};
