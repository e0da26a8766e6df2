#include "mms/MmsBodyBuilder.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <vector>

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

// The type as written, measured in the same pass that checks it.
std::string_view WritableType(const char* type) {
  if (type == nullptr || type[0] == '\0') return kUnknownType;
  const char* p = type;
  for (; *p != '\0'; ++p) {
    unsigned char c = static_cast<unsigned char>(*p);
    if (c < 0x20 || c == 0x7F) return kUnknownType;
  }
  return std::string_view(type, static_cast<std::size_t>(p - type));
}

// What the first pass gathers, kept between builds: the editor builds the message after every
// insertion, so the buffers are grown once and reused. `texts` is reserved for the longest UTF-8
// the slides' texts can take before the first is converted, so that a text's part can point
// into it at once.
struct Plan {
  std::string smil;
  std::string texts;
  std::vector<tMMS_SlidePartNames> names;
  std::vector<tMMS_PlannedPart> parts;
};

Plan& Scratch() {
  constexpr std::size_t kKeptCapacity = std::size_t{1} << 20;
  thread_local Plan plan;
  // An unusually long text is not kept for the rest of the session.
  if (plan.texts.capacity() > kKeptCapacity) std::string().swap(plan.texts);
  plan.smil.clear();
  plan.texts.clear();
  plan.parts.clear();
  return plan;
}

// A part made in place (one built aside and copied in would be read back from the narrow stores
// that just wrote it, which stalls).
void AddPart(Plan& plan, std::string_view name, std::string_view type, const unsigned char* data,
             std::size_t len, bool isText) {
  tMMS_PlannedPart& p = plan.parts.emplace_back();
  p.Name = name;
  p.Type = type;
  p.Data = data;
  p.Len = len;
  p.IsText = isText;
}

// The parts of one slide in body order: its text, its video or else its picture, its sound.
bool PlanSlide(Plan& plan, const tMMS_SlideInfo& s, const tMMS_SlidePartNames& names) {
  if (s.HasText && s.TextLen > 0) {
    const std::size_t at = plan.texts.size();
    if (!MmsTextPartAppendUtf8(s.TextData, s.TextLen, plan.texts)) return false;
    const unsigned char* text = reinterpret_cast<const unsigned char*>(plan.texts.data()) + at;
    AddPart(plan, {names.Text, names.TextLen}, kTextType, text, plan.texts.size() - at, true);
  }
  auto media = [&](std::string_view name, const char* type, const unsigned char* data, int size) {
    AddPart(plan, name, WritableType(type), data, static_cast<std::size_t>(size), false);
  };
  if (s.HasVideo) {
    media({names.Video, names.VideoLen}, s.VideoType, s.VideoData, s.VideoSize);
    return true;
  }
  if (s.HasImage) media({names.Image, names.ImageLen}, s.ImageType, s.ImageData, s.ImageSize);
  if (s.HasAudio) media({names.Audio, names.AudioLen}, s.AudioType, s.AudioData, s.AudioSize);
  return true;
}

char* PutText(char*& at, const char* text, std::size_t size) {
  char* start = at;
  std::memcpy(at, text, size);
  at[size] = '\0';
  at += size + 1;
  return start;
}

// The body in one block: the body record, the SMIL part's record, the parts' records in body
// order, then every text they point at. One request for the whole body, and one free.
tMMS_Body* LayOut(const tMMS_BodyPlan& plan) {
  const std::size_t count = plan.Count;
  std::size_t textBytes = sizeof kSmilType + plan.Smil.size() + 1;
  for (std::size_t i = 0; i < count; ++i) {
    const tMMS_PlannedPart& p = plan.Parts[i];
    textBytes += p.Name.size() + 1 + p.Type.size() + 1 + (p.IsText ? p.Len + 1 : 0);
  }
  const std::size_t records = sizeof(tMMS_Body) + sizeof(tMMS_SmilPart) + count * sizeof(tMMS_Part);
  static_assert(sizeof(tMMS_Body) % alignof(tMMS_Part) == 0 &&
                sizeof(tMMS_SmilPart) % alignof(tMMS_Part) == 0);
  unsigned char* block = static_cast<unsigned char*>(MmsAlloc(records + textBytes));
  if (block == nullptr) return nullptr;
  tMMS_Body* body = new (block) tMMS_Body{};
  tMMS_SmilPart* smil = new (block + sizeof(tMMS_Body)) tMMS_SmilPart{};
  tMMS_Part* parts = reinterpret_cast<tMMS_Part*>(block + sizeof(tMMS_Body) + sizeof(tMMS_SmilPart));
  char* at = reinterpret_cast<char*>(block + records);

  smil->ContentType = PutText(at, kSmilType, sizeof kSmilType - 1);
  smil->Data = PutText(at, plan.Smil.data(), plan.Smil.size());
  smil->Len = static_cast<int>(plan.Smil.size());
  body->Smil = smil;

  tMMS_Part** tail = &body->Parts;
  for (std::size_t i = 0; i < count; ++i) {
    const tMMS_PlannedPart& p = plan.Parts[i];
    tMMS_Part* part = new (&parts[i]) tMMS_Part{};
    part->ContentLocation = PutText(at, p.Name.data(), p.Name.size());
    part->ContentType = PutText(at, p.Type.data(), p.Type.size());
    if (p.IsText) {
      part->Data =
          reinterpret_cast<unsigned char*>(PutText(at, reinterpret_cast<const char*>(p.Data), p.Len));
      part->Charset = kUtf8Mib;
      part->HasCharset = 1;
    } else {
      // The composer's bytes, which the body only points at (it never writes to its parts).
      part->Data = const_cast<unsigned char*>(p.Data);
    }
    part->Len = static_cast<int>(p.Len);
    *tail = part;
    tail = &part->Next;
  }
  return body;
}

}  // namespace

bool MmsPlanBody(tMMS_BodyPlan* out) {
  if (out == nullptr || MmsComposerValidate() != 1) return false;
  try {
    Plan& plan = Scratch();
    const tMMS_Composer& table = *MmsComposerTable();
    int slides = 0;
    std::size_t textUnits = 0;
    for (; slides < MMS_MAX_SLIDES && table.Used[slides]; ++slides) {
      const tMMS_SlideInfo& s = table.Slide[slides];
      if (s.HasText && s.TextLen > 0) textUnits += static_cast<std::size_t>(s.TextLen);
    }
    // A UTF-16 unit takes at most 3 bytes of UTF-8 (a pair of them 4).
    plan.texts.reserve(3 * textUnits);
    plan.names.resize(static_cast<std::size_t>(slides));
    for (int i = 0; i < slides; ++i)
      MmsSlidePartNames(i, table.Slide[i], &plan.names[static_cast<std::size_t>(i)]);
    // The SMIL first: it writes the durations and item times it used back into the composer.
    MmsAppendSmil(plan.smil, plan.names.data());
    for (int i = 0; i < slides; ++i) {
      if (!PlanSlide(plan, table.Slide[i], plan.names[static_cast<std::size_t>(i)])) return false;
    }
    // Every length travels as an int; a body over 2 GB could not be written anyway.
    if (plan.smil.size() > static_cast<std::size_t>(INT_MAX) - 1) return false;
    for (const tMMS_PlannedPart& p : plan.parts) {
      if (p.Len > static_cast<std::size_t>(INT_MAX) - 1) return false;
    }
    *out = tMMS_BodyPlan{plan.smil, plan.parts.data(), plan.parts.size()};
    return true;
  } catch (const std::bad_alloc&) {
    return false;
  }
}

tMMS_Body* MmsBuildBody() {
  tMMS_BodyPlan plan{};
  return MmsPlanBody(&plan) ? LayOut(plan) : nullptr;
}

void MmsFreeBody(tMMS_Body* body) {
  std::free(body);  // the records and texts are held in the body's one block
}
