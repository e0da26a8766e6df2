// JSON text for the developer tools' output: a string quoted with the characters JSON needs
// escaped. Well-formed UTF-8 passes through; a byte that is not part of a well-formed sequence
// (the text came from outside) is written as the character of its value, \u00XX, so the line
// stays valid JSON.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>

// The length of the well-formed UTF-8 sequence at text[i], or 0.
inline std::size_t JsonUtf8Length(std::string_view text, std::size_t i) {
  const auto at = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char lead = at(i);
  std::size_t length = 0;
  unsigned char low = 0x80, high = 0xBF;  // the second byte's range
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;  // no surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (i + length > text.size()) return 0;
  if (at(i + 1) < low || at(i + 1) > high) return 0;
  for (std::size_t k = 2; k < length; ++k)
    if (at(i + k) < 0x80 || at(i + k) > 0xBF) return 0;
  return length;
}

inline std::string JsonQuote(std::string_view text) {
  std::string out = "\"";
  for (std::size_t i = 0; i < text.size(); ++i) {
    const unsigned char ch = static_cast<unsigned char>(text[i]);
    if (ch >= 0x80) {
      const std::size_t length = JsonUtf8Length(text, i);
      if (length == 0) {
        char escaped[8];
        std::snprintf(escaped, sizeof escaped, "\\u%04x", ch);
        out += escaped;
      } else {
        out.append(text.substr(i, length));
        i += length - 1;
      }
      continue;
    }
    if (ch == '"' || ch == '\\') {
      out += '\\';
      out += static_cast<char>(ch);
    } else if (ch < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", ch);
      out += escaped;
    } else {
      out += static_cast<char>(ch);
    }
  }
  return out + "\"";
}
