#include "pictures/PicturesStartup.h"

#include "pictures/GIFException.h"
#include "pictures/gif/GIFSettings.h"
#include "pictures/gif/TGIFApplicationExtension.h"
#include "pictures/gif/TGIFExtension.h"
#include "pictures/gif/TGIFImage.h"
#include "pictures/png/PngRegistration.h"
#include "platform/forms/TPicture.h"
#include "platform/gdi/Gdi.h"
#include "platform/win/Win.h"
#include "platform/win/WindowDC.h"

namespace pictures {

namespace {
bool started = false;
}  // namespace

void RegisterGif() {
  TPicture::RegisterFileFormat<TGIFImage>("GIF", sGIFImageFile, "TGIFImage");
  CF_GIF = RegisterClipboardFormatA(sGIFImageFile);
  TPicture::RegisterClipboardFormat(WORD(CF_GIF), &typeid(TGIFImage), "TGIFImage",
                                    [] { return new TGIFImage; });
  const WindowDC screen(nullptr);
  const int bits = GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES);
  PaletteDevice = bits < 9;
  DoAutoDither = bits < 9;
}

void UnregisterGif() {
  TGIFImage::StopAllPainters();
  TGIFExtension::FreeExtensions();
  TGIFApplicationExtension::FreeExtensions();
  TPicture::UnregisterGraphicClass(&typeid(TGIFImage));
}

void Startup() {
  if (started) return;
  started = true;
  RegisterGif();
  RegisterPng();
}

void Shutdown() {
  if (!started) return;
  started = false;
  UnregisterPng();
  UnregisterGif();
}

}  // namespace pictures
