#include "pictures/gifcoding/THashTable.h"

namespace {
int Probe(int h, int step) {
  h -= step;
  return h < 0 ? h + THashTable::Size : h;
}
int StepFor(int h) { return h == 0 ? 1 : THashTable::Size - h; }
}  // namespace

void THashTable::Insert(std::uint32_t key, int code) {
  int h = Hash(key);
  const int step = StepFor(h);
  // The coder clears the table long before it fills (at most 4095 - 258 codes in 8009 slots).
  while (slots_[std::size_t(h)] != Empty) h = Probe(h, step);
  slots_[std::size_t(h)] = (key << 12) | std::uint32_t(code & 0xFFF);
}

int THashTable::Lookup(std::uint32_t key) const {
  int h = Hash(key);
  const int step = StepFor(h);
  const std::uint32_t wanted = key << 12;
  for (int tries = 0; tries < Size; ++tries) {
    const std::uint32_t slot = slots_[std::size_t(h)];
    if (slot == Empty) return -1;
    if ((slot & ~0xFFFu) == wanted) return int(slot & 0xFFF);
    h = Probe(h, step);
  }
  return -1;
}
