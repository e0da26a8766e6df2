// Libraries and packages loaded by UTF-16 name. No module is loadable by name on this system,
// so these fail as a failed load fails; the paths after a load are kept for the library loader
// a test may install.
#pragma once

#include "platform/controls/ThemeServices.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/WideString.h"

// The form library's error for a package that cannot be loaded or started.
class EPackageError : public Exception {
 public:
  using Exception::Exception;
};

// SEM_NOOPENFILEERRORBOX: no box asking for a missing file while the library loads.
constexpr UINT kSafeLoadErrorMode = 0x8000;

// Loads through the wrapper with the process error mode set to `errorMode` for the call; the
// mode and the load's last error are what they were and what the load left.
HMODULE WideSafeLoadLibrary(const WideString& fileName, UINT errorMode = kSafeLoadErrorMode);
// Loads a package and runs its start-up (its "Initialize" entry, when it has one). A failed load
// raises EPackageError "Can't load package NAME.\r\nTEXT" with the system's text of the failure;
// a start-up that raises frees the library and passes its exception on.
HMODULE WideLoadPackage(const WideString& name);
