#include "pictures/png/TChunkpHYs.h"

#include "pictures/png/PngCrc.h"

bool TChunkpHYs::LoadFromStream(TStream* stream, const TChunkName& name, std::uint32_t size) {
  TChunk::LoadFromStream(stream, name, size);
  fieldsSet_ = dataSize_ == 9;
  if (fieldsSet_) {
    x_ = ReadBigEndian32(data_.data());
    y_ = ReadBigEndian32(data_.data() + 4);
    unit_ = data_[8] == 1 ? utMeter : utUnknown;
  }
  return true;
}

bool TChunkpHYs::SaveToStream(TStream* stream) {
  if (fieldsSet_) {
    ResizeData(9);
    WriteBigEndian32(data_.data(), x_);
    WriteBigEndian32(data_.data() + 4, y_);
    data_[8] = unit_ == utMeter ? 1 : 0;
  }
  return SaveData(stream);
}

void TChunkpHYs::Assign(TChunk* source) {
  TChunk::Assign(source);
  if (auto* other = dynamic_cast<TChunkpHYs*>(source)) {
    x_ = other->x_;
    y_ = other->y_;
    unit_ = other->unit_;
    fieldsSet_ = other->fieldsSet_;
  }
}
