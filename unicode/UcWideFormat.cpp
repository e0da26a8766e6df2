#include "unicode/UcWideFormat.h"

#include <algorithm>

#include "platform/rtl/RtlHooks.h"
#include "unicode/TFormatStrParser.h"

// The floating-point specifiers go through the 8-bit formatter first; then the library's own
// formatter, so that the layer's may stand in for it without calling itself.
WideString Uc_WideFmtStr(const WideString& format, const TVarRec* args, int high) {
  return platform::OwnWideFormat(ReplaceFloatingArgumentsInFormatString(format, args, high), args, high);
}

WideString Uc_WideFmtStr(const WideString& format, std::initializer_list<TVarRec> args) {
  return Uc_WideFmtStr(format, args.begin(), static_cast<int>(args.size()) - 1);
}

WideString Uc_WideFormat(const WideString& format, std::initializer_list<TVarRec> args) {
  return Uc_WideFmtStr(format, args);
}

unsigned Uc_WideFormatBuf(char16_t* buffer, unsigned bufferLength, const WideString& format,
                          std::initializer_list<TVarRec> args) {
  WideString text = Uc_WideFmtStr(format, args);
  unsigned n = std::min(bufferLength, static_cast<unsigned>(text.Length()));
  std::copy(text.c_str(), text.c_str() + n, buffer);
  return n;
}
