// Pictures assembled in the tests from pixels: a global or local table of distinct colours and
// frames placed on the screen, and a small independent reader of GIF image data (sub-blocks and
// LZW codes) that reports what the codes did as well as the pixels.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "pictures/gif/TGIFGraphicControlExtension.h"
#include "pictures/gif/TGIFImage.h"
#include "pictures/gif/TGIFSubImage.h"

namespace giftest {

// Colour i of the tests' tables: red i keeps all 256 distinct.
inline TColor TestColor(int i) { return TColor(i | (((i * 97) & 0xFF) << 8) | (((255 - i) & 0xFF) << 16)); }

inline void FillTable(TGIFColorMap* map, int colors) {
  map->Clear();
  for (int i = 0; i < colors; ++i) map->Add(TestColor(i));
}

// A frame at (left, top) of `pixels`, added to the picture; a local table of `localColors`
// distinct colours when positive.
inline TGIFSubImage* AddFrame(TGIFImage& image, int left, int top, int width, int height,
                              const std::vector<std::uint8_t>& pixels, int localColors = 0) {
  auto* frame = new TGIFSubImage(&image);
  frame->DoSetBounds(left, top, width, height);
  if (localColors > 0) FillTable(frame->ColorMap(), localColors);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) frame->GetScanline(y)[x] = pixels[std::size_t(y * width + x)];
  image.Add(frame);
  return frame;
}

// A graphic control block for the frame: disposal, delay, transparent index (-1 none).
inline TGIFGraphicControlExtension* AddControl(TGIFSubImage* frame, TDisposalMethod disposal, int delay,
                                               int transparent = -1) {
  auto* control = new TGIFGraphicControlExtension(frame);
  frame->Extensions()->Add(control);
  control->SetDisposal(disposal);
  control->SetDelay(delay);
  if (transparent >= 0) {
    control->SetTransparentColorIndex(transparent);
    control->SetTransparent(true);
  }
  return control;
}

// What an independent LZW reader saw in one frame's image data.
struct CodeTrace {
  bool ok = false;
  std::string error;
  int codeSize = 0;
  std::vector<int> blockSizes;
  std::vector<int> pixels;        // in stream order
  std::vector<int> clearsAtFree;  // the next free code when each clear after the first came
  int widest = 0;                 // the widest code read
  int firstCode = -1;
};

// Reads image data at `at` (the code-size byte) of `data`.
inline CodeTrace TraceImageData(const std::vector<std::uint8_t>& data, std::size_t at = 0) {
  CodeTrace t;
  if (at >= data.size()) return t.error = "no data", t;
  t.codeSize = data[at++];
  std::vector<std::uint8_t> bytes;
  while (true) {
    if (at >= data.size()) return t.error = "no terminator", t;
    int n = data[at++];
    if (n == 0) break;
    t.blockSizes.push_back(n);
    if (at + std::size_t(n) > data.size()) return t.error = "cut block", t;
    bytes.insert(bytes.end(), data.begin() + std::ptrdiff_t(at),
                 data.begin() + std::ptrdiff_t(at + std::size_t(n)));
    at += std::size_t(n);
  }
  const int clear = 1 << t.codeSize, end = clear + 1;
  int width = t.codeSize + 1, nextFree = clear + 2, previous = -1, clears = 0;
  std::vector<std::vector<int>> table(4096);
  auto reset = [&] {
    for (int i = 0; i < clear; ++i) table[std::size_t(i)] = {i};
    width = t.codeSize + 1;
    nextFree = clear + 2;
    previous = -1;
  };
  reset();
  std::size_t bit = 0;
  while (true) {
    if (bit + std::size_t(width) > bytes.size() * 8) return t.error = "no end code", t;
    int code = 0;
    for (int i = 0; i < width; ++i, ++bit)
      if (bytes[bit / 8] & (1 << (bit % 8))) code |= 1 << i;
    t.widest = std::max(t.widest, width);
    if (t.firstCode < 0) t.firstCode = code;
    if (code == clear) {
      if (clears++ > 0) t.clearsAtFree.push_back(nextFree);
      reset();
      continue;
    }
    if (code == end) break;
    std::vector<int> entry;
    if (code < nextFree && !table[std::size_t(code)].empty() && (code < clear || code >= clear + 2)) {
      entry = table[std::size_t(code)];
    } else if (code == nextFree && previous >= 0) {
      entry = table[std::size_t(previous)];
      entry.push_back(entry[0]);
    } else {
      return t.error = "bad code " + std::to_string(code), t;
    }
    t.pixels.insert(t.pixels.end(), entry.begin(), entry.end());
    if (previous >= 0 && nextFree < 4096) {
      std::vector<int> added = table[std::size_t(previous)];
      added.push_back(entry[0]);
      table[std::size_t(nextFree++)] = added;
      if (nextFree == (1 << width) && width < 12) ++width;
    }
    previous = code;
  }
  t.ok = true;
  return t;
}

}  // namespace giftest
