// Start-up and shut-down of the picture classes: run once by the program after the platform
// (no static constructor does it), they register the classes with the picture registry and
// take them out again.
#pragma once

namespace pictures {
void Startup();
void Shutdown();
}  // namespace pictures
