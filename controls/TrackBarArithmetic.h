// The track bar's range and geometry arithmetic, apart from the control so that it can be
// checked at the integer limits: every intermediate is 64-bit and saturates before it is
// clamped, and a bar too narrow for its thumb has a length of 0.
#pragma once

#include <cstdint>
#include <functional>

namespace trackbar {

// The length the thumb travels: the bar's length less the thumb and both borders, at least 0.
int TravelLength(int length, int thumbWidth, int border);
// The thumb's offset along the bar for `position` in min .. max (min < max).
int ThumbOffset(int travel, int position, int min, int max);
// `position` moved by `delta`, saturated to the integers. Not clamped to the range: asking for a
// value beyond it still reaches the position setter, which clamps it and tells its handlers.
int Step(int position, std::int64_t delta);
// The value a drag puts the thumb at: `along` pixels of `span`, rounded, clamped into the range.
int DragValue(double along, double span, int min, int max);
// The offset of `value` on the ticks' scale (travel / (max - min) per step), truncated.
int TickOffset(int travel, std::int64_t value, int min, int max);
// Calls `tick(value, offset)` for the multiples of `step` in min .. max, the first at each
// offset only: a bar of a few hundred pixels draws a few hundred ticks whatever its range.
void VisitTicks(int travel, int min, int max, int step,
                const std::function<void(int value, int offset)>& tick);
// New limits: a maximum not above the minimum becomes minimum + 1 (and a minimum at the top of
// the integers moves down to make room), and the other way round.
void ApplyMax(int value, int& min, int& max);
void ApplyMin(int value, int& min, int& max);

}  // namespace trackbar
