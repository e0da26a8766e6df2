// The codec's trace lines on the standard output, printed as the reader and the SMIL parser go.
// They are on by default; tools that print to the standard output themselves (the message
// inspector) and the fuzz targets switch them off.
#pragma once

void MmsSetTrace(bool on);
bool MmsTraceOn();
void MmsTrace(const char* format, ...) __attribute__((format(printf, 1, 2)));
