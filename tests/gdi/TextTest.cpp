// Text measuring and drawing: measured extents equal drawn ones, Khmer is shaped exactly as Pango
// renders it, line breaking and prefixes, and the 8-bit forms agree with the UTF-16 ones.
#include <gtest/gtest.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "platform/rtl/CodePage.h"
#include "tests/gdi/GdiTestSupport.h"

using gditest::Canvas;

namespace {

HFONT MakeFont(const char16_t* face, LONG height) {
  LOGFONTW lf{};
  lf.lfHeight = height;
  lf.lfWeight = FW_NORMAL;
  std::memcpy(lf.lfFaceName, face, std::char_traits<char16_t>::length(face) * 2);
  return CreateFontIndirectW(&lf);
}

// The bounding box of pixels that differ from white, or an empty rectangle.
RECT Ink(Canvas& c) {
  RECT r{c.w, c.h, 0, 0};
  for (int y = 0; y < c.h; ++y)
    for (int x = 0; x < c.w; ++x)
      if (c.At(x, y) != 0x00FFFFFF) {
        r.left = std::min<LONG>(r.left, x);
        r.top = std::min<LONG>(r.top, y);
        r.right = std::max<LONG>(r.right, x + 1);
        r.bottom = std::max<LONG>(r.bottom, y + 1);
      }
  return r;
}

struct Sample {
  const char* name;
  const char16_t* face;
  std::u16string text;
};

const Sample kSamples[] = {
    {"Latin", u"Arial", u"Hello, world"},
    {"Vietnamese", u"Tahoma", u"Ti\u1EBFng Vi\u1EC7t"},
    {"Khmer", u"Khmer OS", u"\u1797\u17B6\u179F\u17B6\u1781\u17D2\u1798\u17C2\u179A"},
};

TEST(Text, CalcRectWidthEqualsTheExtentAndInkStaysInside) {
  for (const auto& s : kSamples) {
    SCOPED_TRACE(s.name);
    Canvas c(300, 60);
    c.Fill(0x00FFFFFF);
    HFONT font = MakeFont(s.face, -16);
    SelectObject(c.dc, font);
    SetBkMode(c.dc, TRANSPARENT);
    SIZE extent;
    ASSERT_TRUE(GetTextExtentPoint32W(c.dc, s.text.c_str(), int(s.text.size()), &extent));
    TEXTMETRICW tm;
    ASSERT_TRUE(GetTextMetricsW(c.dc, &tm));
    EXPECT_EQ(extent.cy, tm.tmHeight);
    EXPECT_EQ(tm.tmHeight, tm.tmAscent + tm.tmDescent);
    RECT calc{10, 10, 10, 10};
    const int h = DrawTextW(c.dc, s.text.c_str(), -1, &calc, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    EXPECT_EQ(h, tm.tmHeight);
    EXPECT_EQ(calc.right - calc.left, extent.cx);
    EXPECT_EQ(calc.bottom - calc.top, tm.tmHeight);
    RECT draw{10, 10, 290, 50};
    DrawTextW(c.dc, s.text.c_str(), -1, &draw, DT_SINGLELINE | DT_NOPREFIX);
    const RECT ink = Ink(c);
    EXPECT_GE(ink.left, 10);
    EXPECT_LE(ink.right, 10 + extent.cx + 1);  // antialiasing may touch the last column
    EXPECT_GE(ink.top, 10);
    EXPECT_LE(ink.bottom, 10 + tm.tmHeight);
    EXPECT_LT(ink.left, ink.right) << "nothing drawn";
    SelectObject(c.dc, GetStockObject(SYSTEM_FONT));
    DeleteObject(font);
  }
}

TEST(Text, KhmerIsShapedExactlyAsPangoDrawsIt) {
  const std::u16string khmer = kSamples[2].text;
  Canvas c(200, 40);
  c.Fill(0x00FFFFFF);
  HFONT font = MakeFont(u"Khmer OS", -18);
  SelectObject(c.dc, font);
  SetBkMode(c.dc, TRANSPARENT);
  RECT r{4, 4, 196, 36};
  DrawTextW(c.dc, khmer.c_str(), -1, &r, DT_SINGLELINE | DT_NOPREFIX);
  TEXTMETRICW tm;
  GetTextMetricsW(c.dc, &tm);

  // Pango's own rendering of the same string, same font and options, baseline at the same place.
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 200, 40);
  cairo_t* cr = cairo_create(s);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_paint(cr);
  PangoFontMap* map = pango_cairo_font_map_new();
  pango_cairo_font_map_set_resolution(PANGO_CAIRO_FONT_MAP(map), 96.0);
  PangoContext* context = pango_font_map_create_context(map);
  cairo_font_options_t* o = cairo_font_options_create();
  cairo_font_options_set_antialias(o, CAIRO_ANTIALIAS_GRAY);
  cairo_font_options_set_hint_style(o, CAIRO_HINT_STYLE_NONE);
  cairo_font_options_set_hint_metrics(o, CAIRO_HINT_METRICS_ON);
  pango_cairo_context_set_font_options(context, o);
  pango_context_set_language(context, pango_language_from_string("en"));
  PangoLayout* layout = pango_layout_new(context);
  PangoFontDescription* d = pango_font_description_from_string("Khmer OS");
  pango_font_description_set_absolute_size(d, 18 * PANGO_SCALE);
  pango_layout_set_font_description(layout, d);
  const std::string utf8 = platform::Utf16ToMultiByte(khmer, CP_UTF8);
  pango_layout_set_text(layout, utf8.data(), int(utf8.size()));
  cairo_set_source_rgb(cr, 0, 0, 0);
  cairo_move_to(cr, 4, 4 + tm.tmAscent - double(pango_layout_get_baseline(layout)) / PANGO_SCALE);
  pango_cairo_show_layout(cr, layout);
  cairo_surface_flush(s);
  PangoRectangle logical;
  pango_layout_get_pixel_extents(layout, nullptr, &logical);
  SIZE extent;
  GetTextExtentPoint32W(c.dc, khmer.c_str(), int(khmer.size()), &extent);
  EXPECT_EQ(extent.cx, logical.width);
  int differing = 0;
  const uint8_t* data = cairo_image_surface_get_data(s);
  const int stride = cairo_image_surface_get_stride(s);
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 200; ++x) {
      uint32_t p;
      std::memcpy(&p, data + y * stride + x * 4, 4);
      if ((p & 0xFFFFFF) != c.At(x, y)) ++differing;
    }
  EXPECT_EQ(differing, 0);
  // Shaping joined the coeng and subscript: fewer glyph positions than code points.
  EXPECT_LT(pango_layout_get_unknown_glyphs_count(layout), 1);
  // Saved for a person to look at, beside the test program.
  cairo_surface_t* mine = cairo_image_surface_create_for_data(static_cast<unsigned char*>(c.bits),
                                                              CAIRO_FORMAT_RGB24, 200, 40, c.stride);
  EXPECT_EQ(cairo_surface_write_to_png(mine, "khmer-drawtext.png"), CAIRO_STATUS_SUCCESS);
  cairo_surface_destroy(mine);
  g_object_unref(layout);
  pango_font_description_free(d);
  cairo_font_options_destroy(o);
  g_object_unref(context);
  g_object_unref(map);
  cairo_destroy(cr);
  cairo_surface_destroy(s);
  SelectObject(c.dc, GetStockObject(SYSTEM_FONT));
  DeleteObject(font);
}

TEST(Text, PrefixesAndWordBreaks) {
  Canvas c(400, 200);
  HFONT font = MakeFont(u"Arial", -12);
  SelectObject(c.dc, font);
  auto calc = [&](const std::u16string& t, UINT flags, int width) {
    RECT r{0, 0, width, 0};
    DrawTextW(c.dc, t.c_str(), -1, &r, flags | DT_CALCRECT);
    return r;
  };
  SIZE amp, a;
  GetTextExtentPoint32W(c.dc, u"a&b", 3, &amp);
  GetTextExtentPoint32W(c.dc, u"ab", 2, &a);
  EXPECT_EQ(calc(u"&a&&b", 0, 400).right, [&] {
    SIZE s;
    GetTextExtentPoint32W(c.dc, u"a&b", 3, &s);
    return s.cx;
  }());
  EXPECT_EQ(calc(u"a&b", 0, 400).right, a.cx);  // "&b" underlines b
  EXPECT_EQ(calc(u"a&b", DT_NOPREFIX, 400).right, amp.cx);
  TEXTMETRICW tm;
  GetTextMetricsW(c.dc, &tm);
  // Hard line breaks in every form; DT_SINGLELINE keeps one line.
  EXPECT_EQ(calc(u"a\r\nb\rc\nd", 0, 400).bottom, 4 * tm.tmHeight);
  EXPECT_EQ(calc(u"a\r\nb", DT_SINGLELINE, 400).bottom, tm.tmHeight);
  // Word breaking wraps at spaces and never inside a word.
  SIZE one;
  GetTextExtentPoint32W(c.dc, u"alpha beta", 10, &one);
  const RECT wrapped = calc(u"alpha beta gamma", DT_WORDBREAK, one.cx);
  EXPECT_EQ(wrapped.bottom, 2 * tm.tmHeight);
  EXPECT_EQ(wrapped.right, one.cx);
  SIZE longWord;
  GetTextExtentPoint32W(c.dc, u"extraordinarily", 15, &longWord);
  const RECT overflow = calc(u"extraordinarily x", DT_WORDBREAK, 20);
  EXPECT_EQ(overflow.bottom, 2 * tm.tmHeight);
  EXPECT_EQ(overflow.right, longWord.cx);
  EXPECT_EQ(calc(u"", 0, 400).right, 0);
  EXPECT_EQ(calc(u"", 0, 400).bottom, 0);
  SelectObject(c.dc, GetStockObject(SYSTEM_FONT));
  DeleteObject(font);
}

TEST(Text, EightBitFormsDrawTheSamePixels) {
  Canvas a(120, 30), w(120, 30);
  for (Canvas* c : {&a, &w}) {
    c->Fill(0x00FFFFFF);
    SetTextColor(c->dc, RGB(0, 0, 128));
  }
  const std::u16string wide = u"Vi\u1EC7t &x";
  const std::string narrow = platform::Utf16ToMultiByte(wide, CP_ACP);  // UTF-8 system code page
  RECT r1{2, 2, 118, 28}, r2 = r1;
  EXPECT_EQ(DrawTextA(a.dc, narrow.c_str(), -1, &r1, 0x25), DrawTextW(w.dc, wide.c_str(), -1, &r2, 0x25));
  for (int y = 0; y < 30; ++y) EXPECT_EQ(a.Row(y), w.Row(y)) << y;
  SIZE sa, sw;
  GetTextExtentPoint32A(a.dc, narrow.c_str(), int(narrow.size()), &sa);
  GetTextExtentPoint32W(w.dc, wide.c_str(), int(wide.size()), &sw);
  EXPECT_EQ(sa.cx, sw.cx);
}

TEST(Text, OpaqueTextOutFillsTheCellAndClearsTheFourthByte) {
  Canvas c(100, 30);
  c.Fill(0xFF000000);
  SetBkColor(c.dc, RGB(0, 255, 0));
  TextOutW(c.dc, 0, 0, u"Hi", 2);
  SIZE s;
  GetTextExtentPoint32W(c.dc, u"Hi", 2, &s);
  EXPECT_EQ(c.At(s.cx - 1, s.cy - 1) & 0xFF000000u, 0u);
  EXPECT_EQ(c.At(s.cx + 1, 0), 0xFF000000u);  // outside the cell: untouched
  bool green = false;
  for (int x = 0; x < s.cx; ++x) green = green || c.At(x, s.cy - 1) == 0x0000FF00u;
  EXPECT_TRUE(green);
}

// Text on a 24-bit surface, and on a 32-bit one stored bottom-up, shows the pixels it shows on the
// 32-bit top-down surface (nothing at all was drawn there before).
TEST(Text, EverySurfaceFormatShowsTheSameText) {
  const std::u16string text = u"Vi\u1EC7t 24";
  Canvas reference(120, 30);
  reference.Fill(0x00FFFFFF);
  SetTextColor(reference.dc, RGB(0, 0, 128));
  TextOutW(reference.dc, 2, 2, text.c_str(), int(text.size()));

  Canvas rgb(120, 30, 24);
  for (int y = 0; y < 30; ++y) std::memset(&rgb.Byte(0, y), 0xFF, size_t(rgb.stride));
  SetTextColor(rgb.dc, RGB(0, 0, 128));
  ASSERT_TRUE(TextOutW(rgb.dc, 2, 2, text.c_str(), int(text.size())));
  int inked = 0;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 120; ++x) {
      const uint32_t shown =
          uint32_t(rgb.Byte(3 * x + 2, y)) << 16 | uint32_t(rgb.Byte(3 * x + 1, y)) << 8 | rgb.Byte(3 * x, y);
      ASSERT_EQ(shown, reference.At(x, y) & 0xFFFFFF) << x << "," << y;
      inked += shown != 0xFFFFFF;
    }
  EXPECT_GT(inked, 20);

  // Bottom-up: row 0 of the memory is the bottom row of the picture.
  BITMAPINFO info{};
  info.bmiHeader = {40, 120, 30, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  HDC dc = CreateCompatibleDC(nullptr);
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(dc, bitmap);
  auto* pixels = static_cast<uint32_t*>(bits);
  std::fill(pixels, pixels + 120 * 30, 0x00FFFFFFu);
  SetTextColor(dc, RGB(0, 0, 128));
  ASSERT_TRUE(TextOutW(dc, 2, 2, text.c_str(), int(text.size())));
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 120; ++x)
      ASSERT_EQ(pixels[(29 - y) * 120 + x] & 0xFFFFFF, reference.At(x, y) & 0xFFFFFF) << x << "," << y;
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
}

}  // namespace
