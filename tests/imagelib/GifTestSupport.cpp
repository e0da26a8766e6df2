#include "GifTestSupport.h"

#include <png.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

#include "OracleProcess.h"
#include "imagelib/IxGifLzwEncoder.h"
#include "imagelib/IxMemFile.h"
#include "support/TempDir.h"

namespace giftest {

namespace {

void Put16(std::vector<uint8_t>& out, int v) {
  out.push_back(static_cast<uint8_t>(v & 0xFF));
  out.push_back(static_cast<uint8_t>(v >> 8));
}

int SizeBits(int entries) {
  int bits = 0;
  while ((2 << bits) < entries) ++bits;
  return bits;
}

}  // namespace

GifBuilder::GifBuilder(int width, int height, const std::vector<uint8_t>& table, int tableEntries) {
  const int entries = table.empty() ? (tableEntries ? tableEntries : 2) : static_cast<int>(table.size() / 3);
  const int bits = SizeBits(entries);
  codeSize_ = bits + 1 < 2 ? 2 : bits + 1;
  const char* sig = "GIF89a";
  bytes_.assign(sig, sig + 6);
  Put16(bytes_, width);
  Put16(bytes_, height);
  bytes_.push_back(static_cast<uint8_t>((table.empty() ? 0 : 0x80) | 0x70 | bits));
  bytes_.push_back(0);
  bytes_.push_back(0);
  bytes_.insert(bytes_.end(), table.begin(), table.end());
}

GifBuilder& GifBuilder::Control(uint8_t flags, uint16_t delay, uint8_t transIndex) {
  bytes_.insert(bytes_.end(), {0x21, 0xF9, 4, flags});
  Put16(bytes_, delay);
  bytes_.insert(bytes_.end(), {transIndex, 0});
  return *this;
}

GifBuilder& GifBuilder::Image(int left, int top, int width, int height, const std::vector<uint8_t>& pixels,
                              bool interlaced, const std::vector<uint8_t>& localTable) {
  std::vector<uint8_t> ordered = pixels;
  if (interlaced) {
    ordered.clear();
    const int start[4] = {0, 4, 2, 1}, step[4] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass)
      for (int r = start[pass]; r < height; r += step[pass])
        ordered.insert(ordered.end(), pixels.begin() + r * width, pixels.begin() + (r + 1) * width);
  }
  int codeSize = codeSize_;
  uint8_t flags = interlaced ? 0x40 : 0;
  if (!localTable.empty()) {
    const int bits = SizeBits(static_cast<int>(localTable.size() / 3));
    flags |= static_cast<uint8_t>(0x80 | bits);
    codeSize = bits + 1 < 2 ? 2 : bits + 1;
  }
  std::vector<uint8_t> stream{static_cast<uint8_t>(codeSize)};
  IxGifLzwEncoder().Compress(ordered.data(), ordered.size(), codeSize + 1, stream);
  stream.push_back(0);
  return RawImage(left, top, width, height, flags, localTable, stream);
}

GifBuilder& GifBuilder::RawImage(int left, int top, int width, int height, uint8_t flags,
                                 const std::vector<uint8_t>& localTable,
                                 const std::vector<uint8_t>& codeStream) {
  bytes_.push_back(0x2C);
  Put16(bytes_, left);
  Put16(bytes_, top);
  Put16(bytes_, width);
  Put16(bytes_, height);
  bytes_.push_back(flags);
  bytes_.insert(bytes_.end(), localTable.begin(), localTable.end());
  bytes_.insert(bytes_.end(), codeStream.begin(), codeStream.end());
  return *this;
}

GifBuilder& GifBuilder::Bytes(const std::vector<uint8_t>& raw) {
  bytes_.insert(bytes_.end(), raw.begin(), raw.end());
  return *this;
}

std::vector<uint8_t> GifBuilder::Finish() {
  std::vector<uint8_t> out = bytes_;
  out.push_back(0x3B);
  return out;
}

std::vector<uint8_t> Palette(int entries) {
  std::vector<uint8_t> t;
  for (int k = 0; k < entries; ++k) {
    t.push_back(static_cast<uint8_t>(k * 67 + 11));
    t.push_back(static_cast<uint8_t>(k * 29 + 100));
    t.push_back(static_cast<uint8_t>(255 - k));
  }
  return t;
}

bool DecodeGif(const std::vector<uint8_t>& bytes, IxImage& image, int frame) {
  IxMemFile in(const_cast<uint8_t*>(bytes.data()), bytes.size());
  image.SetFrame(frame);
  return image.Decode(&in, IXIMAGE_FORMAT_GIF);
}

std::vector<uint8_t> EncodeGif(IxImage& image, bool* ok) {
  IxMemFile out;
  out.Open();
  const bool done = image.Encode(&out, IXIMAGE_FORMAT_GIF);
  if (ok != nullptr) *ok = done;
  std::vector<uint8_t> bytes;
  if (out.Size() > 0) {
    const uint8_t* b = static_cast<const uint8_t*>(out.GetBuffer(false));
    bytes.assign(b, b + out.Size());
  }
  return bytes;
}

std::vector<uint8_t> RgbTopDown(const IxImage& image) {
  std::vector<uint8_t> out;
  for (int64_t y = static_cast<int64_t>(image.GetHeight()) - 1; y >= 0; --y)
    for (int64_t x = 0; x < image.GetWidth(); ++x) {
      const IxRGBQuad c = image.GetPixelColor(x, y, false);
      out.insert(out.end(), {c.rgbRed, c.rgbGreen, c.rgbBlue});
    }
  return out;
}

std::vector<uint8_t> IndicesTopDown(const IxImage& image) {
  std::vector<uint8_t> out;
  for (int64_t y = static_cast<int64_t>(image.GetHeight()) - 1; y >= 0; --y)
    for (int64_t x = 0; x < image.GetWidth(); ++x) out.push_back(image.GetPixelIndex(x, y));
  return out;
}

std::vector<OracleImage> PillowFirstFrameRgba(const std::vector<std::string>& paths) {
  return imagetest::PillowDecodeAll(paths, "RGBA", imagetest::PillowFrame::First);
}

std::vector<OracleImage> PillowScreenRgb(const std::vector<std::string>& paths) {
  return imagetest::PillowDecodeAll(paths, "RGB", imagetest::PillowFrame::Last);
}

OracleImage GiflibScreenRgb(const std::string& path, int width, int height) {
  OracleImage img;
  const std::string out = path + ".giflib.rgb";
  std::vector<uint8_t> log;
  if (!imagetest::RunCapture(
          "gif2rgb -1 -o " + imagetest::ShellQuote(out) + " " + imagetest::ShellQuote(path) + " 2>&1", log)) {
    img.error = "gif2rgb failed (giflib-tools from tools/setup): " + std::string(log.begin(), log.end());
    return img;
  }
  std::ifstream f(out, std::ios::binary);
  img.rgb.assign(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
  img.width = width;
  img.height = height;
  img.ok = true;
  return img;
}

OracleImage MagickScreenRgb(const std::string& path, int width, int height) {
  OracleImage img;
  if (!imagetest::RunCapture("/usr/bin/convert " + imagetest::ShellQuote(path) +
                                 " -coalesce -flatten -depth 8 rgb:- 2>/dev/null",
                             img.rgb)) {
    img.error = "ImageMagick failed (imagemagick from tools/setup)";
    return img;
  }
  img.width = width;
  img.height = height;
  img.ok = true;
  return img;
}

OracleImage ReadPngRgba(const std::string& path) {
  OracleImage img;
  png_image png;
  memset(&png, 0, sizeof png);
  png.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&png, path.c_str())) {
    img.error = "libpng cannot read " + path;
    return img;
  }
  png.format = PNG_FORMAT_RGBA;
  img.rgb.resize(PNG_IMAGE_SIZE(png));
  if (!png_image_finish_read(&png, nullptr, img.rgb.data(), 0, nullptr)) {
    img.error = "libpng failed on " + path;
    png_image_free(&png);
    return img;
  }
  img.width = static_cast<int>(png.width);
  img.height = static_cast<int>(png.height);
  img.ok = true;
  return img;
}

}  // namespace giftest
