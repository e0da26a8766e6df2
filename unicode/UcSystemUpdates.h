// Redirections of the run-time library's routines to the Unicode layer's, and the layer's own
// start-up and shut-down among the platform's layers.
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
  // The last OS error is raised as the layer's UTF-16 exception.
  tsWideExceptions = 1u << 4,
};
using TUcSystemUpdates = unsigned;
constexpr TUcSystemUpdates AllUcSystemUpdates =
    tsWideResourceStrings | tsFixImplicitCodePage | tsFixWideStrConcat | tsFixWideFormat | tsWideExceptions;

// Saves the library's hooks (once) and installs the layer's for `updates`.
void InstallUcSystemUpdates(TUcSystemUpdates updates = AllUcSystemUpdates);
// Puts back the hooks saved by the first install; nothing when none is installed.
void UninstallUcSystemUpdates();

// Adds the Unicode layer to the platform's layers (before platform::Startup): its start reads
// the platform flags, its stop undoes the redirections and releases the shell binding, the
// version strings and this thread's currency strings.
void RegisterUnicodeLayer();
