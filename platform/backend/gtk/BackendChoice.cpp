// The start-up choice between the desktop and the headless backend.
#include "platform/backend/gtk/BackendChoice.h"

#include <cstdlib>

#include "platform/backend/gtk/GtkBackend.h"

namespace platform::desktop {

bool StartBackend(std::unique_ptr<win::Backend>* backend, BackendKind* chosen, std::string* error) {
  const char* asked = std::getenv("PLATFORM_BACKEND");
  const std::string want = asked ? asked : "";
  if (!want.empty() && want != "headless" && want != "gtk") {
    if (error) *error = "PLATFORM_BACKEND must be \"headless\" or \"gtk\", not \"" + want + "\"";
    return false;
  }
  std::string why;
  const bool desktop = want != "headless" && OpenDesktop(&why);
  if (want == "gtk" && !desktop) {
    if (error) *error = "the desktop backend was asked for, but " + why;
    return false;
  }
  if (backend) *backend = desktop ? MakeGtkBackend() : nullptr;
  if (chosen) *chosen = desktop ? BackendKind::Desktop : BackendKind::Headless;
  return true;
}

}  // namespace platform::desktop
