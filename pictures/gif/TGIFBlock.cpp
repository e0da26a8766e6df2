#include "pictures/gif/TGIFBlock.h"

#include "pictures/gifcoding/GIFStreamRoutines.h"

void ReadGIFBlocks(TStream* stream, TGIFBlocks& blocks) {
  blocks.clear();
  BYTE size = 0;
  while (ReadByte(stream, size) && size != 0) {
    auto block = std::make_unique<TGIFBlock>(size);
    ReadCheck(stream, block->Data.data(), size);
    blocks.push_back(std::move(block));
  }
}

void WriteGIFBlocks(TStream* stream, const TGIFBlocks& blocks) {
  for (const auto& block : blocks) {
    WriteByte(stream, BYTE(block->Size()));
    stream->WriteBuffer(block->Data.data(), block->Size());
  }
  WriteByte(stream, 0);
}
