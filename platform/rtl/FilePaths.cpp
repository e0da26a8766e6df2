// The lexical path routines.
#include <unistd.h>

#include <string>
#include <vector>

#include "platform/rtl/SysUtils.h"

namespace {

bool IsDelimiter(char c) { return c == '/' || c == '\\'; }

// 0-based index of the last delimiter, or npos.
std::size_t LastDelimiter(const std::string& s) { return s.find_last_of("/\\"); }

}  // namespace

AnsiString ExtractFilePath(const AnsiString& fileName) {
  std::size_t at = LastDelimiter(fileName.ToStd());
  return at == std::string::npos ? AnsiString() : AnsiString(fileName.ToStd().substr(0, at + 1));
}

AnsiString ExtractFileDir(const AnsiString& fileName) {
  std::size_t at = LastDelimiter(fileName.ToStd());
  if (at == std::string::npos) return AnsiString();
  if (at == 0) return AnsiString(fileName.ToStd().substr(0, 1));  // the root keeps its delimiter
  return AnsiString(fileName.ToStd().substr(0, at));
}

AnsiString ExtractFileName(const AnsiString& fileName) {
  std::size_t at = LastDelimiter(fileName.ToStd());
  return at == std::string::npos ? fileName : AnsiString(fileName.ToStd().substr(at + 1));
}

AnsiString ExtractFileExt(const AnsiString& fileName) {
  const std::string& s = fileName.ToStd();
  std::size_t dot = s.find_last_of(".\\/");
  if (dot == std::string::npos || s[dot] != '.') return AnsiString();
  return AnsiString(s.substr(dot));
}

AnsiString ChangeFileExt(const AnsiString& fileName, const AnsiString& extension) {
  const std::string& s = fileName.ToStd();
  std::size_t dot = s.find_last_of(".\\/");
  std::size_t keep = (dot == std::string::npos || s[dot] != '.') ? s.size() : dot;
  return AnsiString(s.substr(0, keep) + extension.ToStd());
}

AnsiString IncludeTrailingPathDelimiter(const AnsiString& s) {
  if (!s.IsEmpty() && IsDelimiter(s.ToStd().back())) return s;
  return s + PathDelim;
}

AnsiString ExcludeTrailingPathDelimiter(const AnsiString& s) {
  std::string t = s.ToStd();
  if (t.size() > 1 && IsDelimiter(t.back())) t.pop_back();
  return AnsiString(t);
}

bool IsPathDelimiter(const AnsiString& s, int index) {
  return index >= 1 && index <= s.Length() && IsDelimiter(s.ToStd()[static_cast<std::size_t>(index - 1)]);
}

AnsiString ExpandFileName(const AnsiString& fileName) {
  std::string path = platform::FsPath(fileName);
  if (path.empty()) return AnsiString();
  if (path[0] != '/') {
    std::vector<char> cwd(4096);
    while (!getcwd(cwd.data(), cwd.size())) {
      if (cwd.size() > (std::size_t{1} << 20)) return AnsiString();
      cwd.resize(cwd.size() * 2);
    }
    path = std::string(cwd.data()) + "/" + path;
  }
  std::vector<std::string> parts;
  std::size_t i = 0;
  while (i <= path.size()) {
    std::size_t j = path.find('/', i);
    if (j == std::string::npos) j = path.size();
    std::string part = path.substr(i, j - i);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    i = j + 1;
  }
  std::string out;
  for (const std::string& p : parts) out += "/" + p;
  if (out.empty() || path.back() == '/') out += "/";
  return AnsiString(out);
}
