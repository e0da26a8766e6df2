// Redirections of the run-time library's routines to the Unicode layer's. The layer's shut-down
// (UcLayer.h) undoes them.
#pragma once

enum TUcSystemUpdate : unsigned {
  // Resource strings load as UTF-16; the implicit conversions go through the layer's default code
  // page and hand back the exact UTF-16 text of a resource string widened again at once.
  tsWideResourceStrings = 1u << 0,
  // The implicit conversions go through the layer's default code page (the system's).
  tsFixImplicitCodePage = 1u << 1,
  // UTF-16 concatenation is exact here already; accepted and nothing changes.
  tsFixWideStrConcat = 1u << 2,
  // UTF-16 formatting goes through the layer's formatter.
  tsFixWideFormat = 1u << 3,
  // The last OS error is raised as the layer's UTF-16 exception, and the application's exception
  // display is the Unicode application's.
  tsWideExceptions = 1u << 4,
};
using TUcSystemUpdates = unsigned;
constexpr TUcSystemUpdates AllUcSystemUpdates =
    tsWideResourceStrings | tsFixImplicitCodePage | tsFixWideStrConcat | tsFixWideFormat | tsWideExceptions;

// Saves the library's hooks (once) and installs the layer's for `updates`.
void InstallUcSystemUpdates(TUcSystemUpdates updates = AllUcSystemUpdates);
// Puts back the hooks saved by the first install; nothing when none is installed.
void UninstallUcSystemUpdates();
