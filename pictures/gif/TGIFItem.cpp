#include "pictures/gif/TGIFItem.h"

#include "pictures/gif/TGIFImage.h"
#include "platform/rtl/TFileStream.h"
#include "platform/rtl/TMemoryStream.h"

void TGIFItem::Warning(TGIFSeverity severity, const AnsiString& message) {
  if (image_) image_->Warning(this, severity, message);
}

void TGIFItem::SaveToFile(const AnsiString& fileName) {
  TMemoryStream stream;
  SaveToStream(&stream);
  stream.SaveToFile(fileName);
}

void TGIFItem::LoadFromFile(const AnsiString& fileName) {
  TFileStream stream(fileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(&stream);
}
