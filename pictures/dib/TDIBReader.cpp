#include "pictures/dib/TDIBReader.h"

TDIBReader::TDIBReader(TBitmap* bitmap, TPixelFormat pixelFormat) : TDIB(bitmap, pixelFormat) {
  if (bitmap->PixelFormat() != pixelFormat) {
    converted_ = std::make_unique<TBitmap>();
    converted_->Assign(bitmap);
    converted_->SetPixelFormat(pixelFormat);
  }
}

TDIBReader::~TDIBReader() = default;

void* TDIBReader::RowPointer(int row) { return (converted_ ? converted_.get() : bitmap_)->ScanLine(row); }
