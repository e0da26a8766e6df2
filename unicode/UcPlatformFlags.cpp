#include "unicode/UcPlatformFlags.h"

#include <atomic>

#include "platform/rtl/Program.h"

namespace {

bool VersionAtLeast(int major, int minor) {
  return Win32MajorVersion > major || (Win32MajorVersion == major && Win32MinorVersion >= minor);
}

bool Unicode() { return !platform::NarrowSystemForTesting() && Win32Platform == VER_PLATFORM_WIN32_NT; }

}  // namespace

bool Win32PlatformIsUnicode() { return Unicode(); }
bool Win32PlatformIsXP() { return Unicode() && VersionAtLeast(5, 1); }
bool Win32PlatformIs2003() { return Unicode() && VersionAtLeast(5, 2); }
bool Win32PlatformIsVista() { return Unicode() && VersionAtLeast(6, 0); }

bool CheckWin32Version(int major, int minor) { return VersionAtLeast(major, minor); }

namespace unicode {
void SetNarrowSystemForTesting(bool narrow) { platform::SetNarrowSystemForTesting(narrow); }
}  // namespace unicode
