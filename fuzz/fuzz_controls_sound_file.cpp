// Sound file headers: any bytes give a kind and either an error or a length that the data can
// hold; nothing is read outside the input.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "platform/backend/audio/SoundFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto info = platform::audio::ProbeSound(data, size);
  if (info.durationMs < 0 || info.durationMs > (int64_t(1) << 52)) std::abort();
  if (!info.error.empty() && info.durationMs != 0) std::abort();
  return 0;
}
