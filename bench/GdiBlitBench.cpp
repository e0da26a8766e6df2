// A window-sized copy (the double-buffer present), a stretch and a solid fill: ours through
// BitBlt/StretchBlt/FillRect, the peer through Cairo on the same kind of 32-bit memory.
#include <benchmark/benchmark.h>
#include <cairo.h>
#include <pango/pangocairo.h>
#include <pixman.h>

#include <cstring>
#include <vector>

#include "platform/gdi/Gdi.h"

namespace {

constexpr int kW = 1280, kH = 800;

struct Dc {
  Dc(int w, int h, WORD bpp = 32) {
    dc = CreateCompatibleDC(nullptr);
    BITMAPINFO bi{};
    bi.bmiHeader = {40, w, -h, 1, bpp, BI_RGB, 0, 0, 0, 0, 0};
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

// A 24-bit picture (a bitmap loaded from a file) drawn onto a 32-bit window buffer, same size
// and stretched 2x; the peer is pixman converting r8g8b8 to x8r8g8b8 the same way.
void Ours24Copy(benchmark::State& state) {
  Dc src(kW, kH, 24), dst(kW, kH);
  for (auto _ : state) BitBlt(dst.dc, 0, 0, kW, kH, src.dc, 0, 0, SRCCOPY);
  state.SetItemsProcessed(state.iterations() * kW * kH);
}

void Ours24Stretch(benchmark::State& state) {
  Dc src(kW / 2, kH / 2, 24), dst(kW, kH);
  for (auto _ : state) StretchBlt(dst.dc, 0, 0, kW, kH, src.dc, 0, 0, kW / 2, kH / 2, SRCCOPY);
  state.SetItemsProcessed(state.iterations() * kW * kH);
}

void Pixman24(benchmark::State& state, int scale) {
  const int sw = kW / scale, sh = kH / scale, sstride = (sw * 3 + 3) & ~3;
  std::vector<uint32_t> from(size_t(sstride) * size_t(sh) / 4), to(size_t(kW) * size_t(kH));
  pixman_image_t* src = pixman_image_create_bits(PIXMAN_r8g8b8, sw, sh, from.data(), sstride);
  pixman_image_t* dst = pixman_image_create_bits(PIXMAN_x8r8g8b8, kW, kH, to.data(), kW * 4);
  pixman_transform_t t;
  pixman_transform_init_scale(&t, pixman_int_to_fixed(1) / scale, pixman_int_to_fixed(1) / scale);
  pixman_image_set_transform(src, &t);
  pixman_image_set_filter(src, PIXMAN_FILTER_NEAREST, nullptr, 0);
  for (auto _ : state) pixman_image_composite32(PIXMAN_OP_SRC, src, nullptr, dst, 0, 0, 0, 0, 0, 0, kW, kH);
  state.SetItemsProcessed(state.iterations() * kW * kH);
  pixman_image_unref(src);
  pixman_image_unref(dst);
}
void Pixman24Copy(benchmark::State& state) { Pixman24(state, 1); }
void Pixman24Stretch(benchmark::State& state) { Pixman24(state, 2); }

// A line of label text on a 32-bit window buffer: ours through TextOut (which keeps the fourth
// byte of the pixels the text leaves alone), the peer through Pango and Cairo on the same memory.
constexpr char kLine[] = "Slide 12 of 20 - 289 KB - Paris, summer";

void OursText(benchmark::State& state) {
  Dc dst(kW, kH);
  LOGFONTA lf{};
  lf.lfHeight = -13;
  std::strcpy(lf.lfFaceName, "Sans");
  HFONT font = CreateFontIndirectA(&lf);
  SelectObject(dst.dc, font);
  SetBkMode(dst.dc, TRANSPARENT);
  for (auto _ : state) TextOutA(dst.dc, 10, 10, kLine, int(sizeof kLine - 1));
  DeleteObject(font);
}

void CairoText(benchmark::State& state) {
  std::vector<uint32_t> pixels(size_t(kW) * size_t(kH));
  cairo_surface_t* cs = cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(pixels.data()),
                                                            CAIRO_FORMAT_RGB24, kW, kH, kW * 4);
  cairo_t* cr = cairo_create(cs);
  PangoLayout* layout = pango_cairo_create_layout(cr);
  PangoFontDescription* desc = pango_font_description_from_string("Sans 10");
  pango_layout_set_font_description(layout, desc);
  pango_layout_set_text(layout, kLine, -1);
  for (auto _ : state) {
    cairo_move_to(cr, 10, 10);
    pango_cairo_show_layout(cr, layout);
    cairo_surface_flush(cs);
  }
  pango_font_description_free(desc);
  g_object_unref(layout);
  cairo_destroy(cr);
  cairo_surface_destroy(cs);
}

}  // namespace

BENCHMARK(OursCopy);
BENCHMARK(CairoCopy);
BENCHMARK(OursStretch);
BENCHMARK(CairoStretch);
BENCHMARK(OursFill);
BENCHMARK(CairoFill);
BENCHMARK(Ours24Copy);
BENCHMARK(Pixman24Copy);
BENCHMARK(Ours24Stretch);
BENCHMARK(Pixman24Stretch);
BENCHMARK(OursText);
BENCHMARK(CairoText);
