// 8-bit views of wide lists: TAnsiStrings adds loading and saving by UTF-16 file name and through
// a chosen code page to the form library's TStrings; the adapter presents a TUcStrings as
// 8-bit strings in a code page (0: the layer's default), for code written against TStrings.
#pragma once

#include "platform/rtl/TStrings.h"
#include "platform/rtl/Types.h"
#include "platform/rtl/WideString.h"

class TUcStrings;

class TAnsiStrings : public TStrings {
 public:
  using TStrings::LoadFromFile;
  using TStrings::SaveToFile;
  void LoadFromFile(const WideString& fileName);
  // Replaces the file safely: the previous file stays whole when the save fails.
  void SaveToFile(const WideString& fileName);
  void LoadFromFileEx(const WideString& fileName, UINT codePage);
  // With 65001 the UTF-8 text is preceded by EF BB BF.
  void SaveToFileEx(const WideString& fileName, UINT codePage);
  virtual void LoadFromStreamEx(TStream* stream, UINT codePage) = 0;
  virtual void SaveToStreamEx(TStream* stream, UINT codePage) = 0;
};

class TAnsiStringsForWideStringsAdapter : public TAnsiStrings {
 public:
  // The wide list is not owned.
  TAnsiStringsForWideStringsAdapter(TUcStrings* wideStrings, UINT codePage = 0);
  void Clear() override;
  void Delete(int index) override;
  void Insert(int index, const AnsiString& s) override;
  // The whole rest of the stream as text in the code page (65000 UTF-7, 65001 UTF-8, whose
  // leading EF BB BF is skipped) replaces the wide list's lines.
  void LoadFromStreamEx(TStream* stream, UINT codePage) override;
  void SaveToStreamEx(TStream* stream, UINT codePage) override;

 protected:
  virtual UINT AdapterCodePage() const;
  AnsiString Get(int index) const override;
  int GetCount() const override;
  TObject* GetObject(int index) const override;
  void Put(int index, const AnsiString& s) override;
  void PutObject(int index, TObject* object) override;
  void SetUpdateState(bool updating) override;

 private:
  TUcStrings* wideStrings_;
  UINT codePage_;
};
