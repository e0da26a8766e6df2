// A fixture for the standard controls: a fresh headless window system with the system classes
// and the form library, one shown form to put controls on, and helpers to type and press keys.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/backend/HeadlessDriver.h"
#include "platform/controls/Controls.h"
#include "platform/forms/TApplication.h"
#include "platform/forms/TForm.h"
#include "platform/rtl/CodePage.h"

namespace stdctrlstest {

class StdCtrlsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::headless::Install();
    platform::controls::Startup();
    SetSystemCodePage(CP_UTF8);
    FormsStartup();
    form = new TForm(Application);
    form->AfterConstruction();
    form->SetBounds(50, 40, 420, 320);
    form->SetCaption("Controls");
    form->Show();
    Driver().RunUntilIdle();
  }
  void TearDown() override {
    FormsShutdown();
    platform::headless::Uninstall();
  }
  static platform::headless::HeadlessDriver& Driver() { return platform::headless::Driver(); }

  template <class C>
  C* Make(int left, int top, int width, int height, TWinControl* parent = nullptr) {
    C* c = new C(form);
    c->SetParent(parent ? parent : form);
    c->SetBounds(left, top, width, height);
    return c;
  }
  void Key(int vk, int modifiers = 0) {
    Driver().KeyDown(vk, modifiers);
    Driver().KeyUp(vk, modifiers);
    Driver().RunUntilIdle();
  }
  void Type(const std::u16string& text) {
    Driver().Type(text);
    Driver().RunUntilIdle();
  }
  static std::string Utf8(const std::u16string& s) { return platform::Utf16ToMultiByte(s, CP_UTF8); }
  POINT At(TWinControl* c, int x, int y) { return Driver().ClientPoint(c->Handle(), x, y); }

  TForm* form = nullptr;
};

}  // namespace stdctrlstest
