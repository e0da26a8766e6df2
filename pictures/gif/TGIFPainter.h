// TGIFPainter: plays the frames of a GIF picture onto one canvas and rectangle. It waits each
// frame's delay (scaled by the animation speed, making up half of a late frame's overrun),
// applies each frame's disposal with off-screen bitmaps, honours the looping block and fires
// the picture's five animation events. With goAsync it is a thread of its own that touches the
// picture only through synchronised calls on the interface thread (once per frame before the
// delay to read the frame and render its bitmap, then to paint and for every event); without
// goAsync the same loop runs inline in the caller, which keeps its message queue moving.
// A leading run of frames with delay 0 and disposal 0 or 1 (a mosaic of tiles) is one picture:
// it is painted at once, and the painter counts as started only when the run is complete.
#pragma once

#include <atomic>
#include <exception>
#include <functional>
#include <memory>

#include "pictures/GIFTypes.h"
#include "platform/rtl/TThread.h"

class TBitmap;
class TCanvas;
class TGIFImage;

class TGIFPainter : public TThread {
 public:
  TGIFPainter(TGIFImage* image, TCanvas* canvas, const RECT& rect, TGIFDrawOptions options);
  // As above; the painter writes itself into `reference` and clears it when it ends.
  TGIFPainter(TGIFPainter** reference, TGIFImage* image, TCanvas* canvas, const RECT& rect,
              TGIFDrawOptions options);
  ~TGIFPainter() override;

  // With goAsync, runs the thread, or lets a paused one go on.
  void Start();
  // Holds the thread at its next wait until Start.
  void Pause();
  // Ends the loop at its next check; wakes a waiting thread.
  void Stop();
  // Begins again at frame 0.
  void Restart();
  int AnimationSpeed() const { return animationSpeed_; }
  // 0 to 1000 percent; a change wakes a waiting thread (or restarts a painter without event).
  void SetAnimationSpeed(int value);
  int ActiveImage() const { return activeImage_; }
  // Within 0 to the frame count - 1: the frame shown next (from an OnAfterFrame handler).
  void SetActiveImage(int value);
  // Runs the loop of a synchronous painter on the caller's thread and frees the painter; a
  // failure that ended the loop is raised again afterwards.
  static void RunInline(TGIFPainter* painter);
  // The picture is going away: the painter forgets it (under the painter list's lock).
  void Detach() { image_ = nullptr; }

  TGIFImage* Image() const { return image_; }
  TCanvas* Canvas() const { return canvas_; }
  const RECT& Rect() const { return rect_; }
  TGIFDrawOptions DrawOptions() const { return drawOptions_; }
  bool IsAsync() const { return HasGIFDrawOption(drawOptions_, goAsync); }
  // A frame (the whole leading run) was painted since the last start.
  bool HasStarted() const { return started_; }
  // One of its calls runs on the interface thread right now.
  bool InCall() const { return inCall_; }

  TNotifyEvent OnAnimationStart;
  TNotifyEvent OnBeforeFrame;
  TNotifyEvent OnAfterFrame;
  TNotifyEvent OnAnimationLoop;
  TNotifyEvent OnAnimationEnd;

 protected:
  void Execute() override;

 private:
  // What the loop needs of the active frame, read on the interface thread.
  struct FrameInfo {
    int count = 0;
    bool empty = true;
    int delay = 0;  // hundredths, 0 when none
    TDisposalMethod disposal = TDisposalMethod::dmNoDisposal;
    int disposalValue = 1;
    bool hasLoop = false;
    int loops = 0;
    bool inLeadingRun = false;
  };

  void Loop();
  bool Stopping() const { return Terminated || restart_; }
  // Runs `method` on the interface thread unless the painter was stopped or detached by then;
  // false when it did not run.
  bool DoSynchronize(const std::function<void()>& method);
  void Fire(const TNotifyEvent& event);
  bool ReadFrame(FrameInfo& info);
  void Wait(int delay);
  void WaitInline(int wait);
  void DoPaint();
  void DoPaintFrame();
  void RestoreArea(bool clearFirst);
  void DoOnTerminate();
  bool ImageAlive() const;

  std::atomic<TGIFImage*> image_;
  TCanvas* canvas_;
  RECT rect_;
  TGIFDrawOptions drawOptions_;
  std::atomic<int> animationSpeed_;
  std::atomic<int> activeImage_{-1};
  TDisposalMethod disposal_ = TDisposalMethod::dmNoDisposal;
  int disposalValue_ = 1;
  TDisposalMethod previousDisposal_ = TDisposalMethod::dmNoDisposal;
  bool inLeadingRun_ = false;
  std::unique_ptr<TBitmap> backup_;
  std::unique_ptr<TBitmap> frame_;
  std::unique_ptr<TBitmap> background_;
  COLORREF clearColor_ = 0;
  HDC validatedDC_ = nullptr;
  std::atomic<bool> restart_{false};
  std::atomic<bool> started_{false};
  std::atomic<bool> paused_{false};
  std::atomic<bool> inCall_{false};
  TGIFPainter** reference_ = nullptr;
  HANDLE event_ = nullptr;
  // The picture's liveness: false once its destructor began.
  std::shared_ptr<std::atomic<bool>> alive_;
  std::exception_ptr failure_;
  bool terminated_ = false;  // DoOnTerminate ran
  // Wait bookkeeping of the loop's thread.
  unsigned lastTime_ = 0;
  int previousWait_ = 0;
};
