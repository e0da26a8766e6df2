// Replaceable routines of the run-time library: the implicit conversions between 8-bit and
// UTF-16 strings, resource-string loading, UTF-16 formatting and raising the last OS error. A
// layer above may install its own; a null hook means the library's own routine. Hooks are set
// at start-up and shut-down on the interface thread and read from any thread.
#pragma once

#include <string>
#include <string_view>

#include "platform/rtl/Types.h"

class AnsiString;
class WideString;
class TVarRec;
struct TResStringRec;

namespace platform {

struct RtlHooks {
  std::u16string (*AnsiToWide)(std::string_view bytes) = nullptr;
  std::string (*WideToAnsi)(std::u16string_view units) = nullptr;
  AnsiString (*LoadResString)(const TResStringRec* record) = nullptr;
  WideString (*WideFormat)(const WideString& format, const TVarRec* args, int high) = nullptr;
  // Must raise.
  void (*RaiseLastOSError)(DWORD code) = nullptr;

  bool operator==(const RtlHooks&) const = default;
};

RtlHooks GetRtlHooks();
void SetRtlHooks(const RtlHooks& hooks);

// The library's own routines, whatever is installed.
std::u16string OwnAnsiToWide(std::string_view bytes);
std::string OwnWideToAnsi(std::u16string_view units);
AnsiString OwnLoadResString(const TResStringRec* record);
WideString OwnWideFormat(const WideString& format, const TVarRec* args, int high);
[[noreturn]] void OwnRaiseLastOSError(DWORD code);

}  // namespace platform
