// The text engine over Pango and Cairo.
#include "platform/gdi/TextEngine.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "platform/rtl/CodePage.h"

namespace platform::gdi {

namespace {

int fixedAdvance = 0, fixedHeight = 0;

int CodePoints(std::u16string_view s) {
  int n = 0;
  for (size_t i = 0; i < s.size(); ++i, ++n)
    if (s[i] >= 0xD800 && s[i] <= 0xDBFF && i + 1 < s.size()) ++i;
  return n;
}

std::string Utf8(std::u16string_view s) { return Utf16ToMultiByte(s, CP_UTF8); }

// Byte offset in the UTF-8 form of the unit at `unit`.
int ByteOffset(std::u16string_view s, int unit) { return int(Utf8(s.substr(0, size_t(unit))).size()); }

}  // namespace

TextEngine& TextEngine::Instance() {
  static TextEngine* engine = new TextEngine();
  return *engine;
}

TextEngine::TextEngine() {
  PangoFontMap* map = pango_cairo_font_map_new();
  pango_cairo_font_map_set_resolution(PANGO_CAIRO_FONT_MAP(map), 96.0);
  context_ = pango_font_map_create_context(map);
  g_object_unref(map);
  cairo_font_options_t* o = cairo_font_options_create();
  cairo_font_options_set_antialias(o, CAIRO_ANTIALIAS_GRAY);
  cairo_font_options_set_hint_style(o, CAIRO_HINT_STYLE_NONE);
  cairo_font_options_set_hint_metrics(o, CAIRO_HINT_METRICS_ON);
  pango_cairo_context_set_font_options(context_, o);
  cairo_font_options_destroy(o);
  pango_context_set_language(context_, pango_language_from_string("en"));
}

std::string TextEngine::FamilyFor(const std::u16string& face) {
  auto same = [&](const char16_t* name) {
    const std::u16string n(name);
    if (n.size() != face.size()) return false;
    for (size_t i = 0; i < n.size(); ++i) {
      char16_t a = n[i], b = face[i];
      if (a >= 'a' && a <= 'z') a = char16_t(a - 32);
      if (b >= 'a' && b <= 'z') b = char16_t(b - 32);
      if (a != b) return false;
    }
    return true;
  };
  if (same(u"Arial")) return "Liberation Sans";
  if (same(u"Khmer OS")) return "Khmer OS";
  return "sans-serif";
}

PangoFontDescription* TextEngine::Describe(const LOGFONTW& f) {
  std::u16string face(f.lfFaceName, std::find(f.lfFaceName, f.lfFaceName + LF_FACESIZE, u'\0'));
  PangoFontDescription* d = pango_font_description_new();
  pango_font_description_set_family(d, FamilyFor(face).c_str());
  pango_font_description_set_weight(d, f.lfWeight >= 600 ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
  pango_font_description_set_style(d, f.lfItalic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
  int em = f.lfHeight == 0 ? 11 : std::abs(int(f.lfHeight));
  pango_font_description_set_absolute_size(d, double(em) * PANGO_SCALE);
  if (f.lfHeight > 0) {
    // A positive height is the cell (ascent + descent): scale the em size to fit it.
    PangoFontMetrics* m = pango_context_get_metrics(context_, d, nullptr);
    const double cell =
        double(pango_font_metrics_get_ascent(m) + pango_font_metrics_get_descent(m)) / PANGO_SCALE;
    pango_font_metrics_unref(m);
    if (cell > 0) em = std::max(1, int(std::floor(double(f.lfHeight) * em / cell)));
    pango_font_description_set_absolute_size(d, double(em) * PANGO_SCALE);
  }
  return d;
}

void UseFixedMetricFont(int advance, int height) {
  fixedAdvance = advance > 0 && height > 0 ? advance : 0;
  fixedHeight = fixedAdvance ? height : 0;
}

FontMetrics TextEngine::Metrics(const LOGFONTW& font) {
  FontMetrics out;
  if (fixedAdvance) {
    out.height = out.emSize = fixedHeight;
    out.ascent = (fixedHeight * 4 + 4) / 5;
    out.descent = fixedHeight - out.ascent;
    out.aveCharWidth = out.maxCharWidth = fixedAdvance;
    out.fixedPitch = true;
    return out;
  }
  PangoFontDescription* d = Describe(font);
  PangoFontMetrics* m = pango_context_get_metrics(context_, d, nullptr);
  const int ascent = pango_font_metrics_get_ascent(m), descent = pango_font_metrics_get_descent(m);
  out.ascent = int(std::ceil(double(ascent) / PANGO_SCALE));
  out.descent = int(std::ceil(double(descent) / PANGO_SCALE));
  out.height = int(std::ceil(double(ascent + descent) / PANGO_SCALE));
  out.emSize = int(pango_font_description_get_size(d) / PANGO_SCALE);
  pango_font_metrics_unref(m);
  pango_font_description_free(d);
  out.aveCharWidth = Width(font, u"x");
  out.maxCharWidth = std::max(out.aveCharWidth, Width(font, u"W"));
  out.fixedPitch = Width(font, u"i") == Width(font, u"W");
  return out;
}

PangoLayout* TextEngine::Layout(const LOGFONTW& font, std::u16string_view text, int underlineUnit) {
  PangoLayout* layout = pango_layout_new(context_);
  PangoFontDescription* d = Describe(font);
  pango_layout_set_font_description(layout, d);
  pango_font_description_free(d);
  const std::string utf8 = Utf8(text);
  pango_layout_set_text(layout, utf8.data(), int(utf8.size()));
  PangoAttrList* attrs = pango_attr_list_new();
  if (font.lfUnderline) pango_attr_list_insert(attrs, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
  if (font.lfStrikeOut) pango_attr_list_insert(attrs, pango_attr_strikethrough_new(TRUE));
  if (underlineUnit >= 0 && size_t(underlineUnit) < text.size()) {
    int end = underlineUnit + 1;
    if (text[size_t(underlineUnit)] >= 0xD800 && text[size_t(underlineUnit)] <= 0xDBFF) ++end;
    PangoAttribute* a = pango_attr_underline_new(PANGO_UNDERLINE_SINGLE);
    a->start_index = guint(ByteOffset(text, underlineUnit));
    a->end_index = guint(ByteOffset(text, std::min<int>(end, int(text.size()))));
    pango_attr_list_insert(attrs, a);
  }
  pango_layout_set_attributes(layout, attrs);
  pango_attr_list_unref(attrs);
  return layout;
}

int TextEngine::Width(const LOGFONTW& font, std::u16string_view text) {
  if (text.empty()) return 0;
  if (fixedAdvance) return CodePoints(text) * fixedAdvance;
  PangoLayout* layout = Layout(font, text);
  PangoRectangle logical;
  pango_layout_get_pixel_extents(layout, nullptr, &logical);
  g_object_unref(layout);
  return logical.width;
}

void TextEngine::Draw(DeviceContext& dc, PangoLayout* layout, int x, int y, const FontMetrics& metrics,
                      COLORREF color, const Region& clip) {
  Bitmap* surface = dc.surface();
  if (!surface || clip.IsEmpty()) return;
  if (fixedAdvance) {
    // Test font: a solid box per character, blanks left empty.
    const char* p = pango_layout_get_text(layout);
    const uint32_t raw = surface->ColorToRaw(color);
    for (int i = 0; *p; p = g_utf8_next_char(p), ++i) {
      if (g_unichar_isspace(g_utf8_get_char(p))) continue;
      const Region box = clip.Intersect(
          Region(RECT{x + i * fixedAdvance, y + 1, x + (i + 1) * fixedAdvance - 1, y + fixedHeight - 1}));
      for (const RECT& r : box.rects())
        for (int yy = r.top; yy < r.bottom; ++yy)
          for (int xx = r.left; xx < r.right; ++xx) surface->SetRaw(xx, yy, raw);
    }
    return;
  }
  // Pixels the text may touch (ink can overhang the cell); kept to restore what Cairo leaves.
  PangoRectangle ink;
  pango_layout_get_pixel_extents(layout, &ink, nullptr);
  const int m = metrics.height;
  const Region around = clip.Intersect(Region(RECT{
      x + std::min(0, ink.x) - m, y - m, x + std::max(ink.x + ink.width, 0) + m, y + metrics.height + m}));
  if (around.IsEmpty()) return;
  if (surface->bpp() == 32 && surface->topDown()) {
    // The rows of every rectangle are saved whole and compared whole afterwards; only rows the
    // text changed are looked at pixel by pixel.
    size_t count = 0;
    for (const RECT& r : around.rects()) count += size_t(r.right - r.left) * size_t(r.bottom - r.top);
    std::vector<uint32_t> before(count);
    size_t at = 0;
    for (const RECT& r : around.rects())
      for (int yy = r.top; yy < r.bottom; ++yy) {
        const size_t n = size_t(r.right - r.left);
        std::memcpy(before.data() + at, surface->Row(yy) + size_t(r.left) * 4, n * 4);
        at += n;
      }
    cairo_surface_t* cs = cairo_image_surface_create_for_data(
        surface->bits(), CAIRO_FORMAT_RGB24, surface->width(), surface->height(), surface->stride());
    Show(cs, layout, 0, 0, x, y, metrics, color, clip);
    // Drawn pixels get a fourth byte of 0 like every drawing operation; untouched ones keep theirs.
    at = 0;
    for (const RECT& r : around.rects())
      for (int yy = r.top; yy < r.bottom; ++yy) {
        const size_t n = size_t(r.right - r.left);
        uint8_t* bytes = surface->Row(yy) + size_t(r.left) * 4;
        const uint32_t* was = before.data() + at;
        at += n;
        if (std::memcmp(bytes, was, n * 4) == 0) continue;
        for (size_t i = 0; i < n; ++i) {
          uint32_t now;
          std::memcpy(&now, bytes + i * 4, 4);
          const uint32_t value = (now & 0xFFFFFF) == (was[i] & 0xFFFFFF) ? was[i] : (now & 0xFFFFFF);
          std::memcpy(bytes + i * 4, &value, 4);
        }
      }
    return;
  }
  // Other formats (fewer bits, bottom-up rows): the text is drawn on a 32-bit copy of the pixels
  // it may touch, and the pixels it changed go back in the surface's own format.
  const RECT box = around.Bounds();
  const int w = box.right - box.left, h = box.bottom - box.top;
  std::vector<uint32_t> staging(size_t(w) * size_t(h));
  for (int yy = 0; yy < h; ++yy)
    for (int xx = 0; xx < w; ++xx) {
      const COLORREF c = surface->RawToColor(surface->GetRaw(box.left + xx, box.top + yy));
      staging[size_t(yy) * size_t(w) + size_t(xx)] =
          uint32_t(GetRValue(c)) << 16 | uint32_t(GetGValue(c)) << 8 | GetBValue(c);
    }
  const std::vector<uint32_t> before = staging;
  cairo_surface_t* cs = cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(staging.data()),
                                                            CAIRO_FORMAT_RGB24, w, h, w * 4);
  Show(cs, layout, box.left, box.top, x, y, metrics, color, around);
  for (const RECT& r : around.rects())
    for (int yy = r.top; yy < r.bottom; ++yy)
      for (int xx = r.left; xx < r.right; ++xx) {
        const size_t i = size_t(yy - box.top) * size_t(w) + size_t(xx - box.left);
        const uint32_t now = staging[i] & 0xFFFFFF;
        if (now != (before[i] & 0xFFFFFF))
          surface->SetRaw(xx, yy, surface->ColorToRaw(RGB(now >> 16 & 0xFF, now >> 8 & 0xFF, now & 0xFF)));
      }
}

// Shows the layout on a Cairo surface whose pixel (0, 0) is the target's (left, top), clipped
// to the region, with its baseline on the cell's baseline; the surface is finished and released.
void TextEngine::Show(cairo_surface_t* cs, PangoLayout* layout, int left, int top, int x, int y,
                      const FontMetrics& metrics, COLORREF color, const Region& clip) {
  cairo_t* cr = cairo_create(cs);
  cairo_translate(cr, -left, -top);
  for (const RECT& r : clip.rects()) cairo_rectangle(cr, r.left, r.top, r.right - r.left, r.bottom - r.top);
  cairo_clip(cr);
  cairo_set_source_rgb(cr, GetRValue(color) / 255.0, GetGValue(color) / 255.0, GetBValue(color) / 255.0);
  const double baseline = double(pango_layout_get_baseline(layout)) / PANGO_SCALE;
  cairo_move_to(cr, x, y + metrics.ascent - baseline);
  pango_cairo_show_layout(cr, layout);
  cairo_destroy(cr);
  cairo_surface_flush(cs);
  cairo_surface_destroy(cs);
}

LOGFONTW FontOf(const DeviceContext& dc) {
  if (auto* font = static_cast<const FontObject*>(dc.state().font.get())) return font->font;
  LOGFONTW f{};
  f.lfHeight = -11;
  return f;
}

}  // namespace platform::gdi
