// Path and file routines of the run-time library. Paths use "/"; a "\" in a path handed to a
// file routine is read as "/". 8-bit paths reach the file system as their bytes, taken as
// UTF-8 whatever the system code page is; UTF-16 paths are encoded as UTF-8.
#pragma once

#include <string>

#include "platform/rtl/AnsiString.h"
#include "platform/rtl/Types.h"
#include "platform/rtl/WideString.h"

constexpr char PathDelim = '/';
constexpr const char* PathSep = ":";

// Lexical routines. Both "/" and "\" end a folder name; nothing else does (there are no drives).
AnsiString ExtractFilePath(const AnsiString& fileName);  // up to and including the last delimiter
AnsiString ExtractFileDir(const AnsiString& fileName);   // the same without the delimiter (but "/")
AnsiString ExtractFileName(const AnsiString& fileName);
AnsiString ExtractFileExt(const AnsiString& fileName);  // from the last "." of the name, "" if none
AnsiString ChangeFileExt(const AnsiString& fileName, const AnsiString& extension);
AnsiString IncludeTrailingPathDelimiter(const AnsiString& s);
AnsiString ExcludeTrailingPathDelimiter(const AnsiString& s);
bool IsPathDelimiter(const AnsiString& s, int index);
// An absolute path from the current folder, with "." and ".." resolved lexically.
AnsiString ExpandFileName(const AnsiString& fileName);

// File system. Failures return false and set the last error.
bool FileExists(const AnsiString& fileName);  // an existing entry that is not a folder
bool DirectoryExists(const AnsiString& name);
bool CreateDir(const AnsiString& dir);
bool RemoveDir(const AnsiString& dir);
bool ForceDirectories(const AnsiString& dir);
bool DeleteFile(const AnsiString& fileName);
bool RenameFile(const AnsiString& oldName, const AnsiString& newName);

namespace platform {

// The file-system form of a path: "\" read as "/", bytes kept (8-bit) or UTF-8 (UTF-16).
std::string FsPath(const char* path);
inline std::string FsPath(const AnsiString& path) { return FsPath(path.c_str()); }
std::string FsPath(const char16_t* path);
inline std::string FsPath(const WideString& path) { return FsPath(path.c_bstr()); }

// Reads a whole regular file. At most `limit` bytes are accepted; a larger file fails with
// ERROR_NOT_ENOUGH_MEMORY rather than reading a partial text. A folder, FIFO, socket or device
// fails with ERROR_ACCESS_DENIED without waiting. Sets the last error on failure.
bool ReadWholeFile(const std::string& fsPath, std::string& contents,
                   std::size_t limit = std::size_t{1} << 30);
// Replaces a file without ever leaving a partial one: writes a temporary ".<name>.<pid>.<random>.tmp"
// in the same folder (exclusive create), flushes it and renames it over the target. A symbolic
// link is followed: the file it names is replaced and the link stays. A replaced file keeps its
// permission bits; a new one gets 0666 less the umask. Temporaries of the same target left by a
// writer that no longer runs, older than a minute, are removed. Sets the last error on failure.
bool WriteFileReplacing(const std::string& fsPath, const void* data, std::size_t size);
// How WriteFileReplacingAt makes the new file.
struct ReplaceOptions {
  unsigned mode = 0666;          // its permission bits, less the umask
  bool exactMode = false;        // the bits exactly as given, the umask not applied
  bool overEmptyFolder = false;  // an empty folder standing at the name is replaced too
};
// The core of WriteFileReplacing for a name in an open folder: a temporary of our own beside the
// name (exclusive create, never through a link) is written, flushed and renamed over the name,
// which replaces what stands there (a link as the link: nothing it names is written). Sets the
// last error on failure; the temporary is removed and what stood at the name stays.
bool WriteFileReplacingAt(int folder, const std::string& name, const void* data, std::size_t size,
                          const ReplaceOptions& options);
// A write past the process's file-size limit (ulimit -f) would end the program with SIGXFSZ,
// the unsaved work and a temporary left behind. Ignored, the write fails with EFBIG instead, which
// saves report like a full disk (ERROR_DISK_FULL). The platform's start-up calls this.
void IgnoreFileSizeSignal();
// Renames in one step that never replaces an existing entry (ERROR_ALREADY_EXISTS).
bool RenameNoReplace(const std::string& from, const std::string& to);

}  // namespace platform

// Open modes of FileOpen and TFileStream; sharing bits are accepted and ignored.
constexpr unsigned fmOpenRead = 0x0000;
constexpr unsigned fmOpenWrite = 0x0001;
constexpr unsigned fmOpenReadWrite = 0x0002;
constexpr unsigned fmShareCompat = 0x0000;
constexpr unsigned fmShareExclusive = 0x0010;
constexpr unsigned fmShareDenyWrite = 0x0020;
constexpr unsigned fmShareDenyRead = 0x0030;
constexpr unsigned fmShareDenyNone = 0x0040;
constexpr unsigned fmCreate = 0xFFFF;

// Handle-level file routines over file descriptors; -1 on failure, with the last error set.
int FileOpen(const AnsiString& fileName, unsigned mode);
int FileCreate(const AnsiString& fileName);  // creates or truncates, for reading and writing
int FileRead(int handle, void* buffer, unsigned count);
int FileWrite(int handle, const void* buffer, unsigned count);
long long FileSeek(int handle, long long offset, int origin);  // origin 0 start, 1 current, 2 end
void FileClose(int handle);
