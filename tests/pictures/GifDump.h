// What giflib's gifbuild -d reports of a GIF file, as an independent oracle: the screen, the
// tables, each image's place, size, interlace flag and pixels, the control blocks and the loop
// count.
#pragma once

#include <cstdio>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace giftest {

struct DumpControl {
  bool present = false;
  int disposal = 0;
  bool userInput = false;
  int delay = 0;
  int transparent = -1;
};

struct DumpImage {
  int left = 0, top = 0, width = 0, height = 0;
  bool interlaced = false;
  int localColors = 0;
  DumpControl control;
  std::vector<int> pixels;
};

struct GifDump {
  bool ok = false;
  int width = 0, height = 0, background = 0, aspect = 0;
  int globalColors = 0;
  int loop = -1;
  std::vector<DumpImage> images;
};

inline bool HaveGifbuild() { return std::system("gifbuild -h >/dev/null 2>&1") != 127; }

inline GifDump DumpGif(const std::string& path) {
  GifDump dump;
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(("gifbuild -d '" + path + "' 2>/dev/null").c_str(), "r"),
                                             pclose);
  if (!pipe) return dump;
  std::string text;
  char buffer[4096];
  while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe.get())) text.append(buffer, n);
  static const std::string chars =
      "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ!\"#$%&'()*+,-./:<=>?@[\\]^_`{|}~";
  std::istringstream in(text);
  std::string line;
  enum { None, ScreenMap, ImageMap } map = None;
  DumpControl pending;
  while (std::getline(in, line)) {
    std::istringstream words(line);
    std::string a, b;
    words >> a >> b;
    if (a == "screen" && b == "width") words >> dump.width;
    if (a == "screen" && b == "height") words >> dump.height;
    if (a == "screen" && b == "background") words >> dump.background;
    if (a == "pixel" && b == "aspect") {
      std::string byte;
      words >> byte >> dump.aspect;
    }
    if (a == "screen" && b == "map") map = ScreenMap;
    if (a == "image" && b == "map") map = ImageMap;
    if (a == "end") map = None;
    if (a == "rgb") {
      if (map == ScreenMap) ++dump.globalColors;
      if (map == ImageMap && !dump.images.empty()) ++dump.images.back().localColors;
    }
    if (a == "graphics" && b == "control") pending = DumpControl{true};
    if (a == "disposal") words >> pending.disposal;
    if (a == "user") pending.userInput = line.find("on") != std::string::npos;
    if (a == "delay") pending.delay = std::stoi(b);
    if (a == "transparent") {
      std::string index;
      words >> pending.transparent;
      (void)index;
    }
    if (a == "netscape" && b == "loop") words >> dump.loop;
    if (a == "image" && b == "#") {
      dump.images.emplace_back();
      dump.images.back().control = pending;
      pending = DumpControl{};
    }
    if (dump.images.empty()) continue;
    DumpImage& image = dump.images.back();
    if (a == "image" && b == "left") words >> image.left;
    if (a == "image" && b == "top") words >> image.top;
    if (a == "image" && b == "interlaced") image.interlaced = true;
    if (a == "image" && b == "bits") {
      std::string by, hex;
      words >> image.width >> by >> image.height >> hex;
      for (int y = 0; y < image.height && std::getline(in, line); ++y) {
        if (hex == "hex")
          for (std::size_t x = 0; x + 1 < line.size(); x += 2)
            image.pixels.push_back(std::stoi(line.substr(x, 2), nullptr, 16));
        else
          for (char c : line) image.pixels.push_back(int(chars.find(c)));
      }
    }
  }
  dump.ok = !dump.images.empty();
  return dump;
}

}  // namespace giftest
