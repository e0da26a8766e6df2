// TCustomEdit and TEdit: the form library's 8-bit edit over the system "EDIT" class. Text,
// selection and positions are in bytes of the system code page (the window is an 8-bit one);
// OnChange fires once for every change of the text: from the window's EN_CHANGE (reflected as
// CN_COMMAND) while there is a window, from CM_TEXTCHANGED while there is none. Properties
// the window fixes at creation (border, password character, hidden selection, case) make it
// again. The Unicode edit and the validating edit derive from TCustomEdit and replace
// CreateWindowHandle or the selection members.
#pragma once

#include "platform/controls/Controls.h"
#include "platform/forms/ControlTypes.h"
#include "platform/forms/TWinControl.h"

class TCustomEdit : public TWinControl {
 public:
  explicit TCustomEdit(TComponent* owner);

  int MaxLength() const { return maxLength_; }
  void SetMaxLength(int value);
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool value);
  char PasswordChar() const { return passwordChar_; }
  virtual void SetPasswordChar(char value);
  // Stores the 8-bit password character without touching the window (a layer that sends the
  // character to the window itself).
  void StorePasswordChar(char value) { passwordChar_ = value; }
  TEditCharCase CharCase() const { return charCase_; }
  void SetCharCase(TEditCharCase value);
  bool AutoSelect() const { return autoSelect_; }
  void SetAutoSelect(bool value) { autoSelect_ = value; }
  bool HideSelection() const { return hideSelection_; }
  void SetHideSelection(bool value);
  bool OEMConvert() const { return oemConvert_; }
  void SetOEMConvert(bool value) { oemConvert_ = value; }
  TBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle value);
  bool Modified();
  void SetModified(bool value);

  // Byte positions in the window's text.
  virtual int SelStart();
  virtual void SetSelStart(int value);
  virtual int SelLength();
  virtual void SetSelLength(int value);
  virtual AnsiString SelText();
  virtual void SetSelText(const AnsiString& value);
  // Copies at most size - 1 bytes of the selection and a terminator; returns the bytes copied.
  virtual int GetSelTextBuf(char* buffer, int size);
  void SetSelTextBuf(const char* buffer);
  void SelectAll();
  void ClearSelection();
  void Clear();
  void CopyToClipboard();
  void CutToClipboard();
  void PasteFromClipboard();
  void Undo();
  bool CanUndo();
  void ClearUndo();

  TNotifyEvent OnChange;

  void Dispatch(void* message) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  // Fires OnChange; descendants that watch changes override it.
  virtual void Change();
  // The window's style bits for the text alignment (memos).
  virtual DWORD AlignmentStyle() const { return ES_LEFT; }

  bool creating_ = false;  // EN_CHANGE during creation is not a change by anyone

 private:
  int maxLength_ = 0;
  bool readOnly_ = false;
  char passwordChar_ = 0;
  TEditCharCase charCase_ = ecNormal;
  bool autoSelect_ = true;
  bool hideSelection_ = true;
  bool oemConvert_ = false;
  TBorderStyle borderStyle_ = bsSingle;
  bool modified_ = false;
};

class TEdit : public TCustomEdit {
 public:
  explicit TEdit(TComponent* owner) : TCustomEdit(owner) {}
};
