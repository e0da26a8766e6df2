// Greedy wrapping of a slide's 8-bit text into lines no wider than a width in pixels, as the page
// layout draws it and as the height of the "Text" region is counted.
#pragma once

#include <string>
#include <vector>

#include "mms/TTextMeasurer.h"

// Replaces the lines in the list with the wrapped lines of the text and answers 0. A line's width
// is the sum of its words' widths; a word is never split, so a word wider than the width stands
// on a line of its own. A text that cannot be split gives no lines.
int WrapTextLines(const std::string& text, int width, const TTextMeasurer& canvas,
                  std::vector<std::string>& lines);
