// TGIFGlobalColorMap: the picture's global colour table, kept by the header. Its pixels are
// those of every frame without a local table; the header's background index follows it.
#pragma once

#include "pictures/gif/TGIFColorMap.h"

class TGIFHeader;

class TGIFGlobalColorMap : public TGIFColorMap {
 public:
  explicit TGIFGlobalColorMap(TGIFHeader* header) : header_(header) {}
  void Warning(TGIFSeverity severity, const AnsiString& message) override;
  bool BuildHistogram(std::vector<TUsageCount>& usage) override;
  void MapImages(const std::vector<int>& map) override;
  void Changed() override;
  TGIFHeader* Header() const { return header_; }

 private:
  TGIFHeader* header_;
};
