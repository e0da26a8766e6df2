#include "unicode/UcSystemUpdates.h"

#include <optional>
#include <string>

#include "platform/forms/TApplication.h"
#include "platform/rtl/CodePage.h"
#include "platform/rtl/LastError.h"
#include "platform/rtl/RtlHooks.h"
#include "platform/rtl/ScopeExit.h"
#include "unicode/CodePageConversion.h"
#include "unicode/TUcApplication.h"
#include "unicode/UcWideFormat.h"
#include "unicode/WideException.h"
#include "unicode/WideResStrings.h"

namespace {

std::optional<platform::RtlHooks>& Saved() {
  static std::optional<platform::RtlHooks> saved;
  return saved;
}

TApplication::TShowExceptionProc gSavedShowException = nullptr;

// The Unicode application's display; the form library's own while there is none.
void ShowExceptionWide(TApplication* application, Exception* e) {
  if (UcApplication) {
    UcApplication->ShowException(e);
    return;
  }
  TApplication::TShowExceptionProc self = TApplication::SetShowExceptionProc(nullptr);
  const platform::ScopeExit restore([self] { TApplication::SetShowExceptionProc(self); });
  application->ShowException(e);
}

// The last resource string handed out as 8-bit text on this thread, with its UTF-16 text.
struct KeptResString {
  std::string narrow;
  std::u16string wide;
  const char* buffer = nullptr;  // the bytes of the 8-bit text handed out
  bool set = false;
};
thread_local KeptResString tKept;

std::u16string AnsiToWide(std::string_view bytes) {
  KeptResString& kept = tKept;
  if (kept.set) {
    bool same = bytes.data() == kept.buffer && bytes == std::string_view(kept.narrow);
    std::u16string wide = std::move(kept.wide);
    kept = KeptResString{};  // one widening only, whichever it is
    if (same) return wide;
  }
  return platform::MultiByteToUtf16(bytes, DefaultSystemCodePage());
}

std::string WideToAnsi(std::u16string_view units) {
  return platform::Utf16ToMultiByte(units, DefaultSystemCodePage());
}

AnsiString LoadResStringWide(const TResStringRec* record) {
  WideString wide = WideLoadResString(record);
  KeptResString& kept = tKept;
  kept.wide = wide.ToU16();
  kept.narrow = WideToAnsi(kept.wide);
  kept.set = true;
  // Only a widening of the very bytes handed out (the usual load-then-widen) finds the UTF-16
  // text again; equal bytes elsewhere are converted as usual.
  AnsiString result(kept.narrow);
  kept.buffer = result.c_str();
  return result;
}

WideString FormatWide(const WideString& format, const TVarRec* args, int high) {
  return Uc_WideFmtStr(format, args, high);
}

void RaiseWide(DWORD code) {
  SetLastError(code);
  WideRaiseLastOSError();
}

}  // namespace

void InstallUcSystemUpdates(TUcSystemUpdates updates) {
  if (!Saved()) {
    Saved() = platform::GetRtlHooks();
    gSavedShowException = TApplication::GetShowExceptionProc();
  }
  platform::RtlHooks hooks = platform::GetRtlHooks();
  if (updates & (tsWideResourceStrings | tsFixImplicitCodePage)) {
    hooks.AnsiToWide = AnsiToWide;
    hooks.WideToAnsi = WideToAnsi;
  }
  if (updates & tsWideResourceStrings) hooks.LoadResString = LoadResStringWide;
  if (updates & tsFixWideFormat) hooks.WideFormat = FormatWide;
  if (updates & tsWideExceptions) {
    hooks.RaiseLastOSError = RaiseWide;
    TApplication::SetShowExceptionProc(ShowExceptionWide);
  }
  platform::SetRtlHooks(hooks);
}

void UninstallUcSystemUpdates() {
  if (!Saved()) return;
  platform::SetRtlHooks(*Saved());
  TApplication::SetShowExceptionProc(gSavedShowException);
  Saved().reset();
  tKept = KeptResString{};
}
