#include "pictures/png/TPNGList.h"

#include <memory>

#include "pictures/png/PngExceptions.h"
#include "pictures/png/TChunkIDAT.h"
#include "pictures/png/TChunkIEND.h"
#include "pictures/png/TChunkIHDR.h"
#include "pictures/png/TChunkPLTE.h"
#include "pictures/png/TChunkgAMA.h"
#include "pictures/png/TChunkpHYs.h"
#include "pictures/png/TChunktRNS.h"
#include "pictures/png/TPNGObject.h"

void TPNGList::RemoveChunk(TChunk* chunk) {
  Remove(chunk);
  delete chunk;
}

namespace {
template <class T>
bool Is(const TChunk* chunk) {
  return dynamic_cast<const T*>(chunk) != nullptr;
}
}  // namespace

TChunk* TPNGList::Place(TChunk* created) {
  std::unique_ptr<TChunk> chunk(created);
  const bool beingCreated = Owner() && Owner()->BeingCreated();
  const bool critical = Is<TChunkIHDR>(chunk.get()) || Is<TChunkIDAT>(chunk.get()) ||
                        Is<TChunkPLTE>(chunk.get()) || Is<TChunkIEND>(chunk.get());
  const bool single = (Is<TChunkgAMA>(chunk.get()) && FindChunk<TChunkgAMA>()) ||
                      (Is<TChunktRNS>(chunk.get()) && FindChunk<TChunktRNS>()) ||
                      (Is<TChunkpHYs>(chunk.get()) && FindChunk<TChunkpHYs>());
  if ((!beingCreated && critical) || single) RaiseError<EPngError>(pngtext::ExistentCriticalChunk);
  if (!beingCreated && (!FindChunk<TChunkIEND>() || !FindChunk<TChunkIHDR>()))
    RaiseError<EPngError>(pngtext::InvalidImage);

  auto indexOf = [this](TChunk* c) -> std::uint32_t {
    for (std::uint32_t i = 0; i < Count(); ++i)
      if (Item(i) == c) return i;
    return Count();
  };
  TChunk* ihdr = FindChunk<TChunkIHDR>();
  TChunk* iend = FindChunk<TChunkIEND>();
  auto afterHeader = [&] { return ihdr ? indexOf(ihdr) + 1 : 0u; };
  // Insert does nothing at the end of a non-empty list: Add serves that place.
  auto putAt = [this](TChunk* c, std::uint32_t position) {
    if (position >= Count()) {
      TPNGPointerList::Add(c);
    } else {
      Insert(c, position);
    }
  };

  TChunk* raw = chunk.release();
  if (Is<TChunkgAMA>(raw) || Is<TChunkpHYs>(raw) || Is<TChunkPLTE>(raw)) {
    putAt(raw, afterHeader());
  } else if (Is<TChunkIEND>(raw)) {
    TPNGPointerList::Add(raw);
  } else if (Is<TChunkIHDR>(raw)) {
    Insert(raw, 0);
  } else if (Is<TChunktRNS>(raw)) {
    if (TChunk* plte = FindChunk<TChunkPLTE>()) {
      putAt(raw, indexOf(plte) + 1);
    } else if (TChunk* idat = FindChunk<TChunkIDAT>()) {
      putAt(raw, indexOf(idat));
    } else {
      putAt(raw, afterHeader());
    }
  } else {
    putAt(raw, iend ? indexOf(iend) : Count());
  }
  return raw;
}
