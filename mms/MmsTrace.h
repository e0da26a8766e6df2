// The codec's trace lines on the standard output, printed as the reader and the SMIL parser go.
// They are off unless the environment variable MMS_TRACE is set to anything but "" or "0" (read
// once, at the first line); MmsSetTrace decides instead (tests, tools), and MmsUseTraceSetting
// hands the choice back to the environment, read again.
#pragma once

void MmsSetTrace(bool on);
void MmsUseTraceSetting();
bool MmsTraceOn();
void MmsTrace(const char* format, ...) __attribute__((format(printf, 1, 2)));
