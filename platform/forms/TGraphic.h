// TGraphic: the abstract picture (bitmap, JPEG, icon, and the GIF and PNG classes of the
// product). A canvas draws it through the protected Draw; files and streams go through
// LoadFromStream and SaveToStream, and saving to a file replaces the file only when complete.
#pragma once

#include <functional>

#include "platform/gdi/GdiTypes.h"
#include "platform/rtl/Object.h"
#include "platform/rtl/TStream.h"

class TCanvas;

enum TProgressStage { psStarting, psRunning, psEnding };
using TProgressEvent = std::function<void(TObject* sender, TProgressStage stage, BYTE percentDone,
                                          bool redrawNow, const RECT& r, const AnsiString& msg)>;

class TGraphic : public TPersistent {
 public:
  bool Empty() const { return GetEmpty(); }
  int Width() const { return GetWidth(); }
  int Height() const { return GetHeight(); }
  void SetWidth(int value) { SetWidthImpl(value); }
  void SetHeight(int value) { SetHeightImpl(value); }
  bool Transparent() const { return GetTransparent(); }
  void SetTransparent(bool value) { SetTransparentImpl(value); }
  HPALETTE Palette() { return GetPalette(); }
  void SetPalette(HPALETTE value) { SetPaletteImpl(value); }
  bool PaletteModified = false;
  bool Modified = false;

  // True for the same object; false for another class or an empty and a non-empty picture;
  // else whether the two stream images are the same bytes.
  virtual bool Equals(TGraphic* graphic);
  virtual void LoadFromFile(const AnsiString& fileName);
  virtual void SaveToFile(const AnsiString& fileName);
  virtual void LoadFromStream(TStream* stream) = 0;
  virtual void SaveToStream(TStream* stream) = 0;
  // The base supports no clipboard format: EInvalidGraphic "Unsupported clipboard format".
  virtual void LoadFromClipboardFormat(WORD format, HANDLE data, HPALETTE palette);
  virtual void SaveToClipboardFormat(WORD& format, HANDLE& data, HPALETTE& palette);

  void DefineProperties(TFiler* filer) override;

  TNotifyEvent OnChange;
  TProgressEvent OnProgress;

 protected:
  friend class TCanvas;
  friend class TPicture;
  virtual void Draw(TCanvas* canvas, const RECT& rect) = 0;
  virtual bool GetEmpty() const = 0;
  virtual int GetWidth() const = 0;
  virtual int GetHeight() const = 0;
  virtual void SetWidthImpl(int value) = 0;
  virtual void SetHeightImpl(int value) = 0;
  virtual bool GetTransparent() const { return transparent_; }
  virtual void SetTransparentImpl(bool value);
  virtual HPALETTE GetPalette() { return nullptr; }
  virtual void SetPaletteImpl(HPALETTE) {}
  virtual void Changed(TObject* sender);
  virtual void Progress(TObject* sender, TProgressStage stage, BYTE percentDone, bool redrawNow,
                        const RECT& r, const AnsiString& msg);
  // The "Data" property: the graphic's own stream form.
  virtual void ReadData(TStream* stream) { LoadFromStream(stream); }
  virtual void WriteData(TStream* stream) { SaveToStream(stream); }
  // The stream form of bitmaps and JPEG pictures: a 32-bit byte count, then the file bytes.
  void ReadSizedData(TStream* stream);
  void WriteSizedData(TStream* stream);

  bool transparent_ = false;
};
