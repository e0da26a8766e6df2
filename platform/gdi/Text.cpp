// The classic text functions over the text engine: fonts, metrics, TextOut, ExtTextOut,
// GetTextExtentPoint32 and DrawText with line breaking, prefixes, alignment and DT_CALCRECT.
#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/gdi/Gdi.h"
#include "platform/gdi/Raster.h"
#include "platform/gdi/TextEngine.h"
#include "platform/rtl/CodePage.h"

using namespace platform::gdi;

namespace {

std::u16string Wide(LPCSTR text, int count) {
  if (!text) return {};
  const size_t n = count < 0 ? std::strlen(text) : size_t(count);
  return platform::MultiByteToUtf16(std::string_view(text, n), CP_ACP);
}

std::u16string_view View(LPCWSTR text, int count) {
  if (!text) return {};
  if (count < 0) {
    count = 0;
    while (text[count]) ++count;
  }
  return std::u16string_view(text, size_t(count));
}

// Fills the cell behind text with the background colour (OPAQUE mode).
void FillCell(DeviceContext& dc, const RECT& surfaceRect) {
  Bitmap* s = dc.surface();
  if (s) FillSurface(dc, surfaceRect, 0xF0, Pattern(*s, ResolveColor(&dc, dc.state().bkColor)));
}

BOOL TextOutCore(HDC hdc, int x, int y, UINT options, const RECT* rect, std::u16string_view text) {
  auto dc = FindDc(hdc);
  if (!dc) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  TextEngine& engine = TextEngine::Instance();
  const LOGFONTW font = FontOf(*dc);
  const FontMetrics metrics = engine.Metrics(font);
  const UINT align = dc->state().textAlign;
  if (align & TA_UPDATECP) {
    x = dc->state().position.x;
    y = dc->state().position.y;
  }
  const int width = engine.Width(font, text);
  if ((align & TA_CENTER) == TA_CENTER)
    x -= width / 2;
  else if (align & TA_RIGHT)
    x -= width;
  if ((align & TA_BASELINE) == TA_BASELINE)
    y -= metrics.ascent;
  else if (align & TA_BOTTOM)
    y -= metrics.height;
  if (align & TA_UPDATECP) dc->state().position.x = x + width;
  if (!dc->surface()) return TRUE;
  if (rect && (options & ETO_OPAQUE)) FillCell(*dc, dc->SurfaceRect(*rect));
  Region clip = dc->EffectiveClip();
  if (rect && (options & ETO_CLIPPED)) clip = clip.Intersect(Region(dc->SurfaceRect(*rect)));
  const int sx = dc->SurfaceX(x), sy = dc->SurfaceY(y);
  if (dc->state().bkMode == OPAQUE && !(rect && (options & ETO_OPAQUE))) {
    FillCell(*dc, {sx, sy, sx + width, sy + metrics.height});
  }
  if (text.empty()) return TRUE;
  PangoLayout* layout = engine.Layout(font, text);
  engine.Draw(*dc, layout, sx, sy, metrics, ResolveColor(dc.get(), dc->state().textColor), clip);
  g_object_unref(layout);
  return TRUE;
}

// Text with "&" prefixes resolved: "&&" shows "&", "&x" underlines x (unless hidden).
struct Prefixed {
  std::u16string text;
  int underline = -1;
};

Prefixed ResolvePrefixes(std::u16string_view in, UINT flags) {
  Prefixed out;
  if (flags & DT_NOPREFIX) {
    out.text = in;
    return out;
  }
  for (size_t i = 0; i < in.size(); ++i) {
    if (in[i] == u'&' && i + 1 < in.size()) {
      ++i;
      if (in[i] != u'&' && !(flags & DT_HIDEPREFIX)) out.underline = int(out.text.size());
    } else if (in[i] == u'&') {
      continue;  // a trailing "&" shows nothing
    }
    out.text.push_back(in[i]);
  }
  return out;
}

struct Line {
  std::u16string text;
  int underline = -1;
};

// Break opportunities of a hard line, as unit offsets (Pango's line-break rules: spaces, and
// dictionary breaks in Khmer).
std::vector<size_t> BreakOpportunities(TextEngine& engine, const LOGFONTW& font, const std::u16string& text) {
  std::vector<size_t> out;
  PangoLayout* layout = engine.Layout(font, text);
  int count = 0;
  const PangoLogAttr* attrs = pango_layout_get_log_attrs_readonly(layout, &count);
  size_t unit = 0;
  for (int ch = 0; ch < count && unit <= text.size(); ++ch) {
    if (ch > 0 && attrs[ch].is_line_break) out.push_back(unit);
    if (unit < text.size()) unit += (text[unit] >= 0xD800 && text[unit] <= 0xDBFF) ? 2 : 1;
  }
  g_object_unref(layout);
  return out;
}

std::u16string TrimEnd(std::u16string s) {
  while (!s.empty() && (s.back() == u' ' || s.back() == u'\t')) s.pop_back();
  return s;
}

std::vector<Line> BreakLines(TextEngine& engine, const LOGFONTW& font, const Prefixed& p, UINT flags,
                             int maxWidth) {
  std::vector<Line> hard;
  if (flags & DT_SINGLELINE) {
    std::u16string t;
    for (char16_t c : p.text) t.push_back(c == u'\r' || c == u'\n' ? u' ' : c);
    hard.push_back({t, p.underline});
  } else {
    Line cur;
    for (size_t i = 0; i < p.text.size(); ++i) {
      const char16_t c = p.text[i];
      if (c == u'\r' || c == u'\n') {
        hard.push_back(cur);
        cur = Line();
        if (c == u'\r' && i + 1 < p.text.size() && p.text[i + 1] == u'\n') ++i;
        continue;
      }
      if (int(i) == p.underline) cur.underline = int(cur.text.size());
      cur.text.push_back(c);
    }
    hard.push_back(cur);
  }
  if (!(flags & DT_WORDBREAK) || (flags & DT_SINGLELINE)) return hard;
  std::vector<Line> out;
  for (const Line& h : hard) {
    const std::vector<size_t> breaks = BreakOpportunities(engine, font, h.text);
    size_t start = 0;
    while (start < h.text.size() || (start == 0 && h.text.empty())) {
      if (h.text.empty()) {
        out.push_back(h);
        break;
      }
      size_t best = 0;
      for (size_t b : breaks) {
        if (b <= start) continue;
        if (engine.Width(font, TrimEnd(h.text.substr(start, b - start))) <= maxWidth)
          best = b;
        else
          break;
      }
      if (!best) {
        // A word longer than the line overflows; it is never broken inside.
        auto next = std::find_if(breaks.begin(), breaks.end(), [&](size_t b) { return b > start; });
        best = next == breaks.end() ? h.text.size() : *next;
      }
      if (engine.Width(font, TrimEnd(h.text.substr(start))) <= maxWidth) best = h.text.size();
      Line l;
      l.text = TrimEnd(h.text.substr(start, best - start));
      if (h.underline >= int(start) && h.underline < int(best)) l.underline = h.underline - int(start);
      out.push_back(l);
      start = best;
    }
  }
  return out;
}

int DrawTextCore(HDC hdc, std::u16string_view text, RECT* rect, UINT flags) {
  auto dc = FindDc(hdc);
  if (!dc || !rect) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  TextEngine& engine = TextEngine::Instance();
  const LOGFONTW font = FontOf(*dc);
  const FontMetrics metrics = engine.Metrics(font);
  const int lineHeight = metrics.height;
  Prefixed p = ResolvePrefixes(text, flags);
  if (flags & DT_EXPANDTABS) {
    std::u16string expanded;
    const int stop = std::max(1, 8 * metrics.aveCharWidth);
    for (char16_t c : p.text) {
      if (c != u'\t') {
        expanded.push_back(c);
        continue;
      }
      // Pad with spaces to the next stop.
      const int at = engine.Width(font, expanded);
      const int target = (at / stop + 1) * stop;
      while (engine.Width(font, expanded) < target) expanded.push_back(u' ');
    }
    p.text = expanded;
  }
  const int maxWidth = rect->right - rect->left;
  std::vector<Line> lines = BreakLines(engine, font, p, flags, maxWidth);
  if ((flags & DT_END_ELLIPSIS) && (flags & DT_SINGLELINE) && !lines.empty() &&
      engine.Width(font, lines[0].text) > maxWidth) {
    std::u16string t = lines[0].text;
    while (!t.empty() && engine.Width(font, t + u"...") > maxWidth) t.pop_back();
    if (!t.empty() && t.back() >= 0xD800 && t.back() <= 0xDBFF) t.pop_back();
    lines[0].text = t + u"...";
    if (lines[0].underline >= int(t.size())) lines[0].underline = -1;
  }
  if (text.empty()) lines.clear();
  int widest = 0;
  std::vector<int> widths;
  for (const Line& l : lines) {
    widths.push_back(engine.Width(font, l.text));
    widest = std::max(widest, widths.back());
  }
  const int height = int(lines.size()) * lineHeight;
  if (flags & DT_CALCRECT) {
    rect->right = rect->left + widest;
    rect->bottom = rect->top + height;
    return height;
  }
  int y = rect->top;
  if (flags & DT_SINGLELINE) {
    if (flags & DT_VCENTER)
      y = rect->top + (rect->bottom - rect->top - lineHeight) / 2;
    else if (flags & DT_BOTTOM)
      y = rect->bottom - lineHeight;
  }
  if (!dc->surface()) return height;
  Region clip = dc->EffectiveClip();
  if (!(flags & DT_NOCLIP)) clip = clip.Intersect(Region(dc->SurfaceRect(*rect)));
  const COLORREF color = ResolveColor(dc.get(), dc->state().textColor);
  for (size_t i = 0; i < lines.size(); ++i, y += lineHeight) {
    int x = rect->left;
    if (flags & DT_CENTER)
      x = rect->left + (maxWidth - widths[i]) / 2;
    else if (flags & DT_RIGHT)
      x = rect->right - widths[i];
    const int sx = dc->SurfaceX(x), sy = dc->SurfaceY(y);
    if (dc->state().bkMode == OPAQUE) {
      Bitmap* s = dc->surface();
      const uint32_t background = s->ColorToRaw(ResolveColor(dc.get(), dc->state().bkColor));
      const Region cell = clip.Intersect(Region(RECT{sx, sy, sx + widths[i], sy + lineHeight}));
      for (const RECT& r : cell.rects())
        for (int yy = r.top; yy < r.bottom; ++yy)
          for (int xx = r.left; xx < r.right; ++xx) s->SetRaw(xx, yy, background);
    }
    if (lines[i].text.empty()) continue;
    PangoLayout* layout = engine.Layout(font, lines[i].text, lines[i].underline);
    if (flags & DT_RTLREADING) pango_layout_set_auto_dir(layout, FALSE);
    engine.Draw(*dc, layout, sx, sy, metrics, color, clip);
    g_object_unref(layout);
  }
  return height;
}

}  // namespace

HFONT CreateFontIndirectW(const LOGFONTW* font) {
  if (!font) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto f = std::make_shared<FontObject>();
  f->font = *font;
  f->font.lfFaceName[LF_FACESIZE - 1] = 0;
  return reinterpret_cast<HFONT>(InsertObject(f));
}

HFONT CreateFontIndirectA(const LOGFONTA* font) {
  if (!font) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  LOGFONTW w{};
  std::memcpy(&w, font, offsetof(LOGFONTA, lfFaceName));
  const std::u16string face = Wide(font->lfFaceName, int(strnlen(font->lfFaceName, LF_FACESIZE)));
  std::copy_n(face.begin(), std::min<size_t>(face.size(), LF_FACESIZE - 1), w.lfFaceName);
  return CreateFontIndirectW(&w);
}

BOOL GetTextMetricsW(HDC hdc, TEXTMETRICW* out) {
  auto dc = FindDc(hdc);
  if (!dc || !out) return FALSE;
  const LOGFONTW font = FontOf(*dc);
  const FontMetrics m = TextEngine::Instance().Metrics(font);
  *out = TEXTMETRICW{};
  out->tmHeight = m.height;
  out->tmAscent = m.ascent;
  out->tmDescent = m.height - m.ascent;
  out->tmInternalLeading = m.height - m.emSize;
  out->tmExternalLeading = 0;
  out->tmAveCharWidth = m.aveCharWidth;
  out->tmMaxCharWidth = m.maxCharWidth;
  out->tmWeight = font.lfWeight ? font.lfWeight : FW_NORMAL;
  out->tmDigitizedAspectX = out->tmDigitizedAspectY = 96;
  out->tmFirstChar = 0x20;
  out->tmLastChar = 0xFFFC;
  out->tmDefaultChar = 0x1F;
  out->tmBreakChar = 0x20;
  out->tmItalic = font.lfItalic;
  out->tmUnderlined = font.lfUnderline;
  out->tmStruckOut = font.lfStrikeOut;
  out->tmPitchAndFamily = BYTE(TMPF_TRUETYPE | (m.fixedPitch ? 0 : TMPF_FIXED_PITCH) | FF_SWISS);
  out->tmCharSet = font.lfCharSet;
  return TRUE;
}

BOOL GetTextMetricsA(HDC hdc, TEXTMETRICA* out) {
  TEXTMETRICW w;
  if (!out || !GetTextMetricsW(hdc, &w)) return FALSE;
  std::memcpy(out, &w, offsetof(TEXTMETRICA, tmFirstChar));
  out->tmFirstChar = 0x20;
  out->tmLastChar = 0xFF;
  out->tmDefaultChar = 0x1F;
  out->tmBreakChar = 0x20;
  out->tmItalic = w.tmItalic;
  out->tmUnderlined = w.tmUnderlined;
  out->tmStruckOut = w.tmStruckOut;
  out->tmPitchAndFamily = w.tmPitchAndFamily;
  out->tmCharSet = w.tmCharSet;
  return TRUE;
}

BOOL GetTextExtentPoint32W(HDC hdc, LPCWSTR text, int count, SIZE* out) {
  auto dc = FindDc(hdc);
  if (!dc || !out || count < 0 || (count > 0 && !text)) return FALSE;
  TextEngine& engine = TextEngine::Instance();
  const LOGFONTW font = FontOf(*dc);
  out->cx = engine.Width(font, View(text, count));
  out->cy = engine.Metrics(font).height;
  return TRUE;
}

BOOL GetTextExtentPoint32A(HDC hdc, LPCSTR text, int count, SIZE* out) {
  if (count < 0) return FALSE;
  const std::u16string w = Wide(text, count);
  return GetTextExtentPoint32W(hdc, w.c_str(), int(w.size()), out);
}

BOOL TextOutW(HDC hdc, int x, int y, LPCWSTR text, int count) {
  if (count < 0) return FALSE;
  return TextOutCore(hdc, x, y, 0, nullptr, View(text, count));
}

BOOL TextOutA(HDC hdc, int x, int y, LPCSTR text, int count) {
  if (count < 0) return FALSE;
  return TextOutCore(hdc, x, y, 0, nullptr, Wide(text, count));
}

BOOL ExtTextOutW(HDC hdc, int x, int y, UINT options, const RECT* rect, LPCWSTR text, UINT count,
                 const INT*) {
  return TextOutCore(hdc, x, y, options, rect, View(text, int(count)));
}

BOOL ExtTextOutA(HDC hdc, int x, int y, UINT options, const RECT* rect, LPCSTR text, UINT count, const INT*) {
  return TextOutCore(hdc, x, y, options, rect, Wide(text, int(count)));
}

int DrawTextW(HDC hdc, LPCWSTR text, int count, RECT* rect, UINT flags) {
  return DrawTextCore(hdc, View(text, count), rect, flags);
}

int DrawTextA(HDC hdc, LPCSTR text, int count, RECT* rect, UINT flags) {
  return DrawTextCore(hdc, Wide(text, count), rect, flags);
}
