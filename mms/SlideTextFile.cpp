#include "mms/SlideTextFile.h"

#include "mms/TMmsFrame.h"
#include "platform/rtl/SysUtils.h"

namespace {

// The file's bytes, or false when it cannot be opened or read.
bool ReadBytes(const std::string& path, std::string& bytes) {
  return platform::ReadWholeFile(platform::FsPath(path.c_str()), bytes);
}

std::unique_ptr<char16_t[]> ReadUnits(const std::string& path) {
  std::string bytes;
  if (path.empty() || !ReadBytes(path, bytes) || bytes.empty()) return nullptr;
  const size_t units = bytes.size() / 2;  // an odd last byte does not make a unit
  auto text = std::make_unique<char16_t[]>(units + 1);
  for (size_t u = 0; u < units; ++u) {
    const auto low = static_cast<unsigned char>(bytes[2 * u]);
    const auto high = static_cast<unsigned char>(bytes[2 * u + 1]);
    text[u] = static_cast<char16_t>(low | (high << 8));
  }
  text[units] = 0;
  return text;
}

}  // namespace

std::unique_ptr<char16_t[]> ReadItemText(const TMediaItem* item) {
  return item ? ReadUnits(item->Path) : nullptr;
}

std::unique_ptr<char16_t[]> ReadFrameText(const TMmsFrame* frame) {
  return frame ? ReadItemText(frame->GetItem(TMediaItem::kText)) : nullptr;
}

std::string ReadItemTextAnsi(const TMediaItem* item) {
  if (!item || item->GetType() != TMediaItem::kText || item->Path.empty()) return std::string();
  std::string bytes;
  if (!ReadBytes(item->Path, bytes)) return std::string();
  return bytes.substr(0, bytes.find('\0'));
}
