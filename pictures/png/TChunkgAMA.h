// TChunkgAMA: the image's gamma times 100000. Reading one computes the owner's gamma tables.
#pragma once

#include "pictures/png/TChunk.h"

class TChunkgAMA : public TChunk {
 public:
  static constexpr const char* kChunkName = "gAMA";
  explicit TChunkgAMA(TPNGObject* owner);
  const char* GetName() const override { return kChunkName; }

  bool LoadFromStream(TStream* stream, const TChunkName& name, std::uint32_t size) override;
  void Assign(TChunk* source) override;

  // The value; data of another length is made 4 bytes holding 1.
  std::uint32_t GetValue();
  void SetValue(std::uint32_t value);
};
