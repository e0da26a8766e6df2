// The platform's one ordered start-up and shut-down, run on the interface thread: the run-time
// library, the window system over the chosen backend, drawing, the system classes and services,
// then the form library. Shut-down undoes them in reverse. No static constructor does any of it.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/rtl/Clock.h"
#include "platform/rtl/Types.h"
#include "platform/win/Backend.h"

namespace platform {

struct StartupOptions {
  // Where the windows go; null for the headless backend with its test driver (fake clock).
  std::unique_ptr<win::Backend> backend;
  // The system code page (0: leave it as it is, UTF-8 unless a test set another).
  UINT codePage = 0;
  // A clock to run on instead of the steady one (a backend of our own only; headless runs on
  // its driver's fake clock).
  Clock* clock = nullptr;
  // The runtime folder for the endpoint and the single-instance lock (empty: from the
  // environment, see win::RuntimeFolder).
  std::string runtimeFolder;
  // The system's sound output for a desktop run; false keeps the silent device. Headless runs
  // always get the recording device.
  bool systemSound = true;
};

// Starts every layer in order (the calling thread becomes the interface thread). Raises
// EInvalidOperation when the platform is running already.
void Startup(StartupOptions options = {});
// Stops them in reverse: the application frees its forms, running threads are asked to end and
// waited for, queued Synchronize calls run, then the endpoint (its socket and lock removed), the
// backend and the window tables go. Nothing when not started.
void Shutdown();
bool Started();
// True when the running backend is the headless one.
bool HeadlessRun();

// A layer above the form library (the Unicode layer): `start` runs at the end of Startup, after
// the form library, and `stop` at the start of Shutdown, before the forms are freed; layers stop
// in the reverse order of starting. Called before Startup; adding a name again replaces its
// procedures. Either may be null.
void AddLayer(const std::string& name, std::function<void()> start, std::function<void()> stop);
// Takes a layer out of the next start-ups.
void RemoveLayer(const std::string& name);

}  // namespace platform
