// TMemoStrings: a memo's Lines, a TStrings over the window's line messages (EM_GETLINECOUNT,
// EM_LINEINDEX, EM_LINELENGTH, EM_GETLINE, EM_SETSEL, EM_REPLACESEL). Lines are the hard lines
// of the text (split at CR LF); Count leaves out an empty last line, so "" has no lines,
// "a\r\n" one and "a\r\nb" two. While the memo has no window the same rules run over its
// stored text. Each Insert, Delete or Put is one change of the text (one OnChange).
#pragma once

#include "platform/rtl/TStrings.h"

class TCustomMemo;

class TMemoStrings : public TStrings {
 public:
  explicit TMemoStrings(TCustomMemo* memo) : memo_(memo) {}

  // Raises EStringListError "List index out of bounds (%d)" for an index outside 0..Count.
  void Insert(int index, const AnsiString& s) override;
  void Delete(int index) override;
  void Clear() override;
  void DefineProperties(TFiler* filer) override;

 protected:
  AnsiString Get(int index) const override;
  int GetCount() const override;
  void Put(int index, const AnsiString& s) override;
  void SetUpdateState(bool updating) override;
  // The text as it is, without a line break added at the end.
  AnsiString GetTextStr() const override;
  // Every line break (CR LF, CR or LF) becomes CR LF.
  void SetTextStr(const AnsiString& text) override;

 private:
  // The hard lines of the text: their count (>= 1), the first position of line n (-1 when
  // there is no such line) and the length of the line holding a position.
  int LineCount() const;
  int LineIndex(int line) const;
  int LineLength(int pos) const;
  // Replaces [start, end) with `s`.
  void Replace(int start, int end, const AnsiString& s);

  TCustomMemo* memo_;
};
