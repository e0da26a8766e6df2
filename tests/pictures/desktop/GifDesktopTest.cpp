// GIF pictures on the desktop backend under Xvfb: the still pictures of the GIF demo form (opaque,
// transparent, stretched twice, tiled) over a checkerboard show on the X screen exactly the
// pixels the headless backend draws for the same form.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <string>

#include "DesktopForms.h"
#include "DesktopSession.h"
#include "pictures/PicturesStartup.h"
#include "pictures/gif/TGIFImage.h"
#include "platform/backend/HeadlessDriver.h"
#include "platform/backend/gtk/GtkBackend.h"
#include "platform/forms/PlatformStartup.h"
#include "platform/forms/TApplication.h"
#include "platform/forms/TForm.h"
#include "platform/forms/TImage.h"
#include "platform/forms/TPaintBox.h"
#include "support/SharedData.h"

namespace {

using desktoptest::PumpUntil;

std::string Gif(const char* name) { return testsupport::SharedPath(std::string("testdata/gif/") + name); }

TImage* AddImage(TForm* form, const char* name, int left, int top, int width, int height, bool stretch) {
  auto* image = new TImage(form);
  image->Picture()->LoadFromFile(Gif(name).c_str());
  image->SetBounds(left, top, width, height);
  image->SetStretch(stretch);
  image->SetParent(form);
  return image;
}

TForm* MakeDemo() {
  pictures::Startup();
  TForm* form = nullptr;
  Application->CreateForm(form);
  form->SetBorderStyle(bsNone);
  form->SetBounds(0, 0, 640, 220);  // the virtual screen is 640 wide
  auto* board = new TPaintBox(form);
  board->SetBounds(0, 0, form->Width(), form->Height());
  board->SetParent(form);
  board->OnPaint = [board](TObject*) {
    TCanvas* c = board->Canvas();
    for (int y = 0; y < board->Height(); y += 8)
      for (int x = 0; x < board->Width(); x += 8) {
        c->Brush()->SetColor(((x + y) / 8) % 2 ? TColor(RGB(204, 204, 204)) : clWhite);
        c->FillRect(RECT{x, y, x + 8, y + 8});
      }
  };
  AddImage(form, "static_nontransparent.gif", 10, 10, 100, 100, false);
  AddImage(form, "static_transparent.gif", 120, 10, 100, 100, false);
  AddImage(form, "static_transparent.gif", 230, 10, 200, 200, true);
  TImage* tiled = AddImage(form, "static_transparent.gif", 440, 10, 190, 150, true);
  auto* gif = static_cast<TGIFImage*>(tiled->Picture()->Graphic());
  gif->SetDrawOptions(gif->DrawOptions() | GIFDrawOption(goTile));
  form->Show();
  return form;
}

platform::headless::CaptureImage HeadlessDemo() {
  platform::Startup();
  TForm* form = MakeDemo();
  platform::headless::Driver().RunUntilIdle();
  platform::headless::CaptureImage image = platform::headless::Driver().Capture(form->Handle());
  pictures::Shutdown();
  platform::Shutdown();
  return image;
}

TEST(GifPicturesOnTheDesktop, ShowTheHeadlessPixels) {
  const platform::headless::CaptureImage expected = HeadlessDemo();
  ASSERT_EQ(expected.width, 640);

  std::string error;
  ASSERT_TRUE(desktoptest::EnsureDisplay(&error)) << error;
  const std::string folder = desktoptest::StartFormsOnDesktop();
  ASSERT_FALSE(folder.empty());
  TForm* form = MakeDemo();
  const HWND hwnd = form->Handle();
  RECT r{};
  GetWindowRect(hwnd, &r);
  ASSERT_EQ(r.right - r.left, expected.width);
  EXPECT_TRUE(PumpUntil(
      [&] { return platform::desktop::DesktopDraws(hwnd) > 0 && platform::win::QueueIdle(); }, 10000));

  desktoptest::Screenshot shot;
  ASSERT_TRUE(desktoptest::Capture(shot, &error)) << error;
  int differing = 0;
  RECT where{expected.width, expected.height, 0, 0};
  for (int y = 0; y < expected.height; ++y)
    for (int x = 0; x < expected.width; ++x) {
      if (shot.At(r.left + x, r.top + y) == expected.At(x, y)) continue;
      ++differing;
      where = RECT{std::min<LONG>(where.left, x), std::min<LONG>(where.top, y),
                   std::max<LONG>(where.right, x + 1), std::max<LONG>(where.bottom, y + 1)};
    }
  EXPECT_EQ(differing, 0) << "within (" << where.left << ", " << where.top << ") - (" << where.right << ", "
                          << where.bottom << ")";
  pictures::Shutdown();
  desktoptest::StopFormsOnDesktop(folder);
}

}  // namespace
