#include "mms/MmsTrace.h"

#include <cstdarg>
#include <cstdio>

namespace {
bool traceOn = true;
}

void MmsSetTrace(bool on) { traceOn = on; }

bool MmsTraceOn() { return traceOn; }

void MmsTrace(const char* format, ...) {
  if (!traceOn) return;
  va_list args;
  va_start(args, format);
  std::vprintf(format, args);
  va_end(args);
}
