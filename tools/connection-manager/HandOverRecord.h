// The hand-over record the editor sends with WM_COPYDATA: 528 bytes, FileName (256 bytes at 0,
// zero-terminated), Subject (256 bytes at 256, UTF-8, zero-terminated), Mode (32-bit
// little-endian at 512: 0 send, 2 save to drafts) and 12 reserved zero bytes. The stand-in
// connection manager reads it field by field and names every way it departs from that.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct HandOverRecord {
  static constexpr std::size_t kSize = 528;
  static constexpr std::size_t kTextSize = 256;
  static constexpr std::size_t kModeOffset = 512;

  std::string fileName;
  std::string subject;
  int32_t mode = -1;
};

// Reads a record carried with data kind `dataKind`. Returns the problems found (empty when the
// record is sound); the fields that could be read are filled in either way.
std::vector<std::string> ReadHandOverRecord(uint32_t dataKind, const uint8_t* bytes, std::size_t size,
                                            HandOverRecord* record);
