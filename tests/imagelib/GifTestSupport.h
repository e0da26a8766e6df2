// Helpers of the GIF tests: a builder for small GIF files (including damaged ones), pixel
// access in top-down order, and independent decoders to compare with (Pillow, giflib's gif2rgb,
// ImageMagick), run as the Debian tools that tools/setup installs.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "PillowOracle.h"
#include "imagelib/IxImage.h"

namespace giftest {

// Assembles a GIF file block by block.
class GifBuilder {
 public:
  // `table` holds red, green, blue triples; empty for no global table. The flags' size bits
  // announce `tableEntries` (a power of two, 2..256) even without a table.
  GifBuilder(int width, int height, const std::vector<uint8_t>& table, int tableEntries = 0);
  GifBuilder& Control(uint8_t flags, uint16_t delay, uint8_t transIndex);
  // Rows top-down; coded with LZW at the minimum code size the table needs.
  GifBuilder& Image(int left, int top, int width, int height, const std::vector<uint8_t>& pixels,
                    bool interlaced = false, const std::vector<uint8_t>& localTable = {});
  // A descriptor followed by the given code stream bytes as they are.
  GifBuilder& RawImage(int left, int top, int width, int height, uint8_t flags,
                       const std::vector<uint8_t>& localTable, const std::vector<uint8_t>& codeStream);
  GifBuilder& Bytes(const std::vector<uint8_t>& raw);
  std::vector<uint8_t> Finish();  // adds the trailer

 private:
  std::vector<uint8_t> bytes_;
  int codeSize_;
};

// A table of `entries` distinct colours.
std::vector<uint8_t> Palette(int entries);

// Decodes GIF bytes with our class through the dispatch (id 2).
bool DecodeGif(const std::vector<uint8_t>& bytes, IxImage& image, int frame = 0);
std::vector<uint8_t> EncodeGif(IxImage& image, bool* ok = nullptr);

// Red, green, blue of every pixel, rows top-down.
std::vector<uint8_t> RgbTopDown(const IxImage& image);
// Palette indices of every pixel, rows top-down (indexed pictures).
std::vector<uint8_t> IndicesTopDown(const IxImage& image);

// An independent decoder's view of a file: width, height and RGB (or RGBA) rows top-down.
using OracleImage = imagetest::OraclePicture;
// Pillow (one run for many files): the first frame as RGBA.
std::vector<OracleImage> PillowFirstFrameRgba(const std::vector<std::string>& paths);
// The whole screen after every frame is drawn (a mosaic of tiles shows the full picture), RGB.
std::vector<OracleImage> PillowScreenRgb(const std::vector<std::string>& paths);
OracleImage GiflibScreenRgb(const std::string& path, int width, int height);
OracleImage MagickScreenRgb(const std::string& path, int width, int height);

// A PNG file as RGBA rows top-down, through libpng.
OracleImage ReadPngRgba(const std::string& path);

}  // namespace giftest
