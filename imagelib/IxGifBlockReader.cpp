#include "imagelib/IxGifBlockReader.h"

IxGifBlockReader::Block IxGifBlockReader::Next() {
  for (;;) {
    const int b = in_.ReadByte();
    if (b < 0) return Block{};
    if (!inStep_) {
      if (b == 0) inStep_ = true;
      continue;
    }
    switch (b) {
      case 0x21:
        return ReadExtension();
      case 0x2C:
        return ReadImage();
      case 0x3B: {
        Block trailer;
        trailer.kind = Kind::kTrailer;
        return trailer;
      }
      case 0:
        break;
      default:
        inStep_ = false;
        break;
    }
  }
}

IxGifBlockReader::Block IxGifBlockReader::ReadExtension() {
  Block block;
  const int label = in_.ReadByte();
  if (label < 0) return block;
  // The first data sub-block carries the extension's own fields.
  int len = in_.ReadByte();
  if (len < 0) return block;
  uint8_t data[255];
  if (!in_.Read(data, static_cast<size_t>(len))) return block;

  switch (label) {
    case 0xF9:
      block.kind = Kind::kGraphicControl;
      if (len == 4) {
        block.controlValid = true;
        block.controlFlags = data[0];
        block.delay = static_cast<uint16_t>(data[1] | (data[2] << 8));
        block.transIndex = data[3];
      }
      break;
    case 0xFE:
      block.kind = Kind::kComment;
      block.comment.assign(reinterpret_cast<const char*>(data), static_cast<size_t>(len));
      break;
    case 0xFF:
      block.kind = Kind::kApplication;
      if (len == 11) {
        // The application's first data sub-block: a loop count at offset 1.
        len = in_.ReadByte();
        if (len < 0) return Block{};
        if (len == 0) {
          block.kind = Kind::kApplication;
          return block;
        }
        if (!in_.Read(data, static_cast<size_t>(len))) return Block{};
        if (len > 2) {
          block.hasLoopCount = true;
          block.loopCount = static_cast<uint16_t>(data[1] | (data[2] << 8));
        }
      }
      break;
    default:
      block.kind = Kind::kOtherExtension;
      break;
  }
  if (len != 0 && !in_.SkipSubBlocks()) return Block{};
  return block;
}

IxGifBlockReader::Block IxGifBlockReader::ReadImage() {
  Block block;
  uint8_t d[9];
  if (!in_.Read(d, sizeof d)) return block;
  block.left = d[0] | (d[1] << 8);
  block.top = d[2] | (d[3] << 8);
  block.width = d[4] | (d[5] << 8);
  block.height = d[6] | (d[7] << 8);
  block.imageFlags = d[8];
  if (block.imageFlags & 0x80) {
    block.localTableSize = TableSize(block.imageFlags);
    block.localTableOffset = in_.Position();
    if (!in_.Skip(static_cast<size_t>(block.localTableSize) * 3)) return Block{};
  }
  block.codeStreamOffset = in_.Position();
  block.kind = Kind::kImage;
  // The code stream: its minimum code size byte, then sub-blocks up to a zero length. A stream
  // cut short by the end of the data still yields the image; the next call reports the end.
  if (in_.ReadByte() >= 0) in_.SkipSubBlocks();
  return block;
}
