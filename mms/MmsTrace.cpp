#include "mms/MmsTrace.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// -1: not decided yet (the environment is read at the first trace line); 0 off; 1 on.
int traceChoice = -1;

bool TraceAsked() {
  const char* value = std::getenv("MMS_TRACE");
  return value && *value && std::strcmp(value, "0") != 0;
}

}  // namespace

void MmsSetTrace(bool on) { traceChoice = on ? 1 : 0; }

void MmsUseTraceSetting() { traceChoice = -1; }

bool MmsTraceOn() {
  if (traceChoice < 0) traceChoice = TraceAsked() ? 1 : 0;
  return traceChoice == 1;
}

void MmsTrace(const char* format, ...) {
  if (!MmsTraceOn()) return;
  va_list args;
  va_start(args, format);
  std::vprintf(format, args);
  va_end(args);
}
