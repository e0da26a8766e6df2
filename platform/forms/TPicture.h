// TPicture: holds one graphic of any registered class. The class to load a file with is chosen
// by the file's extension (case-insensitively; a later registration of an extension wins), the
// class for clipboard data by its format. A failed load raises and keeps the previous graphic.
#pragma once

#include <functional>
#include <memory>

#include "platform/forms/TBitmap.h"
#include "platform/forms/TGraphic.h"

class TReader;

using TGraphicFactory = std::function<TGraphic*()>;

class TPicture : public TPersistent {
 public:
  TPicture();
  ~TPicture() override;

  TGraphic* Graphic() const { return graphic_; }
  // Takes a copy of `graphic` (null empties the picture).
  void SetGraphic(TGraphic* graphic);
  // The graphic as a bitmap: anything else is replaced by an empty bitmap first.
  TBitmap* Bitmap();
  int Width() const { return graphic_ ? graphic_->Width() : 0; }
  int Height() const { return graphic_ ? graphic_->Height() : 0; }

  // EInvalidGraphic "No picture class for the extension .%s" for an unknown extension.
  void LoadFromFile(const AnsiString& fileName);
  void SaveToFile(const AnsiString& fileName);
  void LoadFromClipboardFormat(WORD format, HANDLE data, HPALETTE palette);
  void SaveToClipboardFormat(WORD& format, HANDLE& data, HPALETTE& palette);
  void Assign(TPersistent* source) override;
  // "Resource": the name of a bitmap compiled into the program (TBitmap::LoadFromResourceName
  // on HInstance; an unknown name raises EResNotFound while the layout is read). Written back as
  // long as the picture still holds that bitmap unchanged. "Data" otherwise: the graphic's class
  // name then its own data.
  void DefineProperties(TFiler* filer) override;
  // The resource the picture was read from; empty once the graphic was replaced or changed.
  const AnsiString& ResourceName() const { return resource_; }

  TNotifyEvent OnChange;
  TProgressEvent OnProgress;

  // `type` identifies the class for UnregisterGraphicClass and for the "Data" property.
  static void RegisterFileFormat(const AnsiString& extension, const AnsiString& description, TClass type,
                                 const AnsiString& className, TGraphicFactory create);
  template <class T>
  static void RegisterFileFormat(const AnsiString& extension, const AnsiString& description,
                                 const AnsiString& className) {
    RegisterFileFormat(extension, description, &typeid(T), className, [] { return new T; });
  }
  static void RegisterClipboardFormat(WORD format, TClass type, const AnsiString& className,
                                      TGraphicFactory create);
  static void UnregisterGraphicClass(TClass type);
  static bool SupportsClipboardFormat(WORD format);
  // The built-in classes: bmp (TBitmap), jpg and jpeg (TJPEGImage); CF_BITMAP/CF_DIB bitmaps.
  static void RegisterBuiltInFormats();

 protected:
  void AssignTo(TPersistent* dest) override;

 private:
  void Changed(TObject* sender);
  void Adopt(TGraphic* graphic);
  void ReadData(TStream* stream);
  void WriteData(TStream* stream);

  void ReadResource(TReader* reader);

  TGraphic* graphic_ = nullptr;
  AnsiString resource_;
};
