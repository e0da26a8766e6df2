// TImButton: the skinned push button as the forms' layouts create it; all of its behaviour is
// TCustomImButton's.
#pragma once

#include "controls/TCustomImButton.h"

class TImButton : public TCustomImButton {
 public:
  using TCustomImButton::TCustomImButton;
};

// Registers TImButton and its colour set for form layouts.
void RegisterImButton();
