// The trapezoid geometry of tab-shaped controls: the four corners of a tab inside a rectangle,
// where its slanted sides cross another rectangle's edges, growing it, and its bevelled border.
#pragma once

#include <array>

#include "platform/forms/TCanvas.h"
#include "platform/rtl/Types.h"

// Top left, top right, bottom right, bottom left.
using TTrap = std::array<TPoint, 4>;
enum TTrapShape { tsLeft, tsCenter, tsRight };
// Scoped: the form library's border and brush styles use the same names.
enum class TTrapBevelStyle { bsNone, bsLowered, bsRaised };
// The edge the tab narrows towards: the top (tabs above a page), the bottom, the left or the right.
enum TTrapDirection { tdTop, tdBottom, tdLeft, tdRight };

// The narrow edge is shortened by at most `slant` (never below one pixel) and placed by `shape`;
// the wide edge spans the rectangle.
void SetTrapezoid(TTrap& trap, const RECT& rect, int slant, TTrapShape shape, TTrapDirection direction);
// Where the two slanted sides cross `rect`'s two edges across the tab's direction, in the order of
// the trap's corners.
void AdjustTrapezoid(const TTrap& trap, const RECT& rect, TTrapDirection direction, TTrap& points);
// Every corner moved outwards by n in both directions (inwards for negative n).
void InflateTrapezoid(TTrap& trap, int n);
void DrawTrapezoidBorder(TCanvas* canvas, const TTrap& trap, TTrapBevelStyle bevel, int width);

// The point of the line through a and b at the given y (horizontal line) or x (vertical line),
// truncated.
TPoint Intersect(TPoint a, TPoint b, int value, bool horizontalLine);
