#include "controls/WindowsVersion.h"

#include "platform/rtl/Program.h"

namespace {

std::function<TSkOSVersion()>& Source() {
  static std::function<TSkOSVersion()> source;
  return source;
}

TSkOSVersion Current() {
  if (Source()) return Source()();
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof info;
  if (!GetVersionExA(&info)) return {};
  return TSkOSVersion{info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion};
}

}  // namespace

void SetWindowsVersionSource(std::function<TSkOSVersion()> source) { Source() = std::move(source); }

bool RunningUnder(TSkWindowsVersion version) {
  const TSkOSVersion v = Current();
  switch (version) {
    case wvWin95:
      return v.PlatformId == 1 && v.Major <= 4 && v.Minor == 0;
    case wvWinNT:
      return v.PlatformId == 2 && v.Major <= 4;
    case wvWin98:
      return v.PlatformId == 1 && v.Minor == 10;
    case wvWinMe:
      return v.PlatformId == 1 && v.Minor == 90;
    case wvWin2000:
      return v.PlatformId == 2 && v.Major == 5 && v.Minor == 0;
    case wvWinXP:
      return v.PlatformId == 2 && v.Major == 5 && v.Minor == 1;
    case wvWinServer2003:
      return v.PlatformId == 2 && v.Major == 5 && v.Minor == 2;
  }
  return false;
}
