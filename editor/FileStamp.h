// FileStamp: what the picture cache remembers of a file to notice that it changed: its write and
// birth times at full resolution, its size and its identity (device and inode). The access time
// is kept too, but reading a file is no change.
#pragma once

#include <cstdint>

#include "platform/rtl/AnsiString.h"

struct FileTime {
  std::int64_t seconds = 0;
  std::uint32_t nanoseconds = 0;
  bool operator==(const FileTime&) const = default;
};

struct FileStamp {
  bool exists = false;
  FileTime written, accessed, born;
  bool bornKnown = false;  // not every file system records a birth time
  std::uint64_t size = 0;
  std::uint64_t device = 0, inode = 0;

  // True when `other` describes different content: existence, write time, birth time (where
  // both know it), size or identity differ.
  bool DiffersFrom(const FileStamp& other) const;
};

// The stamp of exactly the named file (no pattern matching: "*" and "?" are plain characters);
// following a symbolic link, as opening the file does. False, and a stamp that does not exist,
// when there is no such file.
bool ReadFileStamp(const AnsiString& path, FileStamp& stamp);
