// TColorMapOptimizer: merges every colour table of a picture into one global table of at most
// 256 colours, most used first; colours that do not fit take the nearest one kept. Pixels,
// transparent indices, the background index and plain-text colours are renumbered so that the
// picture shows what it showed (exactly, when all colours fit).
#pragma once

#include <memory>
#include <vector>

#include "pictures/gif/THistogram.h"

class TGIFImage;

class TColorMapOptimizer : public TObject {
 public:
  explicit TColorMapOptimizer(TGIFImage* image) : image_(image) {}
  void Optimize();

 private:
  void CountColors();
  void MergeColors();
  void MapColors();
  // The new index showing `color`: its own, or the nearest kept colour's.
  int NearestNewIndex(const TGIFColor& color) const;

  TGIFImage* image_;
  std::vector<std::unique_ptr<THistogram>> histograms_;
  std::vector<THistogramEntry*> list_;
  TGIFColor newMap_[256];
  int colorCount_ = 0;
  bool usesTransparency_ = false;
  int transparentIndex_ = -1;
};
