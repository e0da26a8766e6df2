#include "pictures/gif/TGIFApplicationExtension.h"

#include <cstring>
#include <utility>
#include <vector>

#include "pictures/GIFException.h"
#include "pictures/gif/TGIFAppExtNSLoop.h"
#include "pictures/gif/TGIFUnknownAppExtension.h"
#include "pictures/gif/TGIFUnknownExtension.h"
#include "pictures/gifcoding/GIFStreamRoutines.h"

namespace {

struct AppEntry {
  char key[11];
  TGIFExtensionClass extensionClass;
};

std::vector<AppEntry> BuiltInApplications() {
  return {
      {{'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0'}, TGIFAppExtNSLoop::ClassRef()},
      {{'A', 'N', 'I', 'M', 'E', 'X', 'T', 'S', '1', '.', '0'}, TGIFAppExtNSLoop::ClassRef()},
  };
}

std::vector<AppEntry>& AppRegistry() {
  static std::vector<AppEntry> registry = BuiltInApplications();
  return registry;
}

// The first `count` characters of `text`, padded with blanks.
void PutPadded(char* out, int count, const AnsiString& text) {
  for (int i = 0; i < count; ++i) out[i] = i < text.Length() ? text.data()[i] : ' ';
}

}  // namespace

TGIFExtensionClass TGIFApplicationExtension::ClassRef() {
  static const TGIFExtensionClassRec rec{nullptr, &TGIFApplicationExtension::FindSubExtension};
  return &rec;
}

void TGIFApplicationExtension::FreeExtensions() { AppRegistry() = BuiltInApplications(); }

void TGIFApplicationExtension::RegisterExtension(const TGIFApplicationRec& identifier,
                                                 TGIFExtensionClass extensionClass) {
  AppEntry entry{};
  std::memcpy(entry.key, identifier.Identifier, 8);
  std::memcpy(entry.key + 8, identifier.Authentication, 3);
  entry.extensionClass = extensionClass;
  AppRegistry().push_back(entry);
}

TGIFExtensionClass TGIFApplicationExtension::FindSubExtension(TStream* stream) {
  std::int64_t start = stream->Position();
  TGIFExtensionClass found = TGIFUnknownExtension::ClassRef();
  BYTE size = 0;
  char key[11];
  if (ReadByte(stream, size)) {
    if (size == 10 && stream->Read(key, 10) == 10) {
      found = TGIFUnknownAppExtension::ClassRef();
    } else if (size == 11 && stream->Read(key, 11) == 11) {
      found = TGIFUnknownAppExtension::ClassRef();
      const auto& registry = AppRegistry();
      for (auto it = registry.rbegin(); it != registry.rend(); ++it)
        if (std::memcmp(it->key, key, 11) == 0) {
          found = it->extensionClass;
          break;
        }
    }
  }
  stream->SetPosition(start);
  return found;
}

void TGIFApplicationExtension::SaveToStream(TStream* stream) {
  TGIFExtension::SaveToStream(stream);
  WriteByte(stream, 11);
  stream->WriteBuffer(application_.Identifier, 8);
  stream->WriteBuffer(application_.Authentication, 3);
  SaveData(stream);
}

void TGIFApplicationExtension::LoadFromStream(TStream* stream) {
  TGIFExtension::LoadFromStream(stream);
  BYTE size = 0;
  ReadCheck(stream, &size, 1);
  if (size < 11 && size != 10) GIFError(sBadBlockSize);
  ReadCheck(stream, application_.Identifier, 8);
  ReadCheck(stream, application_.Authentication, 3);
  // A header of 10 bytes has read the first sub-block's size as its last byte.
  if (size == 10)
    stream->Seek(-1, soFromCurrent);
  else
    SkipBytes(stream, size - 11);
  LoadData(stream);
}

AnsiString TGIFApplicationExtension::GetIdentifier() const { return AnsiString(application_.Identifier, 8); }

void TGIFApplicationExtension::SetIdentifier(const AnsiString& text) {
  PutPadded(application_.Identifier, 8, text);
}

AnsiString TGIFApplicationExtension::GetAuthentication() const {
  return AnsiString(application_.Authentication, 3);
}

void TGIFApplicationExtension::SetAuthentication(const AnsiString& text) {
  PutPadded(application_.Authentication, 3, text);
}
