// Text through Pango on a Cairo image surface over the DC's own 32-bit memory: fonts from
// logical descriptions (classic face names mapped through fontconfig), metrics, measuring and
// drawing with one layout, so measured and drawn extents agree and Khmer and Vietnamese are
// shaped. Internal to platform/gdi; the classic text functions in Gdi.h are built on it.
#pragma once

#include <pango/pangocairo.h>

#include <string>

#include "platform/gdi/DeviceContext.h"

namespace platform::gdi {

struct FontMetrics {
  int height = 0, ascent = 0, descent = 0, emSize = 0, aveCharWidth = 0, maxCharWidth = 0;
  bool fixedPitch = false;
};

class TextEngine {
 public:
  // The process's engine (interface thread only).
  static TextEngine& Instance();

  // Pango's context with the fixed options every drawing uses (tests render through it too).
  PangoContext* context() const { return context_; }
  // The family a classic face name maps to.
  static std::string FamilyFor(const std::u16string& face);
  // A description of the DC's font (caller frees it).
  PangoFontDescription* Describe(const LOGFONTW& font);
  FontMetrics Metrics(const LOGFONTW& font);

  // A one-line layout of UTF-16 text in the font; underline marks one unit when >= 0.
  PangoLayout* Layout(const LOGFONTW& font, std::u16string_view text, int underlineUnit = -1);
  int Width(const LOGFONTW& font, std::u16string_view text);
  // Draws a one-line layout with its cell's top-left at (x, y) in surface coordinates, clipped.
  void Draw(DeviceContext& dc, PangoLayout* layout, int x, int y, const FontMetrics& metrics, COLORREF color,
            const Region& clip);

 private:
  TextEngine();
  static void Show(cairo_surface_t* cs, PangoLayout* layout, int left, int top, int x, int y,
                   const FontMetrics& metrics, COLORREF color, const Region& clip);
  PangoContext* context_ = nullptr;
};

// The DC's selected font description.
LOGFONTW FontOf(const DeviceContext& dc);

}  // namespace platform::gdi
