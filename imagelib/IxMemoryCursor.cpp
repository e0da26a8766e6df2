// Bounded reads at an offset, in the cursor's byte order.
#include "imagelib/IxMemoryCursor.h"

bool IxMemoryCursor::U8(uint64_t offset, uint8_t& value) const {
  value = 0;
  const uint8_t* p = At(offset, 1);
  if (!p) return false;
  value = p[0];
  return true;
}

bool IxMemoryCursor::U16(uint64_t offset, uint16_t& value) const {
  value = 0;
  const uint8_t* p = At(offset, 2);
  if (!p) return false;
  value = bigEndian_ ? static_cast<uint16_t>((p[0] << 8) | p[1]) : static_cast<uint16_t>((p[1] << 8) | p[0]);
  return true;
}

bool IxMemoryCursor::U32(uint64_t offset, uint32_t& value) const {
  value = 0;
  const uint8_t* p = At(offset, 4);
  if (!p) return false;
  for (int i = 0; i < 4; ++i) {
    value = (value << 8) | p[bigEndian_ ? i : 3 - i];
  }
  return true;
}

bool IxMemoryCursor::U64(uint64_t offset, uint64_t& value) const {
  value = 0;
  const uint8_t* p = At(offset, 8);
  if (!p) return false;
  for (int i = 0; i < 8; ++i) {
    value = (value << 8) | p[bigEndian_ ? i : 7 - i];
  }
  return true;
}
