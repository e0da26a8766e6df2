#include "editor/TImgFileItem.h"

#include <exception>

#include "platform/forms/TJPEGImage.h"
#include "platform/forms/TPicture.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/StringRoutines.h"

int CheckImgFileExt(const AnsiString& path) {
  const std::string text = path.ToStd();
  const auto dot = text.rfind('.');
  if (dot == std::string::npos) return kImgRefusedPath;
  const AnsiString ext(text.substr(dot).c_str());
  for (const char* accepted : {".JPG", ".BMP", ".GIF"})
    if (SameText(ext, accepted)) return 0;
  return kImgRefusedPath;
}

TImgFileItem::TImgFileItem(const AnsiString& path) {
  if (SetFile(path) == 0) LoadBitmap();
}

TImgFileItem::~TImgFileItem() = default;

int TImgFileItem::SetFile(const AnsiString& path) {
  if (CheckImgFileExt(path) != 0) return kImgRefusedPath;
  path_ = path;
  return 0;
}

int TImgFileItem::GetFileTimes() { return ReadFileStamp(path_, stamp_) ? 0 : kImgFileNotFound; }

int TImgFileItem::LoadBitmap() {
  const int found = GetFileTimes();
  bitmap_.reset();
  if (path_.IsEmpty()) return 0;
  if (found != 0) return found;
  // A damaged or foreign file must not take the strip's repaint (and the editor) down: the item
  // keeps no bitmap and the stamp, and the file is tried again once it changes.
  try {
    TPicture::RegisterBuiltInFormats();
    TPicture picture;
    picture.LoadFromFile(path_);
    auto bitmap = std::make_unique<TBitmap>();
    // Bitmaps and JPEG pictures hand over their decoded pixels (shared until either side
    // draws); anything else is drawn onto a bitmap of its size.
    if (auto* decoded = dynamic_cast<TBitmap*>(picture.Graphic())) {
      bitmap->Assign(decoded);
    } else if (auto* jpeg = dynamic_cast<TJPEGImage*>(picture.Graphic())) {
      bitmap->Assign(jpeg->Bitmap());
    } else {
      bitmap->SetSize(picture.Width(), picture.Height());
      bitmap->Canvas()->Draw(0, 0, picture.Graphic());
    }
    bitmap_ = std::move(bitmap);
    return 0;
  } catch (const Exception&) {
  } catch (const std::exception&) {
  }
  return kImgUndecodable;
}

int TImgFileItem::IsChanged() const {
  FileStamp now;
  ReadFileStamp(path_, now);
  return now.DiffersFrom(stamp_) ? 1 : 0;
}
