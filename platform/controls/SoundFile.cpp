#include "platform/controls/SoundFile.h"

#include <cstdio>
#include <cstring>

namespace platform::audio {

namespace {

class Cursor {
 public:
  Cursor(const uint8_t* p, size_t n) : p_(p), end_(p + n) {}
  size_t Left() const { return size_t(end_ - p_); }
  bool Skip(uint64_t n) {
    if (n > Left()) return false;
    p_ += n;
    return true;
  }
  bool U16(uint32_t& v) {
    if (Left() < 2) return false;
    v = uint32_t(p_[0]) | uint32_t(p_[1]) << 8;
    p_ += 2;
    return true;
  }
  bool U32(uint32_t& v) {
    if (Left() < 4) return false;
    v = uint32_t(p_[0]) | uint32_t(p_[1]) << 8 | uint32_t(p_[2]) << 16 | uint32_t(p_[3]) << 24;
    p_ += 4;
    return true;
  }
  bool Tag(const char* tag) {
    if (Left() < 4 || std::memcmp(p_, tag, 4) != 0) return false;
    p_ += 4;
    return true;
  }
  const uint8_t* Here() const { return p_; }

 private:
  const uint8_t* p_;
  const uint8_t* end_;
};

SoundInfo Wave(const uint8_t* data, size_t size) {
  SoundInfo info;
  info.kind = SoundKind::Wave;
  Cursor c(data, size);
  uint32_t riffSize = 0;
  if (!c.Tag("RIFF") || !c.U32(riffSize) || !c.Tag("WAVE")) return info.error = "not a WAVE file", info;
  uint64_t byteRate = 0, dataBytes = 0;
  bool haveFormat = false, haveData = false;
  while (c.Left() >= 8) {
    const uint8_t* tag = c.Here();
    uint32_t chunk = 0;
    c.Skip(4);
    c.U32(chunk);
    const uint64_t body = std::min<uint64_t>(chunk, c.Left());  // a truncated last chunk counts what is there
    if (std::memcmp(tag, "fmt ", 4) == 0) {
      Cursor f(c.Here(), size_t(body));
      uint32_t format = 0, channels = 0, rate = 0, bytesPerSecond = 0;
      if (!f.U16(format) || !f.U16(channels) || !f.U32(rate) || !f.U32(bytesPerSecond))
        return info.error = "the format chunk is too short", info;
      if (channels == 0 || rate == 0 || bytesPerSecond == 0) return info.error = "the format is not valid", info;
      byteRate = bytesPerSecond;
      haveFormat = true;
    } else if (std::memcmp(tag, "data", 4) == 0) {
      dataBytes = body;
      haveData = true;
    }
    if (!c.Skip(body + (body & 1)) && !c.Skip(body)) break;
  }
  if (!haveFormat || !haveData) return info.error = "the file has no format or no sound data", info;
  info.durationMs = int64_t(dataBytes * 1000 / byteRate);
  return info;
}

SoundInfo Midi(const uint8_t* data, size_t size) {
  SoundInfo info;
  info.kind = SoundKind::Midi;
  Cursor c(data, size);
  uint32_t length = 0;
  if (!c.Tag("MThd") || !c.U32(length) || length < 6 || c.Left() < 6) info.error = "not a MIDI file";
  return info;
}

// A frame header of MPEG audio layer III, after an optional ID3v2 tag; the duration assumes a
// constant bit rate.
SoundInfo Mp3(const uint8_t* data, size_t size) {
  SoundInfo info;
  info.kind = SoundKind::Mp3;
  size_t at = 0;
  if (size >= 10 && std::memcmp(data, "ID3", 3) == 0) {
    const uint64_t tag = (uint64_t(data[6] & 0x7F) << 21) | (uint64_t(data[7] & 0x7F) << 14) |
                         (uint64_t(data[8] & 0x7F) << 7) | uint64_t(data[9] & 0x7F);
    if (tag + 10 > size) return info.error = "the tag is longer than the file", info;
    at = size_t(tag + 10);
  }
  if (size - at < 4 || data[at] != 0xFF || (data[at + 1] & 0xE0) != 0xE0 || ((data[at + 1] >> 1) & 3) != 1)
    return info.error = "no MPEG audio frame", info;
  static const int kRates[16] = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0};
  const int kbps = ((data[at + 1] >> 3) & 3) == 3 ? kRates[data[at + 2] >> 4] : 0;
  if (kbps) info.durationMs = int64_t(uint64_t(size - at) * 8 / uint64_t(kbps));
  return info;
}

}  // namespace

SoundInfo ProbeSound(const uint8_t* data, size_t size) {
  if (size >= 4 && std::memcmp(data, "RIFF", 4) == 0) return Wave(data, size);
  if (size >= 4 && std::memcmp(data, "MThd", 4) == 0) return Midi(data, size);
  if ((size >= 3 && std::memcmp(data, "ID3", 3) == 0) || (size >= 2 && data[0] == 0xFF && (data[1] & 0xE0) == 0xE0))
    return Mp3(data, size);
  SoundInfo info;
  info.error = "not a sound file this system can play";
  return info;
}

SoundInfo ProbeSoundFile(const std::string& path) {
  SoundInfo info;
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return info.error = "cannot open the file", info;
  std::vector<uint8_t> bytes;
  uint8_t chunk[65536];
  size_t n;
  while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0 && bytes.size() < (64u << 20))
    bytes.insert(bytes.end(), chunk, chunk + n);
  const bool failed = std::ferror(f);
  std::fclose(f);
  if (failed) return info.error = "cannot read the file", info;
  return ProbeSound(bytes.data(), bytes.size());
}

}  // namespace platform::audio
