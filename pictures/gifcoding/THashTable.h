// THashTable: the LZW coder's table of strings seen so far: (prefix code, pixel) to code, in
// 8009 slots with open addressing and double hashing. A slot holds key x 4096 + code.
#pragma once

#include <array>
#include <cstdint>

#include "platform/rtl/Object.h"

class THashTable : public TObject {
 public:
  static constexpr int Size = 8009;

  THashTable() { Clear(); }
  void Clear() { slots_.fill(Empty); }
  // `key` is prefix x 256 + pixel (at most 20 bits), `code` below 4096.
  void Insert(std::uint32_t key, int code);
  // The code stored for `key`, or -1.
  int Lookup(std::uint32_t key) const;

 private:
  static constexpr std::uint32_t Empty = 0xFFFFFFFF;
  static int Hash(std::uint32_t key) { return int(((key >> 4) ^ key) % Size); }

  std::array<std::uint32_t, Size> slots_;
};
