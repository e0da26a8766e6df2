#include "unicode/UcSyncedWideString.h"

#include "unicode/CodePageConversion.h"

WideString GetSyncedWideString(WideString& wideValue, const AnsiString& ansiValue) {
  AnsiString shadow = WideStringToStringEx(wideValue, DefaultSystemCodePage());
  if (std::string_view(shadow.data(), static_cast<std::size_t>(shadow.Length())) !=
      std::string_view(ansiValue.data(), static_cast<std::size_t>(ansiValue.Length())))
    wideValue = StringToWideStringEx(ansiValue, DefaultSystemCodePage());
  return wideValue;
}

void SetSyncedWideString(const WideString& value, WideString& wideValue, const AnsiString& ansiValue,
                         const TUcAnsiSetter& setAnsiValue) {
  if (GetSyncedWideString(wideValue, ansiValue) == value) return;
  AnsiString narrow = WideStringToStringEx(value, DefaultSystemCodePage());
  bool survives = StringToWideStringEx(narrow, DefaultSystemCodePage()) == value;
  auto same = [](const AnsiString& a, const AnsiString& b) {
    return std::string_view(a.data(), static_cast<std::size_t>(a.Length())) ==
           std::string_view(b.data(), static_cast<std::size_t>(b.Length()));
  };
  if (!survives && same(narrow, ansiValue)) setAnsiValue(AnsiString());
  wideValue = value;
  setAnsiValue(narrow);
}
