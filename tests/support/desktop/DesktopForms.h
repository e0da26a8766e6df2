// The form library on the private X display: the desktop tests of forms, pictures and the
// Unicode controls start the whole platform over the desktop backend with a runtime folder of
// their own, end it again, and compare what the X screen shows with the headless pixels. Header
// only: its users link the form library themselves.
#pragma once

#include <stdlib.h>
#include <unistd.h>

#include <string>

#include "DesktopSession.h"
#include "platform/backend/HeadlessDriver.h"
#include "platform/backend/gtk/GtkBackend.h"
#include "platform/forms/PlatformStartup.h"

namespace desktoptest {

// Starts the platform over the desktop backend (silent sound); the runtime folder it made, empty
// when none could be made (then nothing was started).
inline std::string StartFormsOnDesktop() {
  char folder[] = "/tmp/mmsforms-test-XXXXXX";
  if (!mkdtemp(folder)) return {};
  platform::StartupOptions options;
  options.backend = platform::desktop::MakeGtkBackend();
  options.runtimeFolder = folder;
  options.systemSound = false;
  platform::Startup(std::move(options));
  return folder;
}

// Shuts the platform down and removes the runtime folder; false when the folder could not be
// removed (the endpoint's socket or lock stayed behind).
inline bool StopFormsOnDesktop(const std::string& folder) {
  platform::Shutdown();
  return rmdir(folder.c_str()) == 0;
}

// Pixels of a window's rectangle on the X screen (its top-left at `r`) that differ from what the
// headless backend drew for it.
inline int Differing(const Screenshot& shot, const RECT& r,
                     const platform::headless::CaptureImage& expected) {
  int differing = 0;
  for (int y = 0; y < expected.height; ++y)
    for (int x = 0; x < expected.width; ++x) differing += shot.At(r.left + x, r.top + y) != expected.At(x, y);
  return differing;
}

}  // namespace desktoptest
