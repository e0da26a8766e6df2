// A 1024 x 768 area painted with the controls' gradient (PaintGradient) and tiling (TileBitmap,
// a 64 x 64 tile), against Cairo's linear gradient and repeated pattern on 32-bit memory.
#include <benchmark/benchmark.h>
#include <cairo.h>

#include "controls/BitmapDrawing.h"
#include "controls/Gradients.h"
#include "platform/forms/TBitmap.h"

namespace {

constexpr int kW = 1024, kH = 768, kTile = 64;

TBitmap* Target() {
  auto* b = new TBitmap;
  b->SetPixelFormat(pf32bit);
  b->SetSize(kW, kH);
  return b;
}

void OursGradient(benchmark::State& state) {
  const auto direction = static_cast<TGradientDirection>(state.range(0));
  TBitmap* target = Target();
  for (auto _ : state) PaintGradient(target->Canvas(), RECT{0, 0, kW, kH}, direction, 256, clNavy, clAqua);
  state.SetItemsProcessed(state.iterations() * kW * kH);
  delete target;
}

void CairoGradient(benchmark::State& state) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kW, kH);
  cairo_t* cr = cairo_create(surface);
  cairo_pattern_t* gradient = cairo_pattern_create_linear(0, 0, kW, 0);
  cairo_pattern_add_color_stop_rgb(gradient, 0, 0, 0, 0.5);
  cairo_pattern_add_color_stop_rgb(gradient, 1, 0, 1, 1);
  for (auto _ : state) {
    cairo_set_source(cr, gradient);
    cairo_paint(cr);
    cairo_surface_flush(surface);
  }
  state.SetItemsProcessed(state.iterations() * kW * kH);
  cairo_pattern_destroy(gradient);
  cairo_destroy(cr);
  cairo_surface_destroy(surface);
}

void OursTile(benchmark::State& state) {
  TBitmap* target = Target();
  TBitmap tile;
  tile.SetPixelFormat(pf32bit);
  tile.SetSize(kTile, kTile);
  PaintGradient(tile.Canvas(), RECT{0, 0, kTile, kTile}, gdDiagonalUp, 16, clMaroon, clYellow);
  for (auto _ : state) TileBitmap(target->Canvas(), &tile, RECT{0, 0, kW, kH});
  state.SetItemsProcessed(state.iterations() * kW * kH);
  delete target;
}

void CairoTile(benchmark::State& state) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kW, kH);
  cairo_surface_t* tile = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kTile, kTile);
  cairo_t* tcr = cairo_create(tile);
  cairo_pattern_t* fill = cairo_pattern_create_linear(0, 0, kTile, kTile);
  cairo_pattern_add_color_stop_rgb(fill, 0, 0.5, 0, 0);
  cairo_pattern_add_color_stop_rgb(fill, 1, 1, 1, 0);
  cairo_set_source(tcr, fill);
  cairo_paint(tcr);
  cairo_destroy(tcr);
  cairo_pattern_destroy(fill);
  cairo_t* cr = cairo_create(surface);
  cairo_pattern_t* pattern = cairo_pattern_create_for_surface(tile);
  cairo_pattern_set_extend(pattern, CAIRO_EXTEND_REPEAT);
  for (auto _ : state) {
    cairo_set_source(cr, pattern);
    cairo_paint(cr);
    cairo_surface_flush(surface);
  }
  state.SetItemsProcessed(state.iterations() * kW * kH);
  cairo_pattern_destroy(pattern);
  cairo_destroy(cr);
  cairo_surface_destroy(tile);
  cairo_surface_destroy(surface);
}

BENCHMARK(OursGradient)
    ->Arg(gdHorizontalEnd)
    ->Arg(gdVerticalCenter)
    ->Arg(gdDiagonalUp)
    ->Arg(gdSquareBox)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(CairoGradient)->Unit(benchmark::kMicrosecond);
BENCHMARK(OursTile)->Unit(benchmark::kMicrosecond);
BENCHMARK(CairoTile)->Unit(benchmark::kMicrosecond);

}  // namespace
