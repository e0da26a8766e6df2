// PlaySoundA and the device counts (sound functions of the classic multimedia library).
#pragma once

#include "platform/win/WinTypes.h"

using HMODULE = HINSTANCE;
constexpr DWORD SND_SYNC = 0, SND_ASYNC = 0x1, SND_NODEFAULT = 0x2, SND_MEMORY = 0x4, SND_LOOP = 0x8,
                SND_NOSTOP = 0x10, SND_PURGE = 0x40, SND_FILENAME = 0x20000;
BOOL PlaySoundA(LPCSTR name, HMODULE module, DWORD flags);
UINT waveOutGetNumDevs();
UINT midiOutGetNumDevs();
