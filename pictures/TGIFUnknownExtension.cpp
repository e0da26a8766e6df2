#include "pictures/TGIFUnknownExtension.h"

#include "pictures/GIFStreamRoutines.h"

void TGIFUnknownExtension::SaveToStream(TStream* stream) {
  TGIFExtension::SaveToStream(stream);
  for (const auto& block : blocks_) {
    WriteByte(stream, BYTE(block->Size()));
    stream->WriteBuffer(block->Data.data(), block->Size());
  }
  WriteByte(stream, 0);
}

void TGIFUnknownExtension::LoadFromStream(TStream* stream) {
  label_ = DoReadFromStream(stream);
  blocks_.clear();
  BYTE size = 0;
  while (ReadByte(stream, size) && size != 0) {
    auto block = std::make_unique<TGIFBlock>(size);
    ReadCheck(stream, block->Data.data(), size);
    blocks_.push_back(std::move(block));
  }
}
