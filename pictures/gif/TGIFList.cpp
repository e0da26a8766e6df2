#include "pictures/gif/TGIFList.h"

#include "pictures/gif/TGIFImage.h"

TGIFList::~TGIFList() { Clear(); }

void TGIFList::Warning(TGIFSeverity severity, const AnsiString& message) {
  if (image_) image_->Warning(this, severity, message);
}

void TGIFList::SaveToStream(TStream* stream) {
  for (int i = 0; i < GetCount(); ++i) GetItem(i)->SaveToStream(stream);
}

void TGIFList::Clear() {
  while (GetCount() > 0) Delete(0);
}

void TGIFList::Delete(int index) {
  TGIFItem* item = GetItem(index);
  items_.Delete(index);
  // The item's destructor unlinks it from its list; it is no longer there.
  delete item;
}
