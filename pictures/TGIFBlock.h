// TGIFBlock: one data sub-block kept as read (its size and bytes), for extensions whose data the
// picture does not interpret and writes back unchanged.
#pragma once

#include <vector>

#include "platform/rtl/Object.h"
#include "platform/rtl/Types.h"

class TGIFBlock : public TObject {
 public:
  explicit TGIFBlock(int size) : Data(std::size_t(size), 0) {}
  int Size() const { return int(Data.size()); }
  std::vector<BYTE> Data;
};
