// The bytes of a small PCM WAV file for the sound tests: mono, 8 kHz, 8 bits, silence.
#pragma once

#include <cstdint>
#include <vector>

namespace testsupport {

// `samples` of silence (8 samples a millisecond); `truncate` keeps only half of them while the
// header still announces them all, as a file cut short does.
inline std::vector<uint8_t> SilentWave(uint32_t samples, bool truncate = false) {
  std::vector<uint8_t> b;
  auto u32 = [&](uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(uint8_t(v >> (8 * i)));
  };
  auto u16 = [&](uint32_t v) {
    b.push_back(uint8_t(v));
    b.push_back(uint8_t(v >> 8));
  };
  auto tag = [&](const char* t) {
    for (int i = 0; i < 4; ++i) b.push_back(uint8_t(t[i]));
  };
  tag("RIFF");
  u32(36 + samples);
  tag("WAVE");
  tag("fmt ");
  u32(16);
  u16(1), u16(1), u32(8000), u32(8000), u16(1), u16(8);
  tag("data");
  u32(samples);
  b.resize(b.size() + (truncate ? samples / 2 : samples), 0x80);
  return b;
}

}  // namespace testsupport
