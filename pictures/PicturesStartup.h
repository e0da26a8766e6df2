// Start-up and shut-down of the picture classes: run once by the program after the platform
// has started and before it stops (no static constructor does it). Start registers the GIF
// class ("GIF", its clipboard format "GIF Image" in CF_GIF) and the PNG class with the picture
// registry and looks at the screen's depth; shut-down stops every GIF painter and takes the
// classes out again. Entering either a second time does nothing.
#pragma once

namespace pictures {
void Startup();
void Shutdown();
// The GIF class alone (Startup runs it).
void RegisterGif();
void UnregisterGif();
}  // namespace pictures
