#include "imagelib/CImageIterator.h"

#include <cstring>

#include "imagelib/IxImage.h"

CImageIterator::CImageIterator(IxImage* image) : Itx(0), Ity(0), IterImage(nullptr), ima(image) {
  if (ima != nullptr) IterImage = ima->GetBits(0);
}

void CImageIterator::SetY(int32_t y) {
  if (ima == nullptr || y < 0 || y >= static_cast<int64_t>(ima->GetHeight())) return;
  Ity = y;
  IterImage = ima->GetBits(y);
}

uint8_t* CImageIterator::GetRow(int32_t y) {
  SetY(y);
  return IterImage;
}

void CImageIterator::GetRow(uint8_t* buffer, int32_t count) const {
  if (buffer == nullptr || count <= 0 || IterImage == nullptr || ima == nullptr) return;
  const uint32_t rowSize = ima->GetEffWidth();
  const uint32_t n = static_cast<uint32_t>(count) > rowSize ? rowSize : static_cast<uint32_t>(count);
  memcpy(buffer, IterImage, n);
}

void CImageIterator::SetRow(const uint8_t* buffer, int32_t count) {
  if (buffer == nullptr || IterImage == nullptr || ima == nullptr) return;
  const uint32_t rowSize = ima->GetEffWidth();
  uint32_t n = static_cast<uint32_t>(count);
  if (count < 0 || n > rowSize) n = rowSize;
  memcpy(IterImage, buffer, n);
}

void CImageIterator::MoveToTopRow() {
  if (ima == nullptr) return;
  Itx = 0;
  Ity = static_cast<int32_t>(ima->GetHeight()) - 1;
  IterImage = ima->GetBits(Ity < 0 ? 0 : Ity);
}

bool CImageIterator::PrevRow() {
  if (--Ity < 0) return false;
  if (ima != nullptr) IterImage = ima->GetBits(Ity);
  return true;
}

bool CImageIterator::InRange() const { return ima != nullptr && ima->IsInside(Itx, Ity); }
