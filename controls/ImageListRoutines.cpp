#include "controls/ImageListRoutines.h"

#include <algorithm>

namespace {

// The part of `bitmap` at (x, 0) of the list's size, added masked.
int AddPart(TImageList* list, TBitmap* bitmap, int x, int w, int h, TColor key) {
  TBitmap part;
  part.SetPixelFormat(pf32bit);
  part.SetSize(list->Width(), list->Height());
  part.Canvas()->Brush()->SetColor(key);
  part.Canvas()->FillRect(RECT{0, 0, list->Width(), list->Height()});
  const int cw = std::min(w, list->Width()), ch = std::min(h, list->Height());
  part.Canvas()->CopyRect(RECT{0, 0, cw, ch}, bitmap->Canvas(), RECT{x, 0, x + cw, ch});
  return list->AddMasked(&part, key);
}

}  // namespace

TColor GlyphMaskColor(TBitmap* bitmap) {
  const int y = bitmap->Height() > 15 ? 15 : bitmap->Height() - 1;
  return static_cast<TColor>(bitmap->Canvas()->Pixels(0, y) & 0xFFFFFF);
}

void AddImageToImageList(TImageList* list, TBitmap* bitmap, int& first, int& second) {
  first = second = -1;
  if (!list || !bitmap || bitmap->Empty() || bitmap->Width() <= 0 || bitmap->Height() <= 0) return;
  const int w = bitmap->Width(), h = bitmap->Height();
  const TColor key = GlyphMaskColor(bitmap);
  if (w == 2 * h) {
    first = AddPart(list, bitmap, 0, h, h, key);
    second = AddPart(list, bitmap, h, h, h, key);
  } else {
    first = AddPart(list, bitmap, 0, w == h ? w : list->Width(), w == h ? h : list->Height(), key);
  }
}
