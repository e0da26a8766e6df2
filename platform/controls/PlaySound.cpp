// PlaySoundA and the device counts over the shared sound output; the bell through the backend.
#include "platform/controls/PlaySound.h"

#include <cstring>

#include "platform/backend/audio/AudioDevice.h"
#include "platform/controls/Controls.h"
#include "platform/rtl/CodePage.h"
#include "platform/rtl/Utf8.h"
#include "platform/win/Backend.h"

namespace {
int current = 0;  // the sound PlaySoundA started, or 0

void StopCurrent() {
  if (!current) return;
  auto& device = platform::audio::Device();
  device.Stop(current);
  device.Close(current);
  current = 0;
}

// A sound image in memory is a WAVE file; its RIFF header is the only thing that tells its
// size, so the caller's block must hold what that header promises.
int OpenMemorySound(const uint8_t* image) {
  if (std::memcmp(image, "RIFF", 4) != 0) return 0;
  const uint64_t size = 8 + (uint64_t(image[4]) | uint64_t(image[5]) << 8 | uint64_t(image[6]) << 16 |
                             uint64_t(image[7]) << 24);
  return platform::audio::Device().OpenMemory(image, size_t(size), nullptr);
}

}  // namespace

BOOL PlaySoundA(LPCSTR name, HMODULE, DWORD flags) {
  auto& device = platform::audio::Device();
  if (!name || (flags & SND_PURGE)) {
    StopCurrent();
    return TRUE;
  }
  if ((flags & SND_NOSTOP) && current && device.Playing(current)) return FALSE;
  const bool async = flags & SND_ASYNC, loop = flags & SND_LOOP;
  if (loop && !async) return FALSE;  // a synchronous loop would never return
  StopCurrent();
  int handle = 0;
  if (flags & SND_MEMORY) {
    // The device copies the image, so the caller may free it as soon as this returns.
    handle = OpenMemorySound(reinterpret_cast<const uint8_t*>(name));
  } else {
    const std::string path = platform::Utf16ToUtf8(platform::MultiByteToUtf16(name, CP_ACP));
    handle = device.Open(path, nullptr);
  }
  if (!handle) return FALSE;
  current = handle;
  if (!device.Play(handle, async, loop)) {
    StopCurrent();
    return FALSE;
  }
  if (!async) StopCurrent();  // it has ended
  return TRUE;
}

UINT waveOutGetNumDevs() {
  return platform::audio::Device().CanPlay(platform::audio::SoundKind::Wave) ? 1 : 0;
}
UINT midiOutGetNumDevs() {
  return platform::audio::Device().CanPlay(platform::audio::SoundKind::Midi) ? 1 : 0;
}

BOOL MessageBeep(UINT) {
  if (auto* backend = platform::win::CurrentBackend()) backend->Beep();
  return TRUE;
}

BOOL Beep(DWORD, DWORD) { return MessageBeep(0); }
