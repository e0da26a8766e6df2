#include "unicode/TWideStrings.h"

#include <cstring>
#include <string>
#include <vector>

#include "platform/forms/TReader.h"
#include "platform/forms/TWriter.h"
#include "platform/rtl/CharCase.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/ScopeExit.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/TStream.h"
#include "platform/rtl/UpdateScope.h"
#include "unicode/CodePageConversion.h"
#include "unicode/TUcFileStream.h"
#include "unicode/UcReadRest.h"
#include "unicode/WStrRoutines.h"
#include "unicode/WideResStrings.h"

namespace {

constexpr char16_t kLineSeparator = 0x2028;
constexpr unsigned char kDelimiterSet = 1;
constexpr unsigned char kQuoteSet = 2;

bool IsBlank(char16_t c) { return c >= 1 && c <= 32; }

const char16_t* SkipBlanks(const char16_t* p) {
  while (IsBlank(*p)) ++p;
  return p;
}

}  // namespace

WideString TWideStringsEnumerator::GetCurrent() const { return strings_->Strings(index_); }

bool TWideStringsEnumerator::MoveNext() {
  if (index_ >= strings_->Count() - 1) return false;
  ++index_;
  return true;
}

TWideStrings::~TWideStrings() { SetStringsAdapter(nullptr); }

int TWideStrings::Add(const WideString& s) {
  int index = GetCount();
  Insert(index, s);
  return index;
}

int TWideStrings::AddObject(const WideString& s, TObject* object) {
  int index = Add(s);
  PutObject(index, object);
  return index;
}

void TWideStrings::AddStrings(TStrings* strings) {
  TWideStringsUpdate update(this);
  for (int i = 0; i < strings->Count(); ++i)
    AddObject(StringToWideStringEx(strings->Strings(i), CP_ACP), strings->Objects(i));
}

void TWideStrings::AddStrings(TWideStrings* strings) {
  TWideStringsUpdate update(this);
  for (int i = 0; i < strings->Count(); ++i) AddObject(strings->Strings(i), strings->Objects(i));
}

void TWideStrings::Assign(TPersistent* source) {
  if (auto* wide = dynamic_cast<TWideStrings*>(source)) {
    TWideStringsUpdate update(this);
    Clear();
    defined_ = wide->defined_;
    quoteChar_ = wide->quoteChar_;
    delimiter_ = wide->delimiter_;
    AddStrings(wide);
    return;
  }
  if (auto* narrow = dynamic_cast<TStrings*>(source)) {
    TWideStringsUpdate update(this);
    Clear();
    // The copied delimiter and quote count as set, so they stay what the source had.
    SetQuoteChar(static_cast<unsigned char>(narrow->QuoteChar));
    SetDelimiter(static_cast<unsigned char>(narrow->Delimiter));
    AddStrings(narrow);
    return;
  }
  TPersistent::Assign(source);
}

void TWideStrings::AssignTo(TPersistent* dest) {
  if (auto* wide = dynamic_cast<TWideStrings*>(dest)) {
    wide->Assign(this);
    return;
  }
  if (auto* narrow = dynamic_cast<TStrings*>(dest)) {
    const platform::UpdateScope update(*narrow);
    narrow->Clear();
    narrow->QuoteChar = static_cast<char>(QuoteChar() & 0xFF);
    narrow->Delimiter = static_cast<char>(Delimiter() & 0xFF);
    for (int i = 0; i < GetCount(); ++i)
      narrow->AddObject(WideStringToStringEx(Get(i), CP_ACP), GetObject(i));
    return;
  }
  TPersistent::AssignTo(dest);
}

void TWideStrings::BeginUpdate() {
  if (updateCount_++ == 0) SetUpdateState(true);
}

void TWideStrings::EndUpdate() {
  if (--updateCount_ == 0) SetUpdateState(false);
}

void TWideStrings::Exchange(int index1, int index2) {
  TWideStringsUpdate update(this);
  WideString s = Get(index1);
  TObject* object = GetObject(index1);
  Put(index1, Get(index2));
  PutObject(index1, GetObject(index2));
  Put(index2, s);
  PutObject(index2, object);
}

bool TWideStrings::Equals(TWideStrings* strings) {
  if (GetCount() != strings->GetCount()) return false;
  for (int i = 0; i < GetCount(); ++i)
    if (Get(i) != strings->Get(i)) return false;
  return true;
}

char16_t* TWideStrings::GetTextW() { return WStrNew(GetTextStr().c_str()); }

int TWideStrings::IndexOf(const WideString& s) {
  for (int i = 0; i < GetCount(); ++i)
    if (CompareStrings(Get(i), s) == 0) return i;
  return -1;
}

int TWideStrings::IndexOfName(const WideString& name) {
  for (int i = 0; i < GetCount(); ++i) {
    WideString s = Get(i);
    int separator = s.Pos(u"=");
    if (separator > 0 && CompareStrings(s.SubString(1, separator - 1), name) == 0) return i;
  }
  return -1;
}

int TWideStrings::IndexOfObject(TObject* object) {
  for (int i = 0; i < GetCount(); ++i)
    if (GetObject(i) == object) return i;
  return -1;
}

void TWideStrings::InsertObject(int index, const WideString& s, TObject* object) {
  Insert(index, s);
  PutObject(index, object);
}

void TWideStrings::LoadFromFile(const WideString& fileName) {
  TUcFileStream stream(fileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(&stream);
}

void TWideStrings::LoadFromStream(TStream* stream) {
  TWideStringsUpdate update(this);
  // Only what actually arrives counts, in whole units.
  std::string bytes = UcReadRest(stream);
  SetTextStr(UCS2ToWideString(AnsiString(bytes.data(), static_cast<int>(bytes.size() & ~std::size_t{1}))));
}

void TWideStrings::Move(int curIndex, int newIndex) {
  if (curIndex == newIndex) return;
  TWideStringsUpdate update(this);
  WideString s = Get(curIndex);
  TObject* object = GetObject(curIndex);
  Delete(curIndex);
  InsertObject(newIndex, s, object);
}

void TWideStrings::SaveToFile(const WideString& fileName) {
  AnsiString bytes = WideStringToUCS2(GetTextStr());
  UcWriteFileReplacing(fileName, bytes.data(), static_cast<std::size_t>(bytes.Length()));
}

void TWideStrings::SaveToStream(TStream* stream) {
  AnsiString bytes = WideStringToUCS2(GetTextStr());
  stream->WriteBuffer(bytes.data(), bytes.Length());
}

void TWideStrings::SetTextW(const char16_t* text) { SetTextStr(WideString(text)); }

WideString TWideStrings::ExtractName(const WideString& s) const {
  int separator = s.Pos(u"=");
  return separator > 0 ? s.SubString(1, separator - 1) : WideString();
}

WideString TWideStrings::Values(const WideString& name) {
  int index = IndexOfName(name);
  if (index < 0) return WideString();
  WideString s = Get(index);
  return s.SubString(name.Length() + 2, s.Length());
}

void TWideStrings::SetValues(const WideString& name, const WideString& value) {
  int index = IndexOfName(name);
  if (value.IsEmpty()) {
    if (index >= 0) Delete(index);
    return;
  }
  if (index < 0) index = Add(WideString());
  Put(index, name + u"=" + value);
}

WideString TWideStrings::ValueFromIndex(int index) const {
  if (index < 0) return WideString();
  WideString s = Get(index);
  int separator = s.Pos(u"=");
  return separator > 0 ? s.SubString(separator + 1, s.Length()) : WideString();
}

void TWideStrings::SetValueFromIndex(int index, const WideString& value) {
  if (value.IsEmpty()) {
    if (index >= 0) Delete(index);
    return;
  }
  if (index < 0) index = Add(WideString());
  Put(index, Names(index) + u"=" + value);
}

WideString TWideStrings::CommaText() {
  unsigned char savedDefined = defined_;
  char16_t savedDelimiter = delimiter_, savedQuote = quoteChar_;
  SetDelimiter(u',');
  SetQuoteChar(u'"');
  const platform::ScopeExit restore(
      [&] { defined_ = savedDefined, delimiter_ = savedDelimiter, quoteChar_ = savedQuote; });
  return DelimitedText();
}

void TWideStrings::SetCommaText(const WideString& text) {
  SetDelimiter(u',');
  SetQuoteChar(u'"');
  SetDelimitedText(text);
}

WideString TWideStrings::DelimitedText() {
  char16_t delimiter = Delimiter(), quote = QuoteChar();
  int count = GetCount();
  if (count == 1 && Get(0).IsEmpty()) return WideString(std::u16string(2, quote));
  std::u16string result;
  for (int i = 0; i < count; ++i) {
    WideString s = Get(i);
    bool needsQuotes = false;
    for (char16_t c : s.ToU16()) {
      if (c == 0) break;  // the text ends at a zero unit
      if (c <= 32 || c == quote || c == delimiter) {
        needsQuotes = true;
        break;
      }
    }
    result += (needsQuotes ? WideQuotedStr(s, quote) : s).ToU16();
    result += delimiter;
  }
  if (!result.empty()) result.pop_back();
  return WideString(std::move(result));
}

void TWideStrings::SetDelimitedText(const WideString& text) {
  char16_t delimiter = Delimiter(), quote = QuoteChar();
  TWideStringsUpdate update(this);
  Clear();
  const char16_t* p = SkipBlanks(text.c_str());
  while (*p) {
    if (*p == quote) {
      Add(WideExtractQuotedStr(p, quote));
    } else {
      const char16_t* start = p;
      while (*p > 32 && *p != delimiter) ++p;
      Add(WideString(std::u16string(start, p)));
    }
    p = SkipBlanks(p);
    if (*p == delimiter) {
      if (p[1] == 0) Add(WideString());
      p = SkipBlanks(p + 1);
    }
  }
}

char16_t TWideStrings::Delimiter() {
  if (!(defined_ & kDelimiterSet)) SetDelimiter(u',');
  return delimiter_;
}

void TWideStrings::SetDelimiter(char16_t delimiter) {
  delimiter_ = delimiter;
  defined_ |= kDelimiterSet;
}

char16_t TWideStrings::QuoteChar() {
  if (!(defined_ & kQuoteSet)) SetQuoteChar(u'"');
  return quoteChar_;
}

void TWideStrings::SetQuoteChar(char16_t quote) {
  quoteChar_ = quote;
  defined_ |= kQuoteSet;
}

void TWideStrings::SetStringsAdapter(std::shared_ptr<IWideStringsAdapter> adapter) {
  if (adapter_) adapter_->ReleaseStrings();
  adapter_ = std::move(adapter);
  if (adapter_) adapter_->ReferenceStrings(this);
}

WideString TWideStrings::GetTextStr() const {
  int count = GetCount();
  std::vector<WideString> lines;
  lines.reserve(static_cast<std::size_t>(count));
  std::size_t total = 0;
  for (int i = 0; i < count; ++i) {
    lines.push_back(Get(i));
    total += static_cast<std::size_t>(lines.back().Length()) + 2;
  }
  std::u16string text;
  text.reserve(total);
  for (const WideString& line : lines) {
    text += line.ToU16();
    text += u"\r\n";
  }
  return WideString(std::move(text));
}

void TWideStrings::Put(int index, const WideString& s) {
  TObject* object = GetObject(index);
  Delete(index);
  InsertObject(index, s, object);
}

void TWideStrings::SetTextStr(const WideString& text) {
  TWideStringsUpdate update(this);
  Clear();
  const char16_t* p = text.c_str();
  const char16_t* end = p + text.Length();
  while (p < end && *p) {
    const char16_t* start = p;
    while (*p && *p != u'\n' && *p != u'\r' && *p != kLineSeparator) ++p;
    Add(WideString(std::u16string(start, p)));
    if (*p == u'\r') ++p;
    if (*p == u'\n') ++p;
    if (*p == kLineSeparator) ++p;
  }
}

int TWideStrings::CompareStrings(const WideString& a, const WideString& b) const {
  return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), a.Length(), b.c_str(), b.Length()) -
         CSTR_EQUAL;
}

void TWideStrings::Error(const WideString& message, int data) const {
  throw EStringListError(AnsiString(WideFormat(message, {TVarRec(data)})));
}

void TWideStrings::Error(PResStringRec message, int data) const { Error(WideLoadResString(message), data); }

bool TWideStrings::HasStringsData(TFiler* filer) {
  if (filer->Ancestor) {
    auto* ancestor = dynamic_cast<TWideStrings*>(filer->Ancestor);
    return !ancestor || !Equals(ancestor);
  }
  return GetCount() > 0;
}

void TWideStrings::DefineProperties(TFiler* filer) {
  filer->DefineProperty(
      "Strings", [this](TReader* r) { ReadData(r); }, [this](TWriter* w) { WriteData(w); },
      HasStringsData(filer));
}

void TWideStrings::ReadData(TReader* reader) {
  switch (reader->NextValue()) {
    case vaString:
    case vaLString:
      SetTextStr(StringToWideStringEx(reader->ReadString(), CP_ACP));
      return;
    case vaWString:
      SetTextStr(reader->ReadWideString());
      return;
    default:
      break;
  }
  TWideStringsUpdate update(this);
  Clear();
  reader->ReadListBegin();
  while (!reader->EndOfList()) {
    TValueType next = reader->NextValue();
    if (next == vaString || next == vaLString)
      Add(StringToWideStringEx(reader->ReadString(), CP_ACP));
    else
      Add(reader->ReadWideString());
  }
  reader->ReadListEnd();
}

void TWideStrings::WriteData(TWriter* writer) {
  writer->WriteListBegin();
  for (int i = 0; i < GetCount(); ++i) writer->WriteWideString(Get(i));
  writer->WriteListEnd();
}
