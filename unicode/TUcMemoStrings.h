// The lines of a Unicode memo as a wide string list, read and written through the window.
#pragma once

#include "platform/forms/TMemo.h"
#include "unicode/TUcStrings.h"

class TUcMemoStrings : public TUcStrings {
 public:
  TUcMemoStrings(TCustomMemo* memo, TStrings* ansiLines);
  void Insert(int index, const WideString& text) override;
  void Delete(int index) override;
  void Clear() override;
  // Set for a rich-edit control (never by the memos here): the text is the lines joined, and
  // inserted lines take the list's line-break style, checked against the control's caret.
  bool RichEditMode = false;

 protected:
  WideString Get(int index) const override;
  int GetCount() const override;
  void Put(int index, const WideString& text) override;
  void SetUpdateState(bool updating) override;
  WideString GetTextStr() const override;
  void SetTextStr(const WideString& text) override;

 private:
  bool UnicodeWindow() const;
  TCustomMemo* memo_;
  TStrings* ansiLines_;
};

int UcMemo_LineStart(HWND window, int index);
int UcMemo_LineLength(HWND window, int index, int start = -1);
