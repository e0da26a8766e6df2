#include "DemoMain.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/backend/HeadlessDriver.h"
#include "platform/backend/gtk/BackendChoice.h"
#include "platform/forms/PlatformStartup.h"
#include "platform/forms/TApplication.h"
#include "platform/forms/TForm.h"
#include "platform/forms/TTimer.h"

int RunDemoProgram(int argc, char** argv, const DemoProgram& program) {
  const char* name = program.name;
  int quitAfter = 0;
  std::string screenshot;
  for (int i = 1; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--quit-after") && i + 1 < argc) {
      quitAfter = std::atoi(argv[++i]);
    } else if (!std::strcmp(argv[i], "--screenshot") && i + 1 < argc) {
      screenshot = argv[++i];
    } else {
      std::fprintf(stderr, "usage: %s [--quit-after MS] [--screenshot FILE.png]\n", name);
      return 2;
    }
  }

  platform::StartupOptions options;
  platform::desktop::BackendKind kind;
  std::string error;
  if (!platform::desktop::StartBackend(&options.backend, &kind, &error)) {
    std::fprintf(stderr, "%s: %s\n", name, error.c_str());
    return 1;
  }
  const bool headless = kind == platform::desktop::BackendKind::Headless;
  if (headless && screenshot.empty()) {
    std::fprintf(stderr,
                 "%s: no display to show the form on (DISPLAY is not set or does not open);\n"
                 "tools/run starts it under Xvfb, or give --screenshot FILE.png to draw it headless\n",
                 name);
    return 1;
  }
  if (program.beforeStartup) program.beforeStartup();
  platform::Startup(std::move(options));
  program.registerClasses();
  Application->Initialize();
  Application->SetTitle(program.title);
  TForm* form = program.createForm();

  int status = 0;
  if (headless) {
    form->Show();
    platform::headless::Driver().RunUntilIdle();
    if (platform::headless::Driver().SavePng(form->Handle(), screenshot)) {
      std::printf("%s: the form's pixels are in %s\n", name, screenshot.c_str());
    } else {
      std::fprintf(stderr, "%s: could not write %s\n", name, screenshot.c_str());
      status = 1;
    }
  } else {
    if (quitAfter > 0) {
      auto* quit = new TTimer(Application);
      quit->SetInterval(unsigned(quitAfter));
      quit->OnTimer = [](TObject*) { Application->Terminate(); };
    }
    Application->Run();
  }
  platform::Shutdown();
  return status;
}
