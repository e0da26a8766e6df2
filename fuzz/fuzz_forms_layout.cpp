// Text layouts: whatever parses must print and parse again to the same text; bad text may
// only raise the read error.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/forms/LayoutText.h"
#include "platform/rtl/Exceptions.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  TLayoutObject tree;
  try {
    tree = ParseLayout(text);
  } catch (const EReadError&) {
    return 0;
  }
  std::string printed = PrintLayout(tree);
  std::string again = PrintLayout(ParseLayout(printed));
  if (again != printed) std::abort();
  return 0;
}
