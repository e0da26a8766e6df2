#include "mms/TMmsLayout.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace {

constexpr int kDefaultWidth = TMmsLayout::kDefaultPageSize;
constexpr int kTextTop = 123;
constexpr int kImageBottom = 305;

// Region coordinates are ints; a re-stacking that would leave that range stops at its edge.
int Saturate(int64_t v) {
  return static_cast<int>(
      std::clamp<int64_t>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

bool CornerInside(const TMmsRegion& inner, const TMmsRegion& outer) {
  const int64_t right = int64_t{inner.Left} + inner.Width;
  const int64_t bottom = int64_t{inner.Top} + inner.Height;
  auto inside = [&outer](int64_t x, int64_t y) {
    return outer.Left <= x && x <= int64_t{outer.Left} + outer.Width && outer.Top <= y &&
           y <= int64_t{outer.Top} + outer.Height;
  };
  return inside(inner.Left, inner.Top) || inside(inner.Left, bottom) || inside(right, inner.Top) ||
         inside(right, bottom);
}

// Two regions touch when a corner of either lies inside the other or on its edge; regions that
// cross like a plus sign, with no corner inside the other, do not.
bool Touch(const TMmsRegion& a, const TMmsRegion& b) { return CornerInside(a, b) || CornerInside(b, a); }

}  // namespace

TMmsLayout::TMmsLayout() : TMmsLayout(kDefaultWidth, kDefaultWidth) {}

TMmsLayout::TMmsLayout(int rootWidth, int rootHeight)
    : Root(std::make_unique<TMmsRootLayout>(TMmsRootLayout{rootWidth, rootHeight})) {}

int TMmsLayout::GetRegionCount() const { return static_cast<int>(Regions.size()); }

TMmsRegion* TMmsLayout::GetRegion(int index) const {
  if (index < 0 || index >= GetRegionCount()) return nullptr;
  return Regions[static_cast<size_t>(index)].get();
}

int TMmsLayout::IndexOfRegion(const std::string& id) const {
  for (size_t i = 0; i < Regions.size(); ++i) {
    if (Regions[i]->Id == id) return static_cast<int>(i);
  }
  return GetRegionCount();
}

TMmsRegion* TMmsLayout::FindRegion(const std::string& id) const { return GetRegion(IndexOfRegion(id)); }

int TMmsLayout::HasRegion(const std::string& id) const { return FindRegion(id) ? 1 : 0; }

int TMmsLayout::AddRegion(int /*slideIndex*/, const std::string& id, int width, int height, int left,
                          int /*top*/, unsigned char fit) {
  // The caller's top is not used: the text sits in the band below the picture, the picture at the
  // page top, so that a fresh layout has them one above the other.
  const int w = width == -1 ? kDefaultWidth : width;
  const int l = left == -1 ? 0 : left;
  int t = 0;
  int h = height;
  if (id == "Text") {
    t = kTextTop;
  } else if (id == "Img") {
    h = std::min(height, kImageBottom - t);
  } else {
    // Video and Ref regions are made with -1 everywhere; give them the page's size like the width.
    h = height == -1 ? kDefaultWidth : height;
  }
  Regions.push_back(std::make_unique<TMmsRegion>(w, h, l, t, fit, id));
  return 0;
}

int TMmsLayout::NewRegion(int width, int height, int left, int top, unsigned char fit,
                          const std::string& id) {
  Regions.push_back(std::make_unique<TMmsRegion>(width, height, left, top, fit, id));
  return 0;
}

int TMmsLayout::GetRegionWidth(const std::string& id) const {
  const TMmsRegion* r = FindRegion(id);
  return r ? r->Width : kNoRegion;
}

int TMmsLayout::GetRegionHeight(const std::string& id) const {
  const TMmsRegion* r = FindRegion(id);
  return r ? r->Height : kNoRegion;
}

int TMmsLayout::GetRegionTop(const std::string& id) const {
  const TMmsRegion* r = FindRegion(id);
  return r ? r->Top : kNoRegion;
}

int TMmsLayout::GetRegionLeft(const std::string& id) const {
  const TMmsRegion* r = FindRegion(id);
  return r ? r->Left : kNoRegion;
}

int TMmsLayout::SetRegionWidth(const std::string& id, int value) {
  TMmsRegion* r = FindRegion(id);
  if (!r) return kNoRegion;
  r->Width = value;
  return 0;
}

int TMmsLayout::SetRegionHeight(const std::string& id, int value) {
  TMmsRegion* r = FindRegion(id);
  if (!r) return kNoRegion;
  r->Height = value;
  return 0;
}

int TMmsLayout::RegionContains(const std::string& id, int x, int y) const {
  const TMmsRegion* r = FindRegion(id);
  if (!r) return kNoRegion;
  return r->Contains(x, y) ? 1 : kOutside;
}

int TMmsLayout::MoveRegion(const std::string& id, int left, int top, int limit) {
  TMmsRegion* moved = FindRegion(id);
  if (!moved) return kNoRegion;
  moved->Left = left;
  moved->Top = top;

  RegionSet set{moved};
  Restack(set, kDown);

  int64_t smallestTop = set.front()->Top;
  int64_t heights = 0;
  for (const TMmsRegion* r : set) {
    smallestTop = std::min<int64_t>(smallestTop, r->Top);
    heights += r->Height;
  }
  const int64_t excess = smallestTop + heights - limit;
  if (excess > 0) {
    for (TMmsRegion* r : set) r->Top = Saturate(r->Top - excess);
    Restack(set, kUp);
  }
  return 0;
}

int TMmsLayout::CollectOverlaps(RegionSet& set) const {
  // Only the region that governs its id takes part: a stale later region of the same id is
  // invisible, and collecting it would shut the governing one out of the set.
  std::vector<bool> governing(Regions.size());
  for (size_t i = 0; i < Regions.size(); ++i) {
    governing[i] = IndexOfRegion(Regions[i]->Id) == static_cast<int>(i);
  }
  int result = 0;
  // Members added here are examined in the same pass, hence the index loop over a growing set.
  for (size_t m = 0; m < set.size(); ++m) {
    for (size_t i = 0; i < Regions.size(); ++i) {
      if (!governing[i]) continue;
      const TMmsRegion* candidate = Regions[i].get();
      const bool idInSet = std::any_of(set.begin(), set.end(),
                                       [candidate](const TMmsRegion* r) { return r->Id == candidate->Id; });
      if (idInSet || !Touch(*set[m], *candidate)) continue;
      set.push_back(Regions[i].get());
      result = kCollected;
    }
  }
  return result;
}

void TMmsLayout::SortByCentre(RegionSet& set, int direction) {
  // A stable sort gives what exchanging only strictly out-of-order neighbours gives: equal keys
  // keep their order.
  auto key = [direction](const TMmsRegion* r) {
    return direction == kUp || direction == kDown ? r->CentreY() : r->CentreX();
  };
  const bool descending = direction == kUp || direction == kLeft;
  std::stable_sort(set.begin(), set.end(), [&](const TMmsRegion* a, const TMmsRegion* b) {
    return descending ? key(a) > key(b) : key(a) < key(b);
  });
}

void TMmsLayout::ChainRegions(RegionSet& set, int direction) {
  for (size_t i = 1; i < set.size(); ++i) {
    const TMmsRegion& prev = *set[i - 1];
    TMmsRegion& next = *set[i];
    switch (direction) {
      case kUp:
        next.Top = Saturate(int64_t{prev.Top} - next.Height);
        break;
      case kDown:
        next.Top = Saturate(int64_t{prev.Top} + prev.Height);
        break;
      case kLeft:
        next.Left = Saturate(int64_t{prev.Left} - next.Width);
        break;
      case kRight:
        next.Left = Saturate(int64_t{prev.Left} + prev.Width);
        break;
      default:
        break;
    }
  }
}

void TMmsLayout::Restack(RegionSet& set, int direction) const {
  // Each round adds at least one region of an id not yet in the set, so it ends after at most as
  // many rounds as there are ids.
  while (CollectOverlaps(set) != 0) {
    SortByCentre(set, direction);
    ChainRegions(set, direction);
  }
}
