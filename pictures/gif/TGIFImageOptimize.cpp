// Optimising a whole picture: tables sorted and trimmed, frames merged with what they cover and
// cropped, superfluous blocks and frames removed, and all tables merged into one. Every pass
// keeps the composed animation as it was.
#include <algorithm>

#include "pictures/GIFException.h"
#include "pictures/gif/PainterListLock.h"
#include "pictures/gif/TColorMapOptimizer.h"
#include "pictures/gif/TGIFAppExtNSLoop.h"
#include "pictures/gif/TGIFCommentExtension.h"
#include "pictures/gif/TGIFGraphicControlExtension.h"
#include "pictures/gif/TGIFImage.h"
#include "pictures/gif/TGIFSubImage.h"
#include "pictures/gif/TGIFTextExtension.h"
#include "pictures/gif/TGIFUnknownAppExtension.h"
#include "pictures/gif/TGIFUnknownExtension.h"
#include "platform/rtl/ScopeExit.h"

namespace {

bool Has(TGIFOptimizeOptions options, TGIFOptimizeOption option) { return (options & (1u << option)) != 0; }

TDisposalMethod DisposalOf(const TGIFSubImage* frame) {
  TGIFGraphicControlExtension* control = frame->GraphicControlExtension();
  return control ? control->GetDisposal() : TDisposalMethod::dmNone;
}

TGIFAppExtNSLoop* LoopOf(const TGIFSubImage* frame) {
  TGIFExtensionList* list = frame->Extensions();
  for (int i = 0; i < list->Count(); ++i)
    if (auto* loop = dynamic_cast<TGIFAppExtNSLoop*>(list->GetExtension(i))) return loop;
  return nullptr;
}

bool FullyTransparent(TGIFSubImage* frame) {
  const BYTE index = BYTE(frame->GraphicControlExtension()->GetTransparentColorIndex());
  const std::vector<BYTE>& pixels = frame->Pixels();
  return std::all_of(pixels.begin(), pixels.end(), [index](BYTE p) { return p == index; });
}

}  // namespace

void TGIFImage::Optimize(TGIFOptimizeOptions options, TColorReduction reduction, TDitherMode, int) {
  if (Has(options, ooReduceColors) && reduction == rmPalette) GIFError(sInvalidReduction);
  if (images_->Count() == 0) return;
  // The painters read the frames these passes crop, merge and delete: they end first, and none
  // starts or registers until the last pass is done.
  PaintStop();
  {
    PainterListLock painters(painters_);
    OptimizeFrames(options);
  }
  Changed(this);
}

void TGIFImage::OptimizeFrames(TGIFOptimizeOptions options) {
  DoProgress(psStarting, 0, false, sProgressOptimizing);
  const int total = std::max(1, images_->Count() * 6);
  int step = 0;
  auto progress = [&] {
    ++step;
    DoProgress(psRunning, BYTE(std::min(100, step * 100 / total)), false, sProgressOptimizing);
  };
  {
    // An optimisation that fails ends the progress report at 0.
    platform::ScopeExit failed([&] { DoProgress(psEnding, 0, true, sProgressOptimizing); });
    if (Has(options, ooColorMap)) {
      if (GetColorMap()->Count() > 0) GetColorMap()->Optimize();
      for (int i = 0; i < images_->Count(); ++i) {
        TGIFSubImage* frame = images_->GetImage(i);
        if (frame->ColorMap()->Count() > 0) frame->ColorMap()->Optimize();
        progress();
      }
    }

    // A transparent frame none of whose pixels is transparent is opaque.
    if (Has(options, ooCleanup))
      for (int i = 0; i < images_->Count(); ++i) {
        TGIFSubImage* frame = images_->GetImage(i);
        if (!frame->GetEmpty() && frame->Transparent() && frame->GraphicControlExtension()) {
          const BYTE index = BYTE(frame->GraphicControlExtension()->GetTransparentColorIndex());
          const std::vector<BYTE>& pixels = frame->Pixels();
          if (std::find(pixels.begin(), pixels.end(), index) == pixels.end())
            frame->GraphicControlExtension()->SetTransparent(false);
        }
        progress();
      }

    // Each frame against the one shown before it: frames restored after their delay are skipped.
    if (Has(options, ooMerge))
      for (int i = images_->Count() - 1; i > 0; --i) {
        int j = i - 1;
        while (j > 0 && DisposalOf(images_->GetImage(j)) == TDisposalMethod::dmPrevious) --j;
        images_->GetImage(i)->Merge(images_->GetImage(j));
        progress();
      }

    // A frame that clears its area afterwards keeps that area. A frame showing nothing goes only
    // when the frame before it stays on screen, which then also takes its delay; the first frame
    // and the one holding the looping block stay.
    if (Has(options, ooCrop))
      for (int i = images_->Count() - 1; i >= 0; --i) {
        TGIFSubImage* frame = images_->GetImage(i);
        progress();
        if (frame->GetEmpty() || !frame->Transparent() || !frame->GraphicControlExtension()) continue;
        if (DisposalOf(frame) == TDisposalMethod::dmBackground) continue;
        if (!FullyTransparent(frame)) {
          frame->Crop();
          continue;
        }
        if (i == 0 || LoopOf(frame)) continue;
        TGIFSubImage* before = images_->GetImage(i - 1);
        TGIFGraphicControlExtension* control = before->GraphicControlExtension();
        if (control && control->GetDisposalValue() > int(TDisposalMethod::dmNoDisposal)) continue;
        if (!control) {
          control = new TGIFGraphicControlExtension(before);
          before->Extensions()->Add(control);
        }
        control->SetDelay(
            std::min(0xFFFF, control->GetDelay() + frame->GraphicControlExtension()->GetDelay()));
        images_->Delete(i);
      }

    if (Has(options, ooCleanup)) {
      // The first looping block in frame order is the one that plays; the others go.
      TGIFAppExtNSLoop* firstLoop = nullptr;
      if (images_->Count() > 1)
        for (int i = 0; i < images_->Count() && !firstLoop; ++i) firstLoop = LoopOf(images_->GetImage(i));
      const bool oneFrame = images_->Count() == 1;
      // Frames at the start without delay are shown together as one picture; their control
      // blocks say so and stay.
      int leadingRun = 0;
      while (leadingRun < images_->Count() - 1) {
        TGIFGraphicControlExtension* control = images_->GetImage(leadingRun)->GraphicControlExtension();
        if (!control || control->GetDelay() != 0 || control->GetDisposalValue() > 1) break;
        ++leadingRun;
      }
      for (int i = images_->Count() - 1; i >= 0; --i) {
        TGIFSubImage* frame = images_->GetImage(i);
        TGIFExtensionList* list = frame->Extensions();
        for (int j = list->Count() - 1; j >= 0; --j) {
          TGIFExtension* extension = list->GetExtension(j);
          const bool loop = dynamic_cast<TGIFAppExtNSLoop*>(extension) != nullptr;
          if (dynamic_cast<TGIFCommentExtension*>(extension) || dynamic_cast<TGIFTextExtension*>(extension) ||
              dynamic_cast<TGIFUnknownAppExtension*>(extension) ||
              dynamic_cast<TGIFUnknownExtension*>(extension) || (loop && extension != firstLoop))
            list->Delete(j);
        }
        TGIFGraphicControlExtension* control = frame->GraphicControlExtension();
        if (control && i >= leadingRun && (control->GetDelay() == 0 || oneFrame) &&
            !control->GetTransparent() && !control->GetUserInput() &&
            (control->GetDisposalValue() <= int(TDisposalMethod::dmNoDisposal) || oneFrame))
          list->Delete(list->IndexOf(control));
        if (frame->GetEmpty() && list->Count() == 0) images_->Delete(i);
        progress();
      }
    }
    failed.Release();
  }
  DoProgress(psEnding, 100, true, sProgressOptimizing);
}

void TGIFImage::OptimizeColorMap() {
  TColorMapOptimizer optimizer(this);
  optimizer.Optimize();
  Changed(this);
}
