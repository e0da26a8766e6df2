// TWideStrings, the abstract list of UTF-16 strings with attached objects that the Unicode
// controls use where the form library uses TStrings. A concrete list supplies Get, GetCount,
// Clear, Delete and Insert (and the object slot when it keeps objects); names and values,
// delimited and comma text, whole text with line breaks, assignment to and from 8-bit lists,
// raw UTF-16 streams and storage in form files are built on them here.
#pragma once

#include <memory>

#include "platform/rtl/Object.h"
#include "platform/rtl/Resources.h"
#include "platform/rtl/TStrings.h"
#include "platform/rtl/WideString.h"

class TFiler;
class TReader;
class TWriter;
class TStream;
class TWideStrings;

// Something that follows a wide list (an 8-bit view of it): told when it is attached and detached.
class IWideStringsAdapter {
 public:
  virtual ~IWideStringsAdapter() = default;
  virtual void ReferenceStrings(TWideStrings* strings) = 0;
  virtual void ReleaseStrings() = 0;
};

class TWideStringsEnumerator : public TObject {
 public:
  explicit TWideStringsEnumerator(TWideStrings* strings) : strings_(strings) {}
  WideString GetCurrent() const;
  bool MoveNext();

 private:
  int index_ = -1;
  TWideStrings* strings_;
};

class TWideStrings : public TPersistent {
 public:
  ~TWideStrings() override;

  virtual int Add(const WideString& s);
  virtual int AddObject(const WideString& s, TObject* object);
  void Append(const WideString& s) { Add(s); }
  virtual void AddStrings(TStrings* strings);
  virtual void AddStrings(TWideStrings* strings);
  void Assign(TPersistent* source) override;
  void BeginUpdate();
  void EndUpdate();
  virtual void Clear() = 0;
  virtual void Delete(int index) = 0;
  virtual void Exchange(int index1, int index2);
  // Same count and the same strings, unit for unit (objects are not compared).
  bool Equals(TWideStrings* strings);
  // A copy of the whole text for the caller to free with WStrDispose.
  virtual char16_t* GetTextW();
  virtual int IndexOf(const WideString& s);
  virtual int IndexOfName(const WideString& name);
  virtual int IndexOfObject(TObject* object);
  virtual void Insert(int index, const WideString& s) = 0;
  virtual void InsertObject(int index, const WideString& s, TObject* object);
  virtual void LoadFromFile(const WideString& fileName);
  // Raw UTF-16 little-endian text from the position to the end; no byte-order mark is read.
  virtual void LoadFromStream(TStream* stream);
  virtual void Move(int curIndex, int newIndex);
  // Replaces the file safely: the previous file stays whole when the save fails.
  virtual void SaveToFile(const WideString& fileName);
  virtual void SaveToStream(TStream* stream);
  virtual void SetTextW(const char16_t* text);
  // The caller owns the enumerator.
  TWideStringsEnumerator* GetEnumerator() { return new TWideStringsEnumerator(this); }
  void DefineProperties(TFiler* filer) override;

  int Count() const { return GetCount(); }
  int Capacity() const { return GetCapacity(); }
  void SetCapacity(int capacity) { SetCapacityValue(capacity); }
  WideString Strings(int index) const { return Get(index); }
  WideString operator[](int index) const { return Get(index); }
  void SetStrings(int index, const WideString& s) { Put(index, s); }
  TObject* Objects(int index) const { return GetObject(index); }
  void SetObjects(int index, TObject* object) { PutObject(index, object); }
  // The part before the first "=", empty when there is none.
  WideString Names(int index) const { return ExtractName(Get(index)); }
  WideString ExtractName(const WideString& s) const;
  WideString Values(const WideString& name);
  // Adds or replaces "name=value"; an empty value deletes the entry.
  void SetValues(const WideString& name, const WideString& value);
  WideString ValueFromIndex(int index) const;
  void SetValueFromIndex(int index, const WideString& value);
  char16_t NameValueSeparator() const { return u'='; }
  // Every string followed by CR LF.
  WideString Text() const { return GetTextStr(); }
  // CR LF, CR, LF and U+2028 each end a line; a final break adds no empty line.
  void SetText(const WideString& text) { SetTextStr(text); }
  WideString CommaText();
  void SetCommaText(const WideString& text);
  WideString DelimitedText();
  void SetDelimitedText(const WideString& text);
  char16_t Delimiter();
  void SetDelimiter(char16_t delimiter);
  char16_t QuoteChar();
  void SetQuoteChar(char16_t quote);
  const std::shared_ptr<IWideStringsAdapter>& StringsAdapter() const { return adapter_; }
  void SetStringsAdapter(std::shared_ptr<IWideStringsAdapter> adapter);

 protected:
  void AssignTo(TPersistent* dest) override;
  virtual WideString Get(int index) const = 0;
  virtual int GetCapacity() const { return GetCount(); }
  virtual int GetCount() const = 0;
  virtual TObject* GetObject(int /*index*/) const { return nullptr; }
  virtual WideString GetTextStr() const;
  virtual void Put(int index, const WideString& s);
  virtual void PutObject(int /*index*/, TObject* /*object*/) {}
  virtual void SetCapacityValue(int /*capacity*/) {}
  virtual void SetTextStr(const WideString& text);
  virtual void SetUpdateState(bool /*updating*/) {}
  // Case-insensitive, in the user's locale: negative, 0 or positive.
  virtual int CompareStrings(const WideString& a, const WideString& b) const;
  // Raise EStringListError with the message formatted with `data`.
  [[noreturn]] void Error(const WideString& message, int data) const;
  [[noreturn]] void Error(PResStringRec message, int data) const;
  int UpdateCount() const { return updateCount_; }
  // The form storage of the lines ("Strings"), and whether it is written.
  void ReadData(TReader* reader);
  void WriteData(TWriter* writer);
  bool HasStringsData(TFiler* filer);

 private:
  // Bit 0: the delimiter was set; bit 1: the quote character was set.
  unsigned char defined_ = 0;
  char16_t delimiter_ = u',';
  char16_t quoteChar_ = u'"';
  int updateCount_ = 0;
  std::shared_ptr<IWideStringsAdapter> adapter_;
};

// BeginUpdate on construction, EndUpdate on destruction.
class TWideStringsUpdate {
 public:
  explicit TWideStringsUpdate(TWideStrings* strings) : strings_(strings) { strings_->BeginUpdate(); }
  ~TWideStringsUpdate() { strings_->EndUpdate(); }
  TWideStringsUpdate(const TWideStringsUpdate&) = delete;
  TWideStringsUpdate& operator=(const TWideStringsUpdate&) = delete;

 private:
  TWideStrings* strings_;
};
