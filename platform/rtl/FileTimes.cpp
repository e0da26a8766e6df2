// Conversions between the time forms.
#include "platform/rtl/FileTimes.h"

#include <sys/stat.h>

#include <chrono>
#include <cmath>
#include <ctime>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/LastError.h"
#include "platform/rtl/SysUtils.h"

namespace {

constexpr std::int64_t kSecondsFrom1601To1970 = 11644473600LL;
constexpr std::int64_t kTicksPerSecond = 10000000LL;
constexpr double kDaysFrom1899To1970 = 25569.0;

std::uint64_t Ticks(const FILETIME& t) {
  return (static_cast<std::uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
}

FILETIME FromTicks(std::uint64_t ticks) {
  return FILETIME{static_cast<DWORD>(ticks & 0xFFFFFFFFu), static_cast<DWORD>(ticks >> 32)};
}

// Days from 1970-01-01 to a civil date (proleptic Gregorian).
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void CivilFromDays(std::int64_t z, std::int64_t& y, unsigned& m, unsigned& d) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  y = static_cast<std::int64_t>(yoe) + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = doy - (153 * mp + 2) / 5 + 1;
  m = mp < 10 ? mp + 3 : mp - 9;
  y += m <= 2;
}

long LocalOffset(std::time_t t) {
  std::tm tm{};
  localtime_r(&t, &tm);
  return tm.tm_gmtoff;
}

int DosFromTm(const std::tm& tm) {
  int year = tm.tm_year + 1900;
  if (year < 1980 || year > 2107) return -1;
  unsigned date = static_cast<unsigned>(((year - 1980) << 9) | ((tm.tm_mon + 1) << 5) | tm.tm_mday);
  unsigned time = static_cast<unsigned>((tm.tm_hour << 11) | (tm.tm_min << 5) | (tm.tm_sec / 2));
  return static_cast<int>((date << 16) | time);
}

TDateTime LocalDateTimeFromUnix(double seconds) {
  std::time_t t = static_cast<std::time_t>(std::floor(seconds));
  return (seconds + static_cast<double>(LocalOffset(t))) / 86400.0 + kDaysFrom1899To1970;
}

}  // namespace

namespace platform {

FILETIME FileTimeFromUnix(std::int64_t seconds, std::int64_t nanoseconds) {
  std::int64_t ticks = (seconds + kSecondsFrom1601To1970) * kTicksPerSecond + nanoseconds / 100;
  return FromTicks(ticks < 0 ? 0 : static_cast<std::uint64_t>(ticks));
}

std::int64_t UnixSecondsFromFileTime(const FILETIME& time) {
  return static_cast<std::int64_t>(Ticks(time) / kTicksPerSecond) - kSecondsFrom1601To1970;
}

int DosDateTimeFromUnix(std::int64_t seconds) {
  std::time_t t = static_cast<std::time_t>(seconds);
  std::tm tm{};
  if (!localtime_r(&t, &tm)) return -1;
  return DosFromTm(tm);
}

}  // namespace platform

BOOL FileTimeToLocalFileTime(const FILETIME* utc, LPFILETIME local) {
  if (!utc || !local) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::int64_t offset = LocalOffset(static_cast<std::time_t>(platform::UnixSecondsFromFileTime(*utc)));
  *local = FromTicks(Ticks(*utc) + static_cast<std::uint64_t>(offset * kTicksPerSecond));
  return TRUE;
}

BOOL FileTimeToSystemTime(const FILETIME* time, LPSYSTEMTIME system) {
  if (!time || !system || Ticks(*time) >= 0x8000000000000000ULL) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::uint64_t ticks = Ticks(*time);
  std::int64_t totalSeconds = static_cast<std::int64_t>(ticks / kTicksPerSecond) - kSecondsFrom1601To1970;
  std::int64_t days = totalSeconds >= 0 ? totalSeconds / 86400 : (totalSeconds - 86399) / 86400;
  std::int64_t secondsOfDay = totalSeconds - days * 86400;
  std::int64_t y;
  unsigned m, d;
  CivilFromDays(days, y, m, d);
  system->wYear = static_cast<WORD>(y);
  system->wMonth = static_cast<WORD>(m);
  system->wDay = static_cast<WORD>(d);
  system->wDayOfWeek = static_cast<WORD>(((days % 7) + 7 + 4) % 7);  // 1970-01-01 was a Thursday
  system->wHour = static_cast<WORD>(secondsOfDay / 3600);
  system->wMinute = static_cast<WORD>(secondsOfDay / 60 % 60);
  system->wSecond = static_cast<WORD>(secondsOfDay % 60);
  system->wMilliseconds = static_cast<WORD>(ticks % kTicksPerSecond / 10000);
  return TRUE;
}

BOOL SystemTimeToFileTime(const SYSTEMTIME* s, LPFILETIME time) {
  if (!s || !time || s->wYear < 1601 || s->wYear > 30827 || s->wMonth < 1 || s->wMonth > 12 || s->wDay < 1 ||
      s->wDay > 31 || s->wHour > 23 || s->wMinute > 59 || s->wSecond > 59 || s->wMilliseconds > 999) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::int64_t days = DaysFromCivil(s->wYear, s->wMonth, s->wDay);
  std::int64_t y;
  unsigned m, d;
  CivilFromDays(days, y, m, d);
  if (m != s->wMonth) {  // 31 April and the like
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::int64_t seconds = days * 86400 + s->wHour * 3600 + s->wMinute * 60 + s->wSecond;
  *time = FromTicks(static_cast<std::uint64_t>((seconds + kSecondsFrom1601To1970) * kTicksPerSecond +
                                               s->wMilliseconds * 10000LL));
  return TRUE;
}

BOOL FileTimeToDosDateTime(const FILETIME* time, WORD* fatDate, WORD* fatTime) {
  SYSTEMTIME s;
  if (!fatDate || !fatTime || !FileTimeToSystemTime(time, &s) || s.wYear < 1980 || s.wYear > 2107) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  *fatDate = static_cast<WORD>(((s.wYear - 1980) << 9) | (s.wMonth << 5) | s.wDay);
  *fatTime = static_cast<WORD>((s.wHour << 11) | (s.wMinute << 5) | (s.wSecond / 2));
  return TRUE;
}

int FileAge(const AnsiString& fileName) {
  struct stat st {};
  if (::stat(platform::FsPath(fileName).c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return -1;
  return platform::DosDateTimeFromUnix(st.st_mtim.tv_sec);
}

int FileGetDate(int handle) {
  struct stat st {};
  if (::fstat(handle, &st) != 0) return -1;
  return platform::DosDateTimeFromUnix(st.st_mtim.tv_sec);
}

TDateTime FileDateToDateTime(int fileDate) {
  unsigned date = static_cast<unsigned>(fileDate) >> 16, time = static_cast<unsigned>(fileDate) & 0xFFFF;
  WORD year = static_cast<WORD>((date >> 9) + 1980), month = static_cast<WORD>((date >> 5) & 15),
       day = static_cast<WORD>(date & 31);
  TDateTime result = EncodeDate(year, month, day);
  return result + ((time >> 11) * 3600 + ((time >> 5) & 63) * 60 + (time & 31) * 2) / 86400.0;
}

TDateTime Now() {
  auto since = std::chrono::system_clock::now().time_since_epoch();
  return LocalDateTimeFromUnix(std::chrono::duration<double>(since).count());
}

TDateTime Date() { return std::floor(Now()); }
TDateTime Time() {
  TDateTime now = Now();
  return now - std::floor(now);
}

TDateTime EncodeDate(WORD year, WORD month, WORD day) {
  std::int64_t days = DaysFromCivil(year, month, day);
  std::int64_t y;
  unsigned m, d;
  CivilFromDays(days, y, m, d);
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || y != year || m != month || d != day)
    throw EConvertError("Invalid argument to date encode");
  return static_cast<double>(days) + kDaysFrom1899To1970;
}

void DecodeDate(TDateTime date, WORD& year, WORD& month, WORD& day) {
  std::int64_t y;
  unsigned m, d;
  CivilFromDays(static_cast<std::int64_t>(std::floor(date)) - static_cast<std::int64_t>(kDaysFrom1899To1970),
                y, m, d);
  year = static_cast<WORD>(y);
  month = static_cast<WORD>(m);
  day = static_cast<WORD>(d);
}
