// TStrings, the form library's abstract list of 8-bit strings with attached objects: the
// concrete class supplies Get, GetCount, Put, PutObject, Insert, Delete and Clear; everything
// else (names and values, text with CR LF line breaks, comma and delimited text, files and
// streams) is built on them here.
#pragma once

#include "platform/rtl/AnsiString.h"
#include "platform/rtl/Object.h"

class TStream;

class TStrings : public TPersistent {
 public:
  virtual int Add(const AnsiString& s);
  virtual int AddObject(const AnsiString& s, TObject* object);
  void Append(const AnsiString& s) { Add(s); }
  virtual void AddStrings(TStrings* strings);
  virtual void Insert(int index, const AnsiString& s) = 0;
  void InsertObject(int index, const AnsiString& s, TObject* object);
  virtual void Delete(int index) = 0;
  virtual void Clear() = 0;
  virtual void Move(int curIndex, int newIndex);
  virtual void Exchange(int index1, int index2);
  virtual int IndexOf(const AnsiString& s);
  int IndexOfName(const AnsiString& name);
  int IndexOfObject(TObject* object);
  bool Equals(TStrings* strings);
  void Assign(TPersistent* source) override;

  AnsiString Strings(int index) const { return Get(index); }
  void SetStrings(int index, const AnsiString& s) { Put(index, s); }
  AnsiString operator[](int index) const { return Get(index); }
  TObject* Objects(int index) const { return GetObject(index); }
  void SetObjects(int index, TObject* object) { PutObject(index, object); }
  // The part before the first "=", "" when there is none.
  AnsiString Names(int index) const;
  // The part after the first "=" of the line whose name is `name`, or "".
  AnsiString Values(const AnsiString& name);
  // Replaces the value, adds "name=value" when absent, deletes the line for an empty value.
  void SetValues(const AnsiString& name, const AnsiString& value);
  int Count() const { return GetCount(); }
  virtual int Capacity() const { return GetCount(); }
  virtual void SetCapacity(int /*capacity*/) {}

  // Every line followed by CR LF.
  AnsiString Text() const { return GetTextStr(); }
  // Splits at CR LF, CR or LF; a final line break adds no empty line.
  void SetText(const AnsiString& text) { SetTextStr(text); }
  AnsiString CommaText();
  void SetCommaText(const AnsiString& text);
  // Items joined by Delimiter; an item holding a blank, a control character, the quote or the
  // delimiter is quoted with QuoteChar (inner quotes doubled).
  AnsiString DelimitedText();
  void SetDelimitedText(const AnsiString& text);
  char Delimiter = ',';
  char QuoteChar = '"';

  void BeginUpdate();
  void EndUpdate();

  // The bytes are the text as stored (system code page); raise EFOpenError/EFCreateError.
  virtual void LoadFromFile(const AnsiString& fileName);
  virtual void LoadFromStream(TStream* stream);
  // Replaces the file safely (a temporary renamed over it).
  virtual void SaveToFile(const AnsiString& fileName);
  virtual void SaveToStream(TStream* stream);

 protected:
  virtual AnsiString Get(int index) const = 0;
  virtual int GetCount() const = 0;
  virtual TObject* GetObject(int /*index*/) const { return nullptr; }
  virtual void Put(int index, const AnsiString& s);
  virtual void PutObject(int /*index*/, TObject* /*object*/) {}
  virtual void SetUpdateState(bool /*updating*/) {}
  virtual AnsiString GetTextStr() const;
  virtual void SetTextStr(const AnsiString& text);
  // Name comparison for IndexOfName and Values (case-insensitive here).
  virtual int CompareStrings(const AnsiString& a, const AnsiString& b) const;
  int UpdateCount() const { return updateCount_; }

 private:
  int updateCount_ = 0;
};
