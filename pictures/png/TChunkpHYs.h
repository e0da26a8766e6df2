// TChunkpHYs: the intended pixel size. Data of another length than 9 is kept and written back
// until a field is set.
#pragma once

#include "pictures/png/TChunk.h"

enum TUnitType { utUnknown, utMeter };

class TChunkpHYs : public TChunk {
 public:
  static constexpr const char* kChunkName = "pHYs";
  explicit TChunkpHYs(TPNGObject* owner) : TChunk(owner, kChunkName) {}
  const char* GetName() const override { return kChunkName; }

  bool LoadFromStream(TStream* stream, const TChunkName& name, std::uint32_t size) override;
  bool SaveToStream(TStream* stream) override;
  void Assign(TChunk* source) override;

  std::uint32_t PPUnitX() const { return x_; }
  std::uint32_t PPUnitY() const { return y_; }
  TUnitType UnitType() const { return unit_; }
  void SetPPUnitX(std::uint32_t v) { x_ = v, fieldsSet_ = true; }
  void SetPPUnitY(std::uint32_t v) { y_ = v, fieldsSet_ = true; }
  void SetUnitType(TUnitType v) { unit_ = v, fieldsSet_ = true; }

 private:
  std::uint32_t x_ = 0, y_ = 0;
  TUnitType unit_ = utUnknown;
  bool fieldsSet_ = true;
};
