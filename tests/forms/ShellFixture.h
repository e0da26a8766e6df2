// A fixture for the tests of forms, the screen, the mouse and hints: the window system over a
// fresh headless backend with the form library started, an exception log, and two small
// controls (a windowless box and a windowed sheet that fill themselves with their colour).
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/backend/HeadlessDriver.h"
#include "platform/controls/Controls.h"
#include "platform/forms/TApplication.h"
#include "platform/forms/TCustomControl.h"
#include "platform/forms/TGraphicControl.h"
#include "platform/forms/TScreen.h"

namespace shelltest {

using platform::headless::Driver;

class TBox : public TGraphicControl {
 public:
  explicit TBox(TComponent* owner) : TGraphicControl(owner) {}

 protected:
  void Paint() override {
    Canvas()->Brush()->SetColor(Color());
    Canvas()->FillRect(RECT{0, 0, Width(), Height()});
  }
};

class TSheet : public TCustomControl {
 public:
  explicit TSheet(TComponent* owner) : TCustomControl(owner) { ControlStyle |= csAcceptsControls; }

 protected:
  void Paint() override {
    Canvas()->Brush()->SetColor(Color());
    Canvas()->FillRect(RECT{0, 0, Width(), Height()});
  }
};

class ShellTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::headless::Install();
    platform::controls::Startup();
    FormsStartup();
    Application->OnException = [this](TObject*, Exception* e) { exceptions.push_back(e->Message.ToStd()); };
  }
  void TearDown() override {
    FormsShutdown();
    platform::headless::Uninstall();
  }
  // A shown, undecorated form owned by the application at the given place.
  template <class T = TForm>
  T* NewForm(int left, int top, int width, int height, TColor color = clWhite) {
    T* form = nullptr;
    Application->CreateForm(form);  // the first becomes the main form
    form->SetBorderStyle(bsNone);
    form->SetBounds(left, top, width, height);
    form->SetColor(color);
    form->Show();
    Driver().RunUntilIdle();
    return form;
  }
  template <class T>
  T* Child(TWinControl* parent, const char* name, int left, int top, int width, int height, TColor color) {
    T* c = new T(GetParentForm(parent) ? static_cast<TComponent*>(GetParentForm(parent)) : parent);
    c->SetName(name);
    c->SetBounds(left, top, width, height);
    c->SetColor(color);
    c->SetParent(parent);
    return c;
  }
  // A point of a control (windowed or not) in screen coordinates.
  static POINT At(TControl* c, int x, int y) { return c->ClientToScreen(POINT{x, y}); }
  void MoveTo(POINT p) {
    Driver().MoveMouse(p);
    Driver().RunUntilIdle();
  }

  std::vector<std::string> exceptions;
};

}  // namespace shelltest
