#include "pictures/png/TChunktEXt.h"

#include <cstring>

std::uint32_t TChunktEXt::ReadKeyword() {
  const auto* start = data_.data();
  const void* zero = std::memchr(start, 0, dataSize_);
  const std::uint32_t end = zero ? std::uint32_t(static_cast<const std::uint8_t*>(zero) - start) : dataSize_;
  keyword_ = AnsiString(reinterpret_cast<const char*>(start), int(end));
  return end;
}

bool TChunktEXt::LoadFromStream(TStream* stream, const TChunkName& name, std::uint32_t size) {
  TChunk::LoadFromStream(stream, name, size);
  fieldsSet_ = dataSize_ >= 3;
  if (!fieldsSet_) return true;
  const std::uint32_t end = ReadKeyword();
  text_ = end < dataSize_
              ? AnsiString(reinterpret_cast<const char*>(data_.data() + end + 1), int(dataSize_ - end - 1))
              : AnsiString();
  return true;
}

bool TChunktEXt::SaveToStream(TStream* stream) {
  if (fieldsSet_) {
    const std::uint32_t k = std::uint32_t(keyword_.Length()), t = std::uint32_t(text_.Length());
    ResizeData(k + t + 1);
    std::memcpy(data_.data(), keyword_.c_str(), k);
    data_[k] = 0;
    std::memcpy(data_.data() + k + 1, text_.c_str(), t);
  }
  return SaveData(stream);
}

void TChunktEXt::Assign(TChunk* source) {
  TChunk::Assign(source);
  if (auto* other = dynamic_cast<TChunktEXt*>(source)) {
    keyword_ = other->keyword_;
    text_ = other->text_;
    fieldsSet_ = other->fieldsSet_;
  }
}
