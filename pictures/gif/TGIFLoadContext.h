// TGIFLoadContext: what reading the frames of a GIF stream needs from the picture being filled:
// the logical screen (the size of a frame that gives none), the pixels all frames may still take
// together, and where the progress after each frame goes. The picture makes one for each load
// once its header is read; frames and lists read through it and never reach back to the picture.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/rtl/Types.h"

class TGIFLoadContext {
 public:
  TGIFLoadContext(int screenWidth, int screenHeight, std::int64_t pixelBudget)
      : screenWidth_(screenWidth), screenHeight_(screenHeight), pixelsLeft_(pixelBudget) {}

  int ScreenWidth() const { return screenWidth_; }
  int ScreenHeight() const { return screenHeight_; }
  // Takes the pixels of one frame from the budget; a frame beyond it raises "Invalid image dimensions".
  void ClaimPixels(std::int64_t count);
  // Called after each frame with how far through the stream the load is, in percent.
  std::function<void(BYTE percent)> FrameRead;

 private:
  int screenWidth_;
  int screenHeight_;
  std::int64_t pixelsLeft_;
};
