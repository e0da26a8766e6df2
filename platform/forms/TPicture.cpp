#include "platform/forms/TPicture.h"

#include <algorithm>
#include <vector>

#include "platform/forms/TFiler.h"
#include "platform/forms/TIcon.h"
#include "platform/forms/TJPEGImage.h"
#include "platform/forms/TMetafile.h"
#include "platform/forms/TReader.h"
#include "platform/forms/TWriter.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/Program.h"
#include "platform/rtl/StringRoutines.h"
#include "platform/rtl/SysUtils.h"
#include "platform/win/Win.h"

namespace {

struct FileFormat {
  AnsiString extension;
  AnsiString description;
  TClass type;
  AnsiString className;
  TGraphicFactory create;
};

struct ClipboardFormat {
  WORD format;
  TClass type;
  AnsiString className;
  TGraphicFactory create;
};

std::vector<FileFormat>& FileFormats() {
  static std::vector<FileFormat> formats;
  return formats;
}

std::vector<ClipboardFormat>& ClipboardFormats() {
  static std::vector<ClipboardFormat> formats;
  return formats;
}

const FileFormat* FindExtension(const AnsiString& ext) {
  auto& formats = FileFormats();
  for (auto it = formats.rbegin(); it != formats.rend(); ++it)
    if (SameText(it->extension, ext)) return &*it;
  return nullptr;
}

const FileFormat* FindClassName(const AnsiString& name) {
  auto& formats = FileFormats();
  for (auto it = formats.rbegin(); it != formats.rend(); ++it)
    if (SameText(it->className, name)) return &*it;
  for (auto& c : ClipboardFormats())
    if (SameText(c.className, name)) {
      static FileFormat found;
      found = FileFormat{"", "", c.type, c.className, c.create};
      return &found;
    }
  return nullptr;
}

AnsiString ClassNameOf(TGraphic* graphic) {
  for (auto& f : FileFormats())
    if (*f.type == typeid(*graphic)) return f.className;
  for (auto& c : ClipboardFormats())
    if (*c.type == typeid(*graphic)) return c.className;
  return graphic->ClassName();
}

}  // namespace

TPicture::TPicture() = default;

TPicture::~TPicture() { delete graphic_; }

void TPicture::RegisterFileFormat(const AnsiString& extension, const AnsiString& description, TClass type,
                                  const AnsiString& className, TGraphicFactory create) {
  AnsiString ext = extension;
  if (!ext.IsEmpty() && ext[1] == '.') ext = ext.SubString(2, ext.Length() - 1);
  FileFormats().push_back(FileFormat{ext, description, type, className, std::move(create)});
}

void TPicture::RegisterClipboardFormat(WORD format, TClass type, const AnsiString& className,
                                       TGraphicFactory create) {
  ClipboardFormats().push_back(ClipboardFormat{format, type, className, std::move(create)});
}

void TPicture::UnregisterGraphicClass(TClass type) {
  std::erase_if(FileFormats(), [type](const FileFormat& f) { return *f.type == *type; });
  std::erase_if(ClipboardFormats(), [type](const ClipboardFormat& f) { return *f.type == *type; });
}

bool TPicture::SupportsClipboardFormat(WORD format) {
  return std::any_of(ClipboardFormats().begin(), ClipboardFormats().end(),
                     [format](const ClipboardFormat& f) { return f.format == format; });
}

void TPicture::RegisterBuiltInFormats() {
  if (FindExtension("bmp")) return;
  RegisterFileFormat<TBitmap>("bmp", "Bitmaps", "TBitmap");
  RegisterFileFormat<TJPEGImage>("jpeg", "JPEG Image File", "TJPEGImage");
  RegisterFileFormat<TJPEGImage>("jpg", "JPEG Image File", "TJPEGImage");
  RegisterFileFormat<TIcon>("ico", "Icon", "TIcon");
  RegisterFileFormat<TMetafile>("emf", "Enhanced Metafile", "TMetafile");
  RegisterFileFormat<TMetafile>("wmf", "Metafile", "TMetafile");
  RegisterClipboardFormat(CF_DIB, &typeid(TBitmap), "TBitmap", [] { return new TBitmap; });
}

void TPicture::Changed(TObject*) {
  resource_ = AnsiString();
  if (OnChange) OnChange(this);
}

void TPicture::Adopt(TGraphic* graphic) {
  delete graphic_;
  graphic_ = graphic;
  if (graphic_) {
    graphic_->OnChange = [this](TObject* sender) { Changed(sender); };
    graphic_->OnProgress = [this](TObject* sender, TProgressStage stage, BYTE percent, bool redraw,
                                  const RECT& r, const AnsiString& msg) {
      if (OnProgress) OnProgress(sender, stage, percent, redraw, r, msg);
    };
  }
  Changed(this);
}

void TPicture::SetGraphic(TGraphic* graphic) {
  if (!graphic) {
    Adopt(nullptr);
    return;
  }
  const FileFormat* format = FindClassName(ClassNameOf(graphic));
  std::unique_ptr<TGraphic> copy(format ? format->create() : nullptr);
  if (!copy) throw EInvalidGraphic("Unsupported clipboard format");
  copy->Assign(graphic);
  Adopt(copy.release());
}

TBitmap* TPicture::Bitmap() {
  if (auto* b = dynamic_cast<TBitmap*>(graphic_)) return b;
  Adopt(new TBitmap);
  return static_cast<TBitmap*>(graphic_);
}

void TPicture::LoadFromFile(const AnsiString& fileName) {
  AnsiString ext = ExtractFileExt(fileName);
  if (!ext.IsEmpty()) ext = ext.SubString(2, ext.Length() - 1);
  const FileFormat* format = FindExtension(ext);
  if (!format) throw EInvalidGraphic("No picture class for the extension .%s", {TVarRec(ext)});
  std::unique_ptr<TGraphic> graphic(format->create());
  graphic->OnProgress = [this](TObject* sender, TProgressStage stage, BYTE percent, bool redraw,
                               const RECT& r, const AnsiString& msg) {
    if (OnProgress) OnProgress(sender, stage, percent, redraw, r, msg);
  };
  graphic->LoadFromFile(fileName);
  Adopt(graphic.release());
}

void TPicture::SaveToFile(const AnsiString& fileName) {
  if (graphic_) graphic_->SaveToFile(fileName);
}

void TPicture::LoadFromClipboardFormat(WORD format, HANDLE data, HPALETTE palette) {
  const ClipboardFormat* found = nullptr;
  for (auto& f : ClipboardFormats())
    if (f.format == format) found = &f;
  if (!found) throw EInvalidGraphic("Unsupported clipboard format");
  std::unique_ptr<TGraphic> graphic(found->create());
  graphic->LoadFromClipboardFormat(format, data, palette);
  Adopt(graphic.release());
}

void TPicture::SaveToClipboardFormat(WORD& format, HANDLE& data, HPALETTE& palette) {
  if (!graphic_) throw EInvalidGraphic("Unsupported clipboard format");
  graphic_->SaveToClipboardFormat(format, data, palette);
}

void TPicture::Assign(TPersistent* source) {
  if (!source) {
    SetGraphic(nullptr);
  } else if (auto* picture = dynamic_cast<TPicture*>(source)) {
    SetGraphic(picture->graphic_);
  } else if (auto* graphic = dynamic_cast<TGraphic*>(source)) {
    SetGraphic(graphic);
  } else {
    TPersistent::Assign(source);
  }
}

void TPicture::AssignTo(TPersistent* dest) {
  if (auto* graphic = dynamic_cast<TGraphic*>(dest); graphic && graphic_) {
    graphic->Assign(graphic_);
    return;
  }
  TPersistent::AssignTo(dest);
}

void TPicture::DefineProperties(TFiler* filer) {
  const bool fromResource = !resource_.IsEmpty();
  filer->DefineProperty(
      "Resource", [this](TReader* r) { ReadResource(r); }, [this](TWriter* w) { w->WriteString(resource_); },
      fromResource);
  filer->DefineBinaryProperty(
      "Data", [this](TStream* s) { ReadData(s); }, [this](TStream* s) { WriteData(s); },
      !fromResource && graphic_ && !graphic_->Empty());
}

void TPicture::ReadResource(TReader* reader) {
  AnsiString name = reader->ReadString();
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->LoadFromResourceName(HInstance, name);
  Adopt(bitmap.release());
  resource_ = name;
}

void TPicture::ReadData(TStream* stream) {
  // A short string (length byte, then the class name), then the graphic's own data.
  unsigned char length = 0;
  if (stream->Read(&length, 1) != 1) throw EInvalidGraphic("The picture data are not valid");
  std::string name(length, '\0');
  if (length && stream->Read(name.data(), length) != length)
    throw EInvalidGraphic("The picture data are not valid");
  const FileFormat* format = FindClassName(AnsiString(name));
  if (!format) throw EInvalidGraphic("The picture data are not valid");
  std::unique_ptr<TGraphic> graphic(format->create());
  graphic->ReadData(stream);
  Adopt(graphic.release());
}

void TPicture::WriteData(TStream* stream) {
  AnsiString name = ClassNameOf(graphic_);
  unsigned char length = static_cast<unsigned char>(std::min(name.Length(), 255));
  stream->WriteBuffer(&length, 1);
  stream->WriteBuffer(name.c_str(), length);
  graphic_->WriteData(stream);
}
