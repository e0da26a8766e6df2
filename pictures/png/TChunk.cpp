#include "pictures/png/TChunk.h"

#include <cstring>
#include <new>

#include "pictures/png/PngCrc.h"
#include "pictures/png/PngExceptions.h"
#include "pictures/png/TChunkIHDR.h"
#include "pictures/png/TPNGObject.h"

bool ReadFully(TStream* stream, void* buffer, std::size_t count) {
  auto* out = static_cast<std::uint8_t*>(buffer);
  while (count > 0) {
    const int step = count > 0x40000000u ? 0x40000000 : int(count);
    const int got = stream->Read(out, step);
    if (got <= 0) return false;
    out += got;
    count -= std::size_t(got);
  }
  return true;
}

std::uint64_t BytesLeft(TStream* stream) {
  const std::int64_t position = stream->Position();
  const std::int64_t size = stream->Size();
  return position >= 0 && size > position ? std::uint64_t(size - position) : 0;
}

void WriteFully(TStream* stream, const void* buffer, std::size_t count) {
  const auto* in = static_cast<const std::uint8_t*>(buffer);
  while (count > 0) {
    const int step = count > 0x40000000u ? 0x40000000 : int(count);
    stream->WriteBuffer(in, step);
    in += step;
    count -= std::size_t(step);
  }
}

TChunk::TChunk(TPNGObject* owner, const char* name) : data_(1, 0), owner_(owner) {
  if (std::strlen(name) == 4) std::memcpy(name_.data(), name, 4);
}

void TChunk::ResizeData(std::uint32_t n) {
  try {
    data_.resize(std::size_t(n) + 1);
  } catch (const std::bad_alloc&) {
    RaiseError<EPNGOutMemory>(pngtext::OutMemory);
  }
  data_[n] = 0;
  dataSize_ = n;
}

int TChunk::GetIndex() const {
  if (!owner_) return -1;
  TPNGList* list = owner_->Chunks();
  for (std::uint32_t i = 0; i < list->Count(); ++i)
    if (list->Item(i) == this) return int(i);
  return -1;
}

TChunkIHDR* TChunk::GetHeader() const { return owner_ ? owner_->GetHeader() : nullptr; }

void TChunk::Assign(TChunk* source) {
  name_ = source->name_;
  ResizeData(source->dataSize_);
  std::memcpy(data_.data(), source->data_.data(), dataSize_);
}

void TChunk::CheckCrc(std::uint32_t crc, const std::uint8_t stored[4]) {
  if (ReadBigEndian32(stored) != crc) RaiseError<EPngInvalidCRC>(pngtext::InvalidCRC);
}

bool TChunk::LoadFromStream(TStream* stream, const TChunkName& name, std::uint32_t size) {
  // A length the stream cannot hold is a cut file, found before anything is allocated.
  if (size > kMaxChunkLength || size > BytesLeft(stream))
    RaiseError<EPngUnexpectedEnd>(pngtext::UnexpectedEnd);
  ResizeData(size);
  std::uint8_t stored[4];
  // A short read of the data or the CRC cannot match.
  if (!ReadFully(stream, data_.data(), size) || !ReadFully(stream, stored, 4))
    RaiseError<EPngInvalidCRC>(pngtext::InvalidCRC);
  std::uint32_t crc = update_crc(0xFFFFFFFFu, reinterpret_cast<const std::uint8_t*>(name.data()), 4);
  crc = update_crc(crc, data_.data(), size);
  CheckCrc(~crc, stored);
  return true;
}

void WriteChunk(TStream* stream, const char* name, const std::uint8_t* data, std::uint32_t length) {
  std::uint8_t head[8];
  WriteBigEndian32(head, length);
  std::memcpy(head + 4, name, 4);
  WriteFully(stream, head, 8);
  if (length > 0) WriteFully(stream, data, length);
  std::uint32_t crc = update_crc(0xFFFFFFFFu, head + 4, 4);
  crc = update_crc(crc, data, length);
  std::uint8_t tail[4];
  WriteBigEndian32(tail, ~crc);
  WriteFully(stream, tail, 4);
}

bool TChunk::SaveData(TStream* stream) {
  WriteChunk(stream, name_.data(), data_.data(), dataSize_);
  return true;
}
