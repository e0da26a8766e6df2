// Wire frames from another process: the header, then the body as each request kind; whatever
// decodes must encode back to the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "platform/win/WireFrame.h"

using namespace platform::win;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto header = DecodeHeader(data, size);
  if (size < 12) return 0;
  const uint8_t* body = data + 12;
  const size_t length = size - 12;
  if (header && header->second > kWireBodyLimit) std::abort();
  if (auto m = DecodeMessage(body, length)) {
    const auto again = EncodeMessage(WireKind::Send, *m);
    if (again.size() != length + 12) std::abort();
    for (size_t i = 0; i < length; ++i)
      if (again[12 + i] != body[i]) std::abort();
  }
  if (auto f = DecodeFind(body, length)) {
    if (EncodeFind(*f).size() != length + 12) std::abort();
  }
  if (auto r = DecodeReply(body, length)) {
    // A reply re-encodes as the result and its status, whichever form it came in.
    const auto again = EncodeReply(r->result, r->status);
    if (again.size() != 24) std::abort();
    if (auto back = DecodeReply(again.data() + 12, again.size() - 12)) {
      if (back->result != r->result || back->status != r->status) std::abort();
    } else {
      std::abort();
    }
  }
  return 0;
}
