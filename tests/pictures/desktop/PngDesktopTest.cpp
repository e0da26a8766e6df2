// PNG pictures on the desktop backend under Xvfb: a form of suite pictures (alpha, a transparent
// colour, a palette, interlaced 16-bit grey) stretched over a checkerboard shows on the X screen
// exactly the pixels the headless backend draws for the same form.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <string>

#include "DesktopForms.h"
#include "DesktopSession.h"
#include "pictures/png/PngRegistration.h"
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

constexpr int kCell = 132;
const char* const kPictures[] = {"basn6a08.png", "tbrn2c08.png", "basn3p08.png", "basi0g16.png"};

TForm* MakeSheet() {
  pictures::RegisterPng();
  TForm* form = nullptr;
  Application->CreateForm(form);
  form->SetBorderStyle(bsNone);
  form->SetBounds(0, 0, kCell * int(std::size(kPictures)), kCell);
  auto* board = new TPaintBox(form);
  board->SetBounds(0, 0, form->Width(), kCell);
  board->SetParent(form);
  board->OnPaint = [board](TObject*) {
    TCanvas* c = board->Canvas();
    for (int y = 0; y < board->Height(); y += 8)
      for (int x = 0; x < board->Width(); x += 8) {
        c->Brush()->SetColor(((x + y) / 8) % 2 ? TColor(RGB(204, 204, 204)) : clWhite);
        c->FillRect(RECT{x, y, x + 8, y + 8});
      }
  };
  for (size_t i = 0; i < std::size(kPictures); ++i) {
    auto* image = new TImage(form);
    image->Picture()->LoadFromFile(
        testsupport::SharedPath(std::string("testdata/png/") + kPictures[i]).c_str());
    image->SetBounds(int(i) * kCell + 2, 2, image->Picture()->Width() * 4, image->Picture()->Height() * 4);
    image->SetStretch(true);
    image->SetParent(form);
  }
  form->Show();
  return form;
}

platform::headless::CaptureImage HeadlessSheet() {
  platform::Startup();
  TForm* form = MakeSheet();
  platform::headless::Driver().RunUntilIdle();
  platform::headless::CaptureImage image = platform::headless::Driver().Capture(form->Handle());
  platform::Shutdown();
  return image;
}

TEST(PngPicturesOnTheDesktop, ShowTheHeadlessPixels) {
  const platform::headless::CaptureImage expected = HeadlessSheet();
  ASSERT_EQ(expected.width, kCell * int(std::size(kPictures)));

  std::string error;
  ASSERT_TRUE(desktoptest::EnsureDisplay(&error)) << error;
  const std::string folder = desktoptest::StartFormsOnDesktop();
  ASSERT_FALSE(folder.empty());
  TForm* form = MakeSheet();
  const HWND hwnd = form->Handle();
  RECT r{};
  GetWindowRect(hwnd, &r);
  ASSERT_EQ(r.right - r.left, expected.width);
  EXPECT_TRUE(PumpUntil(
      [&] { return platform::desktop::DesktopDraws(hwnd) > 0 && platform::win::QueueIdle(); }, 10000));

  desktoptest::Screenshot shot;
  ASSERT_TRUE(desktoptest::Capture(shot, &error)) << error;
  EXPECT_EQ(desktoptest::Differing(shot, r, expected), 0);
  desktoptest::StopFormsOnDesktop(folder);
}

}  // namespace
