// A row cursor over an image object; decoders that deliver rows from the top of the picture call
// MoveToTopRow once and then SetRow and PrevRow for each row.
#pragma once

#include <cstdint>

class IxImage;

class CImageIterator {
 public:
  explicit CImageIterator(IxImage* image);

  void SetY(int32_t y);
  uint8_t* GetRow(int32_t y);
  uint8_t* GetRow() const { return IterImage; }
  // Copies at most one row's bytes; nothing for count <= 0 or a null buffer.
  void GetRow(uint8_t* buffer, int32_t count) const;
  // A count below 0 or above the row size means the row size.
  void SetRow(const uint8_t* buffer, int32_t count);
  void MoveToTopRow();
  bool PrevRow();
  bool InRange() const;
  int32_t GetX() const { return Itx; }
  int32_t GetY() const { return Ity; }

 private:
  int32_t Itx;
  int32_t Ity;
  uint8_t* IterImage;
  IxImage* ima;
};
