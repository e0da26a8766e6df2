#include "pictures/PicturesStartup.h"

#include "pictures/PngRegistration.h"

namespace pictures {
void Startup() { RegisterPng(); }
void Shutdown() { UnregisterPng(); }
}  // namespace pictures
