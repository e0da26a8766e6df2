#include "editor/TImgFileItem.h"

#include <algorithm>
#include <exception>
#include <utility>
#include <vector>

#include "platform/forms/TJPEGImage.h"
#include "platform/forms/TPicture.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/StringRoutines.h"

namespace {

// A picture drawn onto a bitmap of its size. Where the picture lets the background through, the
// bitmap keeps a colour the picture does not use and is transparent in that colour, so whoever
// draws it (the strip's thumbnail, the page canvas) shows their own background there.
std::unique_ptr<TBitmap> DrawnPicture(TGraphic* graphic, int width, int height) {
  auto onWhite = std::make_unique<TBitmap>();
  TBitmap onBlack;
  for (auto [bitmap, colour] : {std::pair{onWhite.get(), clWhite}, std::pair{&onBlack, clBlack}}) {
    bitmap->SetSize(width, height);
    bitmap->Canvas()->Brush()->SetColor(colour);
    bitmap->Canvas()->FillRect(RECT{0, 0, width, height});
    bitmap->Canvas()->Draw(0, 0, graphic);
  }
  // Rows of 32-bit pixels, 0x00RRGGBB. A pixel is see-through where the two backgrounds show.
  std::vector<uint32_t> used;
  bool clear = false;
  for (int y = 0; y < height; ++y) {
    auto* white = static_cast<uint32_t*>(onWhite->ScanLine(y));
    auto* black = static_cast<uint32_t*>(onBlack.ScanLine(y));
    for (int x = 0; x < width; ++x) {
      if ((white[x] & 0xFFFFFF) == 0xFFFFFF && (black[x] & 0xFFFFFF) == 0)
        clear = true;
      else
        used.push_back(white[x] & 0xFFFFFF);
    }
  }
  if (!clear) return onWhite;
  std::sort(used.begin(), used.end());
  uint32_t key = 0xFF00FF;  // fuchsia, or the next colour the picture does not use
  while (std::binary_search(used.begin(), used.end(), key)) key = (key + 1) & 0xFFFFFF;
  for (int y = 0; y < height; ++y) {
    auto* white = static_cast<uint32_t*>(onWhite->ScanLine(y));
    auto* black = static_cast<uint32_t*>(onBlack.ScanLine(y));
    for (int x = 0; x < width; ++x)
      if ((white[x] & 0xFFFFFF) == 0xFFFFFF && (black[x] & 0xFFFFFF) == 0) white[x] = key;
  }
  onWhite->SetTransparentMode(tmFixed);
  onWhite->SetTransparentColor(TColor(((key & 0xFF) << 16) | (key & 0xFF00) | ((key >> 16) & 0xFF)));
  onWhite->SetTransparent(true);
  return onWhite;
}

}  // namespace

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
      bitmap = DrawnPicture(picture.Graphic(), picture.Width(), picture.Height());
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
