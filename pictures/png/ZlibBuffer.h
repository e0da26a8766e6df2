// Whole-buffer zlib coding for the compressed text chunk: inflate with a cap on the output,
// deflate at a level.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// The inflated bytes of a whole zlib stream; false on any error, a stream that does not end,
// or output beyond `limit` bytes.
bool InflateWhole(const std::uint8_t* input, std::size_t length, std::size_t limit, std::string& output);
// The whole input deflated at `level`; false when zlib fails.
bool DeflateWhole(const std::uint8_t* input, std::size_t length, int level, std::string& output);
