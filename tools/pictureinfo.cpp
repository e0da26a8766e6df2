// The picture inspector: starts the platform headless, loads a picture through the picture
// registry and prints its class and size ("TPNGObject 32x32", "TGIFImage 100x100 frames=4").
// --out OUT.png draws it with its own draw options at its own size over white, lets the fake
// clock run --play MS (default 0) so an animation plays on, draws it again over white and writes
// that as a PNG file; --save OUT saves it through its own class. Exits with 1 when it cannot.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "pictures/PicturesStartup.h"
#include "pictures/gif/TGIFImage.h"
#include "platform/backend/HeadlessDriver.h"
#include "platform/forms/PlatformStartup.h"
#include "platform/forms/TBitmap.h"
#include "platform/forms/TPicture.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/TThread.h"

namespace {

using platform::headless::Driver;

// Lets painter threads run until each waits on the clock or has ended.
void Settle() {
  for (int i = 0; i < 2000; ++i) {
    Driver().RunUntilIdle();
    if (platform::RunningThreads() == 0 || Driver().clock().BlockedCount() >= int(platform::RunningThreads()))
      return;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

void Play(std::int64_t ms) {
  Settle();
  if (ms > 0) Driver().Advance(ms);
  Settle();
}

bool WriteSheet(TBitmap& sheet, const std::string& path) {
  const int w = sheet.Width(), h = sheet.Height();
  std::vector<std::uint32_t> pixels(std::size_t(w) * std::size_t(h));
  for (int y = 0; y < h; ++y) {
    const auto* row = static_cast<const std::uint8_t*>(sheet.ScanLine(y));
    for (int x = 0; x < w; ++x)
      pixels[std::size_t(y) * std::size_t(w) + std::size_t(x)] =
          std::uint32_t(row[3 * x + 2]) << 16 | std::uint32_t(row[3 * x + 1]) << 8 | row[3 * x];
  }
  return platform::headless::WritePng(path, w, h, pixels.data());
}

}  // namespace

int main(int argc, char** argv) {
  std::string input, out, save;
  long play = 0;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--out") == 0 && i + 1 < argc) {
      out = argv[++i];
    } else if (std::strcmp(argv[i], "--save") == 0 && i + 1 < argc) {
      save = argv[++i];
    } else if (std::strcmp(argv[i], "--play") == 0 && i + 1 < argc) {
      char* end = nullptr;
      play = std::strtol(argv[++i], &end, 10);
      if (*end || play < 0) input.clear(), play = -1;
    } else if (input.empty()) {
      input = argv[i];
    } else {
      input.clear();
      break;
    }
  }
  if (input.empty() || play < 0) {
    std::fprintf(stderr, "usage: pictureinfo FILE [--out OUT.png [--play MS]] [--save OUT]\n");
    return 2;
  }
  platform::Startup();
  pictures::Startup();
  int status = 0;
  try {
    TPicture picture;
    picture.LoadFromFile(input.c_str());
    TGraphic* graphic = picture.Graphic();
    std::printf("%s %dx%d", graphic->ClassName().c_str(), graphic->Width(), graphic->Height());
    if (auto* gif = dynamic_cast<TGIFImage*>(graphic)) std::printf(" frames=%d", gif->Images()->Count());
    std::printf("\n");
    if (!out.empty()) {
      TBitmap sheet;
      sheet.SetPixelFormat(pf24bit);
      sheet.SetSize(graphic->Width(), graphic->Height());
      const RECT all{0, 0, graphic->Width(), graphic->Height()};
      auto clear = [&]() {
        sheet.Canvas()->Brush()->SetColor(clWhite);
        sheet.Canvas()->FillRect(all);
      };
      clear();
      // The first drawing starts an animation; the sheet is cleared again before the drawing it
      // keeps, so that half-transparent pixels are blended over white once.
      sheet.Canvas()->StretchDraw(all, graphic);
      Play(play);
      clear();
      sheet.Canvas()->StretchDraw(all, graphic);
      if (!WriteSheet(sheet, out)) throw Exception(("Cannot write " + out).c_str());
    }
    if (!save.empty()) graphic->SaveToFile(save.c_str());
  } catch (const Exception& e) {
    std::fprintf(stderr, "%s: %s\n", input.c_str(), e.Message.c_str());
    status = 1;
  }
  pictures::Shutdown();
  platform::Shutdown();
  return status;
}
