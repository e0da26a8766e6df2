// Decoding GIF streams from memory: the GIF picture class (TGIFImage::LoadFromStream) beside
// giflib's DGifSlurp on the same bytes. The pictures are made by giflib's encoder at start: a
// 640 x 480 picture of 256 colours, and an animation of 20 frames with control blocks.
#include <benchmark/benchmark.h>
#include <gif_lib.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

#include "pictures/TGIFImage.h"
#include "platform/rtl/TMemoryStream.h"

namespace {

constexpr int kWidth = 640, kHeight = 480, kFrames = 20, kFrameWidth = 200, kFrameHeight = 150;

int WriteToMemory(GifFileType* gif, const GifByteType* data, int size) {
  auto* out = static_cast<std::vector<uint8_t>*>(gif->UserData);
  out->insert(out->end(), data, data + size);
  return size;
}

struct Reader {
  const std::vector<uint8_t>* bytes;
  size_t pos;
};

int ReadFromMemory(GifFileType* gif, GifByteType* data, int size) {
  auto* r = static_cast<Reader*>(gif->UserData);
  const size_t n = std::min(static_cast<size_t>(size), r->bytes->size() - r->pos);
  std::copy_n(r->bytes->data() + r->pos, n, data);
  r->pos += n;
  return static_cast<int>(n);
}

// Smooth bands with some noise, as photographs reduced to 256 colours look.
std::vector<uint8_t> Encode(int width, int height, int frames) {
  std::mt19937 rng(1);
  GifColorType colors[256];
  for (int k = 0; k < 256; ++k)
    colors[k] = GifColorType{static_cast<GifByteType>(k), static_cast<GifByteType>(255 - k),
                             static_cast<GifByteType>(k * 7)};
  ColorMapObject* map = GifMakeMapObject(256, colors);
  std::vector<uint8_t> out;
  int error = 0;
  GifFileType* gif = EGifOpen(&out, WriteToMemory, &error);
  EGifSetGifVersion(gif, true);
  bool ok = EGifPutScreenDesc(gif, width, height, 8, 0, map) == GIF_OK;
  if (frames > 1) {
    const GifByteType loop[] = {1, 0, 0};
    ok = ok && EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE) == GIF_OK &&
         EGifPutExtensionBlock(gif, 11, "NETSCAPE2.0") == GIF_OK &&
         EGifPutExtensionBlock(gif, 3, loop) == GIF_OK && EGifPutExtensionTrailer(gif) == GIF_OK;
  }
  std::vector<GifPixelType> row(static_cast<size_t>(width));
  for (int f = 0; f < frames && ok; ++f) {
    if (frames > 1) {
      GraphicsControlBlock control{DISPOSAL_UNSPECIFIED, false, 4, NO_TRANSPARENT_COLOR};
      GifByteType bytes[4];
      EGifGCBToExtension(&control, bytes);
      ok = EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, bytes) == GIF_OK;
    }
    ok = ok && EGifPutImageDesc(gif, 0, 0, width, height, false, nullptr) == GIF_OK;
    for (int y = 0; y < height && ok; ++y) {
      for (int x = 0; x < width; ++x)
        row[static_cast<size_t>(x)] =
            static_cast<GifPixelType>((x / 5 + y / 7 + f * 3 + static_cast<int>(rng() % 4)) & 0xFF);
      ok = EGifPutLine(gif, row.data(), width) == GIF_OK;
    }
  }
  EGifCloseFile(gif, &error);
  GifFreeMapObject(map);
  return ok ? out : std::vector<uint8_t>();
}

const std::vector<uint8_t>& Picture() {
  static const std::vector<uint8_t> bytes = Encode(kWidth, kHeight, 1);
  return bytes;
}

const std::vector<uint8_t>& Animation() {
  static const std::vector<uint8_t> bytes = Encode(kFrameWidth, kFrameHeight, kFrames);
  return bytes;
}

void DecodeOurs(benchmark::State& state, const std::vector<uint8_t>& bytes, int64_t pixels) {
  TMemoryStream stream;
  stream.WriteBuffer(bytes.data(), static_cast<int>(bytes.size()));
  TGIFImage image;
  for (auto _ : state) {
    stream.SetPosition(0);
    image.LoadFromStream(&stream);
    benchmark::DoNotOptimize(image.Images()->Count());
  }
  if (image.Images()->Count() == 0) state.SkipWithError("not decoded");
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * pixels);
}

void DecodeGiflib(benchmark::State& state, const std::vector<uint8_t>& bytes, int64_t pixels) {
  for (auto _ : state) {
    Reader reader{&bytes, 0};
    int error = 0;
    GifFileType* gif = DGifOpen(&reader, ReadFromMemory, &error);
    if (gif == nullptr || DGifSlurp(gif) != GIF_OK) state.SkipWithError("giflib decode failed");
    benchmark::DoNotOptimize(gif->ImageCount);
    DGifCloseFile(gif, &error);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * pixels);
}

void BM_DecodePictureOurs(benchmark::State& state) {
  DecodeOurs(state, Picture(), int64_t{kWidth} * kHeight);
}
void BM_DecodePictureGiflib(benchmark::State& state) {
  DecodeGiflib(state, Picture(), int64_t{kWidth} * kHeight);
}
void BM_DecodeAnimationOurs(benchmark::State& state) {
  DecodeOurs(state, Animation(), int64_t{kFrameWidth} * kFrameHeight * kFrames);
}
void BM_DecodeAnimationGiflib(benchmark::State& state) {
  DecodeGiflib(state, Animation(), int64_t{kFrameWidth} * kFrameHeight * kFrames);
}

}  // namespace

BENCHMARK(BM_DecodePictureOurs);
BENCHMARK(BM_DecodePictureGiflib);
BENCHMARK(BM_DecodeAnimationOurs);
BENCHMARK(BM_DecodeAnimationGiflib);
