// Decoding a PNG through the image library's PNG class (libpng underneath, then the rows turned
// into the bottom-up DIB) beside libpng reading the same file straight into a buffer, for an
// 800 x 600 photo-like RGB picture, an RGBA one and an interlaced palette one.
#include <benchmark/benchmark.h>
#include <png.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "imagelib/IxImage.h"
#include "imagelib/IxMemFile.h"

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;

// A smooth picture with some texture, so that compression does some work.
std::vector<uint8_t> MakePng(int kind) {
  IxImage img(kWidth, kHeight, kind == 2 ? 8 : 24, 0);
  if (kind == 2) {
    for (int i = 0; i < 256; ++i) img.SetPaletteColor(static_cast<uint8_t>(i), i, 255 - i, (i * 7) & 255);
  }
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      const int v = static_cast<int>(127 + 60 * std::sin(x * 0.02) + 60 * std::cos(y * 0.03)) + ((x * y) & 7);
      if (kind == 2)
        img.SetPixelIndex(x, y, static_cast<uint8_t>(v));
      else
        img.SetPixelColor(x, y,
                          IxRGBQuad{static_cast<uint8_t>(v), static_cast<uint8_t>(v / 2),
                                    static_cast<uint8_t>(255 - v), 0});
    }
  }
  if (kind == 1) {
    img.AlphaCreate();
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 0; x < kWidth; ++x) img.AlphaSet(x, y, static_cast<uint8_t>(x ^ y));
    }
  }
  img.SetCodecOption(kind == 2 ? 1 : 0, IXIMAGE_FORMAT_PNG);
  IxMemFile out;
  out.Open();
  img.Encode(&out, IXIMAGE_FORMAT_PNG);
  const uint8_t* b = out.GetBuffer(false);
  return std::vector<uint8_t>(b, b + out.Size());
}

void OursDecode(benchmark::State& state) {
  std::vector<uint8_t> png = MakePng(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    IxMemFile in(png.data(), png.size());
    IxImage img;
    if (!img.Decode(&in, IXIMAGE_FORMAT_PNG)) state.SkipWithError("decode failed");
    benchmark::DoNotOptimize(img.GetBits(0));
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kWidth * kHeight * 3);
}

void LibpngDecode(benchmark::State& state) {
  std::vector<uint8_t> png = MakePng(static_cast<int>(state.range(0)));
  std::vector<uint8_t> pixels;
  for (auto _ : state) {
    png_image image;
    memset(&image, 0, sizeof(image));
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, png.data(), png.size())) state.SkipWithError("read failed");
    image.format = state.range(0) == 1 ? PNG_FORMAT_BGRA : PNG_FORMAT_BGR;
    pixels.resize(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr))
      state.SkipWithError("read failed");
    benchmark::DoNotOptimize(pixels.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kWidth * kHeight * 3);
}

}  // namespace

// 0: RGB, 1: RGBA, 2: interlaced 8-bit palette.
BENCHMARK(OursDecode)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);
BENCHMARK(LibpngDecode)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);
