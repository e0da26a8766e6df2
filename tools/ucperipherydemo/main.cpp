// The Unicode controls demo program: shows the demo form of the layer's controls on the desktop
// (or, with PLATFORM_BACKEND=headless, draws it in memory and can save it as a PNG).
//
//   ucperipherydemo [--quit-after MS] [--screenshot FILE.png]
//
// --quit-after ends the program after that many milliseconds (for scripted runs);
// --screenshot, on the headless backend, saves the form's pixels and exits.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "TUcPeripheryDemo.h"
#include "platform/backend/HeadlessDriver.h"
#include "platform/backend/gtk/BackendChoice.h"
#include "platform/forms/PlatformStartup.h"
#include "platform/forms/TApplication.h"
#include "platform/forms/TTimer.h"
#include "unicode/UcLayer.h"

int main(int argc, char** argv) {
  int quitAfter = 0;
  std::string screenshot;
  for (int i = 1; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--quit-after") && i + 1 < argc) {
      quitAfter = std::atoi(argv[++i]);
    } else if (!std::strcmp(argv[i], "--screenshot") && i + 1 < argc) {
      screenshot = argv[++i];
    } else {
      std::fprintf(stderr, "usage: ucperipherydemo [--quit-after MS] [--screenshot FILE.png]\n");
      return 2;
    }
  }

  platform::StartupOptions options;
  platform::desktop::BackendKind kind;
  std::string error;
  if (!platform::desktop::StartBackend(&options.backend, &kind, &error)) {
    std::fprintf(stderr, "ucperipherydemo: %s\n", error.c_str());
    return 1;
  }
  const bool headless = kind == platform::desktop::BackendKind::Headless;
  if (headless && screenshot.empty()) {
    std::fprintf(stderr,
                 "ucperipherydemo: no display to show the form on (DISPLAY is not set or does not open);\n"
                 "tools/run starts it under Xvfb, or give --screenshot FILE.png to draw it headless\n");
    return 1;
  }
  unicode::RegisterLayer();
  platform::Startup(std::move(options));
  RegisterUcPeripheryDemo();
  Application->Initialize();
  Application->SetTitle("Unicode controls demo");
  TUcPeripheryDemo* form = nullptr;
  Application->CreateForm(form);

  int status = 0;
  if (headless) {
    form->Show();
    platform::headless::Driver().RunUntilIdle();
    if (platform::headless::Driver().SavePng(form->Handle(), screenshot)) {
      std::printf("ucperipherydemo: the form's pixels are in %s\n", screenshot.c_str());
    } else {
      std::fprintf(stderr, "ucperipherydemo: could not write %s\n", screenshot.c_str());
      status = 1;
    }
  } else {
    TTimer* quit = nullptr;
    if (quitAfter > 0) {
      quit = new TTimer(Application);
      quit->SetInterval(unsigned(quitAfter));
      quit->OnTimer = [](TObject*) { Application->Terminate(); };
    }
    Application->Run();
  }
  platform::Shutdown();
  return status;
}
