// How many lines a slide's text takes when wrapped at a width: the document sizes the "Text"
// region from it (14 pixels per line).
#pragma once

#include <string>
#include <vector>

#include "mms/TTextMeasurer.h"

class TMmsFrame;
class TMediaItem;

// Lines of the text in the item's file (UTF-16, with or without a byte-order mark, converted to the
// system code page) wrapped at the width. An item whose file cannot be read has no lines.
int CountItemTextLines(const TMediaItem* item, int width);
int CountItemTextLines(const TMediaItem* item, int width, const TTextMeasurer& canvas);

// The same for the text item of a slide.
int CountFrameTextLines(const TMmsFrame* frame, int width);
int CountFrameTextLines(const TMmsFrame* frame, int width, const TTextMeasurer& canvas);

// The lines counted above, for drawing them: the page canvas draws what the region was sized for.
std::vector<std::string> FrameTextLines(const TMmsFrame* frame, int width, const TTextMeasurer& canvas);
