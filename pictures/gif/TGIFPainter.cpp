#include "pictures/gif/TGIFPainter.h"

#include <algorithm>

#include "pictures/gif/GIFSettings.h"
#include "pictures/gif/TGIFAppExtNSLoop.h"
#include "pictures/gif/TGIFExtensionList.h"
#include "pictures/gif/TGIFGraphicControlExtension.h"
#include "pictures/gif/TGIFImage.h"
#include "pictures/gif/TGIFSubImage.h"
#include "platform/forms/TBitmap.h"
#include "platform/forms/TColor.h"
#include "platform/gdi/Gdi.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/ScopeExit.h"
#include "platform/rtl/SyncObjs.h"
#include "platform/win/Win.h"

namespace {

// A synchronous painter sleeps at most this long between looks at its message queue.
constexpr int kInlineSleepStep = 100;

int RectWidth(const RECT& r) { return r.right - r.left; }
int RectHeight(const RECT& r) { return r.bottom - r.top; }

bool InLeadingRunFrame(TGIFSubImage* frame) {
  TGIFGraphicControlExtension* control = frame->GraphicControlExtension();
  return control && control->GetDelay() == 0 && control->GetDisposalValue() <= 1;
}

}  // namespace

TGIFPainter::TGIFPainter(TGIFImage* image, TCanvas* canvas, const RECT& rect, TGIFDrawOptions options)
    : TThread(true),
      image_(image),
      canvas_(canvas),
      rect_(rect),
      drawOptions_(options),
      animationSpeed_(image->AnimationSpeed()),
      alive_(image->AliveToken()) {
  FreeOnTerminate = true;
  OnTerminate = [this](TObject*) { DoOnTerminate(); };
  TGIFImageList* frames = image->Images();
  if (IsAsync() && HasGIFDrawOption(options, goAnimate) && frames->Count() > 1 && animationSpeed_ >= 0)
    event_ = CreateEventA(nullptr, FALSE, FALSE, nullptr);

  if (image->DrawBackgroundColor() != clNone)
    clearColor_ = ColorToRGB(image->DrawBackgroundColor());
  else if (image->GetColorMap()->Count() == 0)
    clearColor_ = ColorToRGB(clWindow);
  else
    clearColor_ = ColorToRGB(image->GetBackgroundColor());

  unsigned disposals = 0;
  for (int i = 0; i < frames->Count(); ++i)
    for (int j = 0; j < frames->GetImage(i)->Extensions()->Count(); ++j)
      if (auto* control =
              dynamic_cast<TGIFGraphicControlExtension*>(frames->GetImage(i)->Extensions()->GetItem(j)))
        disposals |= 1u << control->GetDisposalValue();
  if (HasGIFDrawOption(options, goClearOnLoop)) disposals |= 1u << int(TDisposalMethod::dmBackground);
  const bool background = disposals & (1u << int(TDisposalMethod::dmBackground));
  const bool previous = disposals & (1u << int(TDisposalMethod::dmPrevious));
  const int w = RectWidth(rect), h = RectHeight(rect);
  if (w <= 0 || h <= 0) return;
  auto makeBuffer = [&](bool fill) {
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetPixelFormat(pf24bit);
    bitmap->SetSize(w, h);
    bitmap->Canvas()->CopyMode = cmSrcCopy;
    bitmap->Canvas()->Brush()->SetColor(TColor(clearColor_));
    if (fill) bitmap->Canvas()->CopyRect(RECT{0, 0, w, h}, canvas, rect);
    return bitmap;
  };
  if (background && HasGIFDrawOption(options, goTransparent)) background_ = makeBuffer(true);
  if (background || previous) {
    backup_ = makeBuffer(true);
    frame_ = makeBuffer(false);
  }
}

TGIFPainter::TGIFPainter(TGIFPainter** reference, TGIFImage* image, TCanvas* canvas, const RECT& rect,
                         TGIFDrawOptions options)
    : TGIFPainter(image, canvas, rect, options) {
  reference_ = reference;
  if (reference_) *reference_ = this;
}

TGIFPainter::~TGIFPainter() {
  if (event_) CloseHandle(event_);
}

void TGIFPainter::Start() {
  if (!IsAsync()) return;
  if (Suspended()) {
    TThread::Start();
  } else if (paused_.exchange(false) && event_) {
    SetEvent(event_);
  }
}

void TGIFPainter::Pause() {
  if (IsAsync()) paused_ = true;
}

void TGIFPainter::Stop() {
  Terminate();
  if (!IsAsync()) return;
  if (event_) SetEvent(event_);
  Priority = tpNormal;
  if (Suspended()) TThread::Start();
}

void TGIFPainter::Restart() {
  restart_ = true;
  if (IsAsync() && Suspended()) TThread::Start();
}

void TGIFPainter::SetAnimationSpeed(int value) {
  value = std::clamp(value, 0, 1000);
  if (value == animationSpeed_.exchange(value)) return;
  if (event_)
    SetEvent(event_);
  else
    restart_ = true;
}

void TGIFPainter::SetActiveImage(int value) {
  TGIFImage* image = image_;
  if (image && value >= 0 && value < image->Images()->Count()) activeImage_ = value;
}

bool TGIFPainter::ImageAlive() const { return alive_ && *alive_ && image_.load() != nullptr; }

bool TGIFPainter::DoSynchronize(const std::function<void()>& method) {
  if (Terminated) return false;
  bool ran = false;
  auto guarded = [&] {
    // Checked again when the call runs: the picture may have stopped or dropped the painter
    // while the call waited in the queue.
    if (Terminated || !ImageAlive()) return;
    ran = true;
    inCall_ = true;
    platform::ScopeExit called([this] { inCall_ = false; });
    method();
  };
  if (IsAsync())
    Synchronize(guarded);
  else
    guarded();
  return ran;
}

void TGIFPainter::Fire(const TNotifyEvent& event) {
  if (!event) return;
  DoSynchronize([&] { event(this); });
}

void TGIFPainter::RunInline(TGIFPainter* painter) {
  painter->Execute();
  painter->DoOnTerminate();
  std::exception_ptr failure = painter->failure_;
  delete painter;
  if (failure) std::rethrow_exception(failure);
}

void TGIFPainter::Execute() {
  try {
    Loop();
  } catch (const Exception&) {
    Terminate();
    failure_ = std::current_exception();
  }
}

void TGIFPainter::Loop() {
  const bool async = IsAsync(), animate = HasGIFDrawOption(drawOptions_, goAnimate);
  const bool loop = HasGIFDrawOption(drawOptions_, goLoop);
  const bool continuous = HasGIFDrawOption(drawOptions_, goLoopContinously);
  if (HasGIFDrawOption(drawOptions_, goValidateCanvas))
    DoSynchronize([this] { validatedDC_ = canvas_->Handle(); });
  restart_ = true;
  while (restart_ && !Terminated) {
    activeImage_ = 0;
    Fire(OnAnimationStart);
    started_ = false;
    restart_ = false;
    int loopCount = 1, loopStart = 0;
    bool loopSeen = false;
    int delay = async ? 0 : 1;
    previousDisposal_ = TDisposalMethod::dmNoDisposal;
    lastTime_ = timeGetTime();
    previousWait_ = 0;
    while (loopCount != 0 || continuous) {
      if (Stopping()) break;
      activeImage_ = loopStart;
      if (started_) Fire(OnAnimationLoop);
      do {
        FrameInfo info;
        if (!ReadFrame(info)) break;
        if (activeImage_ >= info.count || info.empty) break;
        Wait(delay);
        if (Terminated) break;
        Fire(OnBeforeFrame);
        if (Terminated) break;
        disposal_ = info.disposal;
        disposalValue_ = info.disposalValue;
        inLeadingRun_ = info.inLeadingRun;
        if (info.hasLoop && !loopSeen) {
          loopSeen = true;
          loopCount = info.loops;
          loopStart = activeImage_;
          if ((info.loops == 0 || continuous) && async) loopCount = -1;
        }
        DoSynchronize([this] {
          if (backup_)
            DoPaintFrame();
          else
            DoPaint();
        });
        previousDisposal_ = disposal_;
        if (Terminated) break;
        if (info.inLeadingRun) {
          delay = 0;
        } else {
          delay = GIFDefaultDelay;
          if (info.delay != 0) {
            delay = std::max(info.delay, GIFMinimumDelay);
            if (!async) delay = std::min(delay, GIFMaximumDelay);
          }
        }
        const int remembered = activeImage_;
        Fire(OnAfterFrame);
        if (Terminated) break;
        if (activeImage_ == remembered) activeImage_ = remembered + 1;
      } while (animate && !Stopping());
      if (loopCount > 0) --loopCount;
      if (!(animate && loop) || Stopping()) break;
    }
    if (Terminated) break;
  }
  activeImage_ = -1;
  Fire(OnAnimationEnd);
}

bool TGIFPainter::ReadFrame(FrameInfo& info) {
  return DoSynchronize([&] {
    TGIFImage* image = image_;
    TGIFImageList* frames = image->Images();
    info.count = frames->Count();
    const int active = activeImage_;
    if (active < 0 || active >= info.count) return;
    TGIFSubImage* frame = frames->GetImage(active);
    info.empty = frame->GetEmpty();
    if (info.empty) return;
    for (int j = 0; j < frame->Extensions()->Count(); ++j) {
      TGIFItem* item = frame->Extensions()->GetItem(j);
      if (auto* control = dynamic_cast<TGIFGraphicControlExtension*>(item)) {
        info.delay = control->GetDelay();
        info.disposalValue = control->GetDisposalValue();
        info.disposal = control->GetDisposal();
      } else if (auto* looping = dynamic_cast<TGIFAppExtNSLoop*>(item)) {
        if (!info.hasLoop) info.loops = looping->Loops();
        info.hasLoop = true;
      }
    }
    // Frames 0 .. k-1 of delay 0 and disposal 0 or 1 are drawn at once with frame k.
    int run = 0;
    while (run < info.count - 1 && InLeadingRunFrame(frames->GetImage(run))) ++run;
    info.inLeadingRun = active < run;
    // Rendered now, so the paint after the delay is a blit.
    frame->HasMask();
    frame->GetBitmap();
  });
}

void TGIFPainter::Wait(int delay) {
  if (delay < 1) {
    Sleep(0);
    return;
  }
  const bool async = IsAsync();
  const unsigned now = timeGetTime();
  const int speed = animationSpeed_;
  int wait;
  if (speed == 0) {
    wait = async ? int(INFINITE) : GIFMaximumDelay * GIFDelayExp;
  } else {
    const int elapsed = (int(now - lastTime_) - previousWait_) / 2;
    wait = MulDiv(delay * GIFDelayExp - elapsed, 100, speed);
    previousWait_ = wait;
  }
  lastTime_ = now;
  if (!async) {
    WaitInline(std::max(wait, 1));
    return;
  }
  if (wait <= 0 && speed != 0 && !paused_) return;
  const DWORD ms = speed == 0 ? INFINITE : DWORD(std::max(wait, 0));
  if (event_) {
    while (paused_ && !Terminated) WaitForSingleObject(event_, INFINITE);
    if (WaitForSingleObject(event_, ms) == WAIT_OBJECT_0) {
      previousWait_ = 0;
      lastTime_ = timeGetTime();
    }
  } else if (speed != 0) {
    Sleep(unsigned(wait));
  }
}

void TGIFPainter::WaitInline(int wait) {
  while (wait > 0 && !Stopping()) {
    const unsigned before = timeGetTime();
    Sleep(unsigned(std::min(wait, kInlineSleepStep)));
    wait -= int(timeGetTime() - before);
    MSG msg;
    while (!Stopping() && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        PostQuitMessage(int(msg.wParam));
        Terminate();
        break;
      }
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
      // A handler may have freed the picture (and stopped this painter with it).
      if (!ImageAlive()) Terminate();
    }
  }
}

void TGIFPainter::DoPaint() {
  TGIFImage* image = image_;
  TGIFSubImage* frame = image->Images()->GetImage(activeImage_);
  frame->Draw(canvas_, rect_, HasGIFDrawOption(drawOptions_, goTransparent),
              HasGIFDrawOption(drawOptions_, goTile));
  if (!inLeadingRun_) started_ = true;
}

void TGIFPainter::DoPaintFrame() {
  if (HasGIFDrawOption(drawOptions_, goValidateCanvas) && GetObjectType(validatedDC_) == 0) {
    Terminate();
    return;
  }
  TGIFImage* image = image_;
  TGIFSubImage* frame = image->Images()->GetImage(activeImage_);
  const bool clearFirst = HasGIFDrawOption(drawOptions_, goClearOnLoop) && activeImage_ == 0;
  const bool transparent = HasGIFDrawOption(drawOptions_, goTransparent);
  const bool tile = HasGIFDrawOption(drawOptions_, goTile);
  const int w = RectWidth(rect_), h = RectHeight(rect_);
  const RECT all{0, 0, w, h};
  TCanvas* target = nullptr;
  bool copy = false;
  switch (disposal_) {
    case TDisposalMethod::dmNone:
    case TDisposalMethod::dmNoDisposal:
    case TDisposalMethod::dmBackground:
      target = backup_->Canvas();
      copy = true;
      break;
    case TDisposalMethod::dmPrevious:
      if (previousDisposal_ == TDisposalMethod::dmPrevious ||
          previousDisposal_ == TDisposalMethod::dmBackground) {
        frame_->Canvas()->CopyRect(all, backup_->Canvas(), all);
        target = frame_->Canvas();
        copy = true;
      } else {
        target = canvas_;
      }
      break;
  }
  // Reserved disposal values (4-7) paint as frames without disposal.
  if (disposalValue_ > 3) {
    target = backup_->Canvas();
    copy = true;
  }
  HDC dc = target->Handle();
  HPALETTE palette = frame->GetPalette();
  HPALETTE oldPalette =
      SelectPalette(dc, palette ? palette : static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)), FALSE);
  RealizePalette(dc);
  if (clearFirst) {
    RestoreArea(true);
    // A frame painted straight onto the canvas starts from the cleared picture as well.
    if (target == canvas_) {
      canvas_->Lock();
      canvas_->Changing();
      BitBlt(canvas_->Handle(), rect_.left, rect_.top, w, h, backup_->Canvas()->Handle(), 0, 0, SRCCOPY);
      canvas_->Unlock();
    }
  }
  frame->Draw(target, target == canvas_ ? rect_ : all, transparent, tile);
  SelectPalette(dc, oldPalette, FALSE);
  if (copy) {
    canvas_->Lock();
    canvas_->Changing();
    BitBlt(canvas_->Handle(), rect_.left, rect_.top, w, h, target->Handle(), 0, 0, SRCCOPY);
    canvas_->Unlock();
    canvas_->Changed();
  }
  if (disposal_ == TDisposalMethod::dmBackground && disposalValue_ <= 3) RestoreArea(false);
  if (!inLeadingRun_) started_ = true;
}

void TGIFPainter::RestoreArea(bool clearFirst) {
  TGIFImage* image = image_;
  TGIFSubImage* frame = image->Images()->GetImage(activeImage_);
  const bool transparent = HasGIFDrawOption(drawOptions_, goTransparent);
  const bool tile = HasGIFDrawOption(drawOptions_, goTile);
  const int w = RectWidth(rect_), h = RectHeight(rect_);
  const RECT all{0, 0, w, h};
  TCanvas* canvas = backup_->Canvas();
  // On a clear at the start of a pass the whole picture goes, else the frame's area.
  std::vector<RECT> areas;
  const int screenWidth = image->Width(), screenHeight = image->Height();
  if (clearFirst) {
    areas.push_back(all);
  } else if (tile && (transparent || (frame->Width() != screenWidth && frame->Height() != screenHeight))) {
    if (screenWidth > 0 && screenHeight > 0)
      for (int y = 0; y < h; y += screenHeight)
        for (int x = 0; x < w; x += screenWidth) {
          const RECT cell = frame->GetBoundsRect();
          areas.push_back(RECT{x + cell.left, y + cell.top, x + cell.right, y + cell.bottom});
        }
  } else {
    areas.push_back(frame->ScaleRect(all));
  }
  for (RECT area : areas) {
    area.left = std::max<LONG>(area.left, 0);
    area.top = std::max<LONG>(area.top, 0);
    area.right = std::min<LONG>(area.right, w);
    area.bottom = std::min<LONG>(area.bottom, h);
    if (area.left >= area.right || area.top >= area.bottom) continue;
    if (transparent && background_)
      canvas->CopyRect(area, background_->Canvas(), area);
    else
      canvas->FillRect(area);
  }
}

void TGIFPainter::DoOnTerminate() {
  if (terminated_) return;
  terminated_ = true;
  TGIFImage* image = image_;
  if (image && alive_ && *alive_) {
    TList* list = image->Painters()->LockList();
    if (reference_ && *reference_ == this) *reference_ = nullptr;
    list->Remove(this);
    image->Painters()->UnlockList();
    image_ = nullptr;
    // A failure that ended a thread of its own is the picture's to report.
    if (failure_ && IsAsync()) {
      try {
        std::rethrow_exception(failure_);
      } catch (const Exception& e) {
        image->Warning(image, gsError, e.Message);
      }
    }
  }
  backup_.reset();
  frame_.reset();
  background_.reset();
}
