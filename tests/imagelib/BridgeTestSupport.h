// Helpers of the tests of the format bridges (PNG, ICO, TGA, WBMP, PCX, TIFF, the JPEG-2000
// family): decoding and encoding through the dispatch in memory, and comparing our pixels with
// an independent reader's.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "PillowOracle.h"
#include "imagelib/IxImage.h"

namespace bridgetest {

std::string Name(const std::string& path);

// Decodes `bytes` with format id `id` (0 detects) into `img`.
bool DecodeBytes(IxImage& img, const std::vector<uint8_t>& bytes, uint32_t id);
// Encodes `img` with format id `id`; `ok` receives the result.
std::vector<uint8_t> EncodeBytes(IxImage& img, uint32_t id, bool* ok = nullptr);

// Red, green, blue (and alpha when `withAlpha`) of every pixel, rows top-down.
std::vector<uint8_t> PixelsTopDown(const IxImage& img, bool withAlpha = false);

// Our picture against an oracle's (RGB rows top-down), channel difference at most `tolerance`.
// Reports the first few differences; returns the number of differing pixels.
int CountDifferences(const IxImage& img, int width, int height, const std::vector<uint8_t>& rgb,
                     int tolerance, const std::string& what);

// A picture of `bpp` bits, w x h, whose pixel (x, y from the top) is f(x, y): an index at 1-8 bits,
// a 0xRRGGBB colour at 24.
template <class F>
void Fill(IxImage& img, F f) {
  for (int64_t top = 0; top < img.GetHeight(); ++top) {
    const int64_t y = img.GetHeight() - 1 - top;
    for (int64_t x = 0; x < img.GetWidth(); ++x) {
      const uint32_t v = f(x, top);
      if (img.GetBpp() <= 8)
        img.SetPixelIndex(x, y, static_cast<uint8_t>(v));
      else
        img.SetPixelColor(x, y, IxRGBQuad{uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), 0});
    }
  }
}

}  // namespace bridgetest

#include "imagelib/IxMemFile.h"

namespace bridgetest {

// A memory stream that accepts only the first `limit` bytes written, as a full disk would.
class ShortWriteFile : public IxMemFile {
 public:
  explicit ShortWriteFile(size_t limit) : limit_(limit) { Open(); }
  size_t Write(const void* buffer, size_t size, size_t count) override {
    const size_t room = limit_ > written_ ? limit_ - written_ : 0;
    const size_t items = size == 0 ? 0 : std::min(count, room / size);
    written_ += items * size;
    return IxMemFile::Write(buffer, size, items);
  }

 private:
  size_t limit_;
  size_t written_ = 0;
};

}  // namespace bridgetest

namespace bridgetest {

// How visible a pixel is: the alpha plane's value, else 0 for the transparent index or colour
// and 255 for every other pixel.
uint8_t Visibility(const IxImage& img, int64_t x, int64_t y);

// Our picture against Pillow's RGBA reading: visibility 0 where Pillow's alpha is 0 and the
// colour wherever the pixel shows. `exactAlpha` also compares partial alpha. Returns the number
// of differing pixels.
int CountRgbaDifferences(const IxImage& img, const imagetest::OraclePicture& rgba, bool exactAlpha,
                         const std::string& what);

}  // namespace bridgetest
