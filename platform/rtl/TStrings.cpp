// The generic members of TStrings.
#include "platform/rtl/TStrings.h"

#include <string>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/StringRoutines.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/TFileStream.h"
#include "platform/rtl/TStream.h"
#include "platform/rtl/UpdateScope.h"

int TStrings::Add(const AnsiString& s) {
  int index = GetCount();
  Insert(index, s);
  return index;
}

int TStrings::AddObject(const AnsiString& s, TObject* object) {
  int index = Add(s);
  PutObject(index, object);
  return index;
}

void TStrings::AddStrings(TStrings* strings) {
  platform::UpdateScope<TStrings> update(*this);
  for (int i = 0; i < strings->Count(); ++i) AddObject(strings->Strings(i), strings->Objects(i));
}

void TStrings::InsertObject(int index, const AnsiString& s, TObject* object) {
  Insert(index, s);
  PutObject(index, object);
}

void TStrings::Put(int index, const AnsiString& s) {
  TObject* object = GetObject(index);
  Delete(index);
  InsertObject(index, s, object);
}

void TStrings::Move(int curIndex, int newIndex) {
  if (curIndex == newIndex) return;
  {
    platform::UpdateScope<TStrings> update(*this);
    AnsiString s = Get(curIndex);
    TObject* object = GetObject(curIndex);
    Delete(curIndex);
    InsertObject(newIndex, s, object);
  }
}

void TStrings::Exchange(int index1, int index2) {
  platform::UpdateScope<TStrings> update(*this);
  AnsiString s1 = Get(index1), s2 = Get(index2);
  TObject* o1 = GetObject(index1);
  TObject* o2 = GetObject(index2);
  Put(index1, s2);
  Put(index2, s1);
  PutObject(index1, o2);
  PutObject(index2, o1);
}

int TStrings::CompareStrings(const AnsiString& a, const AnsiString& b) const { return AnsiCompareText(a, b); }

int TStrings::IndexOf(const AnsiString& s) {
  for (int i = 0; i < GetCount(); ++i)
    if (CompareStrings(Get(i), s) == 0) return i;
  return -1;
}

int TStrings::IndexOfName(const AnsiString& name) {
  for (int i = 0; i < GetCount(); ++i) {
    AnsiString line = Get(i);
    int eq = line.Pos("=");
    if (eq > 0 && CompareStrings(line.SubString(1, eq - 1), name) == 0) return i;
  }
  return -1;
}

int TStrings::IndexOfObject(TObject* object) {
  for (int i = 0; i < GetCount(); ++i)
    if (GetObject(i) == object) return i;
  return -1;
}

bool TStrings::Equals(TStrings* strings) {
  if (GetCount() != strings->GetCount()) return false;
  for (int i = 0; i < GetCount(); ++i)
    if (Get(i) != strings->Get(i)) return false;
  return true;
}

void TStrings::Assign(TPersistent* source) {
  if (auto* strings = dynamic_cast<TStrings*>(source)) {
    {
      platform::UpdateScope<TStrings> update(*this);
      Clear();
      Delimiter = strings->Delimiter;
      QuoteChar = strings->QuoteChar;
      AddStrings(strings);
    }
    return;
  }
  TPersistent::Assign(source);
}

AnsiString TStrings::Names(int index) const {
  AnsiString line = Get(index);
  int eq = line.Pos("=");
  return eq > 0 ? line.SubString(1, eq - 1) : AnsiString();
}

AnsiString TStrings::Values(const AnsiString& name) {
  int i = IndexOfName(name);
  if (i < 0) return AnsiString();
  AnsiString line = Get(i);
  return line.SubString(line.Pos("=") + 1, line.Length());
}

void TStrings::SetValues(const AnsiString& name, const AnsiString& value) {
  int i = IndexOfName(name);
  if (value.IsEmpty()) {
    if (i >= 0) Delete(i);
    return;
  }
  if (i < 0) {
    Add(name + "=" + value);
  } else {
    Put(i, name + "=" + value);
  }
}

AnsiString TStrings::GetTextStr() const {
  std::string out;
  for (int i = 0; i < GetCount(); ++i) {
    out += Get(i).ToStd();
    out += "\r\n";
  }
  return AnsiString(std::move(out));
}

void TStrings::SetTextStr(const AnsiString& text) {
  platform::UpdateScope<TStrings> update(*this);
  Clear();
  const std::string& t = text.ToStd();
  std::size_t i = 0;
  while (i < t.size()) {
    std::size_t end = t.find_first_of("\r\n", i);
    if (end == std::string::npos) end = t.size();
    Add(AnsiString(t.substr(i, end - i)));
    i = end;
    if (i < t.size() && t[i] == '\r') ++i;
    if (i < t.size() && t[i] == '\n') ++i;
  }
}

AnsiString TStrings::CommaText() {
  char d = Delimiter, q = QuoteChar;
  Delimiter = ',';
  QuoteChar = '"';
  AnsiString result = DelimitedText();
  Delimiter = d;
  QuoteChar = q;
  return result;
}

void TStrings::SetCommaText(const AnsiString& text) {
  char d = Delimiter, q = QuoteChar;
  Delimiter = ',';
  QuoteChar = '"';
  platform::ScopeExit restore([&] {
    Delimiter = d;
    QuoteChar = q;
  });
  SetDelimitedText(text);
}

AnsiString TStrings::DelimitedText() {
  std::string out;
  for (int i = 0; i < GetCount(); ++i) {
    const AnsiString item = Get(i);
    const std::string& s = item.ToStd();
    bool quote = s.empty();
    for (char c : s)
      if (static_cast<unsigned char>(c) <= ' ' || c == QuoteChar || c == Delimiter) quote = true;
    if (i > 0) out += Delimiter;
    if (quote) {
      out += AnsiQuotedStr(AnsiString(s), QuoteChar).ToStd();
    } else {
      out += s;
    }
  }
  return AnsiString(std::move(out));
}

void TStrings::SetDelimitedText(const AnsiString& text) {
  platform::UpdateScope<TStrings> update(*this);
  Clear();
  const char* p = text.c_str();
  const char* end = p + text.Length();
  auto skipBlanks = [&] {
    while (p < end && static_cast<unsigned char>(*p) <= ' ' && *p != Delimiter) ++p;
  };
  skipBlanks();
  while (p < end) {
    std::string item;
    if (*p == QuoteChar) {
      ++p;
      while (p < end) {
        if (*p == QuoteChar) {
          if (p + 1 < end && p[1] == QuoteChar) {
            item += QuoteChar;
            p += 2;
            continue;
          }
          ++p;
          break;
        }
        item += *p++;
      }
    } else {
      while (p<end&& static_cast<unsigned char>(*p)> ' ' && *p != Delimiter) item += *p++;
    }
    Add(AnsiString(item));
    skipBlanks();
    if (p < end && *p == Delimiter) {
      ++p;
      skipBlanks();
      if (p >= end) Add(AnsiString());  // a trailing delimiter ends an empty item
    }
  }
}

void TStrings::BeginUpdate() {
  if (updateCount_++ == 0) SetUpdateState(true);
}

void TStrings::EndUpdate() {
  if (updateCount_ > 0 && --updateCount_ == 0) SetUpdateState(false);
}

void TStrings::LoadFromStream(TStream* stream) {
  std::int64_t size = stream->Size() - stream->Position();
  if (size < 0) size = 0;
  std::string bytes(static_cast<std::size_t>(size), '\0');
  if (size > 0) bytes.resize(static_cast<std::size_t>(stream->Read(bytes.data(), static_cast<int>(size))));
  SetTextStr(AnsiString(std::move(bytes)));
}

void TStrings::LoadFromFile(const AnsiString& fileName) {
  TFileStream file(fileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(&file);
}

void TStrings::SaveToStream(TStream* stream) {
  AnsiString text = GetTextStr();
  stream->WriteBuffer(text.c_str(), text.Length());
}

void TStrings::SaveToFile(const AnsiString& fileName) {
  AnsiString text = GetTextStr();
  if (!platform::WriteFileReplacing(platform::FsPath(fileName), text.c_str(),
                                    static_cast<std::size_t>(text.Length())))
    throw EFCreateError("Cannot create file " + fileName);
}
