#include "pictures/gif/TGIFImage.h"

#include <algorithm>
#include <cstring>
#include <mutex>

#include "pictures/GIFException.h"
#include "pictures/color/WebPalette.h"
#include "pictures/dib/GDICheck.h"
#include "pictures/gif/PainterListLock.h"
#include "pictures/gif/TGIFGraphicControlExtension.h"
#include "pictures/gif/TGIFLoadContext.h"
#include "pictures/gif/TGIFPainter.h"
#include "pictures/gif/TGIFSubImage.h"
#include "pictures/gif/TGIFTrailer.h"
#include "platform/forms/TBitmap.h"
#include "platform/gdi/Gdi.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/GlobalMemory.h"
#include "platform/rtl/MainThread.h"
#include "platform/rtl/Resources.h"
#include "platform/rtl/ScopeExit.h"
#include "platform/rtl/Synchronize.h"
#include "platform/rtl/TMemoryStream.h"
#include "platform/win/Win.h"

namespace {

int RectWidth(const RECT& r) { return r.right - r.left; }
int RectHeight(const RECT& r) { return r.bottom - r.top; }

// Blocks the interface thread (running the painters' queued calls) until `done` holds; another
// thread yields instead.
void WaitForPainters(const std::function<bool()>& done) {
  if (platform::IsMainThread())
    platform::WaitRunningSynchronized(done);
  else
    Sleep(0);
}

// Every picture alive, for the unit's end.
std::mutex& LiveMutex() {
  static std::mutex m;
  return m;
}
std::vector<TGIFImage*>& LivePictures() {
  static std::vector<TGIFImage*> pictures;
  return pictures;
}

}  // namespace

void TGIFImage::StopAllPainters() {
  std::vector<TGIFImage*> pictures;
  {
    std::lock_guard<std::mutex> guard(LiveMutex());
    pictures = LivePictures();
  }
  for (TGIFImage* picture : pictures) picture->PaintStop();
}

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
  std::lock_guard<std::mutex> guard(LiveMutex());
  LivePictures().push_back(this);
}

TGIFImage::~TGIFImage() {
  {
    std::lock_guard<std::mutex> guard(LiveMutex());
    auto& pictures = LivePictures();
    pictures.erase(std::remove(pictures.begin(), pictures.end(), this), pictures.end());
  }
  stopping_ = true;
  try {
    PaintStop();
  } catch (...) {
  }
  *alive_ = false;
  {
    // Painters still listed (synchronous ones deeper in the stack) must not touch us later.
    PainterListLock list(painters_);
    for (int i = 0; i < list->Count(); ++i) list.At(i)->Detach();
    list->Clear();
    drawPainter_ = nullptr;
  }
  bitmap_.reset();
  images_->Clear();
  SetPaletteImpl(nullptr);
}

void TGIFImage::Changed(TObject* sender) {
  if (stopping_) return;
  TGraphic::Changed(sender);
}

void TGIFImage::Clear() {
  const bool wasStopping = stopping_;
  stopping_ = true;
  {
    platform::ScopeExit restore([&] { stopping_ = wasStopping; });
    PaintStop();
  }
  bitmap_.reset();
  images_->Clear();
  header_->ColorMap()->Clear();
  header_->SetWidth(0);
  header_->SetHeight(0);
  header_->Prepare();
  SetPaletteImpl(nullptr);
}

int TGIFImage::Add(TPersistent* source) {
  auto* frame = dynamic_cast<TGIFSubImage*>(source);
  if (!frame) {
    if (!dynamic_cast<TGraphic*>(source)) GIFError(sUnsupportedClass);
    auto made = std::make_unique<TGIFSubImage>(this);
    made->Assign(source);
    frame = made.release();
  }
  int index = images_->Add(frame);
  FreeBitmap();
  Changed(this);
  return index;
}

void TGIFImage::Assign(TPersistent* source) {
  if (source == this) return;
  if (!source) {
    Clear();
    return;
  }
  if (auto* image = dynamic_cast<TGIFImage*>(source)) {
    AssignImage(image);
    return;
  }
  Clear();
  auto frame = std::make_unique<TGIFSubImage>(this);
  try {
    frame->Assign(source);
  } catch (const EConvertError&) {
    frame.reset();
    TGraphic::Assign(source);
    return;
  }
  images_->Add(frame.release());
  Changed(this);
}

void TGIFImage::AssignImage(TGIFImage* source) {
  Clear();
  // While copying, progress and warnings go where the source's go; ours come back after.
  const TProgressEvent ownProgress = OnProgress;
  const TGIFWarning ownWarning = OnGIFWarning;
  OnProgress = source->OnProgress;
  OnGIFWarning = source->OnGIFWarning;
  platform::ScopeExit restore([&] {
    OnProgress = ownProgress;
    OnGIFWarning = ownWarning;
  });
  DoProgress(psStarting, 0, false, sProgressCopying);
  {
    // A copy that fails ends the progress report at 0.
    platform::ScopeExit failed([&] { DoProgress(psEnding, 0, true, sProgressCopying); });
    header_->Assign(source->header_.get());
    threadPriority_ = source->threadPriority_;
    drawBackgroundColor_ = source->drawBackgroundColor_;
    drawOptions_ = source->drawOptions_;
    colorReduction_ = source->colorReduction_;
    ditherMode_ = source->ditherMode_;
    forceFrame_ = source->forceFrame_;
    OnAnimationStart = source->OnAnimationStart;
    OnBeforeFrame = source->OnBeforeFrame;
    OnAfterFrame = source->OnAfterFrame;
    OnAnimationLoop = source->OnAnimationLoop;
    OnAnimationEnd = source->OnAnimationEnd;
    const int count = source->images_->Count();
    for (int i = 0; i < count; ++i) {
      auto frame = std::make_unique<TGIFSubImage>(this);
      frame->Assign(source->images_->GetImage(i));
      images_->Add(frame.release());
      DoProgress(psRunning, BYTE((i + 1) * 100 / count), false, sProgressCopying);
    }
    failed.Release();
  }
  DoProgress(psEnding, 100, true, sProgressCopying);
  Changed(this);
}

void TGIFImage::AssignTo(TPersistent* dest) {
  if (auto* bitmap = dynamic_cast<TBitmap*>(dest)) {
    bitmap->Assign(GetBitmap());
    return;
  }
  TGraphic::AssignTo(dest);
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
  FreeBitmap();
  Changed(this);
}

void TGIFImage::SetHeightImpl(int value) {
  for (int i = 0; i < images_->Count(); ++i) {
    TGIFSubImage* frame = images_->GetImage(i);
    if (frame->Top() + frame->Height() > value) GIFError(sBadHeight);
  }
  if (value == header_->Height()) return;
  header_->SetHeight(value);
  FreeBitmap();
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

void TGIFImage::SetAnimationSpeed(int value) {
  value = std::clamp(value, 0, 1000);
  if (value == animationSpeed_) return;
  animationSpeed_ = value;
  TGIFPainter* painter = nullptr;
  {
    PainterListLock list(painters_);
    painter = drawPainter_;
  }
  // Only this thread ends painters (their termination runs here): it stays alive meanwhile.
  if (painter) painter->SetAnimationSpeed(value);
}

void TGIFImage::SetDrawOptions(TGIFDrawOptions value) {
  if (value == drawOptions_) return;
  StopDraw();
  drawOptions_ = value;
  Pack();
  Changed(this);
}

void TGIFImage::SetAnimate(bool value) {
  SetDrawOptions(value ? TGIFDrawOptions(drawOptions_ | GIFDrawOption(goAnimate))
                       : TGIFDrawOptions(drawOptions_ & ~GIFDrawOption(goAnimate)));
}

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

TGIFLoadContext TGIFImage::NewLoadContext() {
  TGIFLoadContext context(header_->Width(), header_->Height(), GIFMaximumTotalPixels);
  context.FrameRead = [this](BYTE percent) {
    DoProgress(psRunning, percent, GIFImageRenderOnLoad, sProgressLoading);
  };
  return context;
}

void TGIFImage::LoadFromStream(TStream* stream) {
  DoProgress(psStarting, 0, false, sProgressLoading);
  Clear();
  const std::int64_t start = stream->Position();
  {
    // A load that fails puts the stream back and ends the progress report at 0.
    platform::ScopeExit failed([&] {
      stream->SetPosition(start);
      DoProgress(psEnding, 0, true, sProgressLoading);
    });
    header_->LoadFromStream(stream);
    TGIFLoadContext context = NewLoadContext();
    images_->LoadFromStream(stream, context);
    TGIFTrailer trailer(this);
    trailer.LoadFromStream(stream);
    FitScreenToFrames();
    // Rendered once the whole picture is read: no handler sees a picture half loaded.
    if (GIFImageRenderOnLoad)
      for (int i = 0; i < images_->Count(); ++i) images_->GetImage(i)->GetBitmap();
    failed.Release();
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
  {
    // A save that fails ends the progress report at 0.
    platform::ScopeExit failed([&] { DoProgress(psEnding, 0, true, sProgressSaving); });
    header_->SaveToStream(stream);
    images_->SaveToStream(stream);
    TGIFTrailer trailer(this);
    trailer.SaveToStream(stream);
    failed.Release();
  }
  DoProgress(psEnding, 100, true, sProgressSaving);
}

HPALETTE TGIFImage::GetPalette() {
  if (paletteBusy_) GIFError(sNoColorTable);
  paletteBusy_ = true;
  struct Guard {
    bool& flag;
    ~Guard() { flag = false; }
  } guard{paletteBusy_};
  if (bitmap_ && bitmap_->Palette()) return bitmap_->Palette();
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
  if (bitmap_ && bitmap_->Palette() != palette) {
    FreeBitmap();
    PaletteModified = true;
    Changed(this);
  }
}

TBitmap* TGIFImage::GetBitmap() {
  if (images_->Count() == 0) return nullptr;
  if (bitmap_) return bitmap_.get();
  NewBitmap();
  TGIFSubImage* first = images_->GetImage(0);
  const int runEnd = LeadingRunEnd();
  if (runEnd == 0 && first->Width() == Width() && first->Height() == Height()) {
    TBitmap* frame = first->GetBitmap();
    if (frame) bitmap_->Assign(frame);
  } else {
    const RECT all{0, 0, Width(), Height()};
    for (int i = 0; i <= runEnd; ++i) images_->GetImage(i)->Draw(bitmap_->Canvas(), all, false, false);
  }
  return bitmap_.get();
}

void TGIFImage::NewBitmap() {
  if (bitmap_) return;
  bitmap_ = std::make_unique<TBitmap>();
  bitmap_->SetPixelFormat(pf24bit);
  bitmap_->SetSize(Width(), Height());
  bitmap_->OnChange = [this](TObject*) { Changed(this); };
}

void TGIFImage::FreeBitmap() { StopDraw(); }

void TGIFImage::Pack() {
  FreeBitmap();
  SetPaletteImpl(nullptr);
  for (int i = 0; i < images_->Count(); ++i) {
    TGIFSubImage* frame = images_->GetImage(i);
    frame->FreeBitmap();
    frame->FreeMask();
    frame->SetPalette(nullptr);
  }
  if (header_->ColorMap()->Count() == 0 && images_->Count() == 1) {
    TGIFSubImage* frame = images_->GetImage(0);
    header_->ColorMap()->Assign(frame->ColorMap());
    frame->ColorMap()->Clear();
  }
}

void TGIFImage::WriteData(TStream* stream) {
  if (GIFImageOptimizeOnStream) Optimize(TGIFOptimizeOptions(0x1F), rmNone, TDitherMode::dmNearest, 8);
  TGraphic::WriteData(stream);
}

int TGIFImage::LeadingRunEnd() const {
  int run = 0;
  const int count = images_->Count();
  while (run < count - 1) {
    TGIFGraphicControlExtension* control = images_->GetImage(run)->GraphicControlExtension();
    if (!control || control->GetDelay() != 0 || control->GetDisposalValue() > 1) break;
    ++run;
  }
  return run;
}

void TGIFImage::Draw(TCanvas* canvas, const RECT& rect) {
  if (drawing_ || images_->Count() == 0 || Width() == 0 || Height() == 0) return;
  if (RectWidth(rect) <= 0 || RectHeight(rect) <= 0) return;
  // A handler run meanwhile may free the picture: look before touching it again.
  const std::shared_ptr<std::atomic<bool>> alive = alive_;
  drawing_ = true;
  struct Reset {
    TGIFImage* self;
    const std::shared_ptr<std::atomic<bool>>& alive;
    ~Reset() {
      if (*alive) self->drawing_ = false;
    }
  } reset{this, alive};
  if (images_->Count() == 1 || !HasGIFDrawOption(drawOptions_, goAnimate)) {
    DrawStill(canvas, rect);
    return;
  }
  const bool direct = HasGIFDrawOption(drawOptions_, goDirectDraw);
  if (bitmap_ && !direct) {
    DrawCache(canvas, rect);
    return;
  }
  {
    PainterListLock list(painters_);
    if (drawPainter_ && drawPainter_->Canvas() == canvas && EqualRect(&drawPainter_->Rect(), &rect)) return;
  }
  StopDraw();
  // Painters and their handlers run without the list's lock held here: a handler may free
  // the picture, lock and all.
  TCanvas* target = canvas;
  RECT targetRect = rect;
  if (!direct) {
    NewBitmap();
    targetRect = RECT{0, 0, Width(), Height()};
    // Transparent pixels show what was behind the picture.
    bitmap_->Canvas()->CopyRect(targetRect, canvas, rect);
    target = bitmap_->Canvas();
  }
  TGIFPainter* painter = InternalPaint(&drawPainter_, target, targetRect, drawOptions_);
  if (!*alive) return;
  if (painter) {
    painter->Start();
    if (direct) return;
    WaitForPainters([&] { return !*alive || !drawPainter_ || drawPainter_->HasStarted(); });
    if (!*alive) return;
  } else if (direct) {
    return;
  }
  if (bitmap_) DrawCache(canvas, rect);
}

void TGIFImage::DrawStill(TCanvas* canvas, const RECT& rect) {
  const bool transparent = HasGIFDrawOption(drawOptions_, goTransparent);
  const bool tile = HasGIFDrawOption(drawOptions_, goTile);
  if (forceFrame_ >= 0 && forceFrame_ < images_->Count() && !HasGIFDrawOption(drawOptions_, goAnimate)) {
    images_->GetImage(forceFrame_)->Draw(canvas, rect, transparent, tile);
    return;
  }
  const int runEnd = LeadingRunEnd();
  for (int i = 0; i <= runEnd; ++i) images_->GetImage(i)->Draw(canvas, rect, transparent, tile);
}

void TGIFImage::DrawCache(TCanvas* canvas, const RECT& rect) {
  TBitmap* cache = bitmap_.get();
  const int w = cache->Width(), h = cache->Height();
  if (w <= 0 || h <= 0) return;
  canvas->Lock();
  canvas->Changing();
  HDC dst = canvas->Handle();
  const int saved = SaveDC(dst);
  IntersectClipRect(dst, rect.left, rect.top, rect.right, rect.bottom);
  HDC src = cache->Canvas()->Handle();
  if (HasGIFDrawOption(drawOptions_, goTile)) {
    for (int y = rect.top; y < rect.bottom; y += h)
      for (int x = rect.left; x < rect.right; x += w) BitBlt(dst, x, y, w, h, src, 0, 0, SRCCOPY);
  } else {
    StretchBlt(dst, rect.left, rect.top, RectWidth(rect), RectHeight(rect), src, 0, 0, w, h, SRCCOPY);
  }
  RestoreDC(dst, saved);
  canvas->Unlock();
  canvas->Changed();
}

TGIFPainter* TGIFImage::Paint(TCanvas* canvas, const RECT& rect, TGIFDrawOptions options) {
  TGIFPainter* painter = InternalPaint(nullptr, canvas, rect, options);
  if (painter) painter->Start();
  return painter;
}

TGIFPainter* TGIFImage::InternalPaint(TGIFPainter** reference, TCanvas* canvas, const RECT& rect,
                                      TGIFDrawOptions options) {
  if (reference) *reference = nullptr;
  if (Empty() || rect.left >= rect.right || rect.top >= rect.bottom) return nullptr;
  if (images_->Count() == 1) options &= TGIFDrawOptions(~(GIFDrawOption(goAsync) | GIFDrawOption(goAnimate)));
  TGIFPainter* painter = new TGIFPainter(reference, this, canvas, rect, options);
  {
    PainterListLock list(painters_);
    painters_.Add(painter);
  }
  painter->OnAnimationStart = OnAnimationStart;
  painter->OnBeforeFrame = OnBeforeFrame;
  painter->OnAfterFrame = OnAfterFrame;
  painter->OnAnimationLoop = OnAnimationLoop;
  painter->OnAnimationEnd = OnAnimationEnd;
  if (HasGIFDrawOption(options, goAsync)) {
    painter->Priority = threadPriority_;
    return painter;
  }
  TGIFPainter::RunInline(painter);
  return nullptr;
}

void TGIFImage::StopDraw() {
  for (;;) {
    TGIFPainter* painter = nullptr;
    {
      PainterListLock list(painters_);
      painter = drawPainter_;
    }
    if (!painter) break;
    // Woken outside the list's lock: the painter's event and the clock have locks of their own.
    painter->Stop();
    if (!painter->IsAsync() || painter->InCall()) break;
    WaitForPainters([&] { return drawPainter_ != painter; });
  }
  bitmap_.reset();
}

void TGIFImage::PaintStop() {
  auto asyncListed = [this] {
    PainterListLock list(painters_);
    int count = 0;
    // A painter whose call is running further up this stack ends when the call returns.
    for (int i = 0; i < list->Count(); ++i)
      if (list.At(i)->IsAsync() && !list.At(i)->InCall()) ++count;
    return count;
  };
  // The rendered bitmap goes however the painters stop.
  platform::ScopeExit dropBitmap([this] { bitmap_.reset(); });
  for (;;) {
    const std::vector<TGIFPainter*> painters = ListedPainters();
    for (auto it = painters.rbegin(); it != painters.rend(); ++it) (*it)->Stop();
    if (asyncListed() == 0) break;
    WaitForPainters([&] { return asyncListed() == 0; });
  }
}

void TGIFImage::PaintStart() {
  for (TGIFPainter* painter : ListedPainters()) painter->Start();
}

void TGIFImage::PaintPause() {
  // Threads pause where they wait (suspension is cooperative here).
  for (TGIFPainter* painter : ListedPainters()) painter->Pause();
}

void TGIFImage::PaintRestart() {
  for (TGIFPainter* painter : ListedPainters()) painter->Restart();
}

std::vector<TGIFPainter*> TGIFImage::ListedPainters() {
  PainterListLock list(painters_);
  std::vector<TGIFPainter*> painters;
  for (int i = 0; i < list->Count(); ++i) painters.push_back(list.At(i));
  return painters;
}

void TGIFImage::LoadFromResourceName(HINSTANCE instance, const AnsiString& name) {
  TResourceStream stream(instance, name, RT_RCDATA);
  LoadFromStream(&stream);
}

void TGIFImage::LoadFromClipboardFormat(WORD format, HANDLE data, HPALETTE palette) {
  if (!data) data = GetClipboardData(format);
  if (data && CF_GIF != 0 && format == CF_GIF) {
    const void* bytes = GlobalLock(data);
    if (!bytes) throw GIFException("Unsupported clipboard format");
    platform::ScopeExit unlock([data] { GlobalUnlock(data); });
    TMemoryStream stream;
    stream.WriteBuffer(bytes, int(GlobalSize(data)));
    stream.SetPosition(0);
    LoadFromStream(&stream);
  } else if (data && format == CF_BITMAP) {
    TBitmap bitmap;
    bitmap.LoadFromClipboardFormat(format, data, palette);
    Assign(&bitmap);
  } else {
    throw GIFException("Unsupported clipboard format");
  }
}

void TGIFImage::SaveToClipboardFormat(WORD& format, HANDLE& data, HPALETTE& palette) {
  if (Empty()) return;
  // The GIF stream first: a failure then leaves no bitmap data behind.
  TMemoryStream stream;
  SaveToStream(&stream);
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, SIZE_T(stream.Size()));
  if (!block) GIFError(sFailedPaste);
  {
    // The block is the clipboard's once it takes it; freed if it does not.
    platform::ScopeExit freeBlock([block] { GlobalFree(block); });
    void* bytes = GlobalLock(block);
    if (!bytes) GIFError(sFailedPaste);
    std::memcpy(bytes, stream.Memory(), std::size_t(stream.Size()));
    GlobalUnlock(block);
    if (!SetClipboardData(CF_GIF, block)) GIFError(sFailedPaste);
    freeBlock.Release();
  }
  GetBitmap()->SaveToClipboardFormat(format, data, palette);
}
