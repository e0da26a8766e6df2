// What the image library's fuzz targets skip: pictures whose header asks for more pixels than a
// campaign can afford a run. They decode and encode correctly but slowly (the size limits have
// unit tests of their own), and the time goes further on the structure of the files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "imagelib/IxImage.h"
#include "imagelib/IxMemFile.h"

namespace fuzzcap {

constexpr uint64_t kMaxFuzzPixels = 1u << 14;

// Whether the decoder's header-only read (formats that offer one) finds more than `most` pixels.
inline bool ProbedTooLarge(std::vector<uint8_t>& bytes, uint32_t format, uint64_t most = kMaxFuzzPixels) {
  IxImage probe;
  probe.SetEscape(-1);
  IxMemFile in(bytes.empty() ? nullptr : bytes.data(), bytes.size());
  return probe.Decode(&in, format) &&
         static_cast<uint64_t>(probe.GetWidth()) * static_cast<uint64_t>(probe.GetHeight()) > most;
}

// Whether a TGA header (size at bytes 12 and 14, 16 bits each, least significant first) asks for
// more than `most` pixels.
inline bool TgaTooLarge(const uint8_t* data, size_t size, uint64_t most = kMaxFuzzPixels) {
  return size >= 16 && uint64_t(data[12] | data[13] << 8) * uint64_t(data[14] | data[15] << 8) > most;
}

}  // namespace fuzzcap
