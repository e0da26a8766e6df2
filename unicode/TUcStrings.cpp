#include "unicode/TUcStrings.h"

#include <string>
#include <vector>

#include "platform/forms/TReader.h"
#include "platform/forms/TWriter.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/TStream.h"
#include "unicode/CodePageConversion.h"
#include "unicode/TAnsiStringsForWideStringsAdapter.h"
#include "unicode/TUcFileStream.h"
#include "unicode/UcPersistent.h"
#include "unicode/UcReadRest.h"
#include "unicode/Utf7.h"

namespace {

std::string Bytes(TUcStrings& list, bool withBom) {
  AnsiString units = WideStringToUCS2(list.Text());
  std::string bytes = withBom ? std::string("\xFF\xFE") : std::string();
  bytes.append(units.data(), static_cast<std::size_t>(units.Length()));
  return bytes;
}

}  // namespace

TUcStreamCharSet AutoDetectCharacterSet(TStream* stream) {
  std::int64_t start = stream->Position();
  std::int64_t remaining = stream->Size() - start;
  unsigned char mark[3] = {};
  if (remaining >= 2 && stream->Read(mark, 2) == 2) {
    if (mark[0] == 0xFF && mark[1] == 0xFE) return csUnicode;
    if (mark[0] == 0xFE && mark[1] == 0xFF) return csUnicodeSwapped;
  }
  stream->SetPosition(start);
  if (remaining >= 3 && stream->Read(mark, 3) == 3 && mark[0] == 0xEF && mark[1] == 0xBB && mark[2] == 0xBF)
    return csUtf8;
  stream->SetPosition(start);
  return csAnsi;
}

TUcStrings::TUcStrings() : ansiStrings_(std::make_unique<TAnsiStringsForWideStringsAdapter>(this, 0)) {}

TUcStrings::~TUcStrings() = default;

TAnsiStrings* TUcStrings::AnsiStrings() { return ansiStrings_.get(); }

void TUcStrings::SetAnsiStrings(TStrings* strings) { ansiStrings_->Assign(strings); }

void TUcStrings::LoadFromFile(const WideString& fileName) {
  TUcFileStream stream(fileName, fmOpenRead | fmShareDenyWrite);
  lastFileCharSet_ = AutoDetectCharacterSet(&stream);
  stream.SetPosition(0);
  LoadFromStream(&stream);
}

void TUcStrings::LoadFromStream_BOM(TStream* stream, bool withBom) {
  TWideStringsUpdate update(this);
  TUcStreamCharSet charSet = withBom ? AutoDetectCharacterSet(stream) : csUnicode;
  std::string bytes = UcReadRest(stream);
  WideString text;
  switch (charSet) {
    case csUnicode:
    case csUnicodeSwapped: {
      text = UCS2ToWideString(AnsiString(bytes));
      if (charSet == csUnicodeSwapped) StrSwapByteOrder(text.U16().data());
      break;
    }
    case csUtf8:
      text = UTF8ToWideString(AnsiString(bytes));
      break;
    default:
      text = StringToWideStringEx(AnsiString(bytes), CP_ACP);
  }
  SetTextStr(text);
}

void TUcStrings::SaveToFile(const WideString& fileName) {
  std::string bytes = Bytes(*this, true);
  UcWriteFileReplacing(fileName, bytes.data(), bytes.size());
}

void TUcStrings::SaveToStream_BOM(TStream* stream, bool withBom) {
  std::string bytes = Bytes(*this, withBom);
  stream->WriteBuffer(bytes.data(), static_cast<int>(bytes.size()));
}

void TUcStrings::DefineProperties(TFiler* filer) {
  TWideStrings::DefineProperties(filer);
  bool beyondAscii = false;
  for (int i = 0; i < GetCount() && !beyondAscii; ++i) {
    const WideString line = Get(i);
    for (char16_t c : line.ToU16())
      if (c > 0x7F) {
        beyondAscii = true;
        break;
      }
  }
  filer->DefineProperty(
      "WideStrings", [this](TReader* r) { ReadData(r); }, nullptr, false);
  filer->DefineProperty(
      "WideStringsW", [this](TReader* r) { ReadLegacyList(r, false); }, nullptr, false);
  filer->DefineProperty(
      "WideStrings_UTF7", [this](TReader* r) { ReadLegacyList(r, true); },
      [this](TWriter* w) { WriteUtf7List(w); }, HasStringsData(filer) && beyondAscii);
}

void TUcStrings::ReadLegacyList(TReader* reader, bool utf7) {
  // The UTF-8 store is read past only when the list already holds lines; the UTF-7 store whenever
  // legacy data is not applied.
  bool apply = UcIsLegacyDataApplied(reader) || (!utf7 && GetCount() == 0);
  TWideStringsUpdate update(this);
  if (apply) Clear();
  reader->ReadListBegin();
  while (!reader->EndOfList()) {
    AnsiString bytes(reader->ReadByteString());
    if (apply) Add(utf7 ? UTF7ToWideString(bytes) : UTF8ToWideString(bytes));
  }
  reader->ReadListEnd();
}

void TUcStrings::WriteUtf7List(TWriter* writer) {
  writer->WriteListBegin();
  for (int i = 0; i < GetCount(); ++i) writer->WriteString(WideStringToUTF7(Get(i)));
  writer->WriteListEnd();
}
