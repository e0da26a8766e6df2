// TGIFList: an owned, ordered list of stream items (the frames of a picture, the extensions of
// a frame) that is written item by item.
#pragma once

#include "pictures/gif/TGIFItem.h"
#include "platform/rtl/TList.h"

class TGIFList : public TPersistent {
 public:
  explicit TGIFList(TGIFImage* image) : image_(image) {}
  ~TGIFList() override;
  virtual void Warning(TGIFSeverity severity, const AnsiString& message);
  virtual void SaveToStream(TStream* stream);
  // Reads the items into the parent the list was made for.
  virtual void LoadFromStream(TStream* stream) = 0;

  TGIFItem* GetItem(int index) const { return static_cast<TGIFItem*>(items_.Items(index)); }
  void SetItem(int index, TGIFItem* item) { items_.SetItems(index, item); }
  int GetCount() const { return items_.Count(); }
  int Count() const { return items_.Count(); }
  int Add(TGIFItem* item) { return items_.Add(item); }
  // Frees every item, from the front.
  void Clear();
  // Removes the item and frees it.
  void Delete(int index);
  void Exchange(int index1, int index2) { items_.Exchange(index1, index2); }
  TGIFItem* First() const { return static_cast<TGIFItem*>(items_.First()); }
  int IndexOf(TGIFItem* item) const { return items_.IndexOf(item); }
  void Insert(int index, TGIFItem* item) { items_.Insert(index, item); }
  TGIFItem* Last() const { return static_cast<TGIFItem*>(items_.Last()); }
  void Move(int curIndex, int newIndex) { items_.Move(curIndex, newIndex); }
  // Removes the item without freeing it; its former index or -1.
  int Remove(TGIFItem* item) { return items_.Remove(item); }
  TGIFImage* Image() const { return image_; }

 protected:
  TList items_;
  TGIFImage* image_;
};
