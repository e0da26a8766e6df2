#include "editor/StripMarker.h"

#include <algorithm>

StripBand ClipMarkerBand(int x, int stripWidth, int scrollPosition, int controlWidth) {
  // Strip column c shows at control column c - scrollPosition + 1.
  const int first = std::max({x - 2, 0, scrollPosition - 1});
  const int end = std::min({x + 2, stripWidth, controlWidth + scrollPosition - 1});
  if (end <= first) return StripBand{};
  return StripBand{first, end - first};
}
