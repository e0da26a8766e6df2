#include "platform/forms/TGraphic.h"

#include <cstring>

#include "platform/forms/TFiler.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/TFileStream.h"
#include "platform/rtl/TMemoryStream.h"

bool TGraphic::Equals(TGraphic* graphic) {
  if (graphic == this) return true;
  if (!graphic || graphic->ClassType() != ClassType() || graphic->Empty() != Empty()) return false;
  if (Empty()) return true;
  TMemoryStream mine, theirs;
  SaveToStream(&mine);
  graphic->SaveToStream(&theirs);
  return mine.Size() == theirs.Size() &&
         (mine.Size() == 0 || std::memcmp(mine.Memory(), theirs.Memory(), std::size_t(mine.Size())) == 0);
}

void TGraphic::LoadFromFile(const AnsiString& fileName) {
  TFileStream stream(fileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(&stream);
}

void TGraphic::SaveToFile(const AnsiString& fileName) {
  // Into memory first, so a failed save leaves the old file whole.
  TMemoryStream stream;
  SaveToStream(&stream);
  stream.SaveToFile(fileName);
}

void TGraphic::LoadFromClipboardFormat(WORD, HANDLE, HPALETTE) {
  throw EInvalidGraphic("Unsupported clipboard format");
}

void TGraphic::SaveToClipboardFormat(WORD&, HANDLE&, HPALETTE&) {
  throw EInvalidGraphic("Unsupported clipboard format");
}

void TGraphic::ReadSizedData(TStream* stream) {
  std::uint32_t size = 0;
  stream->ReadBuffer(&size, 4);
  if (size > stream->Size() - stream->Position()) throw EInvalidGraphic("The picture data are not valid");
  TMemoryStream data;
  data.CopyFrom(stream, size);
  data.SetPosition(0);
  LoadFromStream(&data);
}

void TGraphic::WriteSizedData(TStream* stream) {
  TMemoryStream data;
  SaveToStream(&data);
  auto size = static_cast<std::uint32_t>(data.Size());
  stream->WriteBuffer(&size, 4);
  if (size) stream->WriteBuffer(data.Memory(), static_cast<int>(size));
}

void TGraphic::SetTransparentImpl(bool value) {
  if (transparent_ == value) return;
  transparent_ = value;
  Changed(this);
}

void TGraphic::Changed(TObject*) {
  Modified = true;
  if (OnChange) OnChange(this);
}

void TGraphic::Progress(TObject* sender, TProgressStage stage, BYTE percentDone, bool redrawNow,
                        const RECT& r, const AnsiString& msg) {
  if (OnProgress) OnProgress(sender, stage, percentDone, redrawNow, r, msg);
}

void TGraphic::DefineProperties(TFiler* filer) {
  filer->DefineBinaryProperty(
      "Data", [this](TStream* s) { ReadData(s); }, [this](TStream* s) { WriteData(s); }, !Empty());
}
