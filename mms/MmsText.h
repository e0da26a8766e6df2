// Small text helpers shared by the message reader and the SMIL parser. Names, types and ids in
// messages compare ASCII-only ignoring case, as MIME and SMIL have them.
#pragma once

#include <cctype>
#include <string>
#include <string_view>

inline std::string MmsLower(std::string_view text) {
  std::string out(text);
  for (char& ch : out) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  return out;
}

inline bool MmsSameTextNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  }
  return true;
}

// A Content-ID as parts and sources name it, without its "<" and ">".
inline std::string MmsWithoutAngleBrackets(std::string_view text) {
  std::string out;
  for (char ch : text)
    if (ch != '<' && ch != '>') out.push_back(ch);
  return out;
}

// A C-style text of the body types as a string; none reads as empty.
inline std::string MmsTextOf(const char* text) { return text ? std::string(text) : std::string(); }
