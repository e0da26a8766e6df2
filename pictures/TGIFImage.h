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

  TGIFHeader* Header() const { return header_.get(); }
  TGIFImageList* Images() const { return images_.get(); }

  TGIFWarning OnGIFWarning;

  // Settings a new picture takes from the unit's defaults.
  TGIFDrawOptions DrawOptions;
  TColorReduction ColorReduction;
  int ReductionBits;
  TDitherMode DitherMode;
  TGIFCompression Compression;
  TThreadPriority ThreadPriority;
  int AnimationSpeed;
  int ForceFrame = -1;
  TColor DrawBackgroundColor = clNone;

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

  std::unique_ptr<TGIFImageList> images_;
  std::unique_ptr<TGIFHeader> header_;
  HPALETTE globalPalette_ = nullptr;
  std::int64_t loadedPixels_ = 0;
};
