// The raster engine: pattern set-up, fills and the stretching blit. Source pixels are read into
// a buffer before anything is written, so a DC may blit onto itself with overlap.
#include "platform/gdi/Raster.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace platform::gdi {

uint8_t Rop2ToRop3(int rop2) {
  if (rop2 < 1 || rop2 > 16) rop2 = R2_COPYPEN;
  const int table = rop2 - 1;  // bit (P*2 + D)
  uint8_t out = 0;
  for (int i = 0; i < 8; ++i) {
    const int p = (i >> 2) & 1, d = i & 1;
    if (table & (1 << (p * 2 + d))) out |= uint8_t(1 << i);
  }
  return out;
}

Pattern::Pattern(const Bitmap& dst, COLORREF color)
    : none_(false), solid_(dst.ColorToRaw(color)), dst_(&dst) {}

Pattern::Pattern(const DeviceContext& dc, const Bitmap& dst, const BrushObject* brush) : dst_(&dst) {
  if (!brush) brush = static_cast<const BrushObject*>(dc.state().brush.get());
  if (!brush || brush->style == BS_NULL) return;
  none_ = false;
  if (brush->style == BS_SOLID) {
    solid_ = dst.ColorToRaw(ResolveColor(&dc, brush->color));
    return;
  }
  bitmap_ = brush->pattern;
  if (!bitmap_) {
    none_ = true;
    return;
  }
  if (brush->style == BS_HATCHED) {
    // Hatch lines (0 bits) in the brush colour over the background colour.
    mono_[0] = dst.ColorToRaw(ResolveColor(&dc, brush->color));
    mono_[1] = dst.ColorToRaw(ResolveColor(&dc, dc.state().bkColor));
  } else {
    // A monochrome pattern takes the DC's text (0) and background (1) colours.
    mono_[0] = dst.ColorToRaw(ResolveColor(&dc, dc.state().textColor));
    mono_[1] = dst.ColorToRaw(ResolveColor(&dc, dc.state().bkColor));
  }
}

uint32_t Pattern::At(int x, int y) const {
  if (!bitmap_) return solid_;
  const int w = bitmap_->width(), h = bitmap_->height();
  const int px = ((x % w) + w) % w, py = ((y % h) + h) % h;
  const uint32_t raw = bitmap_->GetRaw(px, py);
  if (bitmap_->isMonoDdb()) {
    if (dst_->isMonoDdb()) return raw;
    return mono_[raw & 1];
  }
  return dst_->ColorToRaw(bitmap_->RawToColor(raw));
}

namespace {

// Row loops of the plain fills and copies onto 32-bit memory, built for AVX2 as well where the
// processor has it.
#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__)
#define GDI_ROW_LOOP __attribute__((target_clones("avx2", "default")))
#else
#define GDI_ROW_LOOP
#endif

GDI_ROW_LOOP void FillRow(uint32_t* __restrict row, size_t n, uint32_t value) {
  for (size_t x = 0; x < n; ++x) row[x] = value;
}

GDI_ROW_LOOP void CopyRowMasked(uint32_t* __restrict to, const uint32_t* __restrict from, size_t n,
                                uint32_t mask) {
  for (size_t x = 0; x < n; ++x) to[x] = from[x] & mask;
}

// Bitmaps whose raw values are colours as 0x00RRGGBB, three or four bytes a pixel.
bool PlainRgb(const Bitmap& b) {
  if (b.isMonoDdb()) return false;
  if (b.bpp() == 24) return true;
  if (b.bpp() != 32) return false;
  const uint32_t* m = b.masks();
  return b.kind() == Bitmap::Kind::Surface32 || (m[0] == 0xFF0000 && m[1] == 0xFF00 && m[2] == 0xFF);
}

template <int S>
inline uint32_t LoadRgb(const uint8_t* p) {
  if constexpr (S == 4) {
    uint32_t v;
    std::memcpy(&v, p, 4);
    return v & 0xFFFFFF;
  } else {
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16);
  }
}

template <int D>
inline void StoreRgb(uint8_t* p, uint32_t v) {
  if constexpr (D == 4) {
    std::memcpy(p, &v, 4);
  } else {
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
    p[2] = uint8_t(v >> 16);
  }
}

// A row of n pixels from a layout of S bytes a pixel into one of D bytes (the fourth byte of a
// 32-bit pixel written is 0).
using RowCopy = void (*)(uint8_t*, const uint8_t*, size_t);
template <int S, int D>
GDI_ROW_LOOP void ConvertRow(uint8_t* __restrict to, const uint8_t* __restrict from, size_t n) {
  for (size_t x = 0; x < n; ++x) StoreRgb<D>(to + x * D, LoadRgb<S>(from + x * S));
}
void CopyRow32(uint8_t* to, const uint8_t* from, size_t n) {
  CopyRowMasked(reinterpret_cast<uint32_t*>(to), reinterpret_cast<const uint32_t*>(from), n, 0xFFFFFF);
}
void CopyRow24(uint8_t* to, const uint8_t* from, size_t n) { std::memcpy(to, from, n * 3); }
RowCopy PickCopy(int sb, int db) {
  if (sb == 4) return db == 4 ? CopyRow32 : ConvertRow<4, 3>;
  return db == 4 ? ConvertRow<3, 4> : CopyRow24;
}

// The same with source column cols[x] for destination column x.
using RowGather = void (*)(uint8_t*, const uint8_t*, const int*, size_t);
template <int S, int D>
GDI_ROW_LOOP void GatherRow(uint8_t* __restrict to, const uint8_t* __restrict from, const int* cols,
                            size_t n) {
  for (size_t x = 0; x < n; ++x) StoreRgb<D>(to + x * D, LoadRgb<S>(from + size_t(cols[x]) * S));
}
RowGather PickGather(int sb, int db) {
  if (sb == 4) return db == 4 ? GatherRow<4, 4> : GatherRow<4, 3>;
  return db == 4 ? GatherRow<3, 4> : GatherRow<3, 3>;
}

RECT Intersect(const RECT& a, const RECT& b) {
  return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
          std::min(a.bottom, b.bottom)};
}
bool Empty(const RECT& r) { return r.left >= r.right || r.top >= r.bottom; }

// Converts source raw values to the destination's domain by the classic rules.
class SourceConverter {
 public:
  SourceConverter(const BlitRequest& q, const Bitmap& dst) : src_(*q.src), dst_(dst) {
    const DcState& ds = q.dst->state();
    if (src_.isMonoDdb() && dst.isMonoDdb()) {
      mode_ = Mode::Raw;
    } else if (src_.isMonoDdb()) {
      mode_ = Mode::MonoToColor;
      mono_[0] = dst.ColorToRaw(ResolveColor(q.dst, ds.textColor));
      mono_[1] = dst.ColorToRaw(ResolveColor(q.dst, ds.bkColor));
    } else if (dst.isMonoDdb()) {
      mode_ = Mode::ColorToMono;
      bk_ = q.srcBkColor & 0xFFFFFF;
    } else if (src_.SameDomain(dst)) {
      mode_ = Mode::Raw;
    } else {
      mode_ = Mode::ViaColor;
    }
  }

  bool raw() const { return mode_ == Mode::Raw; }

  uint32_t operator()(uint32_t raw) {
    switch (mode_) {
      case Mode::Raw:
        return raw;
      case Mode::MonoToColor:
        return mono_[raw & 1];
      case Mode::ColorToMono:
        return (src_.RawToColor(raw) & 0xFFFFFF) == bk_ ? 1u : 0u;
      case Mode::ViaColor: {
        if (!dst_.indexed()) return dst_.ColorToRaw(src_.RawToColor(raw));
        auto it = cache_.find(raw);
        if (it != cache_.end()) return it->second;
        const uint32_t v = dst_.ColorToRaw(src_.RawToColor(raw));
        cache_.emplace(raw, v);
        return v;
      }
    }
    return raw;
  }

 private:
  enum class Mode { Raw, MonoToColor, ColorToMono, ViaColor };
  const Bitmap& src_;
  const Bitmap& dst_;
  Mode mode_ = Mode::Raw;
  uint32_t mono_[2] = {0, 0};
  COLORREF bk_ = 0;
  std::unordered_map<uint32_t, uint32_t> cache_;
};

}  // namespace

void FillSurface(DeviceContext& dc, const RECT& rect, uint8_t rop, const Pattern& pattern) {
  Bitmap* dst = dc.surface();
  if (!dst || Empty(rect)) return;
  if (RopUsesPattern(rop) && pattern.none()) return;
  const Region clip = dc.EffectiveClip();
  const uint32_t mask = dst->RawMask();
  if (rop == 0xF0 && pattern.solid() && dst->bpp() == 32) {
    // The common case: a solid brush copied onto 32-bit memory, row by row.
    const uint32_t value = pattern.At(0, 0) & mask;
    for (const RECT& c : clip.rects()) {
      const RECT r = Intersect(c, rect);
      if (Empty(r)) continue;
      for (int y = r.top; y < r.bottom; ++y) {
        FillRow(reinterpret_cast<uint32_t*>(dst->Row(y)) + r.left, size_t(r.right - r.left), value);
      }
    }
    return;
  }
  for (const RECT& c : clip.rects()) {
    const RECT r = Intersect(c, rect);
    if (Empty(r)) continue;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x)
        dst->SetRaw(x, y, Rop3(rop, pattern.At(x, y), 0, dst->GetRaw(x, y)) & mask);
  }
}

void PlotSurface(DeviceContext& dc, const Region& clip, int x, int y, uint8_t rop, const Pattern& pattern) {
  Bitmap* dst = dc.surface();
  if (!dst || !clip.Contains(x, y)) return;
  dst->SetRaw(x, y, Rop3(rop, pattern.At(x, y), 0, dst->GetRaw(x, y)) & dst->RawMask());
}

void Blit(const BlitRequest& q) {
  Bitmap* dst = q.dst->surface();
  if (!dst || Empty(q.dstRect)) return;
  const Region clip = q.dst->EffectiveClip();
  RECT area = Intersect(q.dstRect, clip.Bounds());
  if (Empty(area)) return;
  const bool usesSource = RopUsesSource(q.rop) || (q.mask && RopUsesSource(q.backRop));
  const bool usesPattern = RopUsesPattern(q.rop) || (q.mask && RopUsesPattern(q.backRop));
  if (usesPattern && q.pattern.none()) return;
  const int64_t dw = q.dstRect.right - q.dstRect.left, dh = q.dstRect.bottom - q.dstRect.top;
  const int64_t sw = q.srcRect.right - q.srcRect.left, sh = q.srcRect.bottom - q.srcRect.top;

  // Plain copies between two different bitmaps holding 0x00RRGGBB colours (24 or 32 bits a
  // pixel), not mirrored: whole rows at a time, converted between the two layouts on the way.
  if (!q.mask && q.rop == 0xCC && q.src && q.src != dst && !q.flipX && !q.flipY && PlainRgb(*dst) &&
      PlainRgb(*q.src) && dst->RawMask() == 0xFFFFFF) {
    const int sb = q.src->bpp() / 8, db = dst->bpp() / 8;
    if (sw == dw && sh == dh) {
      // Same scale: source row y + dy, column x + dx; pixels outside the source are left alone.
      const RowCopy copy = PickCopy(sb, db);
      const int dx = q.srcRect.left - q.dstRect.left, dy = q.srcRect.top - q.dstRect.top;
      const RECT inside{-dx, -dy, q.src->width() - dx, q.src->height() - dy};
      for (const RECT& c : clip.rects()) {
        const RECT r = Intersect(Intersect(c, area), inside);
        if (Empty(r)) continue;
        for (int y = r.top; y < r.bottom; ++y) {
          copy(dst->Row(y) + size_t(r.left) * size_t(db),
               q.src->Row(y + dy) + size_t(r.left + dx) * size_t(sb), size_t(r.right - r.left));
        }
      }
      return;
    }
    // A stretch reading only inside the source: the source column of each destination column is
    // worked out once, and a row that comes from the same source row as the one above it is a
    // copy of that row.
    if (sw > 0 && sh > 0 && q.srcRect.left >= 0 && q.srcRect.top >= 0 && q.srcRect.right <= q.src->width() &&
        q.srcRect.bottom <= q.src->height()) {
      const RowGather gather = PickGather(sb, db);
      const int aw = area.right - area.left;
      std::vector<int> columns(static_cast<size_t>(aw));
      for (int i = 0; i < aw; ++i) {
        columns[size_t(i)] = int(q.srcRect.left + (int64_t(area.left + i - q.dstRect.left) * sw) / dw);
      }
      for (const RECT& c : clip.rects()) {
        const RECT r = Intersect(c, area);
        if (Empty(r)) continue;
        const int* cols = columns.data() + (r.left - area.left);
        const size_t n = size_t(r.right - r.left);
        int previous = -1;
        const uint8_t* above = nullptr;
        for (int y = r.top; y < r.bottom; ++y) {
          const int sy = int(q.srcRect.top + (int64_t(y - q.dstRect.top) * sh) / dh);
          uint8_t* to = dst->Row(y) + size_t(r.left) * size_t(db);
          if (sy == previous) {
            std::memcpy(to, above, n * size_t(db));
          } else {
            gather(to, q.src->Row(sy), cols, n);
          }
          previous = sy;
          above = to;
        }
      }
      return;
    }
  }
  // Snapshot of the source values (in the destination's domain) for the area drawn.
  const int aw = area.right - area.left, ah = area.bottom - area.top;
  std::vector<uint32_t> source;
  std::vector<uint8_t> present;
  if (usesSource) {
    if (!q.src || sw <= 0 || sh <= 0) return;
    SourceConverter convert(q, *dst);
    std::vector<int> columns(static_cast<size_t>(aw)), rows(static_cast<size_t>(ah));
    for (int i = 0; i < aw; ++i) {
      const int64_t j = area.left + i - q.dstRect.left;
      const int64_t k = q.flipX ? dw - 1 - j : j;
      columns[size_t(i)] = int(q.srcRect.left + (k * sw) / dw);
    }
    for (int i = 0; i < ah; ++i) {
      const int64_t j = area.top + i - q.dstRect.top;
      const int64_t k = q.flipY ? dh - 1 - j : j;
      rows[size_t(i)] = int(q.srcRect.top + (k * sh) / dh);
    }
    source.assign(size_t(aw) * size_t(ah), 0);
    present.assign(size_t(aw) * size_t(ah), 0);
    const bool direct = convert.raw() && q.src->bpp() == 32;
    for (int i = 0; i < ah; ++i) {
      const int sy = rows[size_t(i)];
      if (sy < 0 || sy >= q.src->height()) continue;
      if (direct) {
        const uint32_t* srow = reinterpret_cast<const uint32_t*>(q.src->Row(sy));
        for (int c = 0; c < aw; ++c) {
          const int sx = columns[size_t(c)];
          if (sx < 0 || sx >= q.src->width()) continue;
          source[size_t(i) * size_t(aw) + size_t(c)] = srow[sx];
          present[size_t(i) * size_t(aw) + size_t(c)] = 1;
        }
        continue;
      }
      for (int c = 0; c < aw; ++c) {
        const int sx = columns[size_t(c)];
        if (sx < 0 || sx >= q.src->width()) continue;
        source[size_t(i) * size_t(aw) + size_t(c)] = convert(q.src->GetRaw(sx, sy));
        present[size_t(i) * size_t(aw) + size_t(c)] = 1;
      }
    }
  }

  const uint32_t mask = dst->RawMask();
  for (const RECT& c : clip.rects()) {
    const RECT r = Intersect(c, area);
    if (Empty(r)) continue;
    for (int y = r.top; y < r.bottom; ++y) {
      if (!q.mask && q.rop == 0xCC && dst->bpp() == 32) {
        // A plain copy onto 32-bit memory: the converted source row, fourth byte cleared.
        uint32_t* row = reinterpret_cast<uint32_t*>(dst->Row(y));
        const size_t base = size_t(y - area.top) * size_t(aw) - size_t(area.left);
        for (int x = r.left; x < r.right; ++x)
          if (present[base + size_t(x)]) row[x] = source[base + size_t(x)] & mask;
        continue;
      }
      for (int x = r.left; x < r.right; ++x) {
        const size_t at = size_t(y - area.top) * size_t(aw) + size_t(x - area.left);
        if (usesSource && !present[at]) continue;
        uint8_t rop = q.rop;
        if (q.mask) {
          const int mx = q.maskOrigin.x + (x - q.dstRect.left), my = q.maskOrigin.y + (y - q.dstRect.top);
          const bool fore =
              mx >= 0 && my >= 0 && mx < q.mask->width() && my < q.mask->height() && q.mask->GetRaw(mx, my);
          rop = fore ? q.rop : q.backRop;
        }
        const uint32_t s = usesSource ? source[at] : 0;
        const uint32_t p = usesPattern ? q.pattern.At(x, y) : 0;
        dst->SetRaw(x, y, Rop3(rop, p, s, dst->GetRaw(x, y)) & mask);
      }
    }
  }
}

}  // namespace platform::gdi
