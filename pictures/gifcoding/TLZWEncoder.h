// TLZWEncoder: GIF image data by true LZW compression: strings of pixels seen before are sent as
// one code, found in a hash table; the table starts over with a clear code when it is full.
#pragma once

#include <memory>

#include "pictures/gifcoding/TGIFEncoder.h"
#include "pictures/gifcoding/THashTable.h"

class TLZWEncoder : public TGIFEncoder {
 protected:
  void EmitCode(int code) override;
  void EmitClear() override;
  void EncodeData() override;

 private:
  int prefix_ = 0;
  int freeEntry_ = 0;
  std::unique_ptr<THashTable> hashTable_;
};
