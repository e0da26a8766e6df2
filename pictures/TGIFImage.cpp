#include "pictures/TGIFImage.h"

#include <algorithm>

#include "pictures/GDICheck.h"
#include "pictures/GIFException.h"
#include "pictures/TGIFGraphicControlExtension.h"
#include "pictures/TGIFSubImage.h"
#include "pictures/TGIFTrailer.h"
#include "pictures/WebPalette.h"
#include "platform/gdi/Gdi.h"

TGIFImage::TGIFImage()
    : drawOptions_(GIFImageDefaultDrawOptions),
      colorReduction_(GIFImageDefaultColorReduction),
      reductionBits_(GIFImageDefaultColorReductionBits),
      ditherMode_(GIFImageDefaultDitherMode),
      compression_(GIFImageDefaultCompression),
      threadPriority_(GIFImageDefaultThreadPriority),
      animationSpeed_(GIFImageDefaultAnimationSpeed),
      images_(std::make_unique<TGIFImageList>(this)),
      header_(std::make_unique<TGIFHeader>(this)) {
  Clear();
}

TGIFImage::~TGIFImage() {
  images_->Clear();
  SetPaletteImpl(nullptr);
}

void TGIFImage::Clear() {
  images_->Clear();
  header_->ColorMap()->Clear();
  header_->SetWidth(0);
  header_->SetHeight(0);
  header_->Prepare();
  SetPaletteImpl(nullptr);
}

int TGIFImage::Add(TPersistent* source) {
  auto* frame = dynamic_cast<TGIFSubImage*>(source);
  if (!frame) GIFError(sUnsupportedClass);
  int index = images_->Add(frame);
  Changed(this);
  return index;
}

bool TGIFImage::GetEmpty() const { return images_->Count() == 0; }
int TGIFImage::GetWidth() const { return header_->Width(); }
int TGIFImage::GetHeight() const { return header_->Height(); }

void TGIFImage::SetWidthImpl(int value) {
  for (int i = 0; i < images_->Count(); ++i) {
    TGIFSubImage* frame = images_->GetImage(i);
    if (frame->Left() + frame->Width() > value) GIFError(sBadWidth);
  }
  if (value == header_->Width()) return;
  header_->SetWidth(value);
  Changed(this);
}

void TGIFImage::SetHeightImpl(int value) {
  for (int i = 0; i < images_->Count(); ++i) {
    TGIFSubImage* frame = images_->GetImage(i);
    if (frame->Top() + frame->Height() > value) GIFError(sBadHeight);
  }
  if (value == header_->Height()) return;
  header_->SetHeight(value);
  Changed(this);
}

TGIFVersion TGIFImage::GetVersion() {
  if (images_->Count() == 0) return gvUnknown;
  // A sorted global table or an aspect ratio needs 89a as much as a frame's extensions do.
  TGIFVersion version = header_->GetVersion();
  for (int i = 0; i < images_->Count() && version != gv89a; ++i)
    version = std::max(version, images_->GetImage(i)->GetVersion());
  return version;
}

int TGIFImage::GetColorResolution() {
  int result = header_->GetColorResolution();
  for (int i = 0; i < images_->Count(); ++i)
    result = std::max(result, images_->GetImage(i)->GetColorResolution());
  return result;
}

int TGIFImage::GetBitsPerPixel() {
  int result = header_->GetBitsPerPixel();
  for (int i = 0; i < images_->Count(); ++i)
    result = std::max(result, images_->GetImage(i)->GetBitsPerPixel());
  return result;
}

void TGIFImage::SetReductionBits(int value) {
  if (value < 3 || value > 8) GIFError(sInvalidBitSize);
  reductionBits_ = value;
}

void TGIFImage::SetAnimationSpeed(int value) { animationSpeed_ = std::clamp(value, 0, 1000); }

void TGIFImage::SetForceFrame(int value) {
  forceFrame_ = value;
  Changed(this);
}

bool TGIFImage::GetDoDither() const {
  return HasGIFDrawOption(drawOptions_, goDither) &&
         (!HasGIFDrawOption(drawOptions_, goAutoDither) || DoAutoDither);
}

TGIFColorMap* TGIFImage::GetColorMap() const { return header_->ColorMap(); }

bool TGIFImage::GetIsTransparent() const {
  for (int i = 0; i < images_->Count(); ++i) {
    TGIFSubImage* frame = images_->GetImage(i);
    if (frame->GraphicControlExtension() && frame->GraphicControlExtension()->GetTransparent()) return true;
  }
  return false;
}

void TGIFImage::Warning(TObject* sender, TGIFSeverity severity, const AnsiString& message) {
  if (OnGIFWarning) OnGIFWarning(sender, severity, message);
}

void TGIFImage::DoProgress(TProgressStage stage, BYTE percent, bool redrawNow, const char* message) {
  Progress(this, stage, percent, redrawNow, RECT{0, 0, 0, 0}, message);
}

void TGIFImage::ClaimLoadedPixels(std::int64_t count) {
  if (loadedPixels_ + count > GIFMaximumTotalPixels) GIFError(sBadDimension);
  loadedPixels_ += count;
}

void TGIFImage::LoadFromStream(TStream* stream) {
  DoProgress(psStarting, 0, false, sProgressLoading);
  Clear();
  loadedPixels_ = 0;
  const std::int64_t start = stream->Position();
  try {
    header_->LoadFromStream(stream);
    images_->LoadFromStream(stream, this);
    TGIFTrailer trailer(this);
    trailer.LoadFromStream(stream);
    FitScreenToFrames();
  } catch (...) {
    stream->SetPosition(start);
    DoProgress(psEnding, 0, true, sProgressLoading);
    throw;
  }
  DoProgress(psEnding, 100, true, sProgressLoading);
}

void TGIFImage::FitScreenToFrames() {
  if (header_->Width() != 0 && header_->Height() != 0) return;
  int width = 0, height = 0;
  for (int i = 0; i < images_->Count(); ++i) {
    TGIFSubImage* frame = images_->GetImage(i);
    width = std::max(width, frame->Left() + frame->Width());
    height = std::max(height, frame->Top() + frame->Height());
  }
  bool grown = false;
  if (header_->Width() == 0 && width > 0) {
    header_->SetWidth(std::min(width, 0xFFFF));
    grown = true;
  }
  if (header_->Height() == 0 && height > 0) {
    header_->SetHeight(std::min(height, 0xFFFF));
    grown = true;
  }
  if (!grown) return;
  Warning(header_.get(), gsWarning, sScreenSizeExceeded);
  if (std::int64_t(header_->Width()) * header_->Height() > GIFMaximumImagePixels) GIFError(sBadDimension);
}

void TGIFImage::SaveToStream(TStream* stream) {
  DoProgress(psStarting, 0, false, sProgressSaving);
  try {
    header_->SaveToStream(stream);
    images_->SaveToStream(stream);
    TGIFTrailer trailer(this);
    trailer.SaveToStream(stream);
  } catch (...) {
    DoProgress(psEnding, 0, true, sProgressSaving);
    throw;
  }
  DoProgress(psEnding, 100, true, sProgressSaving);
}

void TGIFImage::Draw(TCanvas*, const RECT&) { throw EInvalidGraphicOperation(sGIFDrawingUnavailable); }

HPALETTE TGIFImage::GetPalette() {
  if (paletteBusy_) GIFError(sNoColorTable);
  paletteBusy_ = true;
  struct Guard {
    bool& flag;
    ~Guard() { flag = false; }
  } guard{paletteBusy_};
  if (globalPalette_) return globalPalette_;
  if (GetDoDither()) {
    globalPalette_ = WebPalette();
    return globalPalette_;
  }
  if (header_->ColorMap()->Count() > 0) {
    globalPalette_ = GDICheck(header_->ColorMap()->ExportPalette());
    return globalPalette_;
  }
  return images_->Count() > 0 ? images_->GetImage(0)->GetPalette() : nullptr;
}

void TGIFImage::SetPaletteImpl(HPALETTE palette) {
  if (palette == globalPalette_) return;
  if (globalPalette_) DeleteObject(globalPalette_);
  globalPalette_ = palette;
}
