// FindFirst, FindNext and FindClose over TSearchRec: a search filtered by attributes. An
// entry is skipped when it has one of the special attributes (hidden, system, volume,
// directory) that the caller did not ask for.
#pragma once

#include <cstdint>

#include "platform/rtl/AnsiString.h"
#include "platform/rtl/FileApi.h"

constexpr int faReadOnly = 0x01;
constexpr int faHidden = 0x02;
constexpr int faSysFile = 0x04;
constexpr int faVolumeID = 0x08;
constexpr int faDirectory = 0x10;
constexpr int faArchive = 0x20;
constexpr int faAnyFile = 0x3F;

struct TSearchRec {
  int Time = 0;  // last write, packed DOS date-time in local time
  std::int64_t Size = 0;
  int Attr = 0;
  AnsiString Name;
  int ExcludeAttr = 0;
  HANDLE FindHandle = INVALID_HANDLE_VALUE;
  WIN32_FIND_DATAA FindData{};
};

// 0 or the classic error code (the search is closed on error).
int FindFirst(const AnsiString& path, int attr, TSearchRec& rec);
int FindNext(TSearchRec& rec);
void FindClose(TSearchRec& rec);
