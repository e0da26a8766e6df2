// TChunkzTXt: a keyword and a deflated text. A text that cannot be inflated (or would exceed
// kMaxText) reads as empty, and the chunk then keeps its data for saving.
#pragma once

#include "pictures/png/TChunktEXt.h"

class TChunkzTXt : public TChunktEXt {
 public:
  static constexpr const char* kChunkName = "zTXt";
  static constexpr std::size_t kMaxText = 8u << 20;
  explicit TChunkzTXt(TPNGObject* owner) : TChunktEXt(owner, kChunkName) {}
  const char* GetName() const override { return kChunkName; }

  bool LoadFromStream(TStream* stream, const TChunkName& name, std::uint32_t size) override;
  bool SaveToStream(TStream* stream) override;
};
