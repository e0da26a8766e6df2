// A fixture for skinned controls on a form: the platform started over the headless backend before
// each test, a form the test sizes and fills, and both gone after it; and the colour of a TColor as
// captures give pixels.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>

#include "platform/backend/HeadlessDriver.h"
#include "platform/forms/PlatformStartup.h"
#include "platform/forms/TApplication.h"
#include "platform/forms/TForm.h"

namespace skintest {

// 0x00RRGGBB of a colour (a system colour resolved), as captures give pixels.
inline std::uint32_t Rgb(TColor c) {
  const COLORREF v = ColorToRGB(c);
  return (GetRValue(v) << 16) | (GetGValue(v) << 8) | GetBValue(v);
}

class FormFixture : public ::testing::Test {
 protected:
  // A test's SetUp calls this first, then registers its classes and calls MakeForm.
  void SetUp() override { platform::Startup(); }
  void TearDown() override {
    delete form;
    platform::Shutdown();
  }
  // The form at the top left of the screen, not shown yet.
  void MakeForm(int width, int height) {
    form = new TForm(Application);
    form->SetBounds(0, 0, width, height);
  }
  // A control owned by the form, placed on `parent`.
  template <class T>
  T* Place(TWinControl* parent, int left, int top, int width, int height) {
    T* control = new T(form);
    control->SetParent(parent);
    control->SetBounds(left, top, width, height);
    return control;
  }
  // Shows the form and lets it paint.
  void ShowForm() {
    form->Show();
    platform::headless::Driver().RunUntilIdle();
  }

  TForm* form = nullptr;
};

}  // namespace skintest
