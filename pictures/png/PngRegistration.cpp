#include "pictures/png/PngRegistration.h"

#include "pictures/png/ChunkRegistry.h"
#include "pictures/png/TPNGObject.h"
#include "platform/forms/TPicture.h"

namespace pictures {
void RegisterPng() {
  FreeChunkClasses();
  RegisterCommonChunks();
  TPicture::RegisterFileFormat<TPNGObject>("PNG", "Portable Network Graphics", "TPNGObject");
}

void UnregisterPng() {
  TPicture::UnregisterGraphicClass(&typeid(TPNGObject));
  FreeChunkClasses();
}
}  // namespace pictures
