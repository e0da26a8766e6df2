// TImageList: a row of small pictures of one size, each with its covered pixels, drawn by
// index. A bitmap added holds as many pictures side by side as its width allows.
#pragma once

#include <vector>

#include "platform/forms/MaskedImage.h"
#include "platform/forms/TColor.h"
#include "platform/forms/TComponent.h"

class TBitmap;
class TCanvas;

class TImageList : public TComponent {
 public:
  explicit TImageList(TComponent* owner) : TComponent(owner) {}

  int Width() const { return width_; }
  // Changing the size drops every picture.
  void SetWidth(int value);
  int Height() const { return height_; }
  void SetHeight(int value);
  int Count() const { return static_cast<int>(images_.size()); }

  // Adds the pictures of `image`; `mask` (optional, same size) is white where a picture is
  // uncovered. Returns the index of the first picture added, or -1 when none fits.
  int Add(TBitmap* image, TBitmap* mask);
  // Adds the pictures of `image`, uncovered where they have `maskColor`.
  int AddMasked(TBitmap* image, TColor maskColor);
  void Delete(int index);
  void Clear();
  // Draws picture `index` at (x, y); a disabled one greyed. A bad index draws nothing.
  void Draw(TCanvas* canvas, int x, int y, int index, bool enabled = true) const;

  TNotifyEvent OnChange;

 private:
  int AddPictures(TBitmap* image, auto&& uncovered);
  void Changed();

  int width_ = 16, height_ = 16;
  std::vector<TMaskedImage> images_;
};
