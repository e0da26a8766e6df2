// TMmsSendData: the record that hands a message file to the connection manager, 528 bytes,
// written field by field, little-endian:
//   FileName  256 bytes at 0    the path of the message file, zero-terminated, rest zero
//   Subject   256 bytes at 256  the subject in UTF-8, zero-terminated, rest zero
//   Mode      int32 at 512      0 send, 2 save to drafts
//   reserved  12 bytes at 516   zero
#pragma once

#include <array>
#include <cstdint>
#include <string>

struct TMmsSendData {
  static constexpr size_t kSize = 528;
  static constexpr size_t kTextField = 256;
  static constexpr size_t kSubjectOffset = 256;
  static constexpr size_t kModeOffset = 512;
  static constexpr int32_t kModeSend = 0;
  static constexpr int32_t kModeDrafts = 2;

  std::string FileName;  // 8-bit path
  std::string Subject;   // UTF-8
  int32_t Mode = kModeSend;

  // Whether the path fits its field with its terminator (a longer one is refused, never cut).
  bool FileNameFits() const {
    return FileName.size() < kTextField && FileName.find('\0') == std::string::npos;
  }
  // The record's bytes. The subject is cut on a character boundary to fit its field.
  std::array<unsigned char, kSize> Bytes() const;
};

// `text` (UTF-8) cut to at most `limit` bytes without splitting a character.
std::string CutUtf8(const std::string& text, size_t limit);
