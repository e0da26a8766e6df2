#include "pictures/gif/TColorMapOptimizer.h"

#include <algorithm>

#include "pictures/gif/PainterListLock.h"
#include "pictures/gif/TGIFColorMap.h"
#include "pictures/gif/TGIFExtensionList.h"
#include "pictures/gif/TGIFImage.h"
#include "pictures/gif/TGIFSubImage.h"
#include "pictures/gif/TGIFTextExtension.h"

namespace {
int ColorValue(const TGIFColor& c) { return c.Red + c.Green * 256 + c.Blue * 65536; }
int Distance(const TGIFColor& a, const TGIFColor& b) {
  const int r = a.Red - b.Red, g = a.Green - b.Green, bl = a.Blue - b.Blue;
  return r * r + g * g + bl * bl;
}
}  // namespace

void TColorMapOptimizer::CountColors() {
  TGIFColorMap* global = image_->GetColorMap();
  TGIFImageList* frames = image_->Images();
  if (global->Count() > 0) {
    auto histogram = std::make_unique<THistogram>(global);
    for (int i = 0; i < frames->Count(); ++i) {
      TGIFSubImage* frame = frames->GetImage(i);
      if (frame->GetEmpty() || frame->ColorMap()->Count() > 0) continue;
      if (histogram->ProcessSubImage(frame)) usesTransparency_ = true;
    }
    if (!histogram->Frames().empty()) histograms_.push_back(std::move(histogram));
  }
  for (int i = 0; i < frames->Count(); ++i) {
    TGIFSubImage* frame = frames->GetImage(i);
    if (frame->GetEmpty() || frame->ColorMap()->Count() == 0) continue;
    auto histogram = std::make_unique<THistogram>(frame->ColorMap());
    if (histogram->ProcessSubImage(frame)) usesTransparency_ = true;
    histograms_.push_back(std::move(histogram));
  }
}

void TColorMapOptimizer::MergeColors() {
  for (auto& histogram : histograms_) {
    histogram->Prune();
    list_.insert(list_.end(), histogram->Order().begin(), histogram->Order().end());
  }
  // Equal colours from several tables become one entry holding all their pixels.
  std::stable_sort(list_.begin(), list_.end(), [](const THistogramEntry* a, const THistogramEntry* b) {
    return ColorValue(a->Color) > ColorValue(b->Color);
  });
  for (std::size_t i = 0; i < list_.size();) {
    std::size_t j = i + 1;
    for (; j < list_.size() && list_[j]->Color == list_[i]->Color; ++j) {
      list_[i]->Count += list_[j]->Count;
      list_[j]->Count = 0;
      list_[j]->Link = list_[i];
    }
    i = j;
  }
  std::stable_sort(list_.begin(), list_.end(),
                   [](const THistogramEntry* a, const THistogramEntry* b) { return a->Count > b->Count; });

  const int room = usesTransparency_ ? 255 : 256;
  colorCount_ = 0;
  while (colorCount_ < int(list_.size()) && colorCount_ < room &&
         list_[std::size_t(colorCount_)]->Count > 0) {
    list_[std::size_t(colorCount_)]->NewIndex = colorCount_;
    newMap_[colorCount_] = list_[std::size_t(colorCount_)]->Color;
    ++colorCount_;
  }
  for (std::size_t i = std::size_t(colorCount_); i < list_.size(); ++i)
    if (list_[i]->Count > 0) list_[i]->NewIndex = NearestNewIndex(list_[i]->Color);
  for (THistogramEntry* entry : list_)
    if (entry->Count == 0 && entry->Link) entry->NewIndex = entry->Link->NewIndex;
}

int TColorMapOptimizer::NearestNewIndex(const TGIFColor& color) const {
  int best = 0, bestDistance = -1;
  for (int i = 0; i < colorCount_; ++i) {
    const int distance = Distance(color, newMap_[i]);
    if (bestDistance < 0 || distance < bestDistance) {
      best = i;
      bestDistance = distance;
    }
  }
  return best;
}

void TColorMapOptimizer::MapColors() {
  TGIFColorMap* global = image_->GetColorMap();
  TGIFImageList* frames = image_->Images();
  // What the background and the plain texts showed, to find their colours again.
  const bool hadGlobal = global->Count() > 0;
  auto oldColor = [&](int index) { return index < global->Count() ? global->Colors(index) : TGIFColor{}; };
  const TGIFColor background = oldColor(image_->GetBackgroundColorIndex());
  struct TextColors {
    TGIFTextExtension* text;
    TGIFColor foreground, back;
  };
  std::vector<TextColors> texts;
  for (int i = 0; i < frames->Count(); ++i) {
    TGIFExtensionList* list = frames->GetImage(i)->Extensions();
    for (int j = 0; j < list->Count(); ++j)
      if (auto* text = dynamic_cast<TGIFTextExtension*>(list->GetExtension(j)))
        texts.push_back({text, oldColor(text->GetColorIndex(1)), oldColor(text->GetColorIndex(2))});
  }

  const int kept = colorCount_;
  if (usesTransparency_) {
    transparentIndex_ = colorCount_;
    newMap_[colorCount_++] = TGIFColor{};
  }
  for (int i = 0; i < frames->Count(); ++i) frames->GetImage(i)->ColorMap()->Clear();
  global->Clear();
  global->ImportColorMap(newMap_, colorCount_);
  global->SetOptimized(true);
  for (auto& histogram : histograms_) histogram->MapImages(usesTransparency_ ? transparentIndex_ : -1);

  if (hadGlobal && kept > 0) {
    const int saved = colorCount_;
    colorCount_ = kept;  // the transparent slot names no colour
    image_->SetBackgroundColorIndex(NearestNewIndex(background));
    for (const TextColors& t : texts) {
      t.text->SetColorIndex(1, NearestNewIndex(t.foreground));
      t.text->SetColorIndex(2, NearestNewIndex(t.back));
    }
    colorCount_ = saved;
  }
  for (int i = 0; i < frames->Count(); ++i) frames->GetImage(i)->SetPalette(nullptr);
  image_->SetPalette(nullptr);
}

void TColorMapOptimizer::Optimize() {
  // The painters read the pixels and tables this renumbers: they end first, and none starts or
  // registers until the picture is consistent again.
  image_->PaintStop();
  PainterListLock painters(*image_->Painters());
  CountColors();
  MergeColors();
  MapColors();
}
