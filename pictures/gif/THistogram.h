// THistogram: how often each colour of one colour table is used by the frames drawn with it,
// for merging all tables of a picture into one. Transparent pixels are not counted.
#pragma once

#include <cstdint>
#include <vector>

#include "pictures/GIFTypes.h"
#include "platform/rtl/Object.h"

class TGIFColorMap;
class TGIFSubImage;

struct THistogramEntry {
  std::int64_t Count = 0;
  int OldIndex = 0;
  int NewIndex = 256;
  TGIFColor Color;
  // After merging: the entry of the same colour that holds this one's count.
  THistogramEntry* Link = nullptr;
};

class THistogram : public TObject {
 public:
  explicit THistogram(TGIFColorMap* colorMap);

  // Counts the frame's pixels. A pixel beyond the table becomes 0 (warned through `warn`) and is
  // counted as 0. A transparent frame none of whose pixels is transparent turns opaque with
  // transparent index 0. True when the frame has transparent pixels.
  bool ProcessSubImage(TGIFSubImage* frame);
  // Orders the entries by falling count and drops those never used.
  void Prune();
  // Renumbers the pixels of every counted frame through the new indices; transparent pixels and
  // the control block's index take `transparentIndex` (when not -1).
  void MapImages(int transparentIndex);

  TGIFColorMap* ColorMap() const { return colorMap_; }
  std::vector<THistogramEntry*>& Order() { return order_; }
  const std::vector<TGIFSubImage*>& Frames() const { return frames_; }
  // The new index of an old one (its colour's new place), or -1 beyond the table.
  int NewIndexOf(int oldIndex) const;

 private:
  std::vector<THistogramEntry> entries_;
  TGIFColorMap* colorMap_;
  std::vector<THistogramEntry*> order_;
  std::vector<TGIFSubImage*> frames_;
};
