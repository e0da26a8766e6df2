#include "editor/MediaTypes.h"

#include <cctype>
#include <cstring>

namespace {

bool EqualIgnoringCase(const uint8_t* data, const char* text, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    if (std::toupper(data[i]) != std::toupper(static_cast<unsigned char>(text[i]))) return false;
  }
  return true;
}

// The text after the last "." of the file's name ("" without one).
std::string ExtensionOf(const std::string& path) {
  const std::size_t slash = path.find_last_of("/\\");
  const std::size_t dot = path.rfind('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "";
  return path.substr(dot + 1);
}

}  // namespace

AnsiString GetImageType(const uint8_t* data, std::size_t length) {
  if (!data) return "Invalid";
  if (length >= 2 && data[0] == 'B' && data[1] == 'M') return "BMP";
  if (length >= 6 && (EqualIgnoringCase(data, "GIF87a", 6) || EqualIgnoringCase(data, "GIF89a", 6)))
    return "GIF";
  if (length >= 10 && EqualIgnoringCase(data + 6, "JFIF", 4)) return "JPG";
  return "Invalid";
}

std::string PictureContentType(const std::string& path) {
  std::string ext = ExtensionOf(path);
  for (char& c : ext) c = char(std::tolower(static_cast<unsigned char>(c)));
  if (ext == "bmp") return "image/bmp";
  if (ext == "jpg") return "image/jpeg";
  if (ext == "gif") return "image/gif";
  return "";
}

std::string SoundContentType(const std::string& path) { return "audio/" + ExtensionOf(path); }

AnsiString ContentTypeToExt(const std::string& type) {
  static const struct {
    const char* type;
    const char* ext;
  } kTable[] = {
      {"audio/wav", "wav"},           {"audio/mid", "mid"}, {"audio/midi", "mid"}, {"audio/mp3", "mp3"},
      {"audio/amr", "amr"},           {"image/png", "png"}, {"image/gif", "gif"},  {"image/bmp", "bmp"},
      {"image/vnd.wap.wbmp", "wbmp"}, {"image/jpg", "jpg"}, {"image/jpeg", "jpg"},
  };
  for (const auto& entry : kTable) {
    if (type == entry.type) return entry.ext;
  }
  return "";
}
