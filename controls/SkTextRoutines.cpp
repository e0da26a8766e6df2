#include "controls/SkTextRoutines.h"

#include <cctype>
#include <cstdlib>
#include <string>

#include "platform/rtl/StringRoutines.h"

namespace {
bool IdentStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
bool IdentPart(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }
}  // namespace

char LastChar(const AnsiString& s) { return s.IsEmpty() ? '\0' : s.ToStd().back(); }

int CountChar(const AnsiString& s, char c) {
  int n = 0;
  for (char x : s.ToStd()) n += x == c;
  return n;
}

AnsiString CopyEx(const AnsiString& s, int from, char c, int n) {
  const std::string& t = s.ToStd();
  if (from < 1 || static_cast<std::size_t>(from) > t.size()) return AnsiString();
  std::size_t end = static_cast<std::size_t>(from - 1);
  for (int seen = 0; end < t.size(); ++end)
    if (t[end] == c && ++seen == n) break;
  return AnsiString(t.substr(static_cast<std::size_t>(from - 1), end - static_cast<std::size_t>(from - 1)));
}

AnsiString RemoveChar(const AnsiString& s, char c) {
  std::string t = s.ToStd();
  if (auto at = t.find(c); at != std::string::npos) t.erase(at, 1);
  return AnsiString(t);
}

AnsiString RemovePrefixChars(const AnsiString& s) {
  const std::string& t = s.ToStd();
  std::string out;
  for (std::size_t i = 0; i < t.size(); ++i) {
    if (t[i] == '&') {
      if (i + 1 < t.size() && t[i + 1] == '&') {
        out += '&';
        ++i;
      }
      continue;
    }
    out += t[i];
  }
  return AnsiString(out);
}

AnsiString ExpandEnvironmentVariables(const AnsiString& s) {
  const std::string& t = s.ToStd();
  std::string out;
  for (std::size_t i = 0; i < t.size(); ++i) {
    if (t[i] != '%') {
      out += t[i];
      continue;
    }
    const std::size_t close = t.find('%', i + 1);
    if (close == std::string::npos) return s;
    const std::string name = t.substr(i + 1, close - i - 1);
    const char* value = name.empty() ? nullptr : std::getenv(name.c_str());
    if (!value) return s;  // an unknown reference: the text as it was
    out += value;
    i = close;
  }
  return AnsiString(out);
}

AnsiString GetNewComponentName(TComponent* owner, const AnsiString& base, bool bareAllowed) {
  auto taken = [owner](const AnsiString& name) { return owner && owner->FindComponent(name) != nullptr; };
  if (bareAllowed && !taken(base)) return base;
  for (int n = 1;; ++n) {
    const AnsiString name(base.ToStd() + std::to_string(n));
    if (!taken(name)) return name;
  }
}

AnsiString CreateValidIdent(const AnsiString& text, const AnsiString& fallback) {
  const std::string& t = text.ToStd();
  bool valid = !t.empty() && IdentStart(t[0]);
  for (char c : t) valid = valid && IdentPart(c);
  if (valid) return text;
  std::string out;
  for (char c : t)
    if (IdentPart(c) && (!out.empty() || IdentStart(c))) out += c;
  return out.empty() ? fallback : AnsiString(out);
}
