// Progress bars of the control library: a solid or gradient bar with its percentage written
// across it ("37%", in the bar's colours swapped over the filled part), and an LED bar of
// separate blocks (the themed progress parts while visual styles are on). Vertical bars fill
// from the bottom. A percentage outside 0..100 is taken as the nearest end.
#pragma once

#include "platform/forms/TCanvas.h"

// The percentage as the bars write it.
AnsiString PercentText(int percent);
// The filled share of `length` pixels: the rounded percentage of it, 0..length.
int FilledLength(int length, int percent);

void DrawPercentBar(TCanvas* canvas, const RECT& rect, int percent, TColor barColor, TColor backColor,
                    bool vertical = false, bool showText = true);
void DrawGradientPercentBar(TCanvas* canvas, const RECT& rect, int percent, TColor startColor,
                            TColor stopColor, TColor backColor, bool vertical = false, bool showText = true);
// Blocks of `blockSize` pixels with `gap` pixels between, as many as the filled share covers.
void DrawLEDBar(TCanvas* canvas, const RECT& rect, int percent, TColor ledColor, TColor backColor,
                bool vertical = false, int blockSize = 6, int gap = 2);
