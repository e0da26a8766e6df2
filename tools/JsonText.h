// JSON text for the developer tools' output: a string quoted with the characters JSON needs
// escaped. The bytes are taken as UTF-8 and passed through.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

inline std::string JsonQuote(std::string_view text) {
  std::string out = "\"";
  for (unsigned char ch : text) {
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
