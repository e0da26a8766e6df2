// Runs the independent tools the image tests compare with (Pillow, giflib, ImageMagick, libjpeg's
// programs), as the Debian packages tools/setup installs.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace imagetest {

// Debian's interpreter, where python3-pil is installed (another python3 may come first on PATH).
inline constexpr const char* kDebianPython = "/usr/bin/python3";

// `s` as one single-quoted shell word.
std::string ShellQuote(const std::string& s);

// Runs a shell command; its standard output is appended to `out`. True when it exited with 0.
bool RunCapture(const std::string& command, std::vector<uint8_t>& out);

}  // namespace imagetest
