// Which system the control library runs under, by the version the platform reports. Tests give
// the version through SetWindowsVersionSource; the platform's own answer (platform 2, 6.1) is
// none of the listed systems.
#pragma once

#include <functional>

#include "platform/rtl/Types.h"

enum TSkWindowsVersion { wvWin95, wvWinNT, wvWin98, wvWinMe, wvWin2000, wvWinXP, wvWinServer2003 };

struct TSkOSVersion {
  DWORD PlatformId = 0, Major = 0, Minor = 0;
};

// Null goes back to the platform's version.
void SetWindowsVersionSource(std::function<TSkOSVersion()> source);
bool RunningUnder(TSkWindowsVersion version);
