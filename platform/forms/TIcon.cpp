#include "platform/forms/TIcon.h"

#include "platform/controls/SystemIcons.h"
#include "platform/forms/IcoFile.h"
#include "platform/rtl/Exceptions.h"

namespace {
// Icon files hold at most a few hundred images of 256 x 256 pixels; anything larger is refused
// before it is read.
constexpr std::int64_t kMaxIconFile = std::int64_t(64) << 20;
}  // namespace

void TIcon::LoadFromStream(TStream* stream) {
  std::int64_t left = stream->Size() - stream->Position();
  if (left <= 0 || left > kMaxIconFile) throw EInvalidGraphic("Icon image is not valid");
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(left));
  stream->ReadBuffer(bytes.data(), static_cast<int>(left));
  Take(std::move(bytes));
  handle_ = nullptr;
}

void TIcon::SetHandle(HICON icon) {
  const std::uint8_t* data = nullptr;
  std::size_t size = 0;
  if (!platform::controls::IconFileOf(icon, data, size)) throw EInvalidGraphic("Icon image is not valid");
  Take(std::vector<std::uint8_t>(data, data + size));
  handle_ = icon;
}

void TIcon::Take(std::vector<std::uint8_t> bytes) {
  TIcoImage decoded = DecodeIco(bytes.data(), bytes.size());
  image_.Width = decoded.Width;
  image_.Height = decoded.Height;
  image_.Pixels = std::move(decoded.Pixels);
  image_.Opaque = std::move(decoded.Opaque);
  file_ = std::move(bytes);
  Changed(this);
}

void TIcon::SaveToStream(TStream* stream) {
  if (!file_.empty()) stream->WriteBuffer(file_.data(), static_cast<int>(file_.size()));
}

void TIcon::Assign(TPersistent* source) {
  if (auto* other = dynamic_cast<TIcon*>(source)) {
    image_ = other->image_;
    file_ = other->file_;
    handle_ = other->handle_;
    Changed(this);
    return;
  }
  TGraphic::Assign(source);
}

void TIcon::SetWidthImpl(int value) {
  if (value != image_.Width) throw EInvalidGraphicOperation("Cannot change the size of an icon");
}

void TIcon::SetHeightImpl(int value) {
  if (value != image_.Height) throw EInvalidGraphicOperation("Cannot change the size of an icon");
}

void TIcon::Draw(TCanvas* canvas, const RECT& rect) { image_.Draw(canvas, rect); }
