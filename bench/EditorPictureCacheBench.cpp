// The picture cache on a 128 x 128 JPEG photo: the first request of a path (stat, decode through
// the form library's JPEG class, copy into the cached bitmap) against libjpeg decoding the same
// file directly into RGB rows, and a repeated request of a cached path (one stat and a lookup).
// Counters: decoded bitmaps kept per distinct file, and for a damaged file. On a shared machine
// compare with --benchmark_repetitions=8 --benchmark_enable_random_interleaving=true, else the
// load of the moment favours whichever case runs first.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

// libjpeg's headers need <cstdio> (FILE, size_t) first.
// clang-format off
#include <jpeglib.h>
// clang-format on

#include "editor/TImgFileManager.h"

namespace {

const std::string& Hopper() {
  static const std::string path = std::string(MMS_SHARED_DIR) + "/testdata/pillow/jpeg/hopper.jpg";
  return path;
}

int KeptBitmaps(const TImgFileManager& cache) {
  int n = 0;
  for (int i = 0; i < cache.Count(); ++i) n += cache.Items(i)->Bitmap() != nullptr;
  return n;
}

void BM_PlainLibjpegDecode(benchmark::State& state) {
  std::vector<unsigned char> pixels;
  for (auto _ : state) {
    FILE* f = std::fopen(Hopper().c_str(), "rb");
    if (!f) {
      state.SkipWithError("hopper.jpg not found");
      return;
    }
    jpeg_decompress_struct cinfo;
    jpeg_error_mgr jerr;
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_decompress(&cinfo);
    jpeg_stdio_src(&cinfo, f);
    jpeg_read_header(&cinfo, TRUE);
    cinfo.out_color_space = JCS_RGB;
    jpeg_start_decompress(&cinfo);
    const std::size_t stride = static_cast<std::size_t>(cinfo.output_width) * 3;
    pixels.resize(stride * cinfo.output_height);
    while (cinfo.output_scanline < cinfo.output_height) {
      JSAMPROW row = &pixels[cinfo.output_scanline * stride];
      jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    std::fclose(f);
    benchmark::DoNotOptimize(pixels.data());
  }
}
BENCHMARK(BM_PlainLibjpegDecode);

void BM_CacheFirstRequest(benchmark::State& state) {
  int changed = 0;
  for (auto _ : state) {
    TImgFileManager cache;
    benchmark::DoNotOptimize(cache.GetBitmap(Hopper().c_str(), changed));
  }
}
BENCHMARK(BM_CacheFirstRequest);

void BM_CacheRepeatedRequest(benchmark::State& state) {
  TImgFileManager cache;
  int changed = 0;
  // Several distinct paths of the same file, as a strip of pages shows them.
  std::vector<std::string> paths;
  std::string dots;
  for (int i = 0; i < 8; ++i, dots += "./")
    paths.push_back(std::string(MMS_SHARED_DIR) + "/testdata/pillow/jpeg/" + dots + "hopper.jpg");
  for (const auto& p : paths) cache.GetBitmap(p.c_str(), changed);
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(cache.GetBitmap(paths[i].c_str(), changed));
    i = (i + 1) % paths.size();
  }
  state.counters["files"] = static_cast<double>(cache.Count());
  state.counters["bitmaps"] = KeptBitmaps(cache);
}
BENCHMARK(BM_CacheRepeatedRequest);

void BM_CacheDamagedFile(benchmark::State& state) {
  const std::string path = "/tmp/bench_editor_picture_cache_" + std::to_string(::getpid()) + ".jpg";
  {
    FILE* in = std::fopen(Hopper().c_str(), "rb");
    FILE* out = std::fopen(path.c_str(), "wb");
    char head[20] = {};
    const std::size_t n = in ? std::fread(head, 1, sizeof head, in) : 0;
    if (out) std::fwrite(head, 1, n, out);
    if (in) std::fclose(in);
    if (out) std::fclose(out);
  }
  TImgFileManager cache;
  int changed = 0;
  for (auto _ : state) benchmark::DoNotOptimize(cache.GetBitmap(path.c_str(), changed));
  state.counters["files"] = static_cast<double>(cache.Count());
  state.counters["bitmaps"] = KeptBitmaps(cache);
  std::remove(path.c_str());
}
BENCHMARK(BM_CacheDamagedFile);

}  // namespace
