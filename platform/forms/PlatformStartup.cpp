// The ordered start-up and shut-down of every platform layer.
#include "platform/forms/PlatformStartup.h"

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <optional>
#include <vector>

#include "platform/backend/HeadlessDriver.h"
#include "platform/backend/audio/AudioDevice.h"
#include "platform/backend/audio/SdlAudioDevice.h"
#include "platform/controls/Controls.h"
#include "platform/controls/ThemeServices.h"
#include "platform/forms/TApplication.h"
#include "platform/rtl/CodePage.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/MainThread.h"
#include "platform/rtl/Synchronize.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/TThread.h"

namespace platform {

namespace {

struct Run {
  bool headless = false;
  UINT codePage = 0;  // the page before start-up, put back at shut-down
  bool runtimeFolderSet = false;
  std::optional<std::string> runtimeFolderBefore;
};

std::optional<Run>& Current() {
  static std::optional<Run> run;
  return run;
}

struct Layer {
  std::string name;
  std::function<void()> start, stop;
};

std::vector<Layer>& Layers() {
  static std::vector<Layer> layers;
  return layers;
}

// The layers started in this run, in order.
std::vector<Layer>& StartedLayers() {
  static std::vector<Layer> started;
  return started;
}

}  // namespace

void Startup(StartupOptions options) {
  if (Current()) throw EInvalidOperation("The platform is running already");
  Run run;
  run.headless = !options.backend;

  // Run-time library: the system code page, the clock and the interface thread.
  run.codePage = GetACP();
  if (options.codePage && !SetSystemCodePage(options.codePage))
    throw EInvalidOperation(("Code page " + std::to_string(options.codePage) + " is not available").c_str());
  if (!run.headless) SetClock(options.clock);
  SetMainThread();
  IgnoreFileSizeSignal();

  // Window system: the runtime folder the endpoint uses, then the backend with the window tables
  // and system colours (headless also installs its driver and fake clock).
  if (!options.runtimeFolder.empty()) {
    if (const char* before = std::getenv("PLATFORM_RUNTIME_DIR")) run.runtimeFolderBefore = before;
    setenv("PLATFORM_RUNTIME_DIR", options.runtimeFolder.c_str(), 1);
    run.runtimeFolderSet = true;
  }
  if (run.headless)
    headless::Install();
  else
    win::Startup(std::move(options.backend));

  // Drawing needs nothing up front: fonts, the text engine and stock objects are made on first
  // use. System classes and services: the classes, theme services absent, the sound output.
  controls::Startup();
  controls::SetLibraryLoader(nullptr, nullptr);
  if (run.headless)
    audio::SetDevice(std::make_unique<audio::RecordingDevice>());
  else if (options.systemSound)
    audio::SetDevice(audio::MakeSystemDevice());
  else
    audio::SetDevice(std::make_unique<audio::SilentDevice>());

  // The form library: the application object, its classes and picture formats.
  Current() = std::move(run);
  FormsStartup();

  // The layers above the form library.
  StartedLayers().clear();
  for (const Layer& layer : Layers()) {
    if (layer.start) layer.start();
    StartedLayers().push_back(layer);
  }
}

void AddLayer(const std::string& name, std::function<void()> start, std::function<void()> stop) {
  for (Layer& layer : Layers())
    if (layer.name == name) {
      layer.start = std::move(start);
      layer.stop = std::move(stop);
      return;
    }
  Layers().push_back(Layer{name, std::move(start), std::move(stop)});
}

void RemoveLayer(const std::string& name) {
  auto& layers = Layers();
  layers.erase(std::remove_if(layers.begin(), layers.end(), [&](const Layer& l) { return l.name == name; }),
               layers.end());
}

void Shutdown() {
  if (!Current()) return;
  const Run run = *Current();
  // The layers above stop first, in reverse, while the forms they serve still exist.
  std::vector<Layer> started = std::move(StartedLayers());
  StartedLayers().clear();
  for (auto it = started.rbegin(); it != started.rend(); ++it)
    if (it->stop) it->stop();
  // The forms go while everything they use is still there.
  FormsShutdown();
  // Threads end (their OnTerminate and Synchronize calls run here), then whatever is still queued.
  TerminateThreads();
  while (CheckSynchronize(0)) {
  }
  audio::SetDevice(std::make_unique<audio::SilentDevice>());
  // The window system: windows, the endpoint with its socket and lock, the backend, the tables.
  if (run.headless)
    headless::Uninstall();
  else
    win::Shutdown();
  if (run.runtimeFolderSet) {
    if (run.runtimeFolderBefore)
      setenv("PLATFORM_RUNTIME_DIR", run.runtimeFolderBefore->c_str(), 1);
    else
      unsetenv("PLATFORM_RUNTIME_DIR");
  }
  SetClock(nullptr);
  SetSystemCodePage(run.codePage);
  Current().reset();
}

bool Started() { return Current().has_value(); }

bool HeadlessRun() { return Current() && Current()->headless; }

}  // namespace platform
