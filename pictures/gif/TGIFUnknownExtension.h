// TGIFUnknownExtension: an extension block the picture has no class for (an unknown label, or
// an application header of an unusual size). Its label and sub-blocks are kept and written back
// byte for byte, so such files load whole.
#pragma once

#include "pictures/gif/TGIFBlock.h"
#include "pictures/gif/TGIFExtension.h"

class TGIFUnknownExtension : public TGIFExtension {
 public:
  using TGIFExtension::TGIFExtension;
  static TGIFExtensionClass ClassRef() { return GIFExtensionClassOf<TGIFUnknownExtension>(); }

  BYTE GetExtensionType() override { return label_; }
  void SaveToStream(TStream* stream) override;
  // Any label; sub-blocks up to the terminator or the end of the stream.
  void LoadFromStream(TStream* stream) override;
  const TGIFBlocks& Blocks() const { return blocks_; }

 private:
  BYTE label_ = 0;
  TGIFBlocks blocks_;
};
