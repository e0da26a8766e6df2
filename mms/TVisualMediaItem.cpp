#include "mms/TVisualMediaItem.h"

TVisualMediaItem::TVisualMediaItem(int type, const std::string& path, int dur)
    : TMediaItem(path, dur), Type(static_cast<unsigned char>(type)) {}

TVisualMediaItem::TVisualMediaItem(const std::string& region, const std::string& path, int dur)
    : TMediaItem(path, dur), Region(region), Type(kImage) {}

TVisualMediaItem::TVisualMediaItem(int type, const std::string& region, const std::string& path,
                                   const std::string& extra, int begin, int end, int dur)
    : TMediaItem(path, extra, begin, end, dur), Region(region), Type(static_cast<unsigned char>(type)) {}

TVisualMediaItem::~TVisualMediaItem() = default;

int TVisualMediaItem::SetType(int type) {
  Type = static_cast<unsigned char>(type);
  return 0;
}

int TVisualMediaItem::GetType() const { return Type; }

int TVisualMediaItem::SetRegion(const std::string& region) {
  Region = region;
  return 0;
}
