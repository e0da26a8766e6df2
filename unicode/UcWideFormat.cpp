#include "unicode/UcWideFormat.h"

#include <algorithm>

WideString Uc_WideFmtStr(const WideString& format, std::initializer_list<TVarRec> args) {
  return WideFormat(format, args);
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
