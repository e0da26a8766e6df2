#include "unicode/UcReadRest.h"

#include "platform/rtl/TStream.h"

std::string UcReadRest(TStream* stream) {
  std::int64_t available = stream->Size() - stream->Position();
  std::string bytes(static_cast<std::size_t>(available > 0 ? available : 0), '\0');
  std::size_t got = 0;
  while (got < bytes.size()) {
    int n = stream->Read(bytes.data() + got, static_cast<int>(bytes.size() - got));
    if (n <= 0) break;
    got += static_cast<std::size_t>(n);
  }
  bytes.resize(got);
  return bytes;
}
