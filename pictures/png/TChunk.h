// TChunk: one chunk of a PNG file (length, four-letter name, data, CRC), held with its data.
// Chunk classes that understand their data derive from it; a chunk of an unknown ancillary
// kind stays a plain TChunk and is written back as it came.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "platform/rtl/AnsiString.h"
#include "platform/rtl/Object.h"
#include "platform/rtl/TStream.h"

class TPNGObject;
class TChunkIHDR;

using TChunkName = std::array<char, 4>;

// The largest chunk length a file may give (the format's own limit).
constexpr std::uint32_t kMaxChunkLength = 0x7FFFFFFFu;

class TChunk : public TObject {
 public:
  explicit TChunk(TPNGObject* owner) : TChunk(owner, "") {}

  // The four letters of this class's chunks ("" for the plain chunk, which takes the file's).
  static constexpr const char* kChunkName = "";
  virtual const char* GetName() const { return kChunkName; }

  virtual void Assign(TChunk* source);
  // Reads `size` data bytes and the CRC and checks it over `name` and the data.
  virtual bool LoadFromStream(TStream* stream, const TChunkName& name, std::uint32_t size);
  virtual bool SaveToStream(TStream* stream) { return SaveData(stream); }
  // Writes length, name, data and CRC as the chunk holds them.
  bool SaveData(TStream* stream);

  // The data length becomes n; the contents are kept up to the smaller size.
  void ResizeData(std::uint32_t n);
  std::uint8_t* Data() { return data_.data(); }
  const std::uint8_t* Data() const { return data_.data(); }
  std::uint32_t DataSize() const { return dataSize_; }

  int GetIndex() const;
  TChunkIHDR* GetHeader() const;
  AnsiString GetChunkName() const { return AnsiString(name_.data(), 4); }
  const TChunkName& Name() const { return name_; }
  void SetName(const TChunkName& name) { name_ = name; }
  TPNGObject* Owner() const { return owner_; }

 protected:
  TChunk(TPNGObject* owner, const char* name);
  // Raises EPngInvalidCRC unless `crc` (complemented already) equals the big-endian 4 bytes.
  static void CheckCrc(std::uint32_t crc, const std::uint8_t stored[4]);

  std::vector<std::uint8_t> data_;  // always one byte longer than the data
  std::uint32_t dataSize_ = 0;
  TPNGObject* owner_;
  TChunkName name_{};
};

// Reads exactly `count` bytes; false when the stream ends first.
bool ReadFully(TStream* stream, void* buffer, std::size_t count);
// The bytes between the stream's position and its end.
std::uint64_t BytesLeft(TStream* stream);
// Writes all of `count` bytes (EWriteError when the stream takes fewer).
void WriteFully(TStream* stream, const void* buffer, std::size_t count);
// Writes one whole chunk: length, name, data and the CRC over name and data.
void WriteChunk(TStream* stream, const char* name, const std::uint8_t* data, std::uint32_t length);
