#include "unicode/ClassIsRegistered.h"

bool ClassIsRegistered(REFCLSID clsid) {
  LPOLESTR progId = nullptr;
  if (ProgIDFromCLSID(clsid, &progId) < 0) return false;
  // A class with a program identifier would next have its in-process server looked up in the
  // registry; this system has no registry to hold one, so the class counts as absent.
  return false;
}
