#include "pictures/png/TChunkzTXt.h"

#include <cstring>
#include <string>

#include "pictures/png/TPNGObject.h"
#include "pictures/png/ZlibBuffer.h"

bool TChunkzTXt::LoadFromStream(TStream* stream, const TChunkName& name, std::uint32_t size) {
  TChunktEXt::LoadFromStream(stream, name, size);
  if (dataSize_ < 4) {
    fieldsSet_ = false;
    return true;
  }
  const std::uint32_t end = ReadKeyword();
  text_ = AnsiString();
  // Without a separator or a method byte, or when the text will not inflate, the fields stay
  // unset and the data is written back as read.
  fieldsSet_ = false;
  if (end + 1 >= dataSize_ || data_[end + 1] != 0) return true;
  std::string text;
  if (InflateWhole(data_.data() + end + 2, dataSize_ - end - 2, kMaxText, text)) {
    text_ = AnsiString(std::move(text));
    fieldsSet_ = true;
  }
  return true;
}

bool TChunkzTXt::SaveToStream(TStream* stream) {
  if (!fieldsSet_) return SaveData(stream);
  if (text_.IsEmpty()) text_ = " ";
  std::string packed;
  if (!DeflateWhole(reinterpret_cast<const std::uint8_t*>(text_.c_str()), std::size_t(text_.Length()),
                    owner_ ? owner_->CompressionLevel : 7, packed))
    return false;
  const std::uint32_t k = std::uint32_t(keyword_.Length());
  ResizeData(std::uint32_t(k + 2 + packed.size()));
  std::memcpy(data_.data(), keyword_.c_str(), k);
  data_[k] = 0;
  data_[k + 1] = 0;
  std::memcpy(data_.data() + k + 2, packed.data(), packed.size());
  return SaveData(stream);
}
