#include "unicode/WideResStrings.h"

#include <cstring>
#include <vector>

#include "platform/rtl/Program.h"
#include "unicode/CodePageConversion.h"
#include "unicode/UcTextWrappers.h"

TWideCustomLoadResString WideCustomLoadResString = nullptr;

namespace {

// The whole entry, growing the buffer until the text fits with room to spare.
WideString LoadEntry(HINSTANCE instance, UINT id) {
  std::vector<char16_t> buffer(4097);
  for (;;) {
    int n = Uc_LoadStringW(instance, id, buffer.data(), static_cast<int>(buffer.size()));
    if (n < static_cast<int>(buffer.size()) - 1) return WideString(buffer.data(), n);
    buffer.resize(buffer.size() * 2);
  }
}

}  // namespace

WideString WideLoadResString(PResStringRec record) {
  WideString custom;
  if (WideCustomLoadResString && WideCustomLoadResString(record, custom)) return custom;
  if (!record) return WideString();
  HINSTANCE module = record->Module ? *record->Module : HInstance;
  return LoadEntry(FindResourceHInstance(module), static_cast<UINT>(record->Identifier));
}

WideString WideResStringFromText(const char* text) {
  if (!text) return WideString();
  std::size_t n = std::strlen(text);
  if (n > 3 && std::memcmp(text, "\xEF\xBB\xBF", 3) == 0) return UTF8ToWideString(AnsiString(text + 3));
  return StringToWideStringEx(AnsiString(text), CP_ACP);
}

WideString WideLoadStr(int id) { return LoadEntry(FindResourceHInstance(HInstance), static_cast<UINT>(id)); }

WideString WideFmtLoadStr(int id, std::initializer_list<TVarRec> args) {
  return WideFormat(WideLoadStr(id), args);
}
