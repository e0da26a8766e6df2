#include "editor/TMmsSendData.h"

#include <algorithm>
#include <cstring>

std::string CutUtf8(const std::string& text, size_t limit) {
  if (text.size() <= limit) return text;
  size_t end = limit;
  // Step back over continuation bytes to the start of the character the limit falls in.
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
  return text.substr(0, end);
}

std::array<unsigned char, TMmsSendData::kSize> TMmsSendData::Bytes() const {
  std::array<unsigned char, kSize> record{};
  const size_t nameLength = std::min(FileName.size(), kTextField - 1);
  std::memcpy(record.data(), FileName.data(), nameLength);
  const std::string subject = CutUtf8(Subject, kTextField - 1);
  std::memcpy(record.data() + kSubjectOffset, subject.data(), subject.size());
  const uint32_t mode = static_cast<uint32_t>(Mode);
  for (int i = 0; i < 4; ++i) record[kModeOffset + size_t(i)] = static_cast<unsigned char>(mode >> (8 * i));
  return record;
}
