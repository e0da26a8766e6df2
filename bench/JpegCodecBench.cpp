// JPEG decode and encode of a 1600 x 1200 photo-like picture: the image library's JPEG class
// (EXIF pre-read, stream manager, row copy and byte swap into a bottom-up picture) against
// libjpeg called directly over memory, which does only the codec work.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

// libjpeg's headers need <cstdio> (FILE, size_t) first.
// clang-format off
#include <jpeglib.h>
// clang-format on

#include "imagelib/IxImageJPG.h"
#include "imagelib/IxMemFile.h"

namespace {

constexpr int kWidth = 1600;
constexpr int kHeight = 1200;

// Red, green, blue rows from the top, smooth with some texture, like a photo.
std::vector<uint8_t> MakeRgb() {
  std::vector<uint8_t> rgb(static_cast<size_t>(kWidth) * kHeight * 3);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      uint8_t* p = &rgb[(static_cast<size_t>(y) * kWidth + x) * 3];
      p[0] = static_cast<uint8_t>((x * 255) / kWidth);
      p[1] = static_cast<uint8_t>((y * 255) / kHeight);
      p[2] = static_cast<uint8_t>(((x ^ y) & 31) * 4 + 64);
    }
  }
  return rgb;
}

std::vector<uint8_t> LibjpegEncode(const std::vector<uint8_t>& rgb, int quality) {
  jpeg_compress_struct cinfo;
  jpeg_error_mgr jerr;
  cinfo.err = jpeg_std_error(&jerr);
  jpeg_create_compress(&cinfo);
  unsigned char* out = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &out, &size);
  cinfo.image_width = kWidth;
  cinfo.image_height = kHeight;
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, quality, FALSE);
  jpeg_start_compress(&cinfo, TRUE);
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW row = const_cast<uint8_t*>(&rgb[static_cast<size_t>(cinfo.next_scanline) * kWidth * 3]);
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  std::vector<uint8_t> file(out, out + size);
  free(out);
  return file;
}

const std::vector<uint8_t>& Rgb() {
  static const std::vector<uint8_t> rgb = MakeRgb();
  return rgb;
}

const std::vector<uint8_t>& JpegFile() {
  static const std::vector<uint8_t> file = LibjpegEncode(Rgb(), 90);
  return file;
}

void BM_DecodeLibjpeg(benchmark::State& state) {
  const std::vector<uint8_t>& file = JpegFile();
  std::vector<uint8_t> pixels(static_cast<size_t>(kWidth) * kHeight * 3);
  for (auto _ : state) {
    jpeg_decompress_struct cinfo;
    jpeg_error_mgr jerr;
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, file.data(), file.size());
    jpeg_read_header(&cinfo, TRUE);
    jpeg_start_decompress(&cinfo);
    while (cinfo.output_scanline < cinfo.output_height) {
      JSAMPROW row = &pixels[static_cast<size_t>(cinfo.output_scanline) * kWidth * 3];
      jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    benchmark::DoNotOptimize(pixels.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(pixels.size()));
}
BENCHMARK(BM_DecodeLibjpeg)->Unit(benchmark::kMillisecond);

void BM_DecodeIxImageJPG(benchmark::State& state) {
  std::vector<uint8_t> file = JpegFile();
  for (auto _ : state) {
    IxMemFile in(file.data(), file.size());
    IxImageJPG image;
    if (!image.Decode(&in)) state.SkipWithError(image.GetLastError());
    benchmark::DoNotOptimize(image.GetBits());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kWidth * kHeight * 3);
}
BENCHMARK(BM_DecodeIxImageJPG)->Unit(benchmark::kMillisecond);

void BM_EncodeLibjpeg(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(LibjpegEncode(Rgb(), 90).data());
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kWidth * kHeight * 3);
}
BENCHMARK(BM_EncodeLibjpeg)->Unit(benchmark::kMillisecond);

void BM_EncodeIxImageJPG(benchmark::State& state) {
  IxImageJPG image;
  image.Create(kWidth, kHeight, 24);
  for (int y = 0; y < kHeight; ++y) {
    const uint8_t* src = &Rgb()[static_cast<size_t>(y) * kWidth * 3];
    uint8_t* dst = image.GetBits(kHeight - 1 - y);
    for (int x = 0; x < kWidth; ++x) {
      dst[3 * x] = src[3 * x + 2];
      dst[3 * x + 1] = src[3 * x + 1];
      dst[3 * x + 2] = src[3 * x];
    }
  }
  image.SetJpegQuality(90);
  for (auto _ : state) {
    IxMemFile out;
    out.Open();
    if (!image.Encode(&out)) state.SkipWithError(image.GetLastError());
    benchmark::DoNotOptimize(out.Size());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kWidth * kHeight * 3);
}
BENCHMARK(BM_EncodeIxImageJPG)->Unit(benchmark::kMillisecond);

}  // namespace
