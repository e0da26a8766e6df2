// TChunkIEND: the end chunk; it has no data.
#pragma once

#include "pictures/png/TChunk.h"

class TChunkIEND : public TChunk {
 public:
  static constexpr const char* kChunkName = "IEND";
  explicit TChunkIEND(TPNGObject* owner) : TChunk(owner, kChunkName) {}
  const char* GetName() const override { return kChunkName; }
};
