// The profile-file reader behind GetPrivateProfileStringA/W.
#include "platform/rtl/Profile.h"

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/rtl/CodePage.h"
#include "platform/rtl/LastError.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/Utf8.h"

namespace {

constexpr std::size_t kProfileLimit = std::size_t{64} << 20;  // no real settings file comes near it

std::u16string DecodeProfile(std::string_view bytes) {
  if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
      static_cast<unsigned char>(bytes[1]) == 0xFE) {
    std::u16string out;
    out.reserve(bytes.size() / 2);
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2)  // an odd last byte is dropped
      out.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                          (static_cast<unsigned char>(bytes[i + 1]) << 8)));
    return out;
  }
  if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF")
    return platform::Utf8ToUtf16(bytes.substr(3));
  return platform::MultiByteToUtf16(bytes);
}

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

std::u16string_view TrimBlanks(std::u16string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

char16_t AsciiLower(char16_t c) { return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c; }

bool SameName(std::u16string_view a, std::u16string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char16_t x, char16_t y) {
           return AsciiLower(x) == AsciiLower(y);
         });
}

struct Entry {
  std::u16string_view key;
  std::u16string_view value;
};
struct Section {
  std::u16string_view name;
  std::vector<Entry> entries;
};

// Splits the text into sections; keys before the first section header belong to none.
std::vector<Section> Parse(std::u16string_view text) {
  std::vector<Section> sections;
  std::size_t i = 0;
  while (i < text.size()) {
    std::size_t end = text.find_first_of(u"\r\n", i);
    if (end == std::u16string_view::npos) end = text.size();
    std::u16string_view line = TrimBlanks(text.substr(i, end - i));
    i = end;
    if (i < text.size() && text[i] == u'\r') ++i;
    if (i < text.size() && text[i] == u'\n') ++i;
    if (line.empty() || line.front() == u';') continue;
    if (line.front() == u'[') {
      std::size_t close = line.find(u']');
      std::u16string_view name =
          line.substr(1, close == std::u16string_view::npos ? line.size() - 1 : close - 1);
      sections.push_back(Section{TrimBlanks(name), {}});
      continue;
    }
    std::size_t eq = line.find(u'=');
    if (eq == std::u16string_view::npos || sections.empty()) continue;
    std::u16string_view value = TrimBlanks(line.substr(eq + 1));
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
        value.back() == value.front())
      value = value.substr(1, value.size() - 2);
    sections.back().entries.push_back(Entry{TrimBlanks(line.substr(0, eq)), value});
  }
  return sections;
}

// What a call asks for and what it found, in UTF-16.
struct Answer {
  std::u16string text;  // for a list: the names, each followed by a terminator
  bool isList = false;
};

Answer Lookup(const std::string& fsPath, const std::optional<std::u16string>& section,
              const std::optional<std::u16string>& key, std::u16string_view defaultValue) {
  std::string bytes;
  std::u16string text;
  bool haveFile = platform::ReadWholeFile(fsPath, bytes, kProfileLimit);
  if (haveFile) text = DecodeProfile(bytes);
  std::vector<Section> sections = haveFile ? Parse(text) : std::vector<Section>{};

  Answer answer;
  if (!section) {
    answer.isList = true;
    for (const Section& s : sections) {
      answer.text.append(s.name);
      answer.text.push_back(0);
    }
    return answer;
  }
  std::u16string_view wantedSection = TrimBlanks(*section);
  const Section* found = nullptr;
  for (const Section& s : sections)
    if (SameName(s.name, wantedSection)) {
      found = &s;
      break;
    }
  if (!key) {
    answer.isList = true;
    if (found)
      for (const Entry& e : found->entries) {
        answer.text.append(e.key);
        answer.text.push_back(0);
      }
    return answer;
  }
  std::u16string_view wantedKey = TrimBlanks(*key);
  if (found)
    for (const Entry& e : found->entries)
      if (SameName(e.key, wantedKey)) {
        answer.text = std::u16string(e.value);
        return answer;
      }
  std::u16string_view d = defaultValue;
  while (!d.empty() && d.back() == u' ') d.remove_suffix(1);
  answer.text = std::u16string(d);
  SetLastError(haveFile ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND);
  return answer;
}

// How many leading units of `s` fit in `room` without splitting a pair.
std::size_t FitUnits(std::u16string_view s, std::size_t room) {
  if (s.size() <= room) return s.size();
  std::size_t n = room;
  if (n > 0 && s[n - 1] >= 0xD800 && s[n - 1] <= 0xDBFF) --n;
  return n;
}

// How many leading bytes of `s` fit in `room` without splitting a character of the system code page.
std::size_t FitBytes(std::string_view s, std::size_t room) {
  if (s.size() <= room) return s.size();
  std::size_t n = room;
  std::string copy(s.substr(0, n + 1));
  while (n > 0 && StrByteType(copy.c_str(), static_cast<unsigned>(n)) == mbTrailByte) --n;
  if (n > 0 && StrByteType(copy.c_str(), static_cast<unsigned>(n - 1)) == mbLeadByte) --n;
  return n;
}

// Copies a value or list into the caller's buffer with the classic truncation.
template <typename C, typename Fit>
DWORD Deliver(const std::basic_string<C>& text, bool isList, C* buffer, DWORD size, Fit fit) {
  if (!buffer || size == 0) return 0;
  if (isList) {
    // Names each end with a terminator; the list ends with one more.
    if (text.size() + 1 <= size) {
      std::copy(text.begin(), text.end(), buffer);
      buffer[text.size()] = 0;
      return static_cast<DWORD>(text.size());
    }
    if (size < 2) {
      buffer[0] = 0;
      return 0;
    }
    std::size_t n = fit(std::basic_string_view<C>(text), size - 2);
    std::copy(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(n), buffer);
    buffer[n] = 0;
    buffer[n + 1] = 0;
    return size - 2;
  }
  std::size_t n = fit(std::basic_string_view<C>(text), size - 1);
  std::copy(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(n), buffer);
  buffer[n] = 0;
  return static_cast<DWORD>(n);
}

std::optional<std::u16string> WideArg(LPCSTR s) {
  if (!s) return std::nullopt;
  return platform::MultiByteToUtf16(s);
}
std::optional<std::u16string> WideArg(LPCWSTR s) {
  if (!s) return std::nullopt;
  return std::u16string(s);
}

}  // namespace

namespace platform {

std::u16string ProfileValue(std::string_view fileBytes, std::u16string_view section, std::u16string_view key,
                            std::u16string_view defaultValue) {
  std::u16string text = DecodeProfile(fileBytes);
  std::vector<Section> sections = Parse(text);
  std::u16string_view wantedSection = TrimBlanks(section);
  std::u16string_view wantedKey = TrimBlanks(key);
  for (const Section& s : sections) {
    if (!SameName(s.name, wantedSection)) continue;
    for (const Entry& e : s.entries)
      if (SameName(e.key, wantedKey)) return std::u16string(e.value);
    break;  // only the first matching section counts
  }
  while (!defaultValue.empty() && defaultValue.back() == u' ') defaultValue.remove_suffix(1);
  return std::u16string(defaultValue);
}

}  // namespace platform

DWORD GetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR defaultValue, LPSTR buffer, DWORD size,
                               LPCSTR fileName) {
  if (!fileName) {
    SetLastError(ERROR_INVALID_PARAMETER);
    if (buffer && size) buffer[0] = 0;
    return 0;
  }
  std::u16string def = defaultValue ? platform::MultiByteToUtf16(defaultValue) : std::u16string();
  Answer a = Lookup(platform::FsPath(fileName), WideArg(section), WideArg(key), def);
  std::string narrow;
  if (a.isList) {
    // Convert name by name so the terminators survive.
    std::size_t start = 0;
    while (start < a.text.size()) {
      std::size_t end = a.text.find(char16_t{0}, start);
      narrow += platform::Utf16ToMultiByte(std::u16string_view(a.text).substr(start, end - start));
      narrow.push_back('\0');
      start = end + 1;
    }
  } else {
    narrow = platform::Utf16ToMultiByte(a.text);
  }
  return Deliver(narrow, a.isList, buffer, size, FitBytes);
}

DWORD GetPrivateProfileStringW(LPCWSTR section, LPCWSTR key, LPCWSTR defaultValue, LPWSTR buffer, DWORD size,
                               LPCWSTR fileName) {
  if (!fileName) {
    SetLastError(ERROR_INVALID_PARAMETER);
    if (buffer && size) buffer[0] = 0;
    return 0;
  }
  Answer a = Lookup(platform::FsPath(fileName), WideArg(section), WideArg(key),
                    defaultValue ? std::u16string_view(defaultValue) : std::u16string_view());
  return Deliver(a.text, a.isList, buffer, size, FitUnits);
}

UINT GetPrivateProfileIntA(LPCSTR section, LPCSTR key, INT defaultValue, LPCSTR fileName) {
  if (!section || !key || !fileName) return static_cast<UINT>(defaultValue);
  char buffer[64];
  DWORD n = GetPrivateProfileStringA(section, key, "", buffer, sizeof buffer, fileName);
  if (n == 0) return static_cast<UINT>(defaultValue);
  std::size_t i = 0;
  bool negative = buffer[0] == '-';
  if (negative) ++i;
  if (buffer[i] < '0' || buffer[i] > '9') return static_cast<UINT>(defaultValue);
  unsigned long long v = 0;
  for (; buffer[i] >= '0' && buffer[i] <= '9'; ++i)
    v = std::min<unsigned long long>(v * 10 + static_cast<unsigned>(buffer[i] - '0'), 0xFFFFFFFFull);
  return static_cast<UINT>(negative ? 0u - static_cast<UINT>(v) : static_cast<UINT>(v));
}
