// The sound output that PlaySoundA and the form library's media player share: open a file by
// name or a sound image in memory, play it (asynchronously, synchronously or looping), stop,
// close, its length and position, and "can play this kind". The silent device (no output, as
// in CI) decodes headers only and plays for the sound's length on the platform clock; the
// recording device also logs every play and stop for tests.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/backend/audio/SoundFile.h"

namespace platform::audio {

class AudioDevice {
 public:
  virtual ~AudioDevice() = default;
  virtual bool CanPlay(SoundKind kind) = 0;
  // A handle (> 0), or 0 with `error` set when the file cannot be opened or played.
  virtual int Open(const std::string& path, std::string* error) = 0;
  // The same for a sound image in memory; the device keeps its own copy of the bytes.
  virtual int OpenMemory(const uint8_t* data, size_t size, std::string* error) = 0;
  // Starts playing from the start; a synchronous play returns when the sound has ended. A
  // looping play is asynchronous and starts again at each end until stopped.
  virtual bool Play(int handle, bool async, bool loop = false) = 0;
  virtual void Stop(int handle) = 0;
  virtual void Close(int handle) = 0;
  // True while the sound is playing; false once it ended or was stopped.
  virtual bool Playing(int handle) = 0;
  // Milliseconds; the length is 0 when the data does not tell it.
  virtual int64_t Length(int handle) = 0;
  virtual int64_t Position(int handle) = 0;
};

class SilentDevice : public AudioDevice {
 public:
  bool CanPlay(SoundKind kind) override { return kind != SoundKind::Unknown; }
  int Open(const std::string& path, std::string* error) override;
  int OpenMemory(const uint8_t* data, size_t size, std::string* error) override;
  bool Play(int handle, bool async, bool loop = false) override;
  void Stop(int handle) override;
  void Close(int handle) override;
  bool Playing(int handle) override;
  int64_t Length(int handle) override;
  int64_t Position(int handle) override;

 protected:
  struct Sound {
    std::string path;             // empty for a sound in memory
    std::vector<uint8_t> memory;  // the copy of a sound in memory
    SoundInfo info;
    int64_t startedAt = -1;  // platform clock; -1 when not playing
    bool loop = false;
    int64_t position = 0;  // where a stopped or ended play stands
  };
  int Add(Sound sound, std::string* error);
  Sound* Find(int handle);
  std::map<int, Sound> sounds_;
  int next_ = 0;
};

// What a test sees of the sound output.
struct SoundEvent {
  enum class What { Play, Stop };
  What what = What::Play;
  std::string path;  // empty for a sound in memory
  bool async = false;
  bool loop = false;
  std::vector<uint8_t> memory;  // the device's copy of a sound in memory
  int handle = 0;
};

class RecordingDevice : public SilentDevice {
 public:
  bool CanPlay(SoundKind kind) override;
  bool Play(int handle, bool async, bool loop = false) override;
  void Stop(int handle) override;
  // Device counts, as waveOutGetNumDevs and midiOutGetNumDevs report them.
  void SetDevices(int wave, int midi) { wave_ = wave, midi_ = midi; }
  const std::vector<SoundEvent>& Events() const { return events_; }

 private:
  std::vector<SoundEvent> events_;
  int wave_ = 1, midi_ = 1;
};

// The process's device: a silent one until start-up or a test installs another.
AudioDevice& Device();
void SetDevice(std::unique_ptr<AudioDevice> device);

}  // namespace platform::audio
