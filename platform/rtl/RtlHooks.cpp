#include "platform/rtl/RtlHooks.h"

#include <atomic>

namespace platform {

namespace {

std::atomic<decltype(RtlHooks::AnsiToWide)> gAnsiToWide{nullptr};
std::atomic<decltype(RtlHooks::WideToAnsi)> gWideToAnsi{nullptr};
std::atomic<decltype(RtlHooks::LoadResString)> gLoadResString{nullptr};
std::atomic<decltype(RtlHooks::WideFormat)> gWideFormat{nullptr};
std::atomic<decltype(RtlHooks::RaiseLastOSError)> gRaiseLastOSError{nullptr};

}  // namespace

RtlHooks GetRtlHooks() {
  RtlHooks h;
  h.AnsiToWide = gAnsiToWide.load();
  h.WideToAnsi = gWideToAnsi.load();
  h.LoadResString = gLoadResString.load();
  h.WideFormat = gWideFormat.load();
  h.RaiseLastOSError = gRaiseLastOSError.load();
  return h;
}

void SetRtlHooks(const RtlHooks& hooks) {
  gAnsiToWide = hooks.AnsiToWide;
  gWideToAnsi = hooks.WideToAnsi;
  gLoadResString = hooks.LoadResString;
  gWideFormat = hooks.WideFormat;
  gRaiseLastOSError = hooks.RaiseLastOSError;
}

}  // namespace platform
