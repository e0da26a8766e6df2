#include "pictures/dib/TDIBWriter.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "pictures/GIFException.h"
#include "pictures/dib/DIBRoutines.h"
#include "platform/gdi/Gdi.h"
#include "platform/rtl/TMemoryStream.h"

TDIBWriter::TDIBWriter(TBitmap* bitmap, HPALETTE palette, int height, int width, TPixelFormat pixelFormat)
    : TDIB(bitmap, pixelFormat), palette_(palette), height_(height), width_(width) {
  if (pixelFormat != pf8bit && pixelFormat != pf24bit) GIFError(sInvalidPixelFormat);
  if (width <= 0 || height <= 0) GIFError(sBadDimension);
}

TDIBWriter::~TDIBWriter() {
  if (bits_.empty()) return;
  // A destructor cannot report; a bitmap that cannot take the DIB stays as it was.
  try {
    HandOver();
  } catch (...) {
  }
}

const BITMAPINFOHEADER* TDIBWriter::InfoHeader() const {
  return info_.empty() ? nullptr : reinterpret_cast<const BITMAPINFOHEADER*>(info_.data());
}

void TDIBWriter::CreateDIB() {
  const bool indexed = pixelFormat_ == pf8bit;
  const int bitCount = indexed ? 8 : 24;
  const std::int64_t size = std::int64_t(AlignBit(width_, bitCount, 32)) * height_;
  try {
    infoSize_ = 40 + (indexed ? 1024 : 0);
    info_.assign(std::size_t(infoSize_), 0);
    BITMAPINFOHEADER header{};
    header.biSize = 40;
    header.biWidth = width_;
    header.biHeight = height_;
    header.biPlanes = 1;
    header.biBitCount = WORD(bitCount);
    header.biCompression = BI_RGB;
    if (indexed) {
      WORD entries = 0;
      if (palette_) GetObjectA(palette_, sizeof entries, &entries);
      entries = std::min<WORD>(entries, 256);
      PALETTEENTRY colors[256] = {};
      if (entries) GetPaletteEntries(palette_, 0, entries, colors);
      auto* table = reinterpret_cast<RGBQUAD*>(info_.data() + 40);
      for (int i = 0; i < entries; ++i)
        table[i] = RGBQUAD{colors[i].peBlue, colors[i].peGreen, colors[i].peRed, 0};
      header.biClrUsed = 256;
      header.biClrImportant = entries;
    }
    std::memcpy(info_.data(), &header, sizeof header);
    bitsSize_ = int(size);
    bits_.assign(std::size_t(size), 0);
  } catch (const std::bad_alloc&) {
    info_.clear();
    bits_.clear();
    throw EOutOfMemory(sOutOfMemDIB);
  }
}

void* TDIBWriter::RowPointer(int row) {
  if (bits_.empty()) CreateDIB();
  if (bits_.empty()) GIFError(sNoDIB);
  if (row < 0 || row >= height_) throw EInvalidGraphicOperation("Scan line index out of range");
  GdiFlush();
  const int stride = AlignBit(width_, InfoHeader()->biBitCount, 32);
  return bits_.data() + std::size_t(stride) * std::size_t(height_ - row - 1);
}

void TDIBWriter::HandOver() {
  TMemoryStream stream;
  BYTE file[14] = {'B', 'M'};
  const DWORD fileSize = DWORD(infoSize_ + bitsSize_ + 14), offset = DWORD(infoSize_ + 14);
  std::memcpy(file + 2, &fileSize, 4);
  std::memcpy(file + 10, &offset, 4);
  stream.WriteBuffer(file, 14);
  stream.WriteBuffer(info_.data(), infoSize_);
  stream.WriteBuffer(bits_.data(), bitsSize_);
  stream.SetPosition(0);
  bitmap_->LoadFromStream(&stream);
}
