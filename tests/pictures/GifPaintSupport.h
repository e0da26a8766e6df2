// Helpers of the GIF drawing and animation tests: the platform started headless with the
// picture classes, the suite's files and their reference frames, canvases with a known
// backdrop, small animations built frame by frame, and letting painter threads settle on the
// fake clock.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "PngTestSupport.h"
#include "pictures/PicturesStartup.h"
#include "pictures/gif/TGIFAppExtNSLoop.h"
#include "pictures/gif/TGIFExtensionList.h"
#include "pictures/gif/TGIFGraphicControlExtension.h"
#include "pictures/gif/TGIFImage.h"
#include "pictures/gif/TGIFSubImage.h"
#include "platform/backend/HeadlessDriver.h"
#include "platform/forms/PlatformStartup.h"
#include "platform/forms/TBitmap.h"
#include "platform/rtl/TFileStream.h"
#include "platform/rtl/TThread.h"
#include "support/SharedData.h"

namespace gifpaint {

using platform::headless::Driver;

inline std::string GifPath(const std::string& name) {
  return testsupport::SharedPath("testdata/gif/" + name);
}

inline std::unique_ptr<TGIFImage> LoadGif(const std::string& path) {
  auto gif = std::make_unique<TGIFImage>();
  gif->LoadFromFile(path.c_str());
  return gif;
}

// The build folder: two levels above this test program (build/tests/pictures).
inline std::filesystem::path ScreenshotFolder() {
  char path[4096] = {};
  const ssize_t n = readlink("/proc/self/exe", path, sizeof(path) - 1);
  const std::filesystem::path build =
      n > 0 ? std::filesystem::path(path).parent_path().parent_path().parent_path()
            : std::filesystem::current_path();
  std::filesystem::create_directories(build / "screenshots" / "pictures");
  return build / "screenshots" / "pictures";
}

// RGBA pixels of a PNG file, 0xAARRGGBB.
struct Rgba {
  int width = 0, height = 0;
  std::vector<std::uint32_t> pixels;
  std::uint32_t At(int x, int y) const {
    return pixels[std::size_t(y) * std::size_t(width) + std::size_t(x)];
  }
};

// libpng's simplified reader (through the dynamic loader, as the PNG tests reach it): any
// PNG as 8-bit RGBA.
inline Rgba ReadPng(const std::string& path) {
  using Begin = int (*)(png_imagep, png_const_voidp, png_size_t);
  using Finish = int (*)(png_imagep, png_const_colorp, png_voidp, png_int_32, png_voidp);
  using Free = void (*)(png_imagep);
  static void* handle = dlopen("libpng16.so.16", RTLD_NOW | RTLD_LOCAL);
  Rgba out;
  if (!handle) {
    ADD_FAILURE() << "libpng is not there";
    return out;
  }
  auto begin = reinterpret_cast<Begin>(dlsym(handle, "png_image_begin_read_from_memory"));
  auto finish = reinterpret_cast<Finish>(dlsym(handle, "png_image_finish_read"));
  auto release = reinterpret_cast<Free>(dlsym(handle, "png_image_free"));
  const auto bytes = testsupport::ReadFileBytes(path);
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!begin || !finish || !begin(&image, bytes.data(), bytes.size())) {
    ADD_FAILURE() << "cannot read " << path << ": " << image.message << " " << bytes.size();
    return out;
  }
  image.format = PNG_FORMAT_RGBA;
  std::vector<std::uint8_t> rgba(PNG_IMAGE_SIZE(image));
  if (!finish(&image, nullptr, rgba.data(), 0, nullptr)) {
    if (release) release(&image);
    ADD_FAILURE() << "cannot decode " << path << ": " << image.message;
    return out;
  }
  out.width = int(image.width), out.height = int(image.height);
  for (std::size_t i = 0; i + 3 < rgba.size(); i += 4)
    out.pixels.push_back(std::uint32_t(rgba[i + 3]) << 24 | std::uint32_t(rgba[i]) << 16 |
                         std::uint32_t(rgba[i + 1]) << 8 | rgba[i + 2]);
  return out;
}

// The canvas after frame `i` of a suite file (alpha 0 where nothing is painted).
inline Rgba ReferenceFrame(const std::string& name, int i) {
  return ReadPng(GifPath("frames/" + name + "-" + std::to_string(i) + ".png"));
}

// A checkerboard of 5-pixel squares in two colours no suite picture uses.
inline std::uint32_t Backdrop(int x, int y) { return ((x / 5 + y / 5) % 2) ? 0x3366CC : 0xCC3366; }

// A 24-bit bitmap filled with the backdrop.
inline std::unique_ptr<TBitmap> BackdropCanvas(int width, int height) {
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetPixelFormat(pf24bit);
  bitmap->SetSize(width, height);
  for (int y = 0; y < height; ++y) {
    auto* row = static_cast<std::uint8_t*>(bitmap->ScanLine(y));
    for (int x = 0; x < width; ++x) {
      const std::uint32_t c = Backdrop(x, y);
      row[3 * x] = std::uint8_t(c), row[3 * x + 1] = std::uint8_t(c >> 8),
              row[3 * x + 2] = std::uint8_t(c >> 16);
    }
  }
  return bitmap;
}

// 0xRRGGBB of a 24-bit bitmap's pixel.
inline std::uint32_t Pixel(TBitmap& bitmap, int x, int y) {
  const auto* row = static_cast<const std::uint8_t*>(bitmap.ScanLine(y));
  return std::uint32_t(row[3 * x + 2]) << 16 | std::uint32_t(row[3 * x + 1]) << 8 | row[3 * x];
}

// Where `bitmap` differs from `expected(x, y)` (count and the first place), empty when equal.
inline std::string Differences(TBitmap& bitmap, const std::function<std::uint32_t(int, int)>& expected) {
  int count = 0;
  std::ostringstream first;
  for (int y = 0; y < bitmap.Height(); ++y)
    for (int x = 0; x < bitmap.Width(); ++x) {
      const std::uint32_t got = Pixel(bitmap, x, y), want = expected(x, y) & 0xFFFFFF;
      if (got == want) continue;
      if (count++ == 0)
        first << " first at (" << x << ", " << y << "): " << std::hex << got << " not " << want;
    }
  return count ? std::to_string(count) + " pixels differ;" + first.str() : std::string();
}

// The reference frame laid over the backdrop at (left, top) of a larger canvas.
inline std::function<std::uint32_t(int, int)> OverBackdrop(const Rgba& frame, int left = 0, int top = 0) {
  return [&frame, left, top](int x, int y) -> std::uint32_t {
    const int fx = x - left, fy = y - top;
    if (fx < 0 || fy < 0 || fx >= frame.width || fy >= frame.height) return Backdrop(x, y);
    const std::uint32_t p = frame.At(fx, fy);
    return (p >> 24) == 0 ? Backdrop(x, y) : p & 0xFFFFFF;
  };
}

// Runs the interface thread until every painter thread waits on the clock or has ended.
inline void Settle() {
  for (int i = 0; i < 5000; ++i) {
    Driver().RunUntilIdle();
    const int running = int(platform::RunningThreads());
    if (running == 0 || Driver().clock().BlockedCount() >= running) {
      Driver().RunUntilIdle();
      return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  ADD_FAILURE() << "painter threads did not settle";
}

inline void Play(std::int64_t ms) {
  Settle();
  Driver().Advance(ms);
  Settle();
}

// Waits (in real time) until no thread of ours runs any more.
inline bool NoThreadLeft() {
  for (int i = 0; i < 5000 && platform::RunningThreads() != 0; ++i) {
    Driver().RunUntilIdle();
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return platform::RunningThreads() == 0;
}

// One frame of a built animation: a solid block of colour index `color` of the global table.
struct FrameShape {
  int delay = 100;  // hundredths; -1: no graphic control block
  int disposal = 0;
  int color = 1;
  int left = 0, top = 0, width = 4, height = 4;
  int transparentIndex = -1;
  int loops = -1;  // a looping block with this value before the frame
  bool empty = false;
};

// A picture of the given frames over a 4-colour global table (black, red, green, blue).
inline std::unique_ptr<TGIFImage> BuildAnimation(const std::vector<FrameShape>& frames, int width = 4,
                                                 int height = 4) {
  auto gif = std::make_unique<TGIFImage>();
  gif->Header()->SetWidth(width);
  gif->Header()->SetHeight(height);
  for (TColor c : {TColor(0x000000), TColor(0x0000FF), TColor(0x00FF00), TColor(0xFF0000)})
    gif->GetColorMap()->Add(c);
  for (const FrameShape& shape : frames) {
    auto* frame = new TGIFSubImage(gif.get());
    if (shape.loops >= 0) {
      auto* loop = new TGIFAppExtNSLoop(frame);
      loop->SetLoops(shape.loops);
      frame->Extensions()->Add(loop);
    }
    if (shape.delay >= 0) {
      auto* control = new TGIFGraphicControlExtension(frame);
      frame->Extensions()->Add(control);
      control->SetDelay(shape.delay);
      control->SetDisposal(TDisposalMethod(shape.disposal));
      if (shape.transparentIndex >= 0) {
        control->SetTransparentColorIndex(shape.transparentIndex);
        control->SetTransparent(true);
      }
    }
    if (!shape.empty) {
      frame->DoSetBounds(shape.left, shape.top, shape.width, shape.height);
      for (int y = 0; y < shape.height; ++y)
        for (int x = 0; x < shape.width; ++x) frame->GetScanline(y)[x] = std::uint8_t(shape.color);
    }
    gif->Images()->Add(frame);
  }
  return gif;
}

// The platform started headless with the picture classes, as a program has them.
class GifTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::Startup();
    pictures::Startup();
  }
  void TearDown() override {
    pictures::Shutdown();
    platform::Shutdown();
    // The PNG tests of this program keep the registration their environment made.
    pictures::RegisterPng();
  }
};

}  // namespace gifpaint
