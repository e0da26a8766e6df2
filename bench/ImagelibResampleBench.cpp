// Resampling a camera-sized picture down to message sizes: ours (nearest pixel and area
// averaging) beside pixman's nearest filter and box-kernel convolution on the same pixels.
#include <benchmark/benchmark.h>
#include <pixman.h>

#include <cstdint>
#include <vector>

#include "imagelib/IxImage.h"

namespace {

constexpr int kSrcW = 1600;
constexpr int kSrcH = 1200;

uint8_t Pattern(int x, int y, int c) { return static_cast<uint8_t>((x * 7 + y * 13 + c * 71) ^ (x * y)); }

const IxImage& Source() {
  static IxImage* img = [] {
    auto* p = new IxImage(kSrcW, kSrcH, 24);
    for (int y = 0; y < kSrcH; ++y) {
      uint8_t* row = p->GetBits(y);
      for (int x = 0; x < kSrcW; ++x)
        for (int c = 0; c < 3; ++c) row[3 * x + c] = Pattern(x, y, c);
    }
    return p;
  }();
  return *img;
}

std::vector<uint32_t>& PeerSource() {
  static std::vector<uint32_t> pixels = [] {
    std::vector<uint32_t> v(static_cast<size_t>(kSrcW) * kSrcH);
    for (int y = 0; y < kSrcH; ++y)
      for (int x = 0; x < kSrcW; ++x)
        v[static_cast<size_t>(y) * kSrcW + x] =
            (uint32_t{Pattern(x, y, 2)} << 16) | (uint32_t{Pattern(x, y, 1)} << 8) | Pattern(x, y, 0);
    return v;
  }();
  return pixels;
}

void Ours(benchmark::State& state, int mode) {
  const int w = static_cast<int>(state.range(0));
  const int h = static_cast<int>(state.range(1));
  const IxImage& src = Source();
  for (auto _ : state) {
    IxImage dst;
    const_cast<IxImage&>(src).Resample(w, h, mode, &dst);
    benchmark::DoNotOptimize(dst.GetBits(0));
  }
  state.SetItemsProcessed(state.iterations() * kSrcW * kSrcH);
}

void Peer(benchmark::State& state, bool box) {
  const int w = static_cast<int>(state.range(0));
  const int h = static_cast<int>(state.range(1));
  pixman_image_t* src =
      pixman_image_create_bits(PIXMAN_x8r8g8b8, kSrcW, kSrcH, PeerSource().data(), kSrcW * 4);
  pixman_transform_t t;
  pixman_transform_init_scale(&t, pixman_double_to_fixed(double(kSrcW) / w),
                              pixman_double_to_fixed(double(kSrcH) / h));
  pixman_image_set_transform(src, &t);
  pixman_fixed_t* params = nullptr;
  if (box) {
    int n = 0;
    params = pixman_filter_create_separable_convolution(
        &n, pixman_double_to_fixed(double(kSrcW) / w), pixman_double_to_fixed(double(kSrcH) / h),
        PIXMAN_KERNEL_IMPULSE, PIXMAN_KERNEL_IMPULSE, PIXMAN_KERNEL_BOX, PIXMAN_KERNEL_BOX, 1, 1);
    pixman_image_set_filter(src, PIXMAN_FILTER_SEPARABLE_CONVOLUTION, params, n);
  } else {
    pixman_image_set_filter(src, PIXMAN_FILTER_NEAREST, nullptr, 0);
  }
  std::vector<uint32_t> out(static_cast<size_t>(w) * h);
  pixman_image_t* dst = pixman_image_create_bits(PIXMAN_x8r8g8b8, w, h, out.data(), w * 4);
  for (auto _ : state) {
    pixman_image_composite32(PIXMAN_OP_SRC, src, nullptr, dst, 0, 0, 0, 0, 0, 0, w, h);
    benchmark::DoNotOptimize(out.data());
  }
  pixman_image_unref(dst);
  pixman_image_unref(src);
  free(params);
  state.SetItemsProcessed(state.iterations() * kSrcW * kSrcH);
}

void BM_Ours_Nearest(benchmark::State& s) { Ours(s, 1); }
void BM_Pixman_Nearest(benchmark::State& s) { Peer(s, false); }
void BM_Ours_AreaAverage(benchmark::State& s) { Ours(s, 0); }
void BM_Pixman_Box(benchmark::State& s) { Peer(s, true); }

void Sizes(benchmark::internal::Benchmark* b) {
  b->Args({176, 144})->Args({640, 480})->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_Ours_Nearest)->Apply(Sizes);
BENCHMARK(BM_Pixman_Nearest)->Apply(Sizes);
BENCHMARK(BM_Ours_AreaAverage)->Apply(Sizes);
BENCHMARK(BM_Pixman_Box)->Apply(Sizes);

}  // namespace
