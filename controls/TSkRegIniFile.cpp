#include "controls/TSkRegIniFile.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/forms/ClassRegistry.h"
#include "platform/forms/TApplication.h"
#include "platform/rtl/FloatText.h"
#include "platform/rtl/Program.h"
#include "platform/rtl/TRegIniFile.h"

namespace {

const char* const kRootNames[] = {"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER",     "HKEY_LOCAL_MACHINE",
                                  "HKEY_USERS",        "HKEY_PERFORMANCE_DATA", "HKEY_CURRENT_CONFIG",
                                  "HKEY_DYN_DATA"};

std::string Hex(const std::vector<unsigned char>& bytes) {
  static const char digits[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char b : bytes) {
    out += digits[b >> 4];
    out += digits[b & 15];
  }
  return out;
}

}  // namespace

TSkRegIniFile::TSkRegIniFile(TComponent* owner) : TComponent(owner) {}
TSkRegIniFile::~TSkRegIniFile() = default;

void TSkRegIniFile::SetPath(const AnsiString& value) {
  if (value == path_) return;
  path_ = value;
  refresh_ = true;
}
void TSkRegIniFile::SetPathType(TSkPathType value) {
  if (value == pathType_) return;
  pathType_ = value;
  refresh_ = true;
}
void TSkRegIniFile::SetRegKey(TSkRegKey value) {
  if (value == regKey_) return;
  regKey_ = value;
  refresh_ = true;
}
void TSkRegIniFile::SetRegAccess(TSkRegAccess value) {
  if (value == regAccess_) return;
  regAccess_ = value;
  refresh_ = true;
}

void TSkRegIniFile::CheckAccess() {
  if (!refresh_ && store_) return;
  store_.reset();
  const std::string exe = ParamStr(0).ToStd();
  if (pathType_ == ptRegistry) {
    if (path_.IsEmpty()) {
      std::string title = Application ? Application->Title().ToStd() : std::string();
      if (title.empty()) title = std::filesystem::path(exe).stem().string();
      path_ = AnsiString("\\Software\\Temp\\" + title);
    }
    // The current user's keys are the configuration folder's; other roots are folders in it.
    std::string key = path_.ToStd();
    if (regKey_ != hkeyCurrentUser) key = std::string("\\") + kRootNames[regKey_] + "\\" + key;
    store_ = std::make_unique<TRegIniFile>(AnsiString(key));
  } else {
    if (path_.IsEmpty()) path_ = AnsiString(std::filesystem::path(exe).replace_extension(".ini").string());
    store_ = std::make_unique<TIniFile>(path_);
  }
  refresh_ = false;  // the resolved path is kept without asking for another refresh
}

void TSkRegIniFile::CheckWrite() {
  CheckAccess();
  if (pathType_ != ptRegistry) return;
  const TSkRegAccess rights = (1u << keySetValue) | (1u << keyWrite) | (1u << keyAllAccess);
  if (!(regAccess_ & rights)) throw ERegistryException("Failed to set data for '" + path_ + "'");
}

bool TSkRegIniFile::SectionExists(const AnsiString& section) {
  CheckAccess();
  return store_->SectionExists(section);
}
bool TSkRegIniFile::ValueExists(const AnsiString& section, const AnsiString& name) {
  CheckAccess();
  return store_->ValueExists(section, name);
}
bool TSkRegIniFile::ReadBool(const AnsiString& section, const AnsiString& name, bool defaultValue) {
  CheckAccess();
  return store_->ReadBool(section, name, defaultValue);
}
void TSkRegIniFile::WriteBool(const AnsiString& section, const AnsiString& name, bool value) {
  CheckWrite();
  store_->WriteBool(section, name, value);
}
int TSkRegIniFile::ReadInteger(const AnsiString& section, const AnsiString& name, int defaultValue) {
  CheckAccess();
  return store_->ReadInteger(section, name, defaultValue);
}
void TSkRegIniFile::WriteInteger(const AnsiString& section, const AnsiString& name, int value) {
  CheckWrite();
  store_->WriteInteger(section, name, value);
}
AnsiString TSkRegIniFile::ReadString(const AnsiString& section, const AnsiString& name,
                                     const AnsiString& defaultValue) {
  CheckAccess();
  return store_->ReadString(section, name, defaultValue);
}
void TSkRegIniFile::WriteString(const AnsiString& section, const AnsiString& name, const AnsiString& value) {
  CheckWrite();
  store_->WriteString(section, name, value);
}

// Numbers, dates and times are kept as the shortest text that reads back to the same value.
double TSkRegIniFile::ReadNumber(const AnsiString& section, const AnsiString& name, double defaultValue) {
  CheckAccess();
  const std::string text = store_->ReadString(section, name, "").ToStd();
  if (text.empty()) return defaultValue;
  char* end = nullptr;
  const double v = std::strtod(text.c_str(), &end);
  return end && *end == 0 ? v : defaultValue;
}
void TSkRegIniFile::WriteNumber(const AnsiString& section, const AnsiString& name, double value) {
  CheckWrite();
  store_->WriteString(section, name, AnsiString(platform::ShortestText(value)));
}
double TSkRegIniFile::ReadFloat(const AnsiString& s, const AnsiString& n, double d) {
  return ReadNumber(s, n, d);
}
void TSkRegIniFile::WriteFloat(const AnsiString& s, const AnsiString& n, double v) { WriteNumber(s, n, v); }
TDateTime TSkRegIniFile::ReadDate(const AnsiString& s, const AnsiString& n, TDateTime d) {
  return ReadNumber(s, n, d);
}
void TSkRegIniFile::WriteDate(const AnsiString& s, const AnsiString& n, TDateTime v) { WriteNumber(s, n, v); }
TDateTime TSkRegIniFile::ReadDateTime(const AnsiString& s, const AnsiString& n, TDateTime d) {
  return ReadNumber(s, n, d);
}
void TSkRegIniFile::WriteDateTime(const AnsiString& s, const AnsiString& n, TDateTime v) {
  WriteNumber(s, n, v);
}
TDateTime TSkRegIniFile::ReadTime(const AnsiString& s, const AnsiString& n, TDateTime d) {
  return ReadNumber(s, n, d);
}
void TSkRegIniFile::WriteTime(const AnsiString& s, const AnsiString& n, TDateTime v) { WriteNumber(s, n, v); }

int TSkRegIniFile::ReadBinaryStream(const AnsiString& section, const AnsiString& name, TStream* stream) {
  CheckAccess();
  const std::string text = store_->ReadString(section, name, "").ToStd();
  std::vector<unsigned char> bytes;
  auto digit = [](char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
  };
  for (std::size_t i = 0; i + 1 < text.size(); i += 2) {
    const int hi = digit(text[i]), lo = digit(text[i + 1]);
    if (hi < 0 || lo < 0) return 0;  // not what WriteBinaryStream writes: nothing read
    bytes.push_back(static_cast<unsigned char>(hi * 16 + lo));
  }
  if (!bytes.empty()) stream->WriteBuffer(bytes.data(), static_cast<int>(bytes.size()));
  return static_cast<int>(bytes.size());
}

void TSkRegIniFile::WriteBinaryStream(const AnsiString& section, const AnsiString& name, TStream* stream) {
  CheckWrite();
  std::vector<unsigned char> bytes(
      static_cast<std::size_t>(std::max<long long>(stream->Size() - stream->Position(), 0)));
  if (!bytes.empty()) stream->ReadBuffer(bytes.data(), static_cast<int>(bytes.size()));
  store_->WriteString(section, name, AnsiString(Hex(bytes)));
}

void TSkRegIniFile::ReadSection(const AnsiString& section, TStrings* strings) {
  CheckAccess();
  store_->ReadSection(section, strings);
}
void TSkRegIniFile::ReadSections(TStrings* strings) {
  CheckAccess();
  store_->ReadSections(strings);
}
void TSkRegIniFile::ReadSectionValues(const AnsiString& section, TStrings* strings) {
  CheckAccess();
  store_->ReadSectionValues(section, strings);
}
void TSkRegIniFile::EraseSection(const AnsiString& section) {
  CheckWrite();
  store_->EraseSection(section);
}
void TSkRegIniFile::DeleteKey(const AnsiString& section, const AnsiString& name) {
  CheckWrite();
  store_->DeleteKey(section, name);
}

void RegisterSkRegIniFile() {
  static bool done = false;
  if (done) return;
  done = true;
  static const std::vector<std::string> pathNames{"ptIniFile", "ptRegistry"};
  static const std::vector<std::string> keyNames{
      "hkeyClassesRoot",     "hkeyCurrentUser",   "hkeyLocalMachine", "hkeyUsers",
      "hkeyPerformanceData", "hkeyCurrentConfig", "hkeyDynData"};
  static const std::vector<std::string> accessNames{
      "keyQueryValue", "keySetValue", "keyCreateSubKey", "keyEnumerateSubKeys", "keyNotify",
      "keyCreateLink", "keyRead",     "keyWrite",        "keyExecute",          "keyAllAccess"};
  using T = TSkRegIniFile;
  RegisterProperties<T>("TSkRegIniFile", "TComponent", Factory<T>())
      .Str("Path", &T::Path, &T::SetPath)
      .Enum("PathType", &T::PathType, &T::SetPathType, ptIniFile, &pathNames)
      .Enum("RegKey", &T::RegKey, &T::SetRegKey, hkeyCurrentUser, &keyNames)
      .Set("RegAccess", &T::RegAccess, &T::SetRegAccess, kAllRegAccess, &accessNames);
}
