#include "pictures/png/TChunktIME.h"

#include <cstring>

#include "pictures/png/PngCrc.h"

bool TChunktIME::LoadFromStream(TStream* stream, const TChunkName& name, std::uint32_t size) {
  TChunk::LoadFromStream(stream, name, size);
  fieldsSet_ = dataSize_ == 7;
  if (fieldsSet_) {
    year_ = ReadBigEndian16(data_.data());
    std::memcpy(fields_, data_.data() + 2, 5);
  }
  return true;
}

void TChunktIME::SetTime(std::uint16_t year, std::uint8_t month, std::uint8_t day, std::uint8_t hour,
                         std::uint8_t minute, std::uint8_t second) {
  year_ = year;
  const std::uint8_t f[5] = {month, day, hour, minute, second};
  std::memcpy(fields_, f, 5);
  fieldsSet_ = true;
}

bool TChunktIME::SaveToStream(TStream* stream) {
  if (fieldsSet_) {
    ResizeData(7);
    WriteBigEndian16(data_.data(), year_);
    std::memcpy(data_.data() + 2, fields_, 5);
  }
  return SaveData(stream);
}

void TChunktIME::Assign(TChunk* source) {
  TChunk::Assign(source);
  if (auto* other = dynamic_cast<TChunktIME*>(source)) {
    year_ = other->year_;
    std::memcpy(fields_, other->fields_, 5);
    fieldsSet_ = other->fieldsSet_;
  }
}
