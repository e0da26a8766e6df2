#include "pictures/gif/TGIFLocalColorMap.h"

#include "pictures/gif/TGIFImage.h"
#include "pictures/gif/TGIFSubImage.h"

void TGIFLocalColorMap::Warning(TGIFSeverity severity, const AnsiString& message) {
  if (subImage_->Image()) subImage_->Image()->Warning(this, severity, message);
}

bool TGIFLocalColorMap::BuildHistogram(std::vector<TUsageCount>& usage) {
  CountPixels(subImage_->Pixels(), usage);
  return true;
}

void TGIFLocalColorMap::MapImages(const std::vector<int>& map) { subImage_->MapPixels(map); }

void TGIFLocalColorMap::Changed() { subImage_->SetPalette(nullptr); }
