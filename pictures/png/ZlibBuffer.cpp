#include "pictures/png/ZlibBuffer.h"

#include <zlib.h>

#include <climits>

bool InflateWhole(const std::uint8_t* input, std::size_t length, std::size_t limit, std::string& output) {
  output.clear();
  if (length > UINT_MAX) return false;
  z_stream z{};
  if (inflateInit(&z) != Z_OK) return false;
  z.next_in = const_cast<Bytef*>(input);
  z.avail_in = uInt(length);
  unsigned char window[256];
  int result = Z_OK;
  while (result == Z_OK) {
    z.next_out = window;
    z.avail_out = sizeof(window);
    result = inflate(&z, Z_NO_FLUSH);
    if (result != Z_OK && result != Z_STREAM_END) break;
    const std::size_t produced = sizeof(window) - z.avail_out;
    if (output.size() + produced > limit) {
      result = Z_MEM_ERROR;
      break;
    }
    output.append(reinterpret_cast<const char*>(window), produced);
    // No progress with input left or output room means a stream that cannot end.
    if (result == Z_OK && produced == 0 && z.avail_in == 0) {
      result = Z_BUF_ERROR;
      break;
    }
  }
  inflateEnd(&z);
  if (result != Z_STREAM_END) output.clear();
  return result == Z_STREAM_END;
}

bool DeflateWhole(const std::uint8_t* input, std::size_t length, int level, std::string& output) {
  output.clear();
  if (length > UINT_MAX) return false;
  z_stream z{};
  if (deflateInit(&z, level) != Z_OK) return false;
  z.next_in = const_cast<Bytef*>(input);
  z.avail_in = uInt(length);
  unsigned char window[256];
  int result = Z_OK;
  while (result == Z_OK || result == Z_BUF_ERROR) {
    z.next_out = window;
    z.avail_out = sizeof(window);
    result = deflate(&z, Z_FINISH);
    if (result != Z_OK && result != Z_STREAM_END) break;
    output.append(reinterpret_cast<const char*>(window), sizeof(window) - z.avail_out);
  }
  deflateEnd(&z);
  return result == Z_STREAM_END;
}
