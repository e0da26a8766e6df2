// The Unicode controls demo: one Unicode form built from its layout resource
// (resources/forms/TUcPeripheryDemo.layout) holding the layer's buttons, boxes, panels, radio
// group and graphic controls with Khmer and Vietnamese captions. The demo program shows it on
// the desktop; the layer's tests and the desktop backend's tests drive the same form.
#pragma once

#include <string>
#include <vector>

#include "unicode/TUcButton.h"
#include "unicode/TUcCheckBox.h"
#include "unicode/TUcComboBox.h"
#include "unicode/TUcForm.h"
#include "unicode/TUcGroupBox.h"
#include "unicode/TUcListBox.h"
#include "unicode/TUcPaintBox.h"
#include "unicode/TUcPanel.h"
#include "unicode/TUcRadioButton.h"
#include "unicode/TUcRadioGroup.h"
#include "unicode/TUcScrollBar.h"
#include "unicode/TUcStaticText.h"

class TUcPeripheryDemo : public TUcForm {
 public:
  explicit TUcPeripheryDemo(TComponent* owner) : TUcForm(owner) {}

  // The components the layout made, found by name once it is read.
  TUcPanel* Banner = nullptr;
  TUcStaticText* Title = nullptr;
  TUcButton* OkButton = nullptr;
  TUcButton* CancelButton = nullptr;
  TUcCheckBox* Remember = nullptr;
  TUcGroupBox* Choices = nullptr;
  TUcRadioButton* First = nullptr;
  TUcRadioButton* Second = nullptr;
  TUcRadioGroup* Languages = nullptr;
  TUcPaintBox* Marks = nullptr;
  TUcComboBox* Places = nullptr;
  TUcListBox* Cities = nullptr;
  TUcScrollBar* Level = nullptr;

  // What happened, one line per event with its sender's name ("LanguagesClick Languages").
  std::vector<std::string> Events;

  void FormCreate(TObject* sender);
  void MarksPaint(TObject* sender);
  void LanguagesClick(TObject* sender);
  void ButtonClick(TObject* sender);
  void PlacesSelect(TObject* sender);

 private:
  void Note(const char* what, TObject* sender);
};

// Registers the demo's form class, its handlers and the layer's classes with the layout reader
// (after start-up of the form library and the layer).
void RegisterUcPeripheryDemo();
