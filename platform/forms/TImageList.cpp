#include "platform/forms/TImageList.h"

#include <algorithm>

#include "platform/forms/TBitmap.h"

namespace {

// Every pixel of a bitmap as 0x00RRGGBB, top-down, through a 32-bit copy.
std::vector<std::uint32_t> PixelsOf(TBitmap* source) {
  TBitmap copy;
  copy.Assign(source);
  copy.SetPixelFormat(pf32bit);
  std::vector<std::uint32_t> out;
  out.reserve(std::size_t(copy.Width()) * std::size_t(copy.Height()));
  for (int y = 0; y < copy.Height(); ++y) {
    auto* row = static_cast<std::uint32_t*>(copy.ScanLine(y));
    for (int x = 0; x < copy.Width(); ++x) out.push_back(row[x] & 0xFFFFFF);
  }
  return out;
}

}  // namespace

void TImageList::SetWidth(int value) {
  value = std::max(value, 1);
  if (width_ == value) return;
  width_ = value;
  Clear();
}

void TImageList::SetHeight(int value) {
  value = std::max(value, 1);
  if (height_ == value) return;
  height_ = value;
  Clear();
}

int TImageList::AddPictures(TBitmap* image, auto&& uncovered) {
  if (!image || image->Empty() || image->Height() < height_) return -1;
  int count = image->Width() / width_;
  if (count <= 0) return -1;
  std::vector<std::uint32_t> pixels = PixelsOf(image);
  int stride = image->Width();
  int first = Count();
  for (int n = 0; n < count; ++n) {
    TMaskedImage picture;
    picture.Width = width_;
    picture.Height = height_;
    for (int y = 0; y < height_; ++y)
      for (int x = 0; x < width_; ++x) {
        std::size_t i = std::size_t(y) * std::size_t(stride) + std::size_t(n * width_ + x);
        picture.Pixels.push_back(pixels[i]);
        picture.Opaque.push_back(uncovered(i, pixels[i]) ? 0 : 1);
      }
    images_.push_back(std::move(picture));
  }
  Changed();
  return first;
}

int TImageList::Add(TBitmap* image, TBitmap* mask) {
  if (!mask || mask->Empty()) return AddPictures(image, [](std::size_t, std::uint32_t) { return false; });
  if (!image || mask->Width() < image->Width() || mask->Height() < image->Height()) return -1;
  std::vector<std::uint32_t> bits = PixelsOf(mask);
  int maskStride = mask->Width(), stride = image->Width();
  return AddPictures(image, [&](std::size_t i, std::uint32_t) {
    std::size_t y = i / std::size_t(stride), x = i % std::size_t(stride);
    return (bits[y * std::size_t(maskStride) + x] & 0xFFFFFF) != 0;
  });
}

int TImageList::AddMasked(TBitmap* image, TColor maskColor) {
  COLORREF c = ColorToRGB(maskColor);
  std::uint32_t key = ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
  return AddPictures(image, [key](std::size_t, std::uint32_t px) { return px == key; });
}

void TImageList::Delete(int index) {
  if (index < 0 || index >= Count()) return;
  images_.erase(images_.begin() + index);
  Changed();
}

void TImageList::Clear() {
  if (images_.empty()) return;
  images_.clear();
  Changed();
}

void TImageList::Draw(TCanvas* canvas, int x, int y, int index, bool enabled) const {
  if (!canvas || index < 0 || index >= Count()) return;
  const TMaskedImage& picture = images_[static_cast<std::size_t>(index)];
  if (enabled)
    picture.Draw(canvas, RECT{x, y, x + width_, y + height_});
  else
    picture.DrawDisabled(canvas, x, y);
}

void TImageList::Changed() {
  if (OnChange) OnChange(this);
}
