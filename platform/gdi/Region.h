// A region: a set of non-overlapping rectangles kept in y-x bands (rows of equal top and bottom,
// sorted by x, adjacent identical bands merged), so equal shapes have equal rectangle lists.
// Used for clip regions, update regions and window shapes.
#pragma once

#include <vector>

#include "platform/gdi/GdiTypes.h"

namespace platform::gdi {

class Region {
 public:
  Region() = default;
  explicit Region(const RECT& r);

  static Region Combine(const Region& a, const Region& b, int mode);

  bool IsEmpty() const { return rects_.empty(); }
  const std::vector<RECT>& rects() const { return rects_; }
  RECT Bounds() const;
  // NULLREGION, SIMPLEREGION or COMPLEXREGION.
  int Complexity() const;
  bool Contains(int x, int y) const;
  bool Intersects(const RECT& r) const;
  void Offset(int dx, int dy);
  bool operator==(const Region& other) const;

  Region Intersect(const Region& other) const { return Combine(*this, other, RGN_AND); }
  Region Union(const Region& other) const { return Combine(*this, other, RGN_OR); }
  Region Subtract(const Region& other) const { return Combine(*this, other, RGN_DIFF); }

 private:
  std::vector<RECT> rects_;
};

}  // namespace platform::gdi
