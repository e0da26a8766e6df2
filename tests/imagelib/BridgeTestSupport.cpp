#include "BridgeTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

#include "imagelib/IxMemFile.h"
#include "support/TempDir.h"

namespace bridgetest {

std::string Name(const std::string& path) { return path.substr(path.find_last_of('/') + 1); }

bool DecodeBytes(IxImage& img, const std::vector<uint8_t>& bytes, uint32_t id) {
  std::vector<uint8_t> copy(bytes);
  IxMemFile in(copy.empty() ? nullptr : copy.data(), copy.size());
  return img.Decode(&in, id);
}

std::vector<uint8_t> EncodeBytes(IxImage& img, uint32_t id, bool* ok) {
  IxMemFile out;
  out.Open();
  const bool done = img.Encode(&out, id);
  if (ok != nullptr) *ok = done;
  std::vector<uint8_t> bytes;
  if (out.Size() > 0) {
    const uint8_t* b = out.GetBuffer(false);
    bytes.assign(b, b + out.Size());
  }
  return bytes;
}

std::vector<uint8_t> PixelsTopDown(const IxImage& img, bool withAlpha) {
  std::vector<uint8_t> out;
  for (int64_t top = 0; top < img.GetHeight(); ++top) {
    const int64_t y = img.GetHeight() - 1 - top;
    for (int64_t x = 0; x < img.GetWidth(); ++x) {
      const IxRGBQuad c = img.GetPixelColor(x, y, true);
      out.push_back(c.rgbRed);
      out.push_back(c.rgbGreen);
      out.push_back(c.rgbBlue);
      if (withAlpha) out.push_back(img.AlphaIsValid() ? img.AlphaGet(x, y) : 255);
    }
  }
  return out;
}

int CountDifferences(const IxImage& img, int width, int height, const std::vector<uint8_t>& rgb,
                     int tolerance, const std::string& what) {
  EXPECT_EQ(static_cast<int>(img.GetWidth()), width) << what;
  EXPECT_EQ(static_cast<int>(img.GetHeight()), height) << what;
  if (static_cast<int>(img.GetWidth()) != width || static_cast<int>(img.GetHeight()) != height) return -1;
  int bad = 0;
  for (int top = 0; top < height; ++top) {
    for (int x = 0; x < width; ++x) {
      const IxRGBQuad c = img.GetPixelColor(x, height - 1 - top, false);
      const uint8_t* p = &rgb[(static_cast<size_t>(top) * width + x) * 3];
      if (std::abs(c.rgbRed - p[0]) > tolerance || std::abs(c.rgbGreen - p[1]) > tolerance ||
          std::abs(c.rgbBlue - p[2]) > tolerance) {
        if (bad < 3) {
          ADD_FAILURE() << what << " pixel (" << x << "," << top << " from the top): ours " << int(c.rgbRed)
                        << "," << int(c.rgbGreen) << "," << int(c.rgbBlue) << " oracle " << int(p[0]) << ","
                        << int(p[1]) << "," << int(p[2]);
        }
        ++bad;
      }
    }
  }
  return bad;
}

}  // namespace bridgetest

namespace bridgetest {

uint8_t Visibility(const IxImage& img, int64_t x, int64_t y) {
  if (img.AlphaIsValid()) return img.AlphaGet(x, y);
  if (img.IsIndexed() && img.GetInfo().bAlphaPaletteEnabled)
    return img.GetPaletteColor(img.GetPixelIndex(x, y)).rgbReserved;
  if (!img.IsTransparent()) return 255;
  if (img.IsIndexed()) return img.GetPixelIndex(x, y) == img.GetTransIndex() ? 0 : 255;
  const IxRGBQuad c = img.GetPixelColor(x, y, false);
  const IxRGBQuad t = img.GetTransColor();
  return c.rgbRed == t.rgbRed && c.rgbGreen == t.rgbGreen && c.rgbBlue == t.rgbBlue ? 0 : 255;
}

int CountRgbaDifferences(const IxImage& img, const imagetest::OraclePicture& rgba, bool exactAlpha,
                         const std::string& what) {
  EXPECT_EQ(static_cast<int>(img.GetWidth()), rgba.width) << what;
  EXPECT_EQ(static_cast<int>(img.GetHeight()), rgba.height) << what;
  if (static_cast<int>(img.GetWidth()) != rgba.width || static_cast<int>(img.GetHeight()) != rgba.height)
    return -1;
  int bad = 0;
  for (int top = 0; top < rgba.height; ++top) {
    for (int x = 0; x < rgba.width; ++x) {
      const int64_t y = rgba.height - 1 - top;
      const uint8_t* p = &rgba.rgb[(static_cast<size_t>(top) * rgba.width + x) * 4];
      const uint8_t vis = Visibility(img, x, y);
      const IxRGBQuad c = img.GetPixelColor(x, y, false);
      bool same = exactAlpha ? vis == p[3] : (vis == 0) == (p[3] == 0);
      if (same && p[3] != 0) same = c.rgbRed == p[0] && c.rgbGreen == p[1] && c.rgbBlue == p[2];
      if (!same) {
        if (bad < 3) {
          ADD_FAILURE() << what << " pixel (" << x << "," << top << " from the top): ours " << int(c.rgbRed)
                        << "," << int(c.rgbGreen) << "," << int(c.rgbBlue) << " alpha " << int(vis)
                        << ", oracle " << int(p[0]) << "," << int(p[1]) << "," << int(p[2]) << " alpha "
                        << int(p[3]);
        }
        ++bad;
      }
    }
  }
  return bad;
}

}  // namespace bridgetest
