#include "pictures/gif/TGIFExtension.h"

#include <utility>
#include <vector>

#include "pictures/GIFException.h"
#include "pictures/gif/TGIFApplicationExtension.h"
#include "pictures/gif/TGIFCommentExtension.h"
#include "pictures/gif/TGIFExtensionList.h"
#include "pictures/gif/TGIFGraphicControlExtension.h"
#include "pictures/gif/TGIFSubImage.h"
#include "pictures/gif/TGIFTextExtension.h"
#include "pictures/gifcoding/GIFStreamRoutines.h"

namespace {

std::vector<std::pair<BYTE, TGIFExtensionClass>> BuiltInLabels() {
  return {
      {0x01, TGIFTextExtension::ClassRef()},
      {0xF9, TGIFGraphicControlExtension::ClassRef()},
      {0xFE, TGIFCommentExtension::ClassRef()},
      {0xFF, TGIFApplicationExtension::ClassRef()},
  };
}

std::vector<std::pair<BYTE, TGIFExtensionClass>>& LabelRegistry() {
  static std::vector<std::pair<BYTE, TGIFExtensionClass>> registry = BuiltInLabels();
  return registry;
}

}  // namespace

TGIFExtension::TGIFExtension(TGIFSubImage* subImage)
    : TGIFItem(subImage ? subImage->Image() : nullptr), subImage_(subImage) {}

TGIFExtension::~TGIFExtension() {
  if (subImage_) subImage_->Extensions()->Remove(this);
}

void TGIFExtension::SaveToStream(TStream* stream) {
  WriteByte(stream, 0x21);
  WriteByte(stream, GetExtensionType());
}

BYTE TGIFExtension::DoReadFromStream(TStream* stream) {
  BYTE bytes[2];
  ReadCheck(stream, bytes, 2);
  if (bytes[0] != 0x21) GIFError(sBadExtensionLabel);
  return bytes[1];
}

void TGIFExtension::LoadFromStream(TStream* stream) {
  if (DoReadFromStream(stream) != GetExtensionType()) GIFError(sBadExtensionInstance);
}

void TGIFExtension::FreeExtensions() { LabelRegistry() = BuiltInLabels(); }

void TGIFExtension::RegisterExtension(BYTE label, TGIFExtensionClass extensionClass) {
  LabelRegistry().emplace_back(label, extensionClass);
}

TGIFExtensionClass TGIFExtension::FindExtension(TStream* stream) {
  std::int64_t start = stream->Position();
  BYTE label = 0;
  if (!ReadByte(stream, label)) return nullptr;
  TGIFExtensionClass found = nullptr;
  const auto& registry = LabelRegistry();
  for (auto it = registry.rbegin(); it != registry.rend(); ++it)
    if (it->first == label) {
      found = it->second;
      break;
    }
  // A class that stands for several kinds tells which one follows; the answer may again be such
  // a class, until one answers for itself.
  for (int depth = 0; found && found->FindSubExtension && depth < 8; ++depth) {
    TGIFExtensionClass sub = found->FindSubExtension(stream);
    if (sub == found) break;
    found = sub;
  }
  stream->SetPosition(start);
  return found;
}
