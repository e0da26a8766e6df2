// TEditorBox: what the editor's four small modal boxes share. A borderless skinned form whose
// shape is its background picture (fuchsia outside the rounded outline), a title, a message and
// skinned buttons whose texts the box draws itself from the language file. The buttons are
// hidden in the layout and shown by the first paint. Each box remembers the key of the message
// it shows, so a change of language (WM_REFRESHCAPTION) shows the same message in the new
// language. A press on the background drags the box.
#pragma once

#include <memory>
#include <vector>

#include "platform/forms/TForm.h"
#include "platform/rtl/AnsiString.h"
#include "unicode/TUcLabel.h"

class TCanvas;
class TImButton;
class TImage;

// Posted by the main window to every open box after the language changed.
constexpr UINT WM_REFRESHCAPTION = 0x857;

class TEditorBox : public TForm {
 public:
  explicit TEditorBox(TComponent* owner);

  // Reads the layout, then sets the texts.
  void AfterConstruction() override;

  // Sets every text of the box from the language file and redraws the buttons' texts.
  virtual void setCaption();
  // The key of the message the box shows (its default until a caller sets another); the text
  // is looked up now and again after every change of language.
  void SetMessageKey(const AnsiString& key);
  // What the message's "%s" stands for (numbers and format names, which are not translated).
  void SetMessageArgument(const WideString& argument);
  const AnsiString& MessageKey() const { return messageKey_; }

  TUcLabel* BoxTitle = nullptr;

  // Handlers named by the layouts.
  void FormPaint(TObject* sender);
  void BackgroundMouseDown(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
  void CloseButtonClick(TObject* sender);
  void ButtonOwnerDraw(TObject* sender, TCanvas* canvas, const RECT& rect, int status, int& counter);

  // The text a button shows (its key looked up), and where it is drawn on the button.
  WideString ButtonText(const TImButton* button) const;
  POINT ButtonTextOrigin(const TImButton* button) const;
  // The label showing the message.
  TUcLabel* MessageLabel() const { return messageLabel_; }

 protected:
  // Subclasses find their controls here (calling this first) and name their buttons and label.
  void Loaded() override;
  void WndProc(TMessage& message) override;
  void DescribeModal(platform::win::ModalInfo& info) override;

  // For the subclasses' Loaded: a component the layout must have.
  template <class T>
  T* Find(const char* name) {
    return static_cast<T*>(FindOrRaise(name, [](TComponent* c) { return dynamic_cast<T*>(c) != nullptr; }));
  }
  // A button of the box with the key of its text and the text's place on it.
  void AddButton(TImButton* button, const char* key, int x);
  void SetMessageLabel(TUcLabel* label, const char* defaultKey);

 private:
  TComponent* FindOrRaise(const char* name, bool (*fits)(TComponent*));
  struct ButtonEntry {
    TImButton* button;
    AnsiString key;
    int x;
  };
  const ButtonEntry* EntryOf(const TImButton* button) const;
  // Shows the message of the key in the label and lays the box out for it.
  void ShowMessage();
  // The label as high as the message's lines, and the buttons' row right under it, the two
  // together in the middle of the box under its title band.
  void LayOut();

  std::vector<ButtonEntry> buttons_;
  TUcLabel* messageLabel_ = nullptr;
  AnsiString messageKey_;
  WideString messageArgument_;
  // The message key's text with its argument in place.
  WideString MessageText() const;
};

// Registers the boxes' classes, their controls' classes and the editor's resources; the boxes'
// constructors call it.
void RegisterEditorBoxes();

// A box of class T made from its layout, with its texts set (the caller frees it).
template <class T>
T* NewBox(TComponent* owner) {
  auto box = std::make_unique<T>(owner);
  box->AfterConstruction();
  return box.release();
}
