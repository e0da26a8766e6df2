// TGIFLocalColorMap: a frame's own colour table; its pixels are the frame's.
#pragma once

#include "pictures/gif/TGIFColorMap.h"

class TGIFSubImage;

class TGIFLocalColorMap : public TGIFColorMap {
 public:
  explicit TGIFLocalColorMap(TGIFSubImage* subImage) : subImage_(subImage) {}
  void Warning(TGIFSeverity severity, const AnsiString& message) override;
  bool BuildHistogram(std::vector<TUsageCount>& usage) override;
  void MapImages(const std::vector<int>& map) override;
  void Changed() override;
  TGIFSubImage* SubImage() const { return subImage_; }

 private:
  TGIFSubImage* subImage_;
};
