#include "mms/MmsBodyBuilder.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

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

// Scratch text kept between builds: the editor builds the message after every insertion, and
// the SMIL and each slide's text are converted here before they are copied into their block.
std::string& Scratch() {
  constexpr std::size_t kKeptCapacity = std::size_t{1} << 20;
  thread_local std::string scratch;
  if (scratch.capacity() > kKeptCapacity) std::string().swap(scratch);  // an unusually long text
  scratch.clear();
  return scratch;
}

// A record followed in the same block by its texts: one request (and one free) per part instead
// of one for each text. The texts' pointers point into the block.
template <typename Record>
Record* AllocWithTexts(std::size_t textBytes) {
  void* block = MmsAlloc(sizeof(Record) + textBytes);
  if (block == nullptr) return nullptr;
  return new (block) Record{};
}

char* PutText(char*& at, const char* text, std::size_t size) {
  char* start = at;
  std::memcpy(at, text, size);
  at[size] = '\0';
  at += size + 1;
  return start;
}

// Appends parts in order; the first failure makes the whole build fail.
class PartList {
 public:
  explicit PartList(tMMS_Body* body) : tail_(&body->Parts) {}

  // A part of the given name with a writable copy of the type and `size` bytes of `data` held
  // with them. Other data is attached by the caller.
  tMMS_Part* Add(const char* name, const char* type, const char* data = nullptr, std::size_t size = 0) {
    if (type == nullptr) type = "";
    type = WritableType(type);
    const std::size_t nameLen = std::strlen(name);
    const std::size_t typeLen = std::strlen(type);
    tMMS_Part* part = AllocWithTexts<tMMS_Part>(nameLen + typeLen + size + 3);
    if (part == nullptr) return nullptr;
    *tail_ = part;  // linked at once, so that freeing the body frees it whatever happens next
    tail_ = &part->Next;
    char* at = reinterpret_cast<char*>(part + 1);
    part->ContentLocation = PutText(at, name, nameLen);
    part->ContentType = PutText(at, type, typeLen);
    if (data != nullptr) {
      part->Data = reinterpret_cast<unsigned char*>(PutText(at, data, size));
      part->Len = static_cast<int>(size);
    }
    return part;
  }

 private:
  tMMS_Part** tail_;
};

bool AddText(PartList& parts, const char* name, const tMMS_SlideInfo& s) {
  std::string& utf8 = Scratch();
  if (!MmsTextPartAppendUtf8(s.TextData, s.TextLen, utf8)) return false;
  if (utf8.size() > static_cast<std::size_t>(INT_MAX) - 1) return false;
  tMMS_Part* part = parts.Add(name, kTextType, utf8.data(), utf8.size());
  if (part == nullptr) return false;
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
  std::string& smil = Scratch();
  MmsAppendSmil(smil);
  if (smil.size() > static_cast<std::size_t>(INT_MAX) - 1) return false;
  body->Smil = AllocWithTexts<tMMS_SmilPart>(sizeof kSmilType + smil.size() + 1);
  if (body->Smil == nullptr) return false;
  char* at = reinterpret_cast<char*>(body->Smil + 1);
  body->Smil->ContentType = PutText(at, kSmilType, sizeof kSmilType - 1);
  body->Smil->Data = PutText(at, smil.data(), smil.size());
  body->Smil->Len = static_cast<int>(smil.size());
  return true;
}

}  // namespace

tMMS_Body* MmsBuildBody() {
  if (MmsComposerValidate() != 1) return nullptr;
  tMMS_Body* body = static_cast<tMMS_Body*>(MmsAlloc(sizeof(tMMS_Body)));
  if (body == nullptr) return nullptr;
  *body = tMMS_Body{};
  bool ok = false;
  try {
    ok = AddSmil(body);
    const tMMS_Composer& table = *MmsComposerTable();
    PartList parts(body);
    for (int i = 0; ok && i < MMS_MAX_SLIDES && table.Used[i]; ++i) {
      ok = AddSlideParts(parts, i, table.Slide[i]);
    }
  } catch (const std::bad_alloc&) {
    ok = false;
  }
  if (!ok) {
    MmsFreeBody(body);
    return nullptr;
  }
  return body;
}

void MmsFreeBody(tMMS_Body* body) {
  if (body == nullptr) return;
  std::free(body->Smil);  // its type and text are held in its block
  for (tMMS_Part* part = body->Parts; part != nullptr;) {
    tMMS_Part* next = part->Next;
    if (part->OwnsData) std::free(part->Data);
    std::free(part->ContentID);
    std::free(part->Name);
    std::free(part);  // its name, type and text are held in its block
    part = next;
  }
  std::free(body);
}
