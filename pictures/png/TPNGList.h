// TPNGList: the chunks of one image in file order. Add places a new chunk where the format
// wants it and refuses a second copy of the chunks an image has only once.
#pragma once

#include "pictures/png/TChunk.h"
#include "pictures/png/TPNGPointerList.h"

class TPNGList : public TPNGPointerList {
 public:
  using TPNGPointerList::TPNGPointerList;

  TChunk* Item(std::uint32_t i) const { return static_cast<TChunk*>(GetItem(i)); }
  // The first chunk of class T or a class derived from it; null when none.
  template <class T>
  T* FindChunk() const {
    for (std::uint32_t i = 0; i < Count(); ++i)
      if (auto* chunk = dynamic_cast<T*>(Item(i))) return chunk;
    return nullptr;
  }
  // Removes the chunk and frees it.
  void RemoveChunk(TChunk* chunk);
  // Makes a chunk of class T owned by the list's image and places it (see Place).
  template <class T>
  T* Add() {
    return static_cast<T*>(Place(new T(Owner())));
  }

 private:
  // Checks the list's rules (the chunk is freed when they refuse it) and inserts the chunk.
  TChunk* Place(TChunk* chunk);
};
