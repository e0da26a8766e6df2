// TImgFileItem: one picture file of the picture cache: the path exactly as the caller gave it,
// the decoded bitmap, and the stamp of the file it was decoded from. A file that cannot be
// decoded leaves the item without a bitmap but with the file's stamp, so it is tried again only
// once the file changes.
#pragma once

#include <memory>

#include "editor/FileStamp.h"
#include "platform/forms/TBitmap.h"

// Status codes of the picture cache.
constexpr int kImgIndexOutOfRange = -4;
constexpr int kImgRefusedPath = -28;   // extension not .JPG, .BMP or .GIF, or an empty path
constexpr int kImgFileNotFound = -29;  // no such file when its stamp was read
constexpr int kImgNoList = -30;        // nothing was ever added
constexpr int kImgNotCached = -31;
constexpr int kImgNullItem = -32;
constexpr int kImgUndecodable = -33;  // the file exists but is no picture the form library reads

// 0 when the path's extension (from its last ".", any letter case) is .jpg, .bmp or .gif; else
// kImgRefusedPath, also for an empty path.
int CheckImgFileExt(const AnsiString& path);

class TImgFileItem {
 public:
  // SetFile, then LoadBitmap when the path is accepted.
  explicit TImgFileItem(const AnsiString& path);
  ~TImgFileItem();
  TImgFileItem(const TImgFileItem&) = delete;
  TImgFileItem& operator=(const TImgFileItem&) = delete;

  // The decoded picture (owned by the item); null before a load and after a failed one.
  TBitmap* Bitmap() const { return bitmap_.get(); }
  const AnsiString& Path() const { return path_; }
  const FileStamp& Stamp() const { return stamp_; }

  // 0 and the path stored, or kImgRefusedPath and nothing stored.
  int SetFile(const AnsiString& path);
  // Reads the file's stamp, drops the old bitmap and decodes the file into a new one: 0, or
  // kImgFileNotFound / kImgUndecodable with no bitmap (nothing raises).
  int LoadBitmap();
  // Reads the file's stamp: 0, or kImgFileNotFound.
  int GetFileTimes();
  // 1 when the file now differs from the one last loaded (see FileStamp::DiffersFrom), else 0.
  int IsChanged() const;

 private:
  std::unique_ptr<TBitmap> bitmap_;
  AnsiString path_;
  FileStamp stamp_;
};
