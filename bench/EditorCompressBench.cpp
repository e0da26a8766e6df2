// One step of the picture compression dialog on a 480 x 360 JPEG photo: load, scale to 50 %
// (nearest pixel), save as JPEG at quality 80, through the routine the dialog's resolution bar
// calls; once writing the result only and once writing the result and its intermediate as the
// dialog does. The peer does the same with plain libjpeg decoding, pixman's bilinear scaling and
// libjpeg encoding. Dragging the thumb keeps up while a step stays well under 15 ms. On a shared
// machine compare with --benchmark_repetitions=8 --benchmark_enable_random_interleaving=true.
#include <benchmark/benchmark.h>
#include <pixman.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

// libjpeg's headers need <cstdio> (FILE, size_t) first.
// clang-format off
#include <jpeglib.h>
// clang-format on

#include "editor/TPicResize.h"
#include "imagelib/IxImage.h"

namespace {

const std::string& Flower() {
  static const std::string path = std::string(MMS_SHARED_DIR) + "/testdata/pillow/jpeg/flower.jpg";
  return path;
}

std::string Scratch(const char* name) {
  return "/tmp/bench-compress-" + std::to_string(::getpid()) + "-" + name + ".jpg";
}

void Ours(benchmark::State& state, bool intermediate) {
  TReencodeStep step;
  step.source = Flower().c_str();
  step.sourceFormat = kFormatJpeg;
  step.percent = 50;
  step.quality = 80;
  step.result = Scratch("result").c_str();
  if (intermediate) step.intermediate = Scratch("mid").c_str();
  for (auto _ : state) {
    std::unique_ptr<IxImage> image = Reencode(step);
    if (!image) {
      state.SkipWithError("the step failed (flower.jpg missing?)");
      return;
    }
    benchmark::DoNotOptimize(image.get());
  }
  std::remove(step.result.c_str());
  if (intermediate) std::remove(step.intermediate.c_str());
}

void BM_CompressStepOurs(benchmark::State& state) { Ours(state, false); }
void BM_CompressStepOursAsTheDialog(benchmark::State& state) { Ours(state, true); }

void BM_CompressStepPeer(benchmark::State& state) {
  const std::string out = Scratch("peer");
  std::vector<unsigned char> rgb;
  std::vector<uint32_t> source, scaled;
  std::vector<unsigned char> row;
  for (auto _ : state) {
    FILE* f = std::fopen(Flower().c_str(), "rb");
    if (!f) {
      state.SkipWithError("flower.jpg not found");
      return;
    }
    jpeg_decompress_struct d;
    jpeg_error_mgr jerr;
    d.err = jpeg_std_error(&jerr);
    jpeg_create_decompress(&d);
    jpeg_stdio_src(&d, f);
    jpeg_read_header(&d, TRUE);
    d.out_color_space = JCS_RGB;
    jpeg_start_decompress(&d);
    const int w = int(d.output_width), h = int(d.output_height);
    rgb.resize(size_t(w) * 3 * size_t(h));
    while (d.output_scanline < d.output_height) {
      JSAMPROW r = &rgb[size_t(d.output_scanline) * size_t(w) * 3];
      jpeg_read_scanlines(&d, &r, 1);
    }
    jpeg_finish_decompress(&d);
    jpeg_destroy_decompress(&d);
    std::fclose(f);

    source.resize(size_t(w) * size_t(h));
    for (size_t i = 0; i < source.size(); ++i)
      source[i] = 0xFF000000u | uint32_t(rgb[i * 3]) << 16 | uint32_t(rgb[i * 3 + 1]) << 8 | rgb[i * 3 + 2];
    const int sw = w / 2, sh = h / 2;
    scaled.assign(size_t(sw) * size_t(sh), 0);
    pixman_image_t* src = pixman_image_create_bits(PIXMAN_x8r8g8b8, w, h, source.data(), w * 4);
    pixman_transform_t t;
    pixman_transform_init_scale(&t, pixman_double_to_fixed(double(w) / sw),
                                pixman_double_to_fixed(double(h) / sh));
    pixman_image_set_transform(src, &t);
    pixman_image_set_filter(src, PIXMAN_FILTER_BILINEAR, nullptr, 0);
    pixman_image_t* dst = pixman_image_create_bits(PIXMAN_x8r8g8b8, sw, sh, scaled.data(), sw * 4);
    pixman_image_composite32(PIXMAN_OP_SRC, src, nullptr, dst, 0, 0, 0, 0, 0, 0, sw, sh);
    pixman_image_unref(dst);
    pixman_image_unref(src);

    FILE* o = std::fopen(out.c_str(), "wb");
    jpeg_compress_struct c;
    jpeg_error_mgr cerr;
    c.err = jpeg_std_error(&cerr);
    jpeg_create_compress(&c);
    jpeg_stdio_dest(&c, o);
    c.image_width = JDIMENSION(sw);
    c.image_height = JDIMENSION(sh);
    c.input_components = 3;
    c.in_color_space = JCS_RGB;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, 80, TRUE);
    jpeg_start_compress(&c, TRUE);
    row.resize(size_t(sw) * 3);
    while (c.next_scanline < c.image_height) {
      const uint32_t* p = &scaled[size_t(c.next_scanline) * size_t(sw)];
      for (int x = 0; x < sw; ++x) {
        row[size_t(x) * 3] = (unsigned char)(p[x] >> 16);
        row[size_t(x) * 3 + 1] = (unsigned char)(p[x] >> 8);
        row[size_t(x) * 3 + 2] = (unsigned char)p[x];
      }
      JSAMPROW r = row.data();
      jpeg_write_scanlines(&c, &r, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    std::fclose(o);
    benchmark::DoNotOptimize(scaled.data());
  }
  std::remove(out.c_str());
}

}  // namespace

BENCHMARK(BM_CompressStepOurs)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CompressStepOursAsTheDialog)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CompressStepPeer)->Unit(benchmark::kMillisecond);
