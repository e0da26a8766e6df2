#include "platform/rtl/TRegIniFile.h"

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Program.h"

namespace platform {

AnsiString RegistryFolder() {
  std::string base;
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg) {
    base = xdg;
  } else {
    const char* home = std::getenv("HOME");
    base = std::string(home && *home ? home : ".") + "/.config";
  }
  std::string program = std::filesystem::path(ParamStr(0).ToStd()).stem().string();
  if (program.empty()) program = "program";
  return AnsiString(base + "/" + program);
}

AnsiString RegistryKeyFile(const AnsiString& key) {
  std::string path = RegistryFolder().ToStd();
  std::string part;
  bool any = false;
  auto flush = [&] {
    if (!part.empty() && part != "." && part != "..") {
      path += "/" + part;
      any = true;
    }
    part.clear();
  };
  for (char c : key.ToStd()) {
    if (c == '\\' || c == '/')
      flush();
    else
      part += c;
  }
  flush();
  // The root key itself has a file of its own beside the keys' folders.
  return AnsiString(any ? path + ".ini" : path + "/root.ini");
}

}  // namespace platform

TRegIniFile::TRegIniFile(const AnsiString& key) : TCustomIniFile(platform::RegistryKeyFile(key)) {}

void TRegIniFile::AfterChange() {
  std::error_code error;
  std::filesystem::create_directories(std::filesystem::path(FileName().ToStd()).parent_path(), error);
  Save();
}
