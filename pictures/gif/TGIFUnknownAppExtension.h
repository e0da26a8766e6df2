// TGIFUnknownAppExtension: an application block whose identifier no class is registered for;
// its data sub-blocks are kept and written back byte for byte.
#pragma once

#include "pictures/gif/TGIFApplicationExtension.h"
#include "pictures/gif/TGIFBlock.h"

class TGIFUnknownAppExtension : public TGIFApplicationExtension {
 public:
  using TGIFApplicationExtension::TGIFApplicationExtension;
  static TGIFExtensionClass ClassRef() { return GIFExtensionClassOf<TGIFUnknownAppExtension>(); }
  void SaveData(TStream* stream) override;
  void LoadData(TStream* stream) override;
  const TGIFBlocks& Blocks() const { return blocks_; }

 private:
  TGIFBlocks blocks_;
};
