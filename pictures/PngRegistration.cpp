#include "pictures/PngRegistration.h"

#include "pictures/ChunkRegistry.h"
#include "pictures/TPNGObject.h"
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
