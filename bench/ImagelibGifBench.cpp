// GIF decoding and LZW encoding of a 640 x 480 8-bit picture (the size of a large MMS picture),
// ours beside giflib in the same run. Both decoders read the same file, written by our encoder;
// both encoders write the same indices with the same table. Decoding covers the whole road from
// bytes to pixels: ours through the format dispatch into an IxImage, giflib through DGifSlurp.
#include <benchmark/benchmark.h>
#include <gif_lib.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

#include "imagelib/IxImage.h"
#include "imagelib/IxMemFile.h"

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;

// Smooth areas with some noise, as a quantised photograph gives.
const IxImage& Picture() {
  static IxImage* image = [] {
    auto* img = new IxImage(kWidth, kHeight, 8);
    for (int k = 0; k < 256; ++k)
      img->SetPaletteColor(static_cast<uint8_t>(k), static_cast<uint8_t>(k), static_cast<uint8_t>(255 - k),
                           static_cast<uint8_t>(k * 7));
    std::mt19937 rng(1);
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x)
        img->SetPixelIndex(x, y, static_cast<uint8_t>((x / 5 + y / 7 + static_cast<int>(rng() % 4)) & 0xFF));
    return img;
  }();
  return *image;
}

const std::vector<uint8_t>& GifBytes() {
  static const std::vector<uint8_t> bytes = [] {
    IxImage copy(Picture(), true, false, false);
    IxMemFile out;
    out.Open();
    copy.Encode(&out, IXIMAGE_FORMAT_GIF);
    const auto* b = static_cast<const uint8_t*>(out.GetBuffer(false));
    return std::vector<uint8_t>(b, b + out.Size());
  }();
  return bytes;
}

struct Reader {
  const std::vector<uint8_t>* bytes;
  size_t pos;
};

int ReadFromMemory(GifFileType* gif, GifByteType* buf, int size) {
  auto* r = static_cast<Reader*>(gif->UserData);
  const size_t n = std::min(static_cast<size_t>(size), r->bytes->size() - r->pos);
  memcpy(buf, r->bytes->data() + r->pos, n);
  r->pos += n;
  return static_cast<int>(n);
}

int WriteToMemory(GifFileType* gif, const GifByteType* buf, int size) {
  auto* out = static_cast<std::vector<uint8_t>*>(gif->UserData);
  out->insert(out->end(), buf, buf + size);
  return size;
}

void BM_DecodeOurs(benchmark::State& state) {
  std::vector<uint8_t> bytes = GifBytes();
  for (auto _ : state) {
    IxMemFile in(bytes.data(), bytes.size());
    IxImage image;
    if (!image.Decode(&in, IXIMAGE_FORMAT_GIF)) state.SkipWithError("decode failed");
    benchmark::DoNotOptimize(image.GetBits());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kWidth * kHeight);
}
BENCHMARK(BM_DecodeOurs);

void BM_DecodeGiflib(benchmark::State& state) {
  const std::vector<uint8_t>& bytes = GifBytes();
  for (auto _ : state) {
    Reader reader{&bytes, 0};
    int error = 0;
    GifFileType* gif = DGifOpen(&reader, ReadFromMemory, &error);
    if (gif == nullptr || DGifSlurp(gif) != GIF_OK) state.SkipWithError("giflib decode failed");
    benchmark::DoNotOptimize(gif->SavedImages[0].RasterBits);
    DGifCloseFile(gif, &error);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kWidth * kHeight);
}
BENCHMARK(BM_DecodeGiflib);

void BM_EncodeLzwOurs(benchmark::State& state) {
  IxImage image(Picture(), true, false, false);
  for (auto _ : state) {
    IxMemFile out;
    out.Open();
    if (!image.Encode(&out, IXIMAGE_FORMAT_GIF)) state.SkipWithError("encode failed");
    benchmark::DoNotOptimize(out.Size());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kWidth * kHeight);
}
BENCHMARK(BM_EncodeLzwOurs);

void BM_EncodeLzwGiflib(benchmark::State& state) {
  const IxImage& image = Picture();
  std::vector<GifColorType> colours(256);
  for (int k = 0; k < 256; ++k) {
    const IxRGBQuad c = image.GetPaletteColor(static_cast<uint8_t>(k));
    colours[k] = GifColorType{c.rgbRed, c.rgbGreen, c.rgbBlue};
  }
  // Rows top-down, as the file holds them.
  std::vector<GifPixelType> rows(static_cast<size_t>(kWidth) * kHeight);
  for (int r = 0; r < kHeight; ++r)
    for (int x = 0; x < kWidth; ++x)
      rows[static_cast<size_t>(r) * kWidth + x] = image.GetPixelIndex(x, kHeight - 1 - r);
  for (auto _ : state) {
    std::vector<uint8_t> out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, WriteToMemory, &error);
    ColorMapObject* map = GifMakeMapObject(256, colours.data());
    bool ok = gif != nullptr && EGifPutScreenDesc(gif, kWidth, kHeight, 8, 0, map) == GIF_OK &&
              EGifPutImageDesc(gif, 0, 0, kWidth, kHeight, false, nullptr) == GIF_OK;
    for (int r = 0; ok && r < kHeight; ++r)
      ok = EGifPutLine(gif, &rows[static_cast<size_t>(r) * kWidth], kWidth) == GIF_OK;
    if (EGifCloseFile(gif, &error) != GIF_OK || !ok) state.SkipWithError("giflib encode failed");
    GifFreeMapObject(map);
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kWidth * kHeight);
}
BENCHMARK(BM_EncodeLzwGiflib);

}  // namespace
