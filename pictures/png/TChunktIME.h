// TChunktIME: the time of the image's last change. Data of another length than 7 is kept and
// written back until a field is set.
#pragma once

#include "pictures/png/TChunk.h"

class TChunktIME : public TChunk {
 public:
  static constexpr const char* kChunkName = "tIME";
  explicit TChunktIME(TPNGObject* owner) : TChunk(owner, kChunkName) {}
  const char* GetName() const override { return kChunkName; }

  bool LoadFromStream(TStream* stream, const TChunkName& name, std::uint32_t size) override;
  bool SaveToStream(TStream* stream) override;
  void Assign(TChunk* source) override;

  std::uint16_t Year() const { return year_; }
  std::uint8_t Month() const { return fields_[0]; }
  std::uint8_t Day() const { return fields_[1]; }
  std::uint8_t Hour() const { return fields_[2]; }
  std::uint8_t Minute() const { return fields_[3]; }
  std::uint8_t Second() const { return fields_[4]; }
  void SetTime(std::uint16_t year, std::uint8_t month, std::uint8_t day, std::uint8_t hour,
               std::uint8_t minute, std::uint8_t second);

 private:
  std::uint16_t year_ = 0;
  std::uint8_t fields_[5] = {};
  bool fieldsSet_ = true;
};
