// File times and dates: FILETIME (100 ns since 1601 UTC), SYSTEMTIME, the packed DOS
// date-time (2-second steps, local time) and the form library's TDateTime (days since
// 1899-12-30, local time).
#pragma once

#include <cstdint>

#include "platform/rtl/AnsiString.h"
#include "platform/rtl/Types.h"

struct FILETIME {
  DWORD dwLowDateTime;
  DWORD dwHighDateTime;
};
using LPFILETIME = FILETIME*;
struct SYSTEMTIME {
  WORD wYear;
  WORD wMonth;
  WORD wDayOfWeek;
  WORD wDay;
  WORD wHour;
  WORD wMinute;
  WORD wSecond;
  WORD wMilliseconds;
};
using LPSYSTEMTIME = SYSTEMTIME*;
static_assert(sizeof(FILETIME) == 8 && sizeof(SYSTEMTIME) == 16);

// Local = UTC shifted by the process time zone's offset at that moment.
BOOL FileTimeToLocalFileTime(const FILETIME* utc, LPFILETIME local);
BOOL FileTimeToSystemTime(const FILETIME* time, LPSYSTEMTIME system);
BOOL SystemTimeToFileTime(const SYSTEMTIME* system, LPFILETIME time);
// Years 1980-2107 only; seconds are halved.
BOOL FileTimeToDosDateTime(const FILETIME* time, WORD* fatDate, WORD* fatTime);

// The last write time of a file as a packed DOS date-time (date << 16 | time, local), or -1.
int FileAge(const AnsiString& fileName);
int FileGetDate(int handle);
TDateTime FileDateToDateTime(int fileDate);

TDateTime Now();
TDateTime Date();
TDateTime Time();
// Raises EConvertError "Invalid argument to date encode" for a date that does not exist.
TDateTime EncodeDate(WORD year, WORD month, WORD day);
void DecodeDate(TDateTime date, WORD& year, WORD& month, WORD& day);

namespace platform {
FILETIME FileTimeFromUnix(std::int64_t seconds, std::int64_t nanoseconds);
std::int64_t UnixSecondsFromFileTime(const FILETIME& time);
int DosDateTimeFromUnix(std::int64_t seconds);  // local time; -1 outside 1980-2107
}  // namespace platform
