// Holding a picture's painter list for a scope: painters register and leave under it, and what
// changes the frames under the painters' feet (optimising) holds it throughout.
#pragma once

#include "platform/rtl/TList.h"

class TGIFPainter;

class PainterListLock {
 public:
  explicit PainterListLock(TThreadList& list) : list_(list), items_(list.LockList()) {}
  ~PainterListLock() { list_.UnlockList(); }
  PainterListLock(const PainterListLock&) = delete;
  PainterListLock& operator=(const PainterListLock&) = delete;

  TList* operator->() const { return items_; }
  TGIFPainter* At(int index) const { return static_cast<TGIFPainter*>(items_->Items(index)); }

 private:
  TThreadList& list_;
  TList* items_;
};
