#include "pictures/png/ChunkRegistry.h"

#include <cstring>
#include <vector>

#include "pictures/png/TChunkIDAT.h"
#include "pictures/png/TChunkIEND.h"
#include "pictures/png/TChunkIHDR.h"
#include "pictures/png/TChunkPLTE.h"
#include "pictures/png/TChunkgAMA.h"
#include "pictures/png/TChunkpHYs.h"
#include "pictures/png/TChunktEXt.h"
#include "pictures/png/TChunktIME.h"
#include "pictures/png/TChunktRNS.h"
#include "pictures/png/TChunkzTXt.h"

namespace {
std::vector<TChunkClass>* chunkClasses = nullptr;
}

void RegisterChunk(const TChunkClass& chunkClass) {
  if (!chunkClasses) chunkClasses = new std::vector<TChunkClass>;
  chunkClasses->push_back(chunkClass);
}

void RegisterCommonChunks() {
  RegisterChunk<TChunkIEND>();
  RegisterChunk<TChunkIHDR>();
  RegisterChunk<TChunkIDAT>();
  RegisterChunk<TChunkPLTE>();
  RegisterChunk<TChunkgAMA>();
  RegisterChunk<TChunktRNS>();
  RegisterChunk<TChunkpHYs>();
  RegisterChunk<TChunktIME>();
  RegisterChunk<TChunktEXt>();
  RegisterChunk<TChunkzTXt>();
}

void FreeChunkClasses() {
  delete chunkClasses;
  chunkClasses = nullptr;
}

TChunk* CreateChunkByName(TPNGObject* owner, const TChunkName& name) {
  TChunk* chunk = nullptr;
  if (chunkClasses)
    for (const TChunkClass& c : *chunkClasses)
      if (std::strlen(c.Name) == 4 && std::memcmp(c.Name, name.data(), 4) == 0) {
        chunk = c.Create(owner);
        break;
      }
  if (!chunk) chunk = new TChunk(owner);
  chunk->SetName(name);
  return chunk;
}
