#include "unicode/WideFileNames.h"

#include <vector>

#include "unicode/UcFileWrappers.h"
#include "unicode/WideTextRoutines.h"

namespace {

bool IsSeparator(char16_t c) { return c == u'/' || c == u'\\'; }

bool IsLetter(char16_t c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'); }

bool HasDrive(const std::u16string& s) { return s.size() >= 2 && IsLetter(s[0]) && s[1] == u':'; }

// 1-based position of the last separator or of a drive's colon, 0 when none.
int LastPathDelimiter(const std::u16string& s) {
  for (std::size_t i = s.size(); i > 0; --i)
    if (IsSeparator(s[i - 1])) return static_cast<int>(i);
  return HasDrive(s) ? 2 : 0;
}

// The folders of a path after its drive, empty names skipped.
std::vector<std::u16string> Folders(const WideString& path, std::size_t driveLength) {
  std::vector<std::u16string> folders;
  std::u16string current;
  for (std::size_t i = driveLength; i < path.ToU16().size(); ++i) {
    char16_t c = path.ToU16()[i];
    if (IsSeparator(c)) {
      if (!current.empty()) folders.push_back(current);
      current.clear();
    } else {
      current += c;
    }
  }
  if (!current.empty()) folders.push_back(current);
  return folders;
}

bool SameText(const WideString& a, const WideString& b) { return Uc_WideUpperCase(a) == Uc_WideUpperCase(b); }

}  // namespace

int WideLastDelimiter(const WideString& delimiters, const WideString& s) {
  const std::u16string& units = s.ToU16();
  for (std::size_t i = units.size(); i > 0; --i)
    if (delimiters.ToU16().find(units[i - 1]) != std::u16string::npos) return static_cast<int>(i);
  return 0;
}

bool WideIsDelimiter(const WideString& delimiters, const WideString& s, int index) {
  return index >= 1 && index <= s.Length() && delimiters.ToU16().find(s[index]) != std::u16string::npos;
}

bool WideIsPathDelimiter(const WideString& s, int index) {
  return index >= 1 && index <= s.Length() && IsSeparator(s[index]);
}

WideString WideIncludeTrailingPathDelimiter(const WideString& s) {
  return WideIsPathDelimiter(s, s.Length()) ? s : s + u"/";
}

WideString WideIncludeTrailingBackslash(const WideString& s) { return WideIncludeTrailingPathDelimiter(s); }

WideString WideExcludeTrailingPathDelimiter(const WideString& s) {
  return WideIsPathDelimiter(s, s.Length()) ? s.SubString(1, s.Length() - 1) : s;
}

WideString WideExcludeTrailingBackslash(const WideString& s) { return WideExcludeTrailingPathDelimiter(s); }

WideString WideExtractFilePath(const WideString& fileName) {
  return fileName.SubString(1, LastPathDelimiter(fileName.ToU16()));
}

WideString WideExtractFileDir(const WideString& fileName) {
  const std::u16string& s = fileName.ToU16();
  int i = LastPathDelimiter(s);
  bool afterDelimiter = i >= 2 && (IsSeparator(s[i - 2]) || (i == 3 && HasDrive(s)));
  if (i > 1 && IsSeparator(s[i - 1]) && !afterDelimiter) --i;
  return fileName.SubString(1, i);
}

WideString WideExtractFileName(const WideString& fileName) {
  return fileName.SubString(LastPathDelimiter(fileName.ToU16()) + 1, fileName.Length());
}

WideString WideExtractFileExt(const WideString& fileName) {
  int dot = WideLastDelimiter(u".", fileName);
  if (dot == 0 || dot <= LastPathDelimiter(fileName.ToU16())) return WideString();
  return fileName.SubString(dot, fileName.Length());
}

WideString WideChangeFileExt(const WideString& fileName, const WideString& extension) {
  int dot = WideLastDelimiter(u".", fileName);
  if (dot == 0 || dot <= LastPathDelimiter(fileName.ToU16())) dot = fileName.Length() + 1;
  return fileName.SubString(1, dot - 1) + extension;
}

WideString WideExtractFileDrive(const WideString& fileName) {
  const std::u16string& s = fileName.ToU16();
  if (HasDrive(s)) return fileName.SubString(1, 2);
  if (s.size() < 2 || !IsSeparator(s[0]) || !IsSeparator(s[1])) return WideString();
  // Server and share: up to the separator that ends the share.
  int separators = 0;
  std::size_t i = 2;
  for (; i < s.size(); ++i)
    if (IsSeparator(s[i]) && ++separators == 2) break;
  return fileName.SubString(1, static_cast<int>(i));
}

WideString WideExtractRelativePath(const WideString& baseName, const WideString& destName) {
  WideString baseDrive = WideExtractFileDrive(baseName);
  if (!SameText(baseDrive, WideExtractFileDrive(destName))) return destName;
  auto base = Folders(WideExtractFilePath(baseName), static_cast<std::size_t>(baseDrive.Length()));
  auto dest = Folders(WideExtractFilePath(destName), static_cast<std::size_t>(baseDrive.Length()));
  std::size_t common = 0;
  while (common < base.size() && common < dest.size() && SameText(base[common], dest[common])) ++common;
  WideString result;
  for (std::size_t i = common; i < base.size(); ++i) result += u"../";
  for (std::size_t i = common; i < dest.size(); ++i) result += WideString(dest[i]) + u"/";
  return result + WideExtractFileName(destName);
}

WideString WideExpandFileName(const WideString& fileName) {
  std::vector<char16_t> buffer(261);
  for (;;) {
    LPWSTR part = nullptr;
    DWORD n = Uc_GetFullPathNameW(fileName.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(), &part);
    if (n == 0) return WideString();
    if (n < buffer.size()) return WideString(buffer.data(), static_cast<int>(n));
    buffer.resize(n + 1);
  }
}

WideString WideExtractShortPathName(const WideString& fileName) {
  std::vector<char16_t> buffer(261);
  for (;;) {
    DWORD n = Uc_GetShortPathNameW(fileName.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return WideString();
    if (n < buffer.size()) return WideString(buffer.data(), static_cast<int>(n));
    buffer.resize(n + 1);
  }
}
