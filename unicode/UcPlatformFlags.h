// The platform flags on which the whole Unicode layer chooses between its UTF-16 and its 8-bit
// paths. They follow the form library's platform and version values; a test may make the layer
// believe it runs on an 8-bit system to reach the fallbacks, which the product never does.
#pragma once

bool Win32PlatformIsUnicode();
bool Win32PlatformIsXP();
bool Win32PlatformIs2003();
bool Win32PlatformIsVista();

// True when the system's major version is above `major`, or equal with a minor version of at
// least `minor`.
bool CheckWin32Version(int major, int minor = 0);

namespace unicode {
// The platform's test switch (platform::SetNarrowSystemForTesting) under the layer's name: every
// flag above then reads false, so the layer takes its 8-bit paths.
void SetNarrowSystemForTesting(bool narrow);
}  // namespace unicode
