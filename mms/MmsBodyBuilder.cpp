#include "mms/MmsBodyBuilder.h"

#include <cstdlib>
#include <cstring>

#include "mms/MmsAlloc.h"
#include "mms/MmsComposer.h"
#include "mms/MmsSlidePartNames.h"
#include "mms/MmsSmilWriter.h"
#include "mms/MmsTextPart.h"

namespace {

constexpr int kUtf8Mib = 106;
const char kSmilType[] = "application/smil";
const char kTextType[] = "text/plain";
// An entry needs a media type that reads back as text: the editor hands a picture of an
// unrecognised extension over with none, and an empty type, or one with control characters
// (a first byte below 0x20 reads as a number), makes decoders drop the entry and every one after
// it. Such parts go out as plain data; their part names still come from the type handed over.
const char kUnknownType[] = "application/octet-stream";

const char* WritableType(const char* type) {
  if (type[0] == '\0') return kUnknownType;
  for (const char* p = type; *p != '\0'; ++p) {
    unsigned char c = static_cast<unsigned char>(*p);
    if (c < 0x20 || c == 0x7F) return kUnknownType;
  }
  return type;
}

// Appends parts in order; the first failure makes the whole build fail.
class PartList {
 public:
  explicit PartList(tMMS_Body* body) : tail_(&body->Parts) {}

  // A part of the given name with a writable copy of the type. Data is attached by the caller.
  tMMS_Part* Add(const char* name, const char* type) {
    if (type == nullptr) type = "";
    tMMS_Part* part = static_cast<tMMS_Part*>(MmsAlloc(sizeof(tMMS_Part)));
    if (part == nullptr) return nullptr;
    *part = tMMS_Part{};
    *tail_ = part;  // linked at once, so that freeing the body frees it whatever happens next
    tail_ = &part->Next;
    part->ContentLocation = MmsStrDup(name);
    part->ContentType = MmsStrDup(WritableType(type));
    return part->ContentLocation != nullptr && part->ContentType != nullptr ? part : nullptr;
  }

 private:
  tMMS_Part** tail_;
};

bool AddText(PartList& parts, const char* name, const tMMS_SlideInfo& s) {
  tMMS_Part* part = parts.Add(name, kTextType);
  if (part == nullptr) return false;
  int len = 0;
  char* utf8 = MmsTextPartToUtf8(s.TextData, s.TextLen, &len);
  if (utf8 == nullptr) return false;
  part->Data = reinterpret_cast<unsigned char*>(utf8);
  part->Len = len;
  part->OwnsData = 1;
  part->Charset = kUtf8Mib;
  part->HasCharset = 1;
  return true;
}

// Pictures, sounds and videos are not copied: the part points at the composer's bytes.
bool AddMedia(PartList& parts, const char* name, const char* type, unsigned char* data, int size) {
  tMMS_Part* part = parts.Add(name, type);
  if (part == nullptr) return false;
  part->Data = data;
  part->Len = size;
  return true;
}

bool AddSlideParts(PartList& parts, int slide, const tMMS_SlideInfo& s) {
  tMMS_SlidePartNames names;
  MmsSlidePartNames(slide, s, &names);
  if (s.HasText && s.TextLen > 0 && !AddText(parts, names.Text, s)) return false;
  if (s.HasVideo) return AddMedia(parts, names.Video, s.VideoType, s.VideoData, s.VideoSize);
  if (s.HasImage && !AddMedia(parts, names.Image, s.ImageType, s.ImageData, s.ImageSize)) return false;
  if (s.HasAudio && !AddMedia(parts, names.Audio, s.AudioType, s.AudioData, s.AudioSize)) return false;
  return true;
}

bool AddSmil(tMMS_Body* body) {
  body->Smil = static_cast<tMMS_SmilPart*>(MmsAlloc(sizeof(tMMS_SmilPart)));
  if (body->Smil == nullptr) return false;
  *body->Smil = tMMS_SmilPart{};
  body->Smil->ContentType = MmsStrDup(kSmilType);
  body->Smil->Data = MmsBuildSmil();
  if (body->Smil->ContentType == nullptr || body->Smil->Data == nullptr) return false;
  body->Smil->Len = static_cast<int>(std::strlen(body->Smil->Data));
  return true;
}

}  // namespace

tMMS_Body* MmsBuildBody() {
  if (MmsComposerValidate() != 1) return nullptr;
  tMMS_Body* body = static_cast<tMMS_Body*>(MmsAlloc(sizeof(tMMS_Body)));
  if (body == nullptr) return nullptr;
  *body = tMMS_Body{};
  bool ok = AddSmil(body);
  const tMMS_Composer& table = *MmsComposerTable();
  PartList parts(body);
  for (int i = 0; ok && i < MMS_MAX_SLIDES && table.Used[i]; ++i) {
    ok = AddSlideParts(parts, i, table.Slide[i]);
  }
  if (!ok) {
    MmsFreeBody(body);
    return nullptr;
  }
  return body;
}

void MmsFreeBody(tMMS_Body* body) {
  if (body == nullptr) return;
  if (body->Smil != nullptr) {
    std::free(body->Smil->ContentType);
    std::free(body->Smil->Data);
    std::free(body->Smil);
  }
  for (tMMS_Part* part = body->Parts; part != nullptr;) {
    tMMS_Part* next = part->Next;
    if (part->OwnsData) std::free(part->Data);
    std::free(part->ContentType);
    std::free(part->ContentLocation);
    std::free(part->ContentID);
    std::free(part->Name);
    std::free(part);
    part = next;
  }
  std::free(body);
}
