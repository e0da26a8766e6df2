// TClipboard: the form library's clipboard object, reached through Clipboard(). Open and Close
// nest, so several formats can be put together: the first one added inside an Open empties the
// clipboard, the rest join it. Text is 8-bit in the system code page (the window system makes
// the UTF-16 form from it); pictures go through their graphic's clipboard format, and a picture
// takes back the first format on the clipboard that a graphic class reads. A clipboard that
// another window holds open raises Exception "Cannot open clipboard".
#pragma once

#include "platform/forms/TGraphic.h"
#include "platform/rtl/Object.h"
#include "platform/win/Win.h"

class TClipboard : public TPersistent {
 public:
  TClipboard() = default;
  ~TClipboard() override;

  virtual void Open();
  virtual void Close();
  // Empties the clipboard.
  virtual void Clear();

  // CF_TEXT, read within its block; writing empties the clipboard first (unless a nested Open
  // already did) and puts the text with its terminator.
  AnsiString AsText();
  void SetAsText(const AnsiString& value);
  // Copies at most bufSize - 1 characters and a terminator; the count copied.
  int GetTextBuf(char* buffer, int bufSize);
  void SetTextBuf(const char* buffer);

  bool HasFormat(WORD format);
  // The clipboard keeps what GetAsHandle returns; SetAsHandle gives it the handle.
  HANDLE GetAsHandle(WORD format);
  void SetAsHandle(WORD format, HANDLE value);
  // Puts a copy of `size` bytes under `format`.
  void SetBuffer(WORD format, const void* buffer, int size);

  // A TPicture or TGraphic puts its clipboard format (and palette).
  void Assign(TPersistent* source) override;
  // The formats on the clipboard, in the order they were put, then those made from them;
  // an index out of range gives 0.
  int FormatCount();
  WORD Formats(int index);

 protected:
  // Into a TPicture (the first format a graphic class reads) or a TBitmap.
  void AssignTo(TPersistent* dest) override;

 private:
  // Empties the clipboard before the first format added inside the current Open.
  void Adding();
  void AssignGraphic(TGraphic* graphic);

  int openCount_ = 0;
  HWND window_ = nullptr;
  bool allocated_ = false;  // window_ is our own utility window
  bool emptied_ = false;
};

// The process's clipboard object, made on first use.
TClipboard* Clipboard();
// Installs another clipboard object (null: the next Clipboard() makes a new one) and returns
// the previous one, which the caller then owns.
TClipboard* SetClipboard(TClipboard* clipboard);
