// The sound output over SDL2_mixer (WAV, MIDI, MP3 decoded by the library, played on its own
// audio thread). MakeSystemDevice gives it when an output opens, else the silent device.
#pragma once

#include <memory>

#include "platform/backend/audio/AudioDevice.h"

namespace platform::audio {

// An SDL2_mixer device on the named SDL audio driver (empty: the system's choice), or null when
// no output opens; "dummy" opens an output that plays silently in real time.
std::unique_ptr<AudioDevice> MakeSdlDevice(const char* driver = nullptr);
// What a desktop run uses: SDL2_mixer on the system's output, else the silent device, opened
// when the sound is first used.
std::unique_ptr<AudioDevice> MakeSystemDevice();

}  // namespace platform::audio
