// TGIFBlock: one data sub-block kept as read (its size and bytes), for extensions whose data the
// picture does not interpret and writes back unchanged.
#pragma once

#include <memory>
#include <vector>

#include "platform/rtl/Object.h"
#include "platform/rtl/TStream.h"
#include "platform/rtl/Types.h"

class TGIFBlock : public TObject {
 public:
  explicit TGIFBlock(int size) : Data(std::size_t(size), 0) {}
  int Size() const { return int(Data.size()); }
  std::vector<BYTE> Data;
};

using TGIFBlocks = std::vector<std::unique_ptr<TGIFBlock>>;

// Sub-blocks up to the terminator or the end of the stream, replacing `blocks`.
void ReadGIFBlocks(TStream* stream, TGIFBlocks& blocks);
// Every block (size byte and data), then the terminator.
void WriteGIFBlocks(TStream* stream, const TGIFBlocks& blocks);
