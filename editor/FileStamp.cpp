#include "editor/FileStamp.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <string>

#include "platform/rtl/SysUtils.h"

namespace {
FileTime Time(const struct statx_timestamp& t) { return FileTime{t.tv_sec, t.tv_nsec}; }
}  // namespace

bool FileStamp::DiffersFrom(const FileStamp& other) const {
  if (exists != other.exists) return true;
  if (!exists) return false;
  if (written != other.written || size != other.size || device != other.device || inode != other.inode)
    return true;
  return bornKnown && other.bornKnown && born != other.born;
}

bool ReadFileStamp(const AnsiString& path, FileStamp& stamp) {
  stamp = FileStamp{};
  if (path.IsEmpty()) return false;
  const std::string name = platform::FsPath(path);
  struct statx st {};
  if (::statx(AT_FDCWD, name.c_str(), AT_STATX_SYNC_AS_STAT, STATX_BASIC_STATS | STATX_BTIME, &st) != 0)
    return false;
  if (!S_ISREG(st.stx_mode)) return false;
  stamp.exists = true;
  stamp.written = Time(st.stx_mtime);
  stamp.accessed = Time(st.stx_atime);
  stamp.bornKnown = (st.stx_mask & STATX_BTIME) != 0;
  if (stamp.bornKnown) stamp.born = Time(st.stx_btime);
  stamp.size = st.stx_size;
  stamp.device = (static_cast<std::uint64_t>(st.stx_dev_major) << 32) | st.stx_dev_minor;
  stamp.inode = st.stx_ino;
  return true;
}
