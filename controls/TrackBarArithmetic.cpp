#include "controls/TrackBarArithmetic.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace trackbar {

namespace {

int Saturate(std::int64_t v) { return static_cast<int>(std::clamp<std::int64_t>(v, INT_MIN, INT_MAX)); }
std::int64_t Span(int min, int max) { return std::max<std::int64_t>(std::int64_t(max) - min, 1); }

}  // namespace

int TravelLength(int length, int thumbWidth, int border) {
  return Saturate(std::max<std::int64_t>(std::int64_t(length) - thumbWidth - 2 * std::int64_t(border), 0));
}

int ThumbOffset(int travel, int position, int min, int max) {
  const std::int64_t r = std::max(travel, 0);
  return Saturate(r * (std::int64_t(position) - min) / Span(min, max));
}

int Step(int position, std::int64_t delta) { return Saturate(std::int64_t(position) + delta); }

int DragValue(double along, double span, int min, int max) {
  if (!(span > 0)) return min;
  const double v = along / span * static_cast<double>(Span(min, max)) + min;
  if (std::isnan(v)) return min;
  return static_cast<int>(std::nearbyint(std::clamp(v, static_cast<double>(min), static_cast<double>(max))));
}

int TickOffset(int travel, std::int64_t value, int min, int max) {
  const double factor = static_cast<double>(std::max(travel, 0)) / static_cast<double>(Span(min, max));
  return static_cast<int>(static_cast<double>(value - min) * factor);
}

void VisitTicks(int travel, int min, int max, int step, const std::function<void(int, int)>& tick) {
  const std::int64_t s = std::max(step, 1);
  // The first multiple of the step at or above min (division truncates toward zero).
  std::int64_t v = (std::int64_t(min) / s) * s;
  if (v < min) v += s;
  const double factor = static_cast<double>(std::max(travel, 0)) / static_cast<double>(Span(min, max));
  auto offset = [&](std::int64_t value) { return TickOffset(travel, value, min, max); };
  int previous = -1;
  while (v <= max) {
    const int o = offset(v);
    if (o != previous) {
      tick(static_cast<int>(v), o);
      previous = o;
    }
    if (factor <= 0) break;  // every tick at offset 0
    // Jump to the first multiple whose offset is beyond this one.
    const double need = std::ceil((o + 1) / factor);
    std::int64_t next =
        need > 4e18 ? std::int64_t(max) + s : std::int64_t(min) + static_cast<std::int64_t>(need);
    next = std::max(next, v + s);
    if (const std::int64_t r = ((next % s) + s) % s) next += s - r;
    for (int guard = 0; guard < 4 && next - s > v && offset(next - s) > o; ++guard) next -= s;
    for (int guard = 0; guard < 4 && next <= max && offset(next) <= o; ++guard) next += s;
    v = next;
  }
}

void ApplyMax(int value, int& min, int& max) {
  max = value <= min ? Saturate(std::int64_t(min) + 1) : value;
  if (max <= min) min = max - 1;
}

void ApplyMin(int value, int& min, int& max) {
  min = value >= max ? Saturate(std::int64_t(max) - 1) : value;
  if (min >= max) max = min + 1;
}

}  // namespace trackbar
