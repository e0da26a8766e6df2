// Region arithmetic by band sweeping: every y boundary of both operands cuts the plane into
// bands; within a band each operand is a list of x intervals, combined by the operation.
#include "platform/gdi/Region.h"

#include <algorithm>

namespace platform::gdi {

namespace {

using Spans = std::vector<std::pair<LONG, LONG>>;

// The x intervals of a region in the band [y0, y1) (the band lies inside one of its bands or none).
Spans SpansAt(const std::vector<RECT>& rects, LONG y0, LONG y1) {
  Spans out;
  for (const RECT& r : rects) {
    if (r.top <= y0 && r.bottom >= y1) out.emplace_back(r.left, r.right);
  }
  return out;
}

bool Inside(const Spans& s, LONG x) {
  for (auto& [l, r] : s)
    if (x >= l && x < r) return true;
  return false;
}

Spans CombineSpans(const Spans& a, const Spans& b, int mode) {
  std::vector<LONG> xs;
  for (auto& [l, r] : a) xs.insert(xs.end(), {l, r});
  for (auto& [l, r] : b) xs.insert(xs.end(), {l, r});
  std::sort(xs.begin(), xs.end());
  xs.erase(std::unique(xs.begin(), xs.end()), xs.end());
  Spans out;
  for (size_t i = 0; i + 1 < xs.size(); ++i) {
    const bool ia = Inside(a, xs[i]), ib = Inside(b, xs[i]);
    bool in = false;
    switch (mode) {
      case RGN_AND:
        in = ia && ib;
        break;
      case RGN_OR:
        in = ia || ib;
        break;
      case RGN_XOR:
        in = ia != ib;
        break;
      case RGN_DIFF:
        in = ia && !ib;
        break;
      default:
        in = ia;
        break;
    }
    if (!in) continue;
    if (!out.empty() && out.back().second == xs[i])
      out.back().second = xs[i + 1];
    else
      out.emplace_back(xs[i], xs[i + 1]);
  }
  return out;
}

}  // namespace

Region::Region(const RECT& r) {
  if (r.left < r.right && r.top < r.bottom) rects_.push_back(r);
}

Region Region::Combine(const Region& a, const Region& b, int mode) {
  if (mode == RGN_COPY) return a;
  std::vector<LONG> ys;
  for (const RECT& r : a.rects_) ys.insert(ys.end(), {r.top, r.bottom});
  for (const RECT& r : b.rects_) ys.insert(ys.end(), {r.top, r.bottom});
  std::sort(ys.begin(), ys.end());
  ys.erase(std::unique(ys.begin(), ys.end()), ys.end());
  Region out;
  Spans previous;
  size_t previousStart = 0;
  LONG previousBottom = 0;
  bool havePrevious = false;
  for (size_t i = 0; i + 1 < ys.size(); ++i) {
    const LONG y0 = ys[i], y1 = ys[i + 1];
    Spans s = CombineSpans(SpansAt(a.rects_, y0, y1), SpansAt(b.rects_, y0, y1), mode);
    if (s.empty()) {
      havePrevious = false;
      continue;
    }
    if (havePrevious && previousBottom == y0 && s == previous) {
      for (size_t k = previousStart; k < out.rects_.size(); ++k) out.rects_[k].bottom = y1;
    } else {
      previousStart = out.rects_.size();
      for (auto& [l, r] : s) out.rects_.push_back({l, y0, r, y1});
      previous = std::move(s);
      havePrevious = true;
    }
    previousBottom = y1;
  }
  return out;
}

RECT Region::Bounds() const {
  if (rects_.empty()) return {0, 0, 0, 0};
  RECT b = rects_.front();
  for (const RECT& r : rects_) {
    b.left = std::min(b.left, r.left);
    b.top = std::min(b.top, r.top);
    b.right = std::max(b.right, r.right);
    b.bottom = std::max(b.bottom, r.bottom);
  }
  return b;
}

int Region::Complexity() const {
  if (rects_.empty()) return NULLREGION;
  return rects_.size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

bool Region::Contains(int x, int y) const {
  for (const RECT& r : rects_)
    if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return true;
  return false;
}

bool Region::Intersects(const RECT& q) const {
  for (const RECT& r : rects_)
    if (std::max(r.left, q.left) < std::min(r.right, q.right) &&
        std::max(r.top, q.top) < std::min(r.bottom, q.bottom))
      return true;
  return false;
}

void Region::Offset(int dx, int dy) {
  for (RECT& r : rects_) {
    r.left += dx;
    r.right += dx;
    r.top += dy;
    r.bottom += dy;
  }
}

bool Region::operator==(const Region& other) const {
  if (rects_.size() != other.rects_.size()) return false;
  for (size_t i = 0; i < rects_.size(); ++i) {
    const RECT &a = rects_[i], &b = other.rects_[i];
    if (a.left != b.left || a.top != b.top || a.right != b.right || a.bottom != b.bottom) return false;
  }
  return true;
}

}  // namespace platform::gdi
