#include "unicode/TAnsiStringsForWideStringsAdapter.h"

#include <string>

#include "platform/rtl/SysUtils.h"
#include "platform/rtl/TMemoryStream.h"
#include "platform/rtl/UpdateScope.h"
#include "unicode/CodePageConversion.h"
#include "unicode/TUcFileStream.h"
#include "unicode/TUcStrings.h"
#include "unicode/UcReadRest.h"

namespace {

void SaveReplacing(const WideString& fileName, const std::string& prefix, TMemoryStream& body) {
  std::string bytes = prefix;
  bytes.append(static_cast<const char*>(body.Memory()), static_cast<std::size_t>(body.Size()));
  UcWriteFileReplacing(fileName, bytes.data(), bytes.size());
}

}  // namespace

void TAnsiStrings::LoadFromFile(const WideString& fileName) {
  TUcFileStream stream(fileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(&stream);
}

void TAnsiStrings::SaveToFile(const WideString& fileName) {
  TMemoryStream body;
  SaveToStream(&body);
  SaveReplacing(fileName, "", body);
}

void TAnsiStrings::LoadFromFileEx(const WideString& fileName, UINT codePage) {
  TUcFileStream stream(fileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStreamEx(&stream, codePage);
}

void TAnsiStrings::SaveToFileEx(const WideString& fileName, UINT codePage) {
  TMemoryStream body;
  SaveToStreamEx(&body, codePage);
  SaveReplacing(fileName, codePage == CP_UTF8 ? "\xEF\xBB\xBF" : "", body);
}

TAnsiStringsForWideStringsAdapter::TAnsiStringsForWideStringsAdapter(TUcStrings* wideStrings, UINT codePage)
    : wideStrings_(wideStrings), codePage_(codePage) {}

UINT TAnsiStringsForWideStringsAdapter::AdapterCodePage() const {
  return codePage_ ? codePage_ : DefaultSystemCodePage();
}

void TAnsiStringsForWideStringsAdapter::Clear() { wideStrings_->Clear(); }
void TAnsiStringsForWideStringsAdapter::Delete(int index) { wideStrings_->Delete(index); }

void TAnsiStringsForWideStringsAdapter::Insert(int index, const AnsiString& s) {
  wideStrings_->Insert(index, StringToWideStringEx(s, AdapterCodePage()));
}

AnsiString TAnsiStringsForWideStringsAdapter::Get(int index) const {
  return WideStringToStringEx(wideStrings_->Strings(index), AdapterCodePage());
}

int TAnsiStringsForWideStringsAdapter::GetCount() const { return wideStrings_->Count(); }

TObject* TAnsiStringsForWideStringsAdapter::GetObject(int index) const {
  return wideStrings_->Objects(index);
}

void TAnsiStringsForWideStringsAdapter::Put(int index, const AnsiString& s) {
  wideStrings_->SetStrings(index, StringToWideStringEx(s, AdapterCodePage()));
}

void TAnsiStringsForWideStringsAdapter::PutObject(int index, TObject* object) {
  wideStrings_->SetObjects(index, object);
}

void TAnsiStringsForWideStringsAdapter::SetUpdateState(bool updating) {
  if (updating)
    wideStrings_->BeginUpdate();
  else
    wideStrings_->EndUpdate();
}

void TAnsiStringsForWideStringsAdapter::LoadFromStreamEx(TStream* stream, UINT codePage) {
  const platform::UpdateScope update(*this);
  std::string bytes = UcReadRest(stream);
  // The mark a UTF-8 save writes is not part of the text, or each cycle would add one.
  if (codePage == CP_UTF8 && bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) bytes.erase(0, 3);
  wideStrings_->SetText(StringToWideStringEx(AnsiString(std::move(bytes)), codePage));
}

void TAnsiStringsForWideStringsAdapter::SaveToStreamEx(TStream* stream, UINT codePage) {
  AnsiString bytes = WideStringToStringEx(wideStrings_->Text(), codePage);
  stream->WriteBuffer(bytes.data(), bytes.Length());
}
