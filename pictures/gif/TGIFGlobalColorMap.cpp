#include "pictures/gif/TGIFGlobalColorMap.h"

#include "pictures/gif/TGIFHeader.h"
#include "pictures/gif/TGIFImage.h"
#include "pictures/gif/TGIFSubImage.h"

void TGIFGlobalColorMap::Warning(TGIFSeverity severity, const AnsiString& message) {
  if (header_->Image()) header_->Image()->Warning(this, severity, message);
}

bool TGIFGlobalColorMap::BuildHistogram(std::vector<TUsageCount>& usage) {
  TGIFImage* image = header_->Image();
  if (!image || image->Images()->Count() == 0) return false;
  for (int i = 0; i < image->Images()->Count(); ++i) {
    TGIFSubImage* frame = image->Images()->GetImage(i);
    if (frame->GetActiveColorMap() == this) CountPixels(frame->Pixels(), usage);
  }
  // The background colour is in use even where no pixel shows it.
  int background = header_->BackgroundColorIndex();
  if (background < Count()) ++usage[std::size_t(background)].Count;
  return true;
}

void TGIFGlobalColorMap::MapImages(const std::vector<int>& map) {
  TGIFImage* image = header_->Image();
  for (int i = 0; i < image->Images()->Count(); ++i) {
    TGIFSubImage* frame = image->Images()->GetImage(i);
    if (frame->GetActiveColorMap() == this) frame->MapPixels(map);
  }
  int background = header_->BackgroundColorIndex();
  if (background < int(map.size())) header_->SetBackgroundColorIndex(map[std::size_t(background)]);
}

void TGIFGlobalColorMap::Changed() {
  if (header_->Image()) header_->Image()->SetPalette(nullptr);
}
