// TGIFImage: a whole GIF file held in memory as a picture of the form library: the header
// (logical screen and global colour table) and the frames, each with its extensions, local
// colour table and pixel indices. It reads and writes GIF streams and reports warnings and
// progress. Drawing and encoding are not available yet: those operations raise
// EInvalidGraphicOperation.
#pragma once

#include <functional>
#include <memory>

#include "pictures/GIFSettings.h"
#include "pictures/TGIFHeader.h"
#include "pictures/TGIFImageList.h"
#include "platform/forms/TGraphic.h"

class TGIFColorMap;

using TGIFWarning = std::function<void(TObject* Sender, TGIFSeverity Severity, const AnsiString& Message)>;

// The text of the operations this picture cannot do yet.
inline constexpr char sGIFEncodingUnavailable[] = "GIF image data cannot be encoded";
inline constexpr char sGIFDrawingUnavailable[] = "GIF pictures cannot be drawn";

class TGIFImage : public TGraphic {
 public:
  TGIFImage();
  ~TGIFImage() override;

  void Clear();
  // A frame joins the picture as it is; other graphics are not supported yet. The frame's index.
  int Add(TPersistent* source);
  // Only the same picture: two pictures are never compared by their frames.
  bool Equals(TGraphic* graphic) override { return graphic == this; }
  void LoadFromStream(TStream* stream) override;
  void SaveToStream(TStream* stream) override;

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
  // here: ooReduceColors with rmPalette raises "Invalid reduction method".
  void Optimize(TGIFOptimizeOptions options, TColorReduction reduction, TDitherMode ditherMode, int bits);
  // One global table for all frames (see TColorMapOptimizer).
  void OptimizeColorMap();

  TGIFHeader* Header() const { return header_.get(); }
  TGIFImageList* Images() const { return images_.get(); }

  TGIFWarning OnGIFWarning;

  // Settings a new picture takes from the unit's defaults.
  TGIFDrawOptions DrawOptions() const { return drawOptions_; }
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
  // Percent, kept within 0 to 1000.
  void SetAnimationSpeed(int value);
  int ForceFrame() const { return forceFrame_; }
  void SetForceFrame(int value);
  TColor DrawBackgroundColor() const { return drawBackgroundColor_; }
  void SetDrawBackgroundColor(TColor value) { drawBackgroundColor_ = value; }
  // goDither, unless goAutoDither limits it to screens of 8 bits or fewer.
  bool GetDoDither() const;

  // For the parts of the picture: progress through the base class's notification.
  void DoProgress(TProgressStage stage, BYTE percent, bool redrawNow, const char* message);
  // Counts the pixels of a frame being loaded against GIFMaximumTotalPixels.
  void ClaimLoadedPixels(std::int64_t count);
  void SetPalette(HPALETTE palette) { SetPaletteImpl(palette); }

 protected:
  void Draw(TCanvas* canvas, const RECT& rect) override;
  bool GetEmpty() const override;
  int GetWidth() const override;
  int GetHeight() const override;
  void SetWidthImpl(int value) override;
  void SetHeightImpl(int value) override;
  HPALETTE GetPalette() override;
  void SetPaletteImpl(HPALETTE palette) override;

 private:
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
  std::int64_t loadedPixels_ = 0;
};
