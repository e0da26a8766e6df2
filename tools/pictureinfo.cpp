// The picture inspector: loads a picture through the picture registry and prints its class and
// size ("TPNGObject 32x32"). --out OUT.png draws it over white at its own size and writes that
// as a PNG file; --save OUT saves it through its own class. Exits with 1 when it cannot.
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "pictures/PicturesStartup.h"
#include "pictures/TPNGObject.h"
#include "platform/forms/TBitmap.h"
#include "platform/forms/TPicture.h"
#include "platform/rtl/Exceptions.h"

int main(int argc, char** argv) {
  std::string input, out, save;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--out") == 0 && i + 1 < argc) {
      out = argv[++i];
    } else if (std::strcmp(argv[i], "--save") == 0 && i + 1 < argc) {
      save = argv[++i];
    } else if (input.empty()) {
      input = argv[i];
    } else {
      input.clear();
      break;
    }
  }
  if (input.empty()) {
    std::fprintf(stderr, "usage: pictureinfo FILE [--out OUT.png] [--save OUT]\n");
    return 2;
  }
  pictures::Startup();
  int status = 0;
  try {
    TPicture picture;
    picture.LoadFromFile(input.c_str());
    TGraphic* graphic = picture.Graphic();
    std::printf("%s %dx%d\n", graphic->ClassName().c_str(), graphic->Width(), graphic->Height());
    if (!out.empty()) {
      TBitmap sheet;
      sheet.SetPixelFormat(pf24bit);
      sheet.SetSize(graphic->Width(), graphic->Height());
      sheet.Canvas()->Brush()->SetColor(clWhite);
      sheet.Canvas()->FillRect(RECT{0, 0, graphic->Width(), graphic->Height()});
      sheet.Canvas()->StretchDraw(RECT{0, 0, graphic->Width(), graphic->Height()}, graphic);
      TPNGObject png;
      png.Assign(&sheet);
      png.SaveToFile(out.c_str());
    }
    if (!save.empty()) graphic->SaveToFile(save.c_str());
  } catch (const Exception& e) {
    std::fprintf(stderr, "%s: %s\n", input.c_str(), e.Message.c_str());
    status = 1;
  }
  pictures::Shutdown();
  return status;
}
