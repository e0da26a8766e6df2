// A window-sized copy (the double-buffer present), a stretch and a solid fill: ours through
// BitBlt/StretchBlt/FillRect, the peer through Cairo on the same kind of 32-bit memory.
#include <benchmark/benchmark.h>
#include <cairo.h>

#include "platform/gdi/Gdi.h"

namespace {

constexpr int kW = 1280, kH = 800;

struct Dc {
  Dc(int w, int h) {
    dc = CreateCompatibleDC(nullptr);
    BITMAPINFO bi{};
    bi.bmiHeader = {40, w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    bitmap = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    SelectObject(dc, bitmap);
  }
  ~Dc() {
    DeleteDC(dc);
    DeleteObject(bitmap);
  }
  HDC dc;
  HBITMAP bitmap;
  void* bits = nullptr;
};

void OursCopy(benchmark::State& state) {
  Dc src(kW, kH), dst(kW, kH);
  for (auto _ : state) BitBlt(dst.dc, 0, 0, kW, kH, src.dc, 0, 0, SRCCOPY);
  state.SetItemsProcessed(state.iterations() * kW * kH);
}

void CairoCopy(benchmark::State& state) {
  cairo_surface_t* src = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kW, kH);
  cairo_surface_t* dst = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kW, kH);
  cairo_t* cr = cairo_create(dst);
  cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
  for (auto _ : state) {
    cairo_set_source_surface(cr, src, 0, 0);
    cairo_paint(cr);
    cairo_surface_flush(dst);
  }
  state.SetItemsProcessed(state.iterations() * kW * kH);
  cairo_destroy(cr);
  cairo_surface_destroy(src);
  cairo_surface_destroy(dst);
}

void OursStretch(benchmark::State& state) {
  Dc src(kW / 2, kH / 2), dst(kW, kH);
  for (auto _ : state) StretchBlt(dst.dc, 0, 0, kW, kH, src.dc, 0, 0, kW / 2, kH / 2, SRCCOPY);
  state.SetItemsProcessed(state.iterations() * kW * kH);
}

void CairoStretch(benchmark::State& state) {
  cairo_surface_t* src = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kW / 2, kH / 2);
  cairo_surface_t* dst = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kW, kH);
  cairo_t* cr = cairo_create(dst);
  cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
  cairo_scale(cr, 2, 2);
  for (auto _ : state) {
    cairo_set_source_surface(cr, src, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
    cairo_paint(cr);
    cairo_surface_flush(dst);
  }
  state.SetItemsProcessed(state.iterations() * kW * kH);
  cairo_destroy(cr);
  cairo_surface_destroy(src);
  cairo_surface_destroy(dst);
}

void OursFill(benchmark::State& state) {
  Dc dst(kW, kH);
  HBRUSH brush = CreateSolidBrush(RGB(10, 20, 30));
  RECT r{0, 0, kW, kH};
  for (auto _ : state) FillRect(dst.dc, &r, brush);
  DeleteObject(brush);
  state.SetItemsProcessed(state.iterations() * kW * kH);
}

void CairoFill(benchmark::State& state) {
  cairo_surface_t* dst = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kW, kH);
  cairo_t* cr = cairo_create(dst);
  cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
  cairo_set_source_rgb(cr, 10 / 255.0, 20 / 255.0, 30 / 255.0);
  for (auto _ : state) {
    cairo_paint(cr);
    cairo_surface_flush(dst);
  }
  state.SetItemsProcessed(state.iterations() * kW * kH);
  cairo_destroy(cr);
  cairo_surface_destroy(dst);
}

}  // namespace

BENCHMARK(OursCopy);
BENCHMARK(CairoCopy);
BENCHMARK(OursStretch);
BENCHMARK(CairoStretch);
BENCHMARK(OursFill);
BENCHMARK(CairoFill);
