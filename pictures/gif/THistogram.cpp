#include "pictures/gif/THistogram.h"

#include <algorithm>

#include "pictures/GIFException.h"
#include "pictures/gif/TGIFColorMap.h"
#include "pictures/gif/TGIFGraphicControlExtension.h"
#include "pictures/gif/TGIFSubImage.h"

THistogram::THistogram(TGIFColorMap* colorMap)
    : entries_(std::size_t(colorMap->Count())), colorMap_(colorMap) {
  for (int i = 0; i < colorMap->Count(); ++i) {
    entries_[std::size_t(i)].OldIndex = i;
    entries_[std::size_t(i)].Color = colorMap->Colors(i);
  }
}

bool THistogram::ProcessSubImage(TGIFSubImage* frame) {
  frames_.push_back(frame);
  const int count = int(entries_.size());
  TGIFGraphicControlExtension* control = frame->GraphicControlExtension();
  const bool transparent = frame->Transparent() && control;
  const int transparentIndex = transparent ? control->GetTransparentColorIndex() : -1;
  bool usesTransparency = false, warned = false;
  const int height = frame->Height(), width = frame->Width();
  for (int y = 0; y < height; ++y) {
    BYTE* pixel = frame->GetScanline(y);
    for (int x = 0; x < width; ++x, ++pixel) {
      if (*pixel == transparentIndex) {
        usesTransparency = true;
        continue;
      }
      if (*pixel >= count) {
        if (!warned) frame->Warning(gsWarning, sInvalidColor);
        warned = true;
        *pixel = 0;
      }
      if (count > 0) ++entries_[*pixel].Count;
    }
  }
  if (transparent && !usesTransparency) {
    control->SetTransparentColorIndex(0);
    control->SetTransparent(false);
  }
  return usesTransparency;
}

void THistogram::Prune() {
  order_.clear();
  for (THistogramEntry& entry : entries_) order_.push_back(&entry);
  std::stable_sort(order_.begin(), order_.end(),
                   [](const THistogramEntry* a, const THistogramEntry* b) { return a->Count > b->Count; });
  auto firstUnused =
      std::find_if(order_.begin(), order_.end(), [](const THistogramEntry* e) { return e->Count == 0; });
  order_.erase(firstUnused, order_.end());
}

int THistogram::NewIndexOf(int oldIndex) const {
  if (oldIndex < 0 || oldIndex >= int(entries_.size())) return -1;
  return entries_[std::size_t(oldIndex)].NewIndex;
}

void THistogram::MapImages(int transparentIndex) {
  std::vector<int> map(entries_.size());
  for (std::size_t i = 0; i < entries_.size(); ++i)
    map[i] = entries_[i].NewIndex < 256 ? entries_[i].NewIndex : 0;
  for (TGIFSubImage* frame : frames_) {
    TGIFGraphicControlExtension* control = frame->GraphicControlExtension();
    const bool transparent = transparentIndex >= 0 && frame->Transparent() && control;
    const int oldTransparent = transparent ? control->GetTransparentColorIndex() : -1;
    const int height = frame->Height(), width = frame->Width();
    for (int y = 0; y < height; ++y) {
      BYTE* pixel = frame->GetScanline(y);
      for (int x = 0; x < width; ++x, ++pixel) {
        if (*pixel == oldTransparent)
          *pixel = BYTE(transparentIndex);
        else
          *pixel = *pixel < map.size() ? BYTE(map[*pixel]) : 0;
      }
    }
    if (transparent) control->SetTransparentColorIndex(transparentIndex);
  }
}
