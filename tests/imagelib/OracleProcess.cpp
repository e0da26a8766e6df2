#include "OracleProcess.h"

#include <cstdio>

namespace imagetest {

std::string ShellQuote(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

bool RunCapture(const std::string& command, std::vector<uint8_t>& out) {
  FILE* p = popen(command.c_str(), "r");
  if (p == nullptr) return false;
  uint8_t buf[65536];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.insert(out.end(), buf, buf + n);
  return pclose(p) == 0;
}

}  // namespace imagetest
