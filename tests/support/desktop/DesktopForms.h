// The form library on the private X display: the desktop tests of forms, pictures and the
// Unicode controls start the whole platform over the desktop backend with a runtime folder of
// their own, and end it again. Header only: its users link the form library themselves.
#pragma once

#include <stdlib.h>
#include <unistd.h>

#include <string>

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

}  // namespace desktoptest
