// The editor program: chooses where its windows go (the desktop, or headless when there is no
// display), starts the platform and runs the editor with its command line
// ("mmseditor open MESSAGE.mms" opens a message file).
#include <cstdio>
#include <string>
#include <vector>

#include "editor/EditorStart.h"
#include "pictures/PicturesStartup.h"
#include "platform/backend/gtk/BackendChoice.h"
#include "platform/forms/PlatformStartup.h"
#include "platform/rtl/Program.h"
#include "unicode/UcLayer.h"

int main(int argc, char** argv) {
  platform::StartupOptions options;
  platform::desktop::BackendKind kind;
  std::string error;
  if (!platform::desktop::StartBackend(&options.backend, &kind, &error)) {
    std::fprintf(stderr, "mmseditor: %s\n", error.c_str());
    return 1;
  }
  platform::SetCommandLine(argc, argv);
  const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + (argc > 0 ? argc : 0));
  if (kind == platform::desktop::BackendKind::Headless) {
    // Without a display nobody would see the editor. A second editor still ends quietly first.
    if (!ClaimSingleInstance() || !ClaimWorkingFolder()) return 0;
    std::fprintf(stderr,
                 "mmseditor: no display to show the editor on (DISPLAY is not set or does not open);\n"
                 "tools/run starts it under a virtual display\n");
    return 1;
  }
  unicode::RegisterLayer();
  platform::Startup(std::move(options));
  const int status = EditorMain(args);
  pictures::Shutdown();
  platform::Shutdown();
  return status;
}
