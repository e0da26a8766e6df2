// Start-up and shut-down of the Unicode control layer: its message and window-property atoms,
// lists, popup list, application object and message hook. Shut-down unhooks first.
#pragma once

namespace unicode {
void LayerStartup();
void LayerShutdown();
// Adds the layer to the platform's start-up (call before platform::Startup).
void RegisterLayer();
}  // namespace unicode
