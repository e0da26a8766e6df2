// Reads arbitrary bytes as each kind of the editor's clipboard block, with the token the bytes
// carry (so the fuzzer reaches past the head), and checks that a block read is written back to
// the very same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "editor/clipblock/ClipBlock.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  clipblock::Token token{};
  if (size >= 24) std::memcpy(token.data(), data + 8, token.size());
  for (auto kind :
       {clipblock::Kind::Picture, clipblock::Kind::Text, clipblock::Kind::Sound, clipblock::Kind::Page}) {
    clipblock::Block block;
    if (!clipblock::Read(data, size, kind, token, &block)) continue;
    const auto again = kind == clipblock::Kind::Page ? clipblock::WritePage(block.page, token)
                                                     : clipblock::WriteItem(kind, block.item, token);
    if (again.size() != size || std::memcmp(again.data(), data, size) != 0) abort();
  }
  return 0;
}
