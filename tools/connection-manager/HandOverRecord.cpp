// Reading the hand-over record: every field from its offset, nothing taken on trust.
#include "HandOverRecord.h"

#include <algorithm>
#include <cstring>

#include "platform/rtl/Utf8.h"

namespace {

// The zero-terminated text at the start of a 256-byte field; false when no zero ends it.
bool ReadText(const uint8_t* field, std::string* text) {
  const uint8_t* end = std::find(field, field + HandOverRecord::kTextSize, 0);
  text->assign(reinterpret_cast<const char*>(field), std::size_t(end - field));
  return end != field + HandOverRecord::kTextSize;
}

}  // namespace

std::vector<std::string> ReadHandOverRecord(uint32_t dataKind, const uint8_t* bytes, std::size_t size,
                                            HandOverRecord* record) {
  std::vector<std::string> problems;
  if (dataKind != 0) problems.push_back("data kind " + std::to_string(dataKind) + ", not 0");
  if (size != HandOverRecord::kSize || !bytes) {
    problems.push_back("record of " + std::to_string(size) + " bytes, not 528");
    return problems;
  }
  if (!ReadText(bytes, &record->fileName)) problems.push_back("file name not terminated");
  if (record->fileName.empty()) problems.push_back("empty file name");
  if (!ReadText(bytes + HandOverRecord::kTextSize, &record->subject)) {
    problems.push_back("subject not terminated");
  }
  std::u16string ignored;
  if (!platform::DecodeUtf8(record->subject, ignored)) problems.push_back("subject not UTF-8");
  const uint8_t* mode = bytes + HandOverRecord::kModeOffset;
  record->mode =
      int32_t(uint32_t(mode[0]) | uint32_t(mode[1]) << 8 | uint32_t(mode[2]) << 16 | uint32_t(mode[3]) << 24);
  if (record->mode != 0 && record->mode != 2) {
    problems.push_back("mode " + std::to_string(record->mode) + ", not 0 or 2");
  }
  const uint8_t* reserved = mode + 4;
  if (std::any_of(reserved, bytes + size, [](uint8_t b) { return b != 0; })) {
    problems.push_back("reserved bytes not zero");
  }
  return problems;
}
