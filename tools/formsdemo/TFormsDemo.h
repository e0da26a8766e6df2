// The forms demo: one form built from its layout resource (resources/forms/TFormsDemo.layout)
// that shows the form library's controls at work. The demo program runs it on the desktop, and
// the form library's and the desktop backend's tests drive the same form.
#pragma once

#include <string>
#include <vector>

#include "platform/forms/TForm.h"
#include "platform/forms/TImage.h"
#include "platform/forms/TLabel.h"
#include "platform/forms/TPanel.h"
#include "platform/forms/TScrollBar.h"
#include "platform/forms/TTimer.h"

class TFormsDemo : public TForm {
 public:
  explicit TFormsDemo(TComponent* owner) : TForm(owner) {}

  // The components the layout made, found by name once it is read.
  TImage* Picture = nullptr;
  TTimer* Ticker = nullptr;
  TLabel* Title = nullptr;
  TPanel* Dock = nullptr;
  TScrollBar* Slider = nullptr;
  // A second form docked into Dock, as the editor docks its preview into its main window.
  TForm* Pane = nullptr;

  // What happened, one line per event with its sender's name ("PictureClick Picture").
  std::vector<std::string> Events;
  int Ticks = 0;
  std::string Typed;

  void FormCreate(TObject* sender);
  void FormKeyPress(TObject* sender, char& key);
  void PictureClick(TObject* sender);
  void TickerTimer(TObject* sender);
  void SliderChange(TObject* sender);
  void PaneClick(TObject* sender);
  // Ctrl+R: forgets what was typed and counted.
  void ResetActionExecute(TObject* sender);

 private:
  void Note(const char* what, TObject* sender);
};

// Registers the demo's form class and its handlers with the layout reader (after start-up).
void RegisterFormsDemo();
