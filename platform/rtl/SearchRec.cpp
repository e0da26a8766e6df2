// FindFirst and FindNext over the function-level search.
#include "platform/rtl/SearchRec.h"

#include "platform/rtl/LastError.h"

namespace {

// Moves to the next entry the record's attributes allow, filling it; 0 or the error.
int Accept(TSearchRec& rec, bool haveEntry) {
  while (haveEntry) {
    if ((static_cast<int>(rec.FindData.dwFileAttributes) & rec.ExcludeAttr) == 0) {
      const FILETIME& t = rec.FindData.ftLastWriteTime;
      rec.Time = platform::DosDateTimeFromUnix(platform::UnixSecondsFromFileTime(t));
      rec.Size = (static_cast<std::int64_t>(rec.FindData.nFileSizeHigh) << 32) | rec.FindData.nFileSizeLow;
      rec.Attr = static_cast<int>(rec.FindData.dwFileAttributes);
      rec.Name = AnsiString(rec.FindData.cFileName);
      return 0;
    }
    haveEntry = FindNextFileA(rec.FindHandle, &rec.FindData) != FALSE;
  }
  return static_cast<int>(GetLastError());
}

}  // namespace

int FindFirst(const AnsiString& path, int attr, TSearchRec& rec) {
  rec.ExcludeAttr = ~attr & (faHidden | faSysFile | faVolumeID | faDirectory);
  rec.FindHandle = FindFirstFileA(path.c_str(), &rec.FindData);
  if (rec.FindHandle == INVALID_HANDLE_VALUE) return static_cast<int>(GetLastError());
  int result = Accept(rec, true);
  if (result != 0) FindClose(rec);
  return result;
}

int FindNext(TSearchRec& rec) {
  if (rec.FindHandle == INVALID_HANDLE_VALUE) return static_cast<int>(ERROR_INVALID_HANDLE);
  return Accept(rec, FindNextFileA(rec.FindHandle, &rec.FindData) != FALSE);
}

void FindClose(TSearchRec& rec) {
  if (rec.FindHandle != INVALID_HANDLE_VALUE) ::FindClose(rec.FindHandle);
  rec.FindHandle = INVALID_HANDLE_VALUE;
}
