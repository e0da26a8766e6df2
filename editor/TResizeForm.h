// TResizeForm: the picture-size settings dialog, shown modally. It edits the host's default
// width and height (digits only, at most four) and its way of sizing (two radio buttons); OK
// stores the three, Cancel and the close button store nothing.
#pragma once

#include "platform/forms/TForm.h"

class TEdit;
class TImButton;
class TImage;
class TLabel;
class TRadioButton;
class TResizeHost;

class TResizeForm : public TForm {
 public:
  // The dialog read from its layout, its texts set and the host's settings shown.
  static TResizeForm* New(TComponent* owner, TResizeHost* host);

  // Whether a typed character may enter a field: a digit or the control codes of copy,
  // backspace, paste, cut and undo.
  static bool IsDigitKey(char key);

  TImage* Image1 = nullptr;
  TLabel* Title = nullptr;
  TLabel* Label1 = nullptr;
  TLabel* Select1 = nullptr;
  TLabel* Select2 = nullptr;
  // The labels named Width and Height in the layout (the names would hide the form's size).
  TLabel* WidthLabel = nullptr;
  TLabel* HeightLabel = nullptr;
  TRadioButton* RadioButton1 = nullptr;
  TRadioButton* RadioButton2 = nullptr;
  TEdit* Edit1 = nullptr;
  TEdit* Edit2 = nullptr;
  TImButton* OKButton = nullptr;
  TImButton* CancleButton = nullptr;
  TImButton* ImButton1 = nullptr;

  void setCaption();

  void FormPaint(TObject* sender);
  void OKButtonClick(TObject* sender);
  void CancleButtonClick(TObject* sender);
  void ImButton1Click(TObject* sender);
  void BackgroundMouseDown(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
  void EdWidthChange(TObject* sender);
  void EdHeightChange(TObject* sender);
  void EdWidthKeyPress(TObject* sender, char& key);
  void EdHeightKeyPress(TObject* sender, char& key);

 protected:
  TResizeForm(TComponent* owner, TResizeHost* host);
  void Loaded() override;
  void WndProc(TMessage& message) override;

 private:
  // Empties a field whose text holds anything a key press would have dropped.
  static void KeepDigitsOnly(TObject* sender);

  TResizeHost* host_;
};

// Registers the dialog's class, its handlers and the classes of its controls for layouts.
void RegisterResizeForm();
