// The raster engine shared by every drawing call: ternary raster operations on raw pixel
// values, the brush pattern in the destination's domain, rectangle fills, pixel writes through
// the pen mix, and the stretching blit with the monochrome <-> colour rules.
#pragma once

#include <cstdint>
#include <unordered_map>

#include "platform/gdi/DeviceContext.h"

namespace platform::gdi {

// Bit (P*4 + S*2 + D) of `rop` gives the result for each bit of the operands.
inline uint32_t Rop3(uint8_t rop, uint32_t p, uint32_t s, uint32_t d) {
  switch (rop) {
    case 0xCC:
      return s;
    case 0xF0:
      return p;
    case 0x88:
      return s & d;
    case 0xEE:
      return s | d;
    case 0x66:
      return s ^ d;
    case 0x33:
      return ~s;
    case 0x55:
      return ~d;
    case 0x5A:
      return p ^ d;
    case 0xAA:
      return d;
    case 0x00:
      return 0;
    case 0xFF:
      return ~0u;
    default:
      break;
  }
  uint32_t r = 0;
  for (int i = 0; i < 8; ++i) {
    if (!(rop & (1 << i))) continue;
    r |= ((i & 4) ? p : ~p) & ((i & 2) ? s : ~s) & ((i & 1) ? d : ~d);
  }
  return r;
}

// A binary pen mix (R2_*) as the ternary operation that ignores the source.
uint8_t Rop2ToRop3(int rop2);
inline bool RopUsesSource(uint8_t rop) { return (((rop >> 2) ^ rop) & 0x33) != 0; }
inline bool RopUsesPattern(uint8_t rop) { return (((rop >> 4) ^ rop) & 0x0F) != 0; }

// The brush (or pen colour) as raw values of the destination bitmap.
class Pattern {
 public:
  Pattern() = default;
  // A solid colour.
  Pattern(const Bitmap& dst, COLORREF color);
  // The DC's selected brush, or `brush` when given.
  Pattern(const DeviceContext& dc, const Bitmap& dst, const BrushObject* brush);
  bool none() const { return none_; }
  bool solid() const { return !none_ && !bitmap_; }
  uint32_t At(int x, int y) const;

 private:
  bool none_ = true;
  uint32_t solid_ = 0;
  std::shared_ptr<Bitmap> bitmap_;
  uint32_t mono_[2] = {0, 0};
  const Bitmap* dst_ = nullptr;
};

// Applies `rop` (pattern and destination only) to a rectangle in surface coordinates.
void FillSurface(DeviceContext& dc, const RECT& rect, uint8_t rop, const Pattern& pattern);
// Applies `rop` to one surface pixel if the DC may draw there.
void PlotSurface(DeviceContext& dc, const Region& clip, int x, int y, uint8_t rop, const Pattern& pattern);

struct BlitRequest {
  DeviceContext* dst = nullptr;
  RECT dstRect{};  // surface coordinates, normalised (left < right)
  bool flipX = false, flipY = false;
  const Bitmap* src = nullptr;
  COLORREF srcBkColor = RGB(255, 255, 255);
  RECT srcRect{};  // source bitmap coordinates, normalised
  uint8_t rop = 0xCC;
  uint8_t backRop = 0xCC;  // where the mask bit is 0
  const Bitmap* mask = nullptr;
  POINT maskOrigin{0, 0};
  Pattern pattern;
};
void Blit(const BlitRequest& request);

}  // namespace platform::gdi
