// The frame's part in optimising a picture: cropping to the opaque pixels and merging with the
// frame shown before it.
#include <algorithm>

#include "pictures/gif/TGIFGraphicControlExtension.h"
#include "pictures/gif/TGIFImage.h"
#include "pictures/gif/TGIFSubImage.h"

namespace {

TDisposalMethod DisposalOf(const TGIFSubImage* frame) {
  TGIFGraphicControlExtension* control = frame->GraphicControlExtension();
  return control ? control->GetDisposal() : TDisposalMethod::dmNone;
}

bool Holds(const std::vector<BYTE>& pixels, int index) {
  return std::find(pixels.begin(), pixels.end(), BYTE(index)) != pixels.end();
}

}  // namespace

void TGIFSubImage::Crop() {
  if (GetEmpty() || !transparent_ || !graphicControlExtension_) return;
  const BYTE transparent = BYTE(graphicControlExtension_->GetTransparentColorIndex());
  const int width = Width(), height = Height();
  int left = width, right = -1, top = height, bottom = -1;
  for (int y = 0; y < height; ++y) {
    const BYTE* row = pixels_.data() + std::size_t(y) * std::size_t(width);
    for (int x = 0; x < width; ++x) {
      if (row[x] == transparent) continue;
      left = std::min(left, x);
      right = std::max(right, x);
      top = std::min(top, y);
      bottom = std::max(bottom, y);
    }
  }
  if (right < 0) {
    Clear();
    return;
  }
  if (left == 0 && top == 0 && right == width - 1 && bottom == height - 1) return;
  const int newWidth = right - left + 1, newHeight = bottom - top + 1;
  std::vector<BYTE> cropped(std::size_t(newWidth) * std::size_t(newHeight));
  for (int y = 0; y < newHeight; ++y)
    std::copy_n(pixels_.data() + std::size_t(top + y) * std::size_t(width) + std::size_t(left), newWidth,
                cropped.data() + std::size_t(y) * std::size_t(newWidth));
  // Moved and resized directly: DoSetBounds would give new, empty pixels.
  descriptor_.Left = WORD(descriptor_.Left + left);
  descriptor_.Top = WORD(descriptor_.Top + top);
  descriptor_.Width = WORD(newWidth);
  descriptor_.Height = WORD(newHeight);
  pixels_ = std::move(cropped);
  SetPalette(nullptr);
}

void TGIFSubImage::Merge(TGIFSubImage* previous) {
  if (GetEmpty() || !previous || previous == this || previous->GetEmpty()) return;
  const TDisposalMethod disposal = DisposalOf(previous);
  if (disposal == TDisposalMethod::dmBackground || disposal == TDisposalMethod::dmPrevious) return;
  const RECT mine = GetBoundsRect(), theirs = previous->GetBoundsRect();
  const RECT overlap{std::max(mine.left, theirs.left), std::max(mine.top, theirs.top),
                     std::min(mine.right, theirs.right), std::min(mine.bottom, theirs.bottom)};
  if (overlap.left >= overlap.right || overlap.top >= overlap.bottom) return;

  const bool wasTransparent = transparent_ && graphicControlExtension_;
  TGIFColorMap* table = GetActiveColorMap();
  TGIFColorMap* theirTable = previous->GetActiveColorMap();
  const bool local = colorMap_->Count() > 0;
  TGIFColorMap* global = image_ ? image_->GetColorMap() : nullptr;
  if (!wasTransparent) {
    const bool room =
        local ? colorMap_->Count() < 256 : global && global->Count() > 0 && global->Count() < 256;
    if (!room) return;
  }
  const int theirTransparent = previous->transparent_ && previous->graphicControlExtension_
                                   ? previous->graphicControlExtension_->GetTransparentColorIndex()
                                   : -1;
  const int ownTransparent = wasTransparent ? graphicControlExtension_->GetTransparentColorIndex() : -1;

  // The pixels that repeat the previous frame, found before any index is chosen.
  std::vector<std::size_t> repeats;
  for (int y = overlap.top; y < overlap.bottom; ++y) {
    const BYTE* row = pixels_.data() + std::size_t(y - Top()) * std::size_t(Width());
    const BYTE* theirRow =
        previous->pixels_.data() + std::size_t(y - previous->Top()) * std::size_t(previous->Width());
    for (int x = overlap.left; x < overlap.right; ++x) {
      const int p = row[x - Left()], q = theirRow[x - previous->Left()];
      if (p == ownTransparent || q == theirTransparent) continue;
      const bool same = table == theirTable ? p == q
                                            : p < table->Count() && q < theirTable->Count() &&
                                                  table->Colors(p) == theirTable->Colors(q);
      if (same) repeats.push_back(std::size_t(y - Top()) * std::size_t(Width()) + std::size_t(x - Left()));
    }
  }
  if (repeats.empty()) return;

  int index = ownTransparent;
  if (index < 0) {
    // Another frame's transparent index serves only when none of this frame's pixels holds it.
    if (!local && image_) {
      for (int i = 0; i < image_->Images()->Count() && index < 0; ++i) {
        TGIFSubImage* other = image_->Images()->GetImage(i);
        if (other == this || !other->transparent_ || !other->graphicControlExtension_ ||
            other->colorMap_->Count() > 0)
          continue;
        const int candidate = other->graphicControlExtension_->GetTransparentColorIndex();
        if (!Holds(pixels_, candidate)) index = candidate;
        break;
      }
    }
    if (index < 0) index = (local ? colorMap_.get() : global)->Add(clBlack);
  }
  for (std::size_t at : repeats) pixels_[at] = BYTE(index);
  if (!wasTransparent) {
    TGIFGraphicControlExtension* control = graphicControlExtension_;
    if (!control) {
      control = new TGIFGraphicControlExtension(this);
      extensions_->Add(control);
    }
    control->SetTransparentColorIndex(index);
    control->SetTransparent(true);
  }
  SetPalette(nullptr);
}
