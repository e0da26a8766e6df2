// TGIFTrailer: the byte 0x3B that ends a GIF stream.
#pragma once

#include "pictures/gif/TGIFItem.h"

class TGIFTrailer : public TGIFItem {
 public:
  using TGIFItem::TGIFItem;
  void SaveToStream(TStream* stream) override;
  // A stream that ends here is accepted; another byte than 0x3B warns.
  void LoadFromStream(TStream* stream) override;
};
