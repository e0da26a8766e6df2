// The window system over a fresh headless backend with the form library and the Unicode layer
// started, a shown form to put controls on, and an exception log.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CodePageScope.h"
#include "platform/backend/HeadlessDriver.h"
#include "platform/controls/Controls.h"
#include "platform/forms/TApplication.h"
#include "platform/forms/TForm.h"
#include "unicode/UcLayer.h"

namespace uctest {

using platform::headless::Driver;

inline const char16_t* const kKhmer = u"\u1797\u17B6\u179F\u17B6\u1781\u17D2\u1798\u17C2\u179A";  // 9 letters
inline const char16_t* const kVietnamese = u"Ti\u1EBFng Vi\u1EC7t";

class UcTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::headless::Install();
    platform::controls::Startup();
    FormsStartup();
    unicode::LayerStartup();
    Application->OnException = [this](TObject*, Exception* e) { exceptions.push_back(e->Message.ToStd()); };
  }
  void TearDown() override {
    unicode::LayerShutdown();
    FormsShutdown();
    platform::headless::Uninstall();
  }
  TForm* NewForm(int width = 320, int height = 240) {
    TForm* form = nullptr;
    Application->CreateForm(form);
    form->SetBorderStyle(bsNone);
    form->SetBounds(10, 10, width, height);
    form->SetColor(clBtnFace);
    form->Show();
    Driver().RunUntilIdle();
    return form;
  }
  template <class T>
  T* Child(TWinControl* parent, int left, int top, int width, int height) {
    T* c = new T(parent);
    c->SetBounds(left, top, width, height);
    c->SetParent(parent);
    return c;
  }
  static std::u16string WindowText(HWND hwnd) {
    char16_t buffer[512] = {};
    GetWindowTextW(hwnd, buffer, 512);
    return buffer;
  }
  static std::string Screenshots() {
#ifdef MMS_SCREENSHOT_DIR
    return std::string(MMS_SCREENSHOT_DIR) + "/unicode/";
#else
    return "screenshots/unicode/";
#endif
  }
  std::vector<std::string> exceptions;
};

}  // namespace uctest
