// Walks the blocks of a GIF file after its screen descriptor and global colour table:
// extensions (graphic control, comment, application with the loop count, others skipped) and
// image descriptors with their local tables and code streams. Bytes that start no block are
// skipped up to the next zero byte, so a damaged file resynchronises on a block boundary.
// Every length comes from the data and is checked against what is left before it is used.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "imagelib/IxMemoryCursor.h"

class IxGifBlockReader {
 public:
  enum class Kind {
    kGraphicControl,
    kComment,
    kApplication,
    kOtherExtension,
    kImage,
    kTrailer,  // 0x3B
    kEnd,      // the data ended, or an extension was cut short
  };

  struct Block {
    Kind kind = Kind::kEnd;
    // Graphic control: valid when its data sub-block had exactly 4 bytes.
    bool controlValid = false;
    uint8_t controlFlags = 0;
    uint16_t delay = 0;
    uint8_t transIndex = 0;
    // Comment: the first sub-block only.
    std::string comment;
    // Application: a loop count when its first data sub-block has more than 2 bytes.
    bool hasLoopCount = false;
    uint16_t loopCount = 0;
    // Image descriptor.
    int left = 0, top = 0, width = 0, height = 0;
    uint8_t imageFlags = 0;
    int localTableSize = 0;       // entries; 0 without a local table
    size_t localTableOffset = 0;  // red, green, blue triples
    size_t codeStreamOffset = 0;  // the minimum code size byte
  };

  // The cursor stands after the global colour table.
  explicit IxGifBlockReader(IxMemoryCursor& cursor) : in_(cursor) {}

  // The next block; for an image the cursor is left after its code stream.
  Block Next();

  // Colour-table entries that the size bits of a flags byte announce: 2^((flags & 7) + 1).
  static int TableSize(uint8_t flags) { return 2 << (flags & 7); }

 private:
  Block ReadExtension();
  Block ReadImage();

  IxMemoryCursor& in_;
  bool inStep_ = true;
};
