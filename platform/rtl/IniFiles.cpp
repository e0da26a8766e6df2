// The in-memory model of an INI file and the classes over it.
#include "platform/rtl/IniFiles.h"

#include <string>
#include <vector>

#include "platform/rtl/CodePage.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/ParseInt.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/TStrings.h"
#include "platform/rtl/Utf8.h"

namespace platform {

class IniData {
 public:
  enum class Encoding { SystemCodePage, Utf8Bom, Utf16Le };
  struct Key {
    std::u16string name, value;
  };
  struct Section {
    std::u16string name;
    std::vector<Key> keys;
  };

  void Parse(const std::string& bytes);
  std::string Serialise() const;
  Section* FindSection(const std::u16string& name);
  Key* FindKey(const std::u16string& section, const std::u16string& name);

  std::vector<Section> sections;
  Encoding encoding = Encoding::SystemCodePage;
};

namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

std::u16string Trimmed(std::u16string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return std::u16string(s);
}

bool SameName(const std::u16string& a, const std::u16string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char16_t x = a[i], y = b[i];
    if (x >= u'A' && x <= u'Z') x = static_cast<char16_t>(x + 32);
    if (y >= u'A' && y <= u'Z') y = static_cast<char16_t>(y + 32);
    if (x != y) return false;
  }
  return true;
}

}  // namespace

void IniData::Parse(const std::string& bytes) {
  sections.clear();
  std::u16string text;
  if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
      static_cast<unsigned char>(bytes[1]) == 0xFE) {
    encoding = Encoding::Utf16Le;
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2)
      text.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                           (static_cast<unsigned char>(bytes[i + 1]) << 8)));
  } else if (bytes.size() >= 3 && bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) {
    encoding = Encoding::Utf8Bom;
    text = Utf8ToUtf16(std::string_view(bytes).substr(3));
  } else {
    encoding = Encoding::SystemCodePage;
    text = MultiByteToUtf16(bytes);
  }
  std::size_t i = 0;
  while (i < text.size()) {
    std::size_t end = text.find_first_of(u"\r\n", i);
    if (end == std::u16string::npos) end = text.size();
    std::u16string line = Trimmed(std::u16string_view(text).substr(i, end - i));
    i = end;
    if (i < text.size() && text[i] == u'\r') ++i;
    if (i < text.size() && text[i] == u'\n') ++i;
    if (line.empty() || line[0] == u';') continue;
    if (line[0] == u'[') {
      std::size_t close = line.find(u']');
      sections.push_back(Section{Trimmed(std::u16string_view(line).substr(
                                     1, close == std::u16string::npos ? line.size() - 1 : close - 1)),
                                 {}});
      continue;
    }
    std::size_t eq = line.find(u'=');
    if (eq == std::u16string::npos || sections.empty()) continue;
    std::u16string name = Trimmed(std::u16string_view(line).substr(0, eq));
    if (!FindKey(sections.back().name, name))  // the first of duplicate keys wins
      sections.back().keys.push_back(Key{name, Trimmed(std::u16string_view(line).substr(eq + 1))});
  }
}

std::string IniData::Serialise() const {
  std::u16string text;
  for (const Section& s : sections) {
    text += u"[" + s.name + u"]\r\n";
    for (const Key& k : s.keys) text += k.name + u"=" + k.value + u"\r\n";
    text += u"\r\n";
  }
  switch (encoding) {
    case Encoding::Utf16Le: {
      std::string out = "\xFF\xFE";
      for (char16_t u : text) {
        out.push_back(static_cast<char>(u & 0xFF));
        out.push_back(static_cast<char>(u >> 8));
      }
      return out;
    }
    case Encoding::Utf8Bom:
      return "\xEF\xBB\xBF" + Utf16ToUtf8(text);
    case Encoding::SystemCodePage:
      break;
  }
  return Utf16ToMultiByte(text);
}

IniData::Section* IniData::FindSection(const std::u16string& name) {
  for (Section& s : sections)
    if (SameName(s.name, name)) return &s;
  return nullptr;
}

IniData::Key* IniData::FindKey(const std::u16string& section, const std::u16string& name) {
  Section* s = FindSection(section);
  if (!s) return nullptr;
  for (Key& k : s->keys)
    if (SameName(k.name, name)) return &k;
  return nullptr;
}

}  // namespace platform

namespace {
std::u16string Name(const AnsiString& s) { return platform::Trimmed(WideString(s).ToU16()); }
AnsiString Narrow(const std::u16string& s) { return AnsiString(WideString(s)); }
}  // namespace

TCustomIniFile::TCustomIniFile(const AnsiString& fileName)
    : data_(std::make_unique<platform::IniData>()), fileName_(fileName) {}

TCustomIniFile::~TCustomIniFile() = default;

TMemIniFile::TMemIniFile(const AnsiString& fileName) : TCustomIniFile(fileName) { Load(); }

void TCustomIniFile::Load() {
  std::string bytes;
  if (!platform::ReadWholeFile(platform::FsPath(fileName_), bytes, std::size_t{64} << 20)) bytes.clear();
  data_->Parse(bytes);
}

void TCustomIniFile::Save() {
  std::string bytes = data_->Serialise();
  if (!platform::WriteFileReplacing(platform::FsPath(fileName_), bytes.data(), bytes.size()))
    throw EFCreateError("Cannot create file " + fileName_);
}

void TCustomIniFile::UpdateFile() { Save(); }

AnsiString TCustomIniFile::ReadString(const AnsiString& section, const AnsiString& ident,
                                      const AnsiString& defaultValue) {
  BeforeRead();
  platform::IniData::Key* k = data_->FindKey(Name(section), Name(ident));
  return k ? Narrow(k->value) : defaultValue;
}

void TCustomIniFile::WriteString(const AnsiString& section, const AnsiString& ident,
                                 const AnsiString& value) {
  BeforeRead();
  std::u16string s = Name(section), i = Name(ident);
  if (platform::IniData::Key* k = data_->FindKey(s, i)) {
    k->value = WideString(value).ToU16();
  } else {
    platform::IniData::Section* sec = data_->FindSection(s);
    if (!sec) {
      data_->sections.push_back(platform::IniData::Section{s, {}});
      sec = &data_->sections.back();
    }
    sec->keys.push_back(platform::IniData::Key{i, WideString(value).ToU16()});
  }
  AfterChange();
}

int TCustomIniFile::ReadInteger(const AnsiString& section, const AnsiString& ident, int defaultValue) {
  int v = 0;
  return platform::ParseInt(ReadString(section, ident, "").ToStd(), v) ? v : defaultValue;
}

void TCustomIniFile::WriteInteger(const AnsiString& section, const AnsiString& ident, int value) {
  WriteString(section, ident, AnsiString(value));
}

bool TCustomIniFile::ReadBool(const AnsiString& section, const AnsiString& ident, bool defaultValue) {
  return ReadInteger(section, ident, defaultValue ? 1 : 0) != 0;
}

void TCustomIniFile::WriteBool(const AnsiString& section, const AnsiString& ident, bool value) {
  WriteString(section, ident, value ? "1" : "0");
}

bool TCustomIniFile::SectionExists(const AnsiString& section) {
  BeforeRead();
  return data_->FindSection(Name(section)) != nullptr;
}

bool TCustomIniFile::ValueExists(const AnsiString& section, const AnsiString& ident) {
  BeforeRead();
  return data_->FindKey(Name(section), Name(ident)) != nullptr;
}

void TCustomIniFile::ReadSection(const AnsiString& section, TStrings* strings) {
  BeforeRead();
  strings->BeginUpdate();
  strings->Clear();
  if (platform::IniData::Section* s = data_->FindSection(Name(section)))
    for (const auto& k : s->keys) strings->Add(Narrow(k.name));
  strings->EndUpdate();
}

void TCustomIniFile::ReadSections(TStrings* strings) {
  BeforeRead();
  strings->BeginUpdate();
  strings->Clear();
  for (const auto& s : data_->sections) strings->Add(Narrow(s.name));
  strings->EndUpdate();
}

void TCustomIniFile::ReadSectionValues(const AnsiString& section, TStrings* strings) {
  BeforeRead();
  strings->BeginUpdate();
  strings->Clear();
  if (platform::IniData::Section* s = data_->FindSection(Name(section)))
    for (const auto& k : s->keys) strings->Add(Narrow(k.name + u"=" + k.value));
  strings->EndUpdate();
}

void TCustomIniFile::EraseSection(const AnsiString& section) {
  BeforeRead();
  std::u16string name = Name(section);
  auto& all = data_->sections;
  for (auto it = all.begin(); it != all.end(); ++it)
    if (platform::SameName(it->name, name)) {
      all.erase(it);
      AfterChange();
      return;
    }
}

void TCustomIniFile::DeleteKey(const AnsiString& section, const AnsiString& ident) {
  BeforeRead();
  platform::IniData::Section* s = data_->FindSection(Name(section));
  if (!s) return;
  std::u16string name = Name(ident);
  for (auto it = s->keys.begin(); it != s->keys.end(); ++it)
    if (platform::SameName(it->name, name)) {
      s->keys.erase(it);
      AfterChange();
      return;
    }
}
