#include "editor/TImgFileManager.h"

TImgFileManager::TImgFileManager() = default;

TImgFileManager::~TImgFileManager() = default;

int TImgFileManager::IndexOf(const AnsiString& path) const {
  if (path.IsEmpty()) return kImgRefusedPath;
  if (!items_) return kImgNoList;
  for (std::size_t i = 0; i < items_->size(); ++i)
    if ((*items_)[i]->Path().ToStd() == path.ToStd()) return static_cast<int>(i);
  return kImgNotCached;
}

int TImgFileManager::Add(TImgFileItem* item) {
  if (!item) return kImgNullItem;
  if (!items_) items_.emplace();
  items_->emplace_back(item);
  return 0;
}

int TImgFileManager::Delete(int index) {
  if (index < 0 || index >= Count()) return kImgIndexOutOfRange;
  items_->erase(items_->begin() + index);
  return 0;
}

int TImgFileManager::Remove(const AnsiString& path) { return Delete(IndexOf(path)); }

TBitmap* TImgFileManager::GetBitmap(const AnsiString& path, int& changed) {
  changed = 0;
  if (CheckImgFileExt(path) != 0) return nullptr;
  int index = IndexOf(path);
  if (index < 0) {
    auto item = std::make_unique<TImgFileItem>(path);
    if (!item->Stamp().exists) return nullptr;  // a missing file is not remembered
    Add(item.release());
    return Items(Count() - 1)->Bitmap();
  }
  TImgFileItem* item = Items(index);
  changed = item->IsChanged();
  // With no bitmap there is nothing stale to show: a file that changed is tried again at once.
  if (changed && !item->Bitmap()) {
    item->LoadBitmap();
    changed = 0;
  }
  return item->Bitmap();
}

int TImgFileManager::Reload(const AnsiString& path) {
  if (CheckImgFileExt(path) != 0) return kImgRefusedPath;
  const int index = IndexOf(path);
  if (index < 0) return index;
  return Items(index)->LoadBitmap();
}
