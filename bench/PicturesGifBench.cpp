// Decoding GIF streams from memory: the GIF picture class (TGIFImage::LoadFromStream) beside
// giflib's DGifSlurp on the same bytes. The pictures are made by giflib's encoder at start: a
// 640 x 480 picture of 256 colours, and an animation of 20 frames with control blocks.
// Encoding 640 x 480 8-bit pixels: TGIFImage::SaveToStream into memory with LZW and with
// run-length data, beside giflib's EGifOpen/EGifPutLine on the same pixels: a photograph-like
// picture quantised to 256 colours by ReduceColors (Floyd-Steinberg), and a flat picture.
#include <benchmark/benchmark.h>
#include <gif_lib.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "pictures/color/ColorReduction.h"
#include "pictures/gif/TGIFImage.h"
#include "pictures/gif/TGIFSubImage.h"
#include "platform/gdi/Gdi.h"
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

struct Indexed {
  std::vector<GifColorType> colours;
  std::vector<uint8_t> pixels;  // rows top-down
};

// Smooth shading with grain, reduced to 256 colours the way a picture becomes a GIF frame.
Indexed QuantisedPhoto() {
  TBitmap photo;
  photo.SetPixelFormat(pf24bit);
  photo.SetSize(kWidth, kHeight);
  std::mt19937 rng(7);
  for (int y = 0; y < kHeight; ++y) {
    auto* row = static_cast<uint8_t*>(photo.ScanLine(y));
    for (int x = 0; x < kWidth; ++x) {
      const int grain = static_cast<int>(rng() % 13) - 6;
      row[3 * x] = static_cast<uint8_t>(std::clamp(x * 255 / kWidth + grain, 0, 255));
      row[3 * x + 1] = static_cast<uint8_t>(std::clamp((x + y) * 255 / (kWidth + kHeight) + grain, 0, 255));
      row[3 * x + 2] =
          static_cast<uint8_t>(std::clamp(128 + static_cast<int>(100 * std::sin(y / 40.0)) + grain, 0, 255));
    }
  }
  std::unique_ptr<TBitmap> reduced(
      ReduceColors(&photo, rmQuantize, TDitherMode::dmFloydSteinberg, 8, nullptr));
  Indexed out;
  PALETTEENTRY entries[256] = {};
  GetPaletteEntries(reduced->Palette(), 0, 256, entries);
  for (const PALETTEENTRY& e : entries) out.colours.push_back(GifColorType{e.peRed, e.peGreen, e.peBlue});
  for (int y = 0; y < kHeight; ++y) {
    const auto* row = static_cast<const uint8_t*>(reduced->ScanLine(y));
    out.pixels.insert(out.pixels.end(), row, row + kWidth);
  }
  return out;
}

Indexed Flat() {
  Indexed out;
  for (int k = 0; k < 256; ++k)
    out.colours.push_back(GifColorType{GifByteType(k), GifByteType(k), GifByteType(k)});
  out.pixels.assign(size_t{kWidth} * kHeight, 77);
  return out;
}

const Indexed& Photo() {
  static const Indexed picture = QuantisedPhoto();
  return picture;
}
const Indexed& FlatPicture() {
  static const Indexed picture = Flat();
  return picture;
}

void EncodeOurs(benchmark::State& state, const Indexed& picture, TGIFCompression compression) {
  TGIFImage image;
  image.SetCompression(compression);
  for (const GifColorType& c : picture.colours) image.GetColorMap()->Add(TColor(RGB(c.Red, c.Green, c.Blue)));
  auto* frame = new TGIFSubImage(&image);
  frame->DoSetBounds(0, 0, kWidth, kHeight);
  for (int y = 0; y < kHeight; ++y)
    std::copy_n(&picture.pixels[size_t(y) * kWidth], kWidth, frame->GetScanline(y));
  image.Add(frame);
  int64_t size = 0;
  for (auto _ : state) {
    TMemoryStream out;
    image.SaveToStream(&out);
    size = out.Size();
    benchmark::DoNotOptimize(out.Memory());
  }
  state.counters["bytes"] = static_cast<double>(size);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kWidth * kHeight);
}

void EncodeGiflib(benchmark::State& state, const Indexed& picture) {
  size_t size = 0;
  for (auto _ : state) {
    std::vector<uint8_t> out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, WriteToMemory, &error);
    ColorMapObject* map = GifMakeMapObject(256, picture.colours.data());
    bool ok = gif != nullptr && EGifPutScreenDesc(gif, kWidth, kHeight, 8, 0, map) == GIF_OK &&
              EGifPutImageDesc(gif, 0, 0, kWidth, kHeight, false, nullptr) == GIF_OK;
    for (int r = 0; ok && r < kHeight; ++r)
      ok = EGifPutLine(gif, const_cast<GifPixelType*>(&picture.pixels[size_t(r) * kWidth]), kWidth) == GIF_OK;
    if (EGifCloseFile(gif, &error) != GIF_OK || !ok) state.SkipWithError("giflib encode failed");
    GifFreeMapObject(map);
    size = out.size();
    benchmark::DoNotOptimize(out.data());
  }
  state.counters["bytes"] = static_cast<double>(size);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kWidth * kHeight);
}

void BM_EncodePhotoLzwOurs(benchmark::State& state) { EncodeOurs(state, Photo(), gcLZW); }
void BM_EncodePhotoRleOurs(benchmark::State& state) { EncodeOurs(state, Photo(), gcRLE); }
void BM_EncodePhotoGiflib(benchmark::State& state) { EncodeGiflib(state, Photo()); }
void BM_EncodeFlatLzwOurs(benchmark::State& state) { EncodeOurs(state, FlatPicture(), gcLZW); }
void BM_EncodeFlatRleOurs(benchmark::State& state) { EncodeOurs(state, FlatPicture(), gcRLE); }
void BM_EncodeFlatGiflib(benchmark::State& state) { EncodeGiflib(state, FlatPicture()); }

}  // namespace

BENCHMARK(BM_EncodePhotoLzwOurs);
BENCHMARK(BM_EncodePhotoRleOurs);
BENCHMARK(BM_EncodePhotoGiflib);
BENCHMARK(BM_EncodeFlatLzwOurs);
BENCHMARK(BM_EncodeFlatRleOurs);
BENCHMARK(BM_EncodeFlatGiflib);
BENCHMARK(BM_DecodePictureOurs);
BENCHMARK(BM_DecodePictureGiflib);
BENCHMARK(BM_DecodeAnimationOurs);
BENCHMARK(BM_DecodeAnimationGiflib);
