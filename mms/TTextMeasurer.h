// How wide a piece of 8-bit text (system code page) is in the font the slide texts are laid out
// in. The wrapping of slide texts adds the widths of their words; the editor supplies a measurer
// backed by a canvas with the platform's default font, tests a fixed-width one.
#pragma once

#include <memory>
#include <string>

class TTextMeasurer {
 public:
  virtual ~TTextMeasurer();
  // Width in pixels of the text drawn as one run.
  virtual int TextWidth(const std::string& text) const = 0;
};

// The measurer behind the document's line counts (the height of a slide's "Text" region). Until
// one is set, words have no width, so that only line breaks end lines.
void SetDefaultTextMeasurer(std::shared_ptr<const TTextMeasurer> measurer);
std::shared_ptr<const TTextMeasurer> DefaultTextMeasurer();
