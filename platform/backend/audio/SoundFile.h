// What the audio layer reads of a sound file before handing it to a player: its kind (WAV,
// MIDI, MP3) from the content, and its length where the header tells it. Reads through one
// bounded cursor and trusts no length in the file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform::audio {

enum class SoundKind { Unknown, Wave, Midi, Mp3 };

struct SoundInfo {
  SoundKind kind = SoundKind::Unknown;
  int64_t durationMs = 0;  // 0 when the header does not tell
  std::string error;       // why the data cannot be played (empty when it can)
};

SoundInfo ProbeSound(const uint8_t* data, size_t size);
SoundInfo ProbeSoundFile(const std::string& path);

}  // namespace platform::audio
