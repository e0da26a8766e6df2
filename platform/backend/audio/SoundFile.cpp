#include "platform/backend/audio/SoundFile.h"

#include <algorithm>
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
  bool U8(uint32_t& v) {
    if (Left() < 1) return false;
    v = *p_++;
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
  bool BigU16(uint32_t& v) {
    if (Left() < 2) return false;
    v = uint32_t(p_[0]) << 8 | uint32_t(p_[1]);
    p_ += 2;
    return true;
  }
  bool BigU32(uint32_t& v) {
    if (Left() < 4) return false;
    v = uint32_t(p_[0]) << 24 | uint32_t(p_[1]) << 16 | uint32_t(p_[2]) << 8 | uint32_t(p_[3]);
    p_ += 4;
    return true;
  }
  // A MIDI variable-length number: at most four bytes of seven bits.
  bool VarLen(uint32_t& v) {
    v = 0;
    for (int i = 0; i < 4; ++i) {
      uint32_t b = 0;
      if (!U8(b)) return false;
      v = (v << 7) | (b & 0x7F);
      if (!(b & 0x80)) return true;
    }
    return false;
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
      if (channels == 0 || rate == 0 || bytesPerSecond == 0)
        return info.error = "the format is not valid", info;
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

// Tick counts are kept below this, so that ticks times a tempo (24 bits) stays inside 64 bits;
// it is far beyond any real piece (years at the slowest tempo).
constexpr uint64_t kMaxTicks = uint64_t(1) << 38;

struct TempoChange {
  uint64_t tick;
  uint32_t microsPerQuarter;
};

struct Track {
  uint64_t endTick = 0;
  std::vector<TempoChange> tempos;
};

// Data bytes after a channel message's status: one for program change and channel pressure.
uint32_t DataBytes(uint32_t status) {
  const uint32_t kind = status & 0xF0;
  return kind == 0xC0 || kind == 0xD0 ? 1 : 2;
}

// Reads one track's events for their times and tempo changes. A damaged event ends the track
// where it stands: what came before it still plays.
Track ReadTrack(const uint8_t* data, size_t size) {
  Track track;
  Cursor c(data, size);
  uint64_t tick = 0;
  uint32_t running = 0;  // the status a data byte continues
  while (c.Left() > 0) {
    uint32_t delta = 0, status = 0;
    if (!c.VarLen(delta) || !c.U8(status)) break;
    tick = std::min(tick + delta, kMaxTicks);
    track.endTick = tick;  // the time has passed even when the event turns out damaged
    if (status < 0x80) {
      // Running status: the byte read was the first data byte of the previous message.
      if (!running || !c.Skip(DataBytes(running) - 1)) break;
    } else if (status == 0xFF) {
      uint32_t type = 0, length = 0;
      if (!c.U8(type) || !c.VarLen(length) || length > c.Left()) break;
      if (type == 0x51 && length >= 3) {
        const uint8_t* p = c.Here();
        const uint32_t tempo = uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | uint32_t(p[2]);
        if (tempo) track.tempos.push_back({tick, tempo});
      }
      c.Skip(length);
      if (type == 0x2F) return track;
    } else if (status == 0xF0 || status == 0xF7) {
      uint32_t length = 0;
      if (!c.VarLen(length) || !c.Skip(length)) break;
    } else if (status >= 0xF0) {
      break;  // no other system message belongs in a file
    } else {
      running = status;
      if (!c.Skip(DataBytes(status))) break;
    }
  }
  return track;
}

// Microseconds from tick 0 to `end` under the tempo changes (sorted by tick), at `division`
// ticks per quarter note; 500000 us per quarter until the first change.
uint64_t MicrosOf(const std::vector<TempoChange>& tempos, uint64_t end, uint32_t division) {
  uint64_t micros = 0, at = 0;
  uint32_t tempo = 500000;
  for (const TempoChange& t : tempos) {
    if (t.tick >= end) break;
    micros += (t.tick - at) * tempo / division;
    at = t.tick;
    tempo = t.microsPerQuarter;
  }
  return micros + (end - at) * tempo / division;
}

// A standard MIDI file: its length is the time of its last event, through the tempo map.
// Format 0 and 1 files play their tracks together (the tempo changes of every track apply to
// all); format 2 files play their tracks one after the other, each under its own tempo.
SoundInfo Midi(const uint8_t* data, size_t size) {
  SoundInfo info;
  info.kind = SoundKind::Midi;
  Cursor c(data, size);
  uint32_t length = 0, format = 0, tracks = 0, division = 0;
  if (!c.Tag("MThd") || !c.BigU32(length) || length < 6 || !c.BigU16(format) || !c.BigU16(tracks) ||
      !c.BigU16(division) || !c.Skip(length - 6))
    return info.error = "not a MIDI file", info;
  if (format > 2 || division == 0) return info.error = "the MIDI header is not valid", info;
  // Time code division: frames per second (29 stands for 29.97) times ticks per frame.
  uint64_t ticksPerSecondTimes100 = 0;
  if (division & 0x8000) {
    const int fps = -int(int8_t(division >> 8));
    const uint32_t perFrame = division & 0xFF;
    if ((fps != 24 && fps != 25 && fps != 29 && fps != 30) || perFrame == 0)
      return info.error = "the MIDI time code is not valid", info;
    ticksPerSecondTimes100 = uint64_t(fps == 29 ? 2997 : fps * 100) * perFrame;
  }
  std::vector<Track> read;
  while (read.size() < tracks && c.Left() >= 8) {
    const bool isTrack = c.Tag("MTrk");
    if (!isTrack) c.Skip(4);
    uint32_t chunk = 0;
    c.BigU32(chunk);
    const size_t body = size_t(std::min<uint64_t>(chunk, c.Left()));  // a cut file plays what is there
    if (isTrack) read.push_back(ReadTrack(c.Here(), body));
    c.Skip(body);
  }
  if (read.empty()) return info.error = "the MIDI file has no tracks", info;
  auto toMs = [&](const std::vector<TempoChange>& tempos, uint64_t end) -> uint64_t {
    if (ticksPerSecondTimes100) return end * 100000 / ticksPerSecondTimes100;
    return MicrosOf(tempos, end, division) / 1000;
  };
  constexpr uint64_t kMaxMs = uint64_t(1) << 52;
  uint64_t ms = 0;
  if (format == 2) {
    for (const Track& t : read) ms = std::min(ms + toMs(t.tempos, t.endTick), kMaxMs);
  } else {
    std::vector<TempoChange> tempos;
    uint64_t end = 0;
    for (const Track& t : read) {
      tempos.insert(tempos.end(), t.tempos.begin(), t.tempos.end());
      end = std::max(end, t.endTick);
    }
    std::stable_sort(tempos.begin(), tempos.end(),
                     [](const TempoChange& a, const TempoChange& b) { return a.tick < b.tick; });
    ms = toMs(tempos, end);
  }
  info.durationMs = int64_t(std::min(ms, kMaxMs));
  return info;
}

// One MPEG audio frame header (layers I-III, MPEG 1, 2 and 2.5).
struct Frame {
  int version = 0;  // 1, 2, or 25 for 2.5
  int layer = 0;
  int sampleRate = 0;
  int bitRate = 0;  // kbit/s; 0 for the free format, whose frame length no header tells
  int channels = 0;
  bool crc = false;
  uint64_t bytes = 0;
  int samples = 0;
};

bool ReadFrame(const uint8_t* p, size_t left, Frame& f) {
  if (left < 4 || p[0] != 0xFF || (p[1] & 0xE0) != 0xE0) return false;
  const int versionBits = (p[1] >> 3) & 3, layerBits = (p[1] >> 1) & 3;
  const int rateIndex = p[2] >> 4, srIndex = (p[2] >> 2) & 3, padding = (p[2] >> 1) & 1;
  if (versionBits == 1 || layerBits == 0 || rateIndex == 15 || srIndex == 3) return false;
  f.version = versionBits == 3 ? 1 : versionBits == 2 ? 2 : 25;
  f.layer = 4 - layerBits;
  f.crc = !(p[1] & 1);
  f.channels = (p[3] >> 6) == 3 ? 1 : 2;
  static const int kSampleRates[3] = {44100, 48000, 32000};
  f.sampleRate = kSampleRates[srIndex] / (f.version == 1 ? 1 : f.version == 2 ? 2 : 4);
  static const int kRates[2][3][15] = {
      {{0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448},
       {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384},
       {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320}},
      {{0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256},
       {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},
       {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160}}};
  f.bitRate = kRates[f.version == 1 ? 0 : 1][f.layer - 1][rateIndex];
  if (f.layer == 1) {
    f.samples = 384;
    f.bytes = (uint64_t(12000) * uint64_t(f.bitRate) / uint64_t(f.sampleRate) + uint64_t(padding)) * 4;
  } else {
    const bool half = f.layer == 3 && f.version != 1;  // layer III of MPEG 2 and 2.5: 576 samples
    f.samples = half ? 576 : 1152;
    f.bytes =
        uint64_t(half ? 72000 : 144000) * uint64_t(f.bitRate) / uint64_t(f.sampleRate) + uint64_t(padding);
  }
  return true;
}

bool SameStream(const Frame& a, const Frame& b) {
  return a.version == b.version && a.layer == b.layer && a.sampleRate == b.sampleRate;
}

// The first frame of a variable-rate file may be a "Xing"/"Info" header: it holds no sound.
bool IsInfoFrame(const uint8_t* p, size_t left, const Frame& f) {
  if (f.layer != 3) return false;
  const size_t side = f.version == 1 ? (f.channels == 1 ? 17 : 32) : (f.channels == 1 ? 9 : 17);
  const size_t at = 4 + (f.crc ? 2 : 0) + side;
  return left >= at + 4 && (std::memcmp(p + at, "Xing", 4) == 0 || std::memcmp(p + at, "Info", 4) == 0);
}

// MPEG audio after an optional ID3v2 tag. The length counts the frames, so variable bit rates
// are timed right; bytes between frames that do not start a frame of the same stream (a tag at
// the end, damage) are stepped over.
SoundInfo Mp3(const uint8_t* data, size_t size) {
  SoundInfo info;
  info.kind = SoundKind::Mp3;
  size_t at = 0;
  if (size >= 10 && std::memcmp(data, "ID3", 3) == 0) {
    const uint64_t tag = (uint64_t(data[6] & 0x7F) << 21) | (uint64_t(data[7] & 0x7F) << 14) |
                         (uint64_t(data[8] & 0x7F) << 7) | uint64_t(data[9] & 0x7F);
    const uint64_t footer = (data[5] & 0x10) ? 10 : 0;
    if (tag + 10 + footer > size) return info.error = "the tag is longer than the file", info;
    at = size_t(tag + 10 + footer);
  }
  Frame first;
  if (!ReadFrame(data + at, size - at, first) || first.layer != 3)
    return info.error = "no MPEG audio frame", info;
  if (first.bitRate == 0) return info;  // free format: playable, length unknown
  uint64_t samples = 0;
  bool firstFrame = true;
  while (at < size) {
    Frame f;
    if (!ReadFrame(data + at, size - at, f) || !SameStream(f, first) || f.bitRate == 0) {
      ++at;
      continue;
    }
    if (f.bytes > size - at) break;  // a cut last frame does not play
    if (!(firstFrame && IsInfoFrame(data + at, size - at, f))) samples += uint64_t(f.samples);
    firstFrame = false;
    at += size_t(f.bytes);
  }
  info.durationMs = int64_t(samples * 1000 / uint64_t(first.sampleRate));
  return info;
}

}  // namespace

SoundInfo ProbeSound(const uint8_t* data, size_t size) {
  if (size >= 4 && std::memcmp(data, "RIFF", 4) == 0) return Wave(data, size);
  if (size >= 4 && std::memcmp(data, "MThd", 4) == 0) return Midi(data, size);
  if ((size >= 3 && std::memcmp(data, "ID3", 3) == 0) ||
      (size >= 2 && data[0] == 0xFF && (data[1] & 0xE0) == 0xE0))
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
