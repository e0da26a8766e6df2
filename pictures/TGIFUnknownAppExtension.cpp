#include "pictures/TGIFUnknownAppExtension.h"

#include "pictures/GIFStreamRoutines.h"

void TGIFUnknownAppExtension::LoadData(TStream* stream) {
  blocks_.clear();
  BYTE size = 0;
  while (ReadByte(stream, size) && size != 0) {
    auto block = std::make_unique<TGIFBlock>(size);
    ReadCheck(stream, block->Data.data(), size);
    blocks_.push_back(std::move(block));
  }
}

void TGIFUnknownAppExtension::SaveData(TStream* stream) {
  for (const auto& block : blocks_) {
    WriteByte(stream, BYTE(block->Size()));
    stream->WriteBuffer(block->Data.data(), block->Size());
  }
  WriteByte(stream, 0);
}
