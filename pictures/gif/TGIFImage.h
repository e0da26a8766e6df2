// TGIFImage: a whole GIF file held in memory as a picture of the form library: the header
// (logical screen and global colour table) and the frames, each with its extensions, local
// colour table and pixel indices. It reads and writes GIF streams, reports warnings and
// progress, draws itself (a still frame, or an animation played by painters that draw through
// the interface thread), and exchanges GIF data through the clipboard.
// A leading run of frames with delay 0 and disposal 0 or 1 (a mosaic of tiles) is one picture:
// a still draw, the cache and the first painted frame of an animation show all of it.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <vector>

#include "pictures/gif/GIFSettings.h"
#include "pictures/gif/TGIFHeader.h"
#include "pictures/gif/TGIFImageList.h"
#include "platform/forms/TGraphic.h"
#include "platform/rtl/TList.h"

class TBitmap;
class TGIFColorMap;
class TGIFLoadContext;
class TGIFPainter;

class TGIFImage : public TGraphic {
 public:
  TGIFImage();
  // Stops every painter and cuts loose those still listed before the picture goes.
  ~TGIFImage() override;

  void Clear();
  void NewImage() { Clear(); }
  // A frame joins the picture as it is; a graphic becomes a new frame. The frame's index.
  int Add(TPersistent* source);
  // From another GIF picture: its screen, tables, frames and settings (while copying, progress
  // and warnings go through the source's handlers; this picture keeps its own). Other graphics
  // become a one-frame picture.
  void Assign(TPersistent* source) override;
  // Only the same picture: two pictures are never compared by their frames.
  bool Equals(TGraphic* graphic) override { return graphic == this; }
  void LoadFromStream(TStream* stream) override;
  void SaveToStream(TStream* stream) override;
  // The module's RCDATA resource of that name.
  void LoadFromResourceName(HINSTANCE instance, const AnsiString& name);
  // CF_GIF data as a GIF stream, CF_BITMAP as a one-frame picture; other formats raise
  // "Unsupported clipboard format".
  void LoadFromClipboardFormat(WORD format, HANDLE data, HPALETTE palette) override;
  // The rendered bitmap as a bitmap gives it, and the GIF stream on the clipboard under CF_GIF.
  void SaveToClipboardFormat(WORD& format, HANDLE& data, HPALETTE& palette) override;

  TGIFVersion GetVersion();
  int GetColorResolution();
  int GetBitsPerPixel();
  int GetBackgroundColorIndex() const { return header_->BackgroundColorIndex(); }
  void SetBackgroundColorIndex(int index) { header_->SetBackgroundColorIndex(index); }
  TColor GetBackgroundColor() { return header_->GetBackgroundColor(); }
  void SetBackgroundColor(TColor color) { header_->SetBackgroundColor(color); }
  BYTE GetAspectRatio() const { return header_->AspectRatio(); }
  void SetAspectRatio(BYTE value) { header_->SetAspectRatio(value); }
  TGIFColorMap* GetColorMap() const;
  bool GetIsTransparent() const;
  virtual void Warning(TObject* sender, TGIFSeverity severity, const AnsiString& message);

  // Makes the picture smaller before it is written, by the options chosen (bit n stands for
  // TGIFOptimizeOption n); the composed animation stays as it was. Colour reduction is not done
  // here: ooReduceColors with rmPalette raises "Invalid reduction method". Both optimisations
  // stop the painters and hold their list until the frames are done: drawing again afterwards
  // plays the new frames.
  void Optimize(TGIFOptimizeOptions options, TColorReduction reduction, TDitherMode ditherMode, int bits);
  // One global table for all frames (see TColorMapOptimizer).
  void OptimizeColorMap();

  TGIFHeader* Header() const { return header_.get(); }
  TGIFImageList* Images() const { return images_.get(); }

  TGIFWarning OnGIFWarning;

  // Settings a new picture takes from the unit's defaults.
  TGIFDrawOptions DrawOptions() const { return drawOptions_; }
  // A change stops the draw painter and drops the rendered bitmaps.
  void SetDrawOptions(TGIFDrawOptions value);
  bool GetAnimate() const { return HasGIFDrawOption(drawOptions_, goAnimate); }
  void SetAnimate(bool value);
  TColorReduction ColorReduction() const { return colorReduction_; }
  void SetColorReduction(TColorReduction value) { colorReduction_ = value; }
  int ReductionBits() const { return reductionBits_; }
  // 3 to 8; others raise "Invalid Bits Per Pixel value".
  void SetReductionBits(int value);
  TDitherMode DitherMode() const { return ditherMode_; }
  void SetDitherMode(TDitherMode value) { ditherMode_ = value; }
  TGIFCompression Compression() const { return compression_; }
  void SetCompression(TGIFCompression value) { compression_ = value; }
  TThreadPriority ThreadPriority() const { return threadPriority_; }
  void SetThreadPriority(TThreadPriority value) { threadPriority_ = value; }
  int AnimationSpeed() const { return animationSpeed_; }
  // Percent, kept within 0 to 1000; the draw painter follows.
  void SetAnimationSpeed(int value);
  int ForceFrame() const { return forceFrame_; }
  void SetForceFrame(int value);
  TColor DrawBackgroundColor() const { return drawBackgroundColor_; }
  void SetDrawBackgroundColor(TColor value) { drawBackgroundColor_ = value; }
  // goDither, unless goAutoDither limits it to screens of 8 bits or fewer.
  bool GetDoDither() const;

  // For the parts of the picture: progress through the base class's notification.
  void DoProgress(TProgressStage stage, BYTE percent, bool redrawNow, const char* message);
  // For reading frames into the picture: its screen, the whole GIFMaximumTotalPixels, and the
  // loading progress after each frame.
  TGIFLoadContext NewLoadContext();
  void SetPalette(HPALETTE palette) { SetPaletteImpl(palette); }
  HPALETTE GetPalette() override;

  // The picture rendered at its logical screen's size (the leading run composed), made on
  // first use; null for an empty picture.
  TBitmap* GetBitmap();
  void NewBitmap();
  // Stops the draw painter and drops the rendered picture.
  void FreeBitmap();
  // Drops every rendered bitmap and palette; a single frame's table becomes the global one.
  void Pack();
  // Starts a painter of its own for `canvas` and `rect` (null when none was needed).
  TGIFPainter* Paint(TCanvas* canvas, const RECT& rect, TGIFDrawOptions options);
  // Makes a painter (listed, with this picture's events) and returns it unstarted when it
  // plays in a thread; a synchronous one plays at once and null is returned.
  TGIFPainter* InternalPaint(TGIFPainter** reference, TCanvas* canvas, const RECT& rect,
                             TGIFDrawOptions options);
  // Stops the painter Draw started, waiting for it, and drops the rendered picture.
  void StopDraw();
  // Stops every painter and waits until the threads have left the list.
  void PaintStop();
  void PaintStart();
  void PaintResume() { PaintStart(); }
  void PaintPause();
  void PaintRestart();
  TThreadList* Painters() { return &painters_; }
  // Stops the painters of every picture (the unit's end).
  static void StopAllPainters();
  TGIFPainter* DrawPainter() const { return drawPainter_; }
  // False once the picture's destructor began; painters and Draw look before touching it.
  std::shared_ptr<std::atomic<bool>> AliveToken() const { return alive_; }
  // A frame's cache changed what the picture shows.
  void FrameChanged() { Changed(this); }

  TNotifyEvent OnAnimationStart;
  TNotifyEvent OnBeforeFrame;
  TNotifyEvent OnAfterFrame;
  TNotifyEvent OnAnimationLoop;
  TNotifyEvent OnAnimationEnd;

 protected:
  void AssignTo(TPersistent* dest) override;
  // Optimises first when GIFImageOptimizeOnStream is set.
  void WriteData(TStream* stream) override;
  void Changed(TObject* sender) override;
  void Draw(TCanvas* canvas, const RECT& rect) override;
  bool GetEmpty() const override;
  int GetWidth() const override;
  int GetHeight() const override;
  void SetWidthImpl(int value) override;
  void SetHeightImpl(int value) override;
  void SetPaletteImpl(HPALETTE palette) override;

 private:
  void AssignImage(TGIFImage* source);
  // The passes of Optimize, run while no painter plays and the painter list is held.
  void OptimizeFrames(TGIFOptimizeOptions options);
  // The painters listed now (taken under the list's lock). Painters end only through their
  // termination on the interface thread, so there they stay valid until it runs queued calls.
  std::vector<TGIFPainter*> ListedPainters();
  // The last frame of the leading run (0 without one).
  int LeadingRunEnd() const;
  void DrawStill(TCanvas* canvas, const RECT& rect);
  void DrawCache(TCanvas* canvas, const RECT& rect);

  // A screen of width or height 0 grows to the frames' extent.
  void FitScreenToFrames();

  TGIFDrawOptions drawOptions_;
  TColorReduction colorReduction_;
  int reductionBits_;
  TDitherMode ditherMode_;
  TGIFCompression compression_;
  TThreadPriority threadPriority_;
  int animationSpeed_;
  int forceFrame_ = -1;
  TColor drawBackgroundColor_ = clNone;
  std::unique_ptr<TGIFImageList> images_;
  std::unique_ptr<TGIFHeader> header_;
  HPALETTE globalPalette_ = nullptr;
  // Set while GetPalette runs: a frame without a table of its own asks the picture again.
  bool paletteBusy_ = false;
  bool drawing_ = false;
  // Set while Destroy and Clear stop the painters: no Changed goes out then.
  bool stopping_ = false;
  TThreadList painters_;
  TGIFPainter* drawPainter_ = nullptr;
  std::unique_ptr<TBitmap> bitmap_;
  std::shared_ptr<std::atomic<bool>> alive_ = std::make_shared<std::atomic<bool>>(true);
};
