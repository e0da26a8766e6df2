// The chunk-class registry: which class reads a chunk of a given four-letter name.
#pragma once

#include "pictures/png/TChunk.h"

using TChunkFactory = TChunk* (*)(TPNGObject* owner);
struct TChunkClass {
  const char* Name;
  TChunkFactory Create;
};

// Appends a class (the list is made on first use); the first class of a name wins.
void RegisterChunk(const TChunkClass& chunkClass);
template <class T>
void RegisterChunk() {
  RegisterChunk(TChunkClass{T::kChunkName, [](TPNGObject* owner) -> TChunk* { return new T(owner); }});
}
// Registers the chunk classes the picture class reads itself.
void RegisterCommonChunks();
void FreeChunkClasses();
// A chunk of the registered class for the name (case matters), else a plain TChunk; either
// way it carries the name given.
TChunk* CreateChunkByName(TPNGObject* owner, const TChunkName& name);
