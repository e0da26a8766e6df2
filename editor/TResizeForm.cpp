#include "editor/TResizeForm.h"

#include <memory>

#include "controls/TImButton.h"
#include "editor/EditorResources.h"
#include "editor/TEditorBox.h"
#include "editor/TResStringManager.h"
#include "editor/TResizeHost.h"
#include "platform/forms/ClassRegistry.h"
#include "platform/forms/TEdit.h"
#include "platform/forms/TImage.h"
#include "platform/forms/TLabel.h"
#include "platform/forms/TRadioButton.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/StringRoutines.h"
#include "platform/win/Win.h"

namespace {

template <class T>
T* Need(TComponent* form, const char* name) {
  T* found = dynamic_cast<T*>(form->FindComponent(name));
  if (!found) throw Exception(AnsiString("The picture-size dialog's layout has no ") + name);
  return found;
}

// The value of a field's leading digits; 0 when it starts with none.
int LeadingNumber(const AnsiString& text) {
  int value = 0;
  for (const char* c = text.c_str(); *c >= '0' && *c <= '9' && value < 100000000; ++c)
    value = value * 10 + (*c - '0');
  return value;
}

}  // namespace

TResizeForm::TResizeForm(TComponent* owner, TResizeHost* host) : TForm(owner), host_(host) {
  RegisterResizeForm();
}

TResizeForm* TResizeForm::New(TComponent* owner, TResizeHost* host) {
  std::unique_ptr<TResizeForm> dialog(new TResizeForm(owner, host));
  dialog->AfterConstruction();
  dialog->setCaption();
  const TResizeSettings settings = host ? host->Settings() : TResizeSettings{};
  dialog->Edit1->SetTextProp(IntToStr(settings.width));
  dialog->Edit2->SetTextProp(IntToStr(settings.height));
  const AnsiString hint(ResStringManager.GetString("STR_MAX_Value"));
  dialog->Edit1->SetHint(hint);
  dialog->Edit2->SetHint(hint);
  if (settings.mode == 1)
    dialog->RadioButton1->SetCheckedProp(true);
  else
    dialog->RadioButton2->SetCheckedProp(true);
  return dialog.release();
}

void TResizeForm::Loaded() {
  TForm::Loaded();
  Image1 = Need<TImage>(this, "Image1");
  Title = Need<TLabel>(this, "Title");
  Label1 = Need<TLabel>(this, "Label1");
  Select1 = Need<TLabel>(this, "Select1");
  Select2 = Need<TLabel>(this, "Select2");
  WidthLabel = Need<TLabel>(this, "Width");
  HeightLabel = Need<TLabel>(this, "Height");
  RadioButton1 = Need<TRadioButton>(this, "RadioButton1");
  RadioButton2 = Need<TRadioButton>(this, "RadioButton2");
  Edit1 = Need<TEdit>(this, "Edit1");
  Edit2 = Need<TEdit>(this, "Edit2");
  OKButton = Need<TImButton>(this, "OKButton");
  CancleButton = Need<TImButton>(this, "CancleButton");
  ImButton1 = Need<TImButton>(this, "ImButton1");
}

void TResizeForm::setCaption() {
  auto text = [](const char* key) { return AnsiString(ResStringManager.GetString(key)); };
  Title->SetCaption(text("STR_ResizeSet_Title"));
  OKButton->SetCaption(text("STR_Mivora_YES"));
  CancleButton->SetCaption(text("STR_CloseFrm_Cancel"));
  Label1->SetCaption(text("STR_ResizeSet_Hint"));
  Select1->SetCaption(text("STR_ResizeSet_Select1"));
  Select2->SetCaption(text("STR_ResizeSet_Select2"));
  WidthLabel->SetCaption(text("STR_ResizeSet_Width"));
  HeightLabel->SetCaption(text("STR_ResizeSet_Height"));
}

void TResizeForm::WndProc(TMessage& message) {
  if (message.Msg == WM_REFRESHCAPTION) {
    setCaption();
    return;
  }
  TForm::WndProc(message);
}

void TResizeForm::FormPaint(TObject*) {
  for (TImButton* button : {OKButton, CancleButton})
    if (!button->Visible()) button->SetVisible(true);
}

void TResizeForm::OKButtonClick(TObject*) {
  if (host_) {
    TResizeSettings settings;
    settings.mode = RadioButton1->Checked() ? 1 : 0;
    settings.width = LeadingNumber(Edit1->Text());
    settings.height = LeadingNumber(Edit2->Text());
    host_->StoreSettings(settings);
  }
  Close();
}

void TResizeForm::CancleButtonClick(TObject*) { Close(); }

void TResizeForm::ImButton1Click(TObject*) { Close(); }

void TResizeForm::BackgroundMouseDown(TObject*, TMouseButton button, TShiftState, int, int) {
  if (button != mbLeft) return;
  ReleaseCapture();
  SendMessageW(Handle(), WM_NCLBUTTONDOWN, HTCAPTION, 0);
  SetActiveControl(nullptr);
}

bool TResizeForm::IsDigitKey(char key) {
  return (key >= '0' && key <= '9') || key == 3 || key == 8 || key == 22 || key == 24 || key == 26;
}

void TResizeForm::KeepDigitsOnly(TObject* sender) {
  auto* edit = dynamic_cast<TEdit*>(sender);
  if (!edit) return;
  const AnsiString text = edit->Text();
  for (const char* c = text.c_str(); *c; ++c) {
    if (!IsDigitKey(*c)) {
      edit->SetTextProp("");
      return;
    }
  }
}

void TResizeForm::EdWidthChange(TObject* sender) { KeepDigitsOnly(sender); }

void TResizeForm::EdHeightChange(TObject* sender) { KeepDigitsOnly(sender); }

void TResizeForm::EdWidthKeyPress(TObject*, char& key) {
  if (!IsDigitKey(key)) key = 0;
}

void TResizeForm::EdHeightKeyPress(TObject*, char& key) {
  if (!IsDigitKey(key)) key = 0;
}

void RegisterResizeForm() {
  static const bool done = [] {
    RegisterEditorResources();
    RegisterImButton();
    RegisterProperties<TResizeForm>("TResizeForm", "TForm")
        .Handler("FormPaint", &TResizeForm::FormPaint)
        .Handler("OKButtonClick", &TResizeForm::OKButtonClick)
        .Handler("CancleButtonClick", &TResizeForm::CancleButtonClick)
        .Handler("ImButton1Click", &TResizeForm::ImButton1Click)
        .Handler("BackgroundMouseDown", &TResizeForm::BackgroundMouseDown)
        .Handler("EdWidthChange", &TResizeForm::EdWidthChange)
        .Handler("EdHeightChange", &TResizeForm::EdHeightChange)
        .Handler("EdWidthKeyPress", &TResizeForm::EdWidthKeyPress)
        .Handler("EdHeightKeyPress", &TResizeForm::EdHeightKeyPress);
    return true;
  }();
  (void)done;
}
