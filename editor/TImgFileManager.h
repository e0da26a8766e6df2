// TImgFileManager: the picture cache. One decoded bitmap per picture file path (compared
// exactly, letter case included), decoded on the first request; the caller hears when the file
// changed on disk and reloads it then. A file that cannot be decoded answers null and is not
// decoded again until it changes; a missing file adds nothing.
#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "editor/TImgFileItem.h"

class TImgFileManager {
 public:
  TImgFileManager();
  ~TImgFileManager();
  TImgFileManager(const TImgFileManager&) = delete;
  TImgFileManager& operator=(const TImgFileManager&) = delete;

  // The item's index, or kImgRefusedPath (empty path), kImgNoList (nothing added yet),
  // kImgNotCached.
  int IndexOf(const AnsiString& path) const;
  // Takes the item: 0, or kImgNullItem.
  int Add(TImgFileItem* item);
  // Frees the item and its bitmap: 0, or kImgIndexOutOfRange.
  int Delete(int index);
  // Delete of the index IndexOf gives.
  int Remove(const AnsiString& path);
  // The cached bitmap of `path` (owned by the cache), decoding the file when it is not cached;
  // `changed` is 1 when the file differs from the one decoded (the caller then Reloads). Null
  // for a refused path, a missing file and a file that cannot be decoded.
  TBitmap* GetBitmap(const AnsiString& path, int& changed);
  // LoadBitmap of the item, kImgRefusedPath, or the negative code of IndexOf.
  int Reload(const AnsiString& path);

  int Count() const { return items_ ? static_cast<int>(items_->size()) : 0; }
  TImgFileItem* Items(int index) const { return (*items_)[static_cast<std::size_t>(index)].get(); }

 private:
  std::optional<std::vector<std::unique_ptr<TImgFileItem>>> items_;
};
