#include "mms/MmsEncoder.h"

#include <climits>
#include <cstdint>
#include <cstring>
#include <new>
#include <vector>

#include "mms/MmsAlloc.h"
#include "mms/MmsBodyBuilder.h"
#include "mms/MmsContentTypes.h"
#include "mms/ShortCopy.h"
#include "mms/WspCodes.h"
#include "mms/WspEncoder.h"

namespace {

const char kSmilType[] = "application/smil";
const char kSmilName[] = "mms.smil";
const char kStartId[] = "<AAAA>";

// Bytes of a Short-integer (below 128) or Long-integer (its byte count, then the bytes, most
// significant first).
std::uint32_t IntegerValueSize(std::uint32_t value) {
  if (value < 0x80) return 1;
  std::uint32_t count = 0;
  for (std::uint32_t v = value; v != 0; v >>= 8) ++count;
  return 1 + count;
}

// The writers take where to write and answer where the next byte goes: a position that is never
// passed by reference stays in a register through a whole entry.
unsigned char* WriteIntegerValue(unsigned char* at, std::uint32_t value) {
  if (value < 0x80) {
    *at++ = static_cast<unsigned char>(0x80 | value);
    return at;
  }
  const std::uint32_t count = IntegerValueSize(value) - 1;
  *at++ = static_cast<unsigned char>(count);
  for (std::uint32_t i = count; i-- > 0;) *at++ = static_cast<unsigned char>(value >> (8 * i));
  return at;
}

std::uint32_t UintvarSize(std::uint32_t value) { return static_cast<std::uint32_t>(WspUintvarSize(value)); }

std::uint32_t ValueLengthSize(std::uint32_t length) {
  return static_cast<std::uint32_t>(WspValueLengthSize(length));
}

unsigned char* WriteUintvar(unsigned char* at, std::uint32_t value) {
  return at + WspEncodeUintvar(at, value);
}

unsigned char* WriteValueLength(unsigned char* at, std::uint32_t length) {
  return at + WspEncodeValueLength(at, length);
}

// A Text-string of a text whose length is known: the text and its NUL, with the quote that a
// first byte from 0x80 on needs (WspEncodeText writes that rare case).
std::uint32_t TextSize(const char* text, std::size_t length) {
  if (static_cast<unsigned char>(text[0]) >= 0x80) return WspTextSize(text);
  return static_cast<std::uint32_t>(length) + 1;
}

unsigned char* WriteText(unsigned char* at, const char* text, std::size_t length) {
  if (static_cast<unsigned char>(text[0]) >= 0x80) {
    WspEncodeText(&at, text);
    return at;
  }
  ShortCopy(at, text, length + 1);
  return at + length + 1;
}

// An entry of the body: its Content-type value (general form: the well-known code or the type's
// text, the name, the charset), its Content-ID "<id>" and Content-Location, and its data, which is
// written straight from the part's own buffer. The sizes are worked out first, so that the output
// is obtained once and every byte written in place.
struct Entry {
  // Every field set by the constructor, none cleared first: clearing a record this size is a
  // slow string instruction on some processors, paid for every part.
  Entry(const char* type, std::size_t typeLen, const char* name, std::size_t nameLen, const char* id,
        std::size_t idLen, bool hasLocation, bool hasCharset, std::uint32_t charset,
        const unsigned char* data, std::uint32_t len)
      : type(type),
        typeLen(typeLen),
        name(name),
        nameLen(nameLen),
        id(id),
        idLen(idLen),
        hasLocation(hasLocation),
        hasCharset(hasCharset),
        charset(charset),
        data(data),
        len(len) {}

  const char* type;
  std::size_t typeLen;
  int typeCode = 0;
  const char* name;
  std::size_t nameLen;
  const char* id;  // between the angle brackets
  std::size_t idLen;
  bool hasLocation;  // the location is the name
  bool hasCharset;
  std::uint32_t charset;
  const unsigned char* data;
  std::uint32_t len;
  std::uint32_t mediaLen = 0;    // the Content-type value after its length
  std::uint32_t headersLen = 0;  // the Content-type field and the headers

  void Measure() {
    typeCode = WspContentTypeCode(type, typeLen);
    mediaLen =
        (typeCode != WSP_CONTENT_TYPE_UNKNOWN ? 1 : TextSize(type, typeLen)) + 1 + TextSize(name, nameLen);
    if (hasCharset) mediaLen += 1 + IntegerValueSize(charset);
    headersLen = ValueLengthSize(mediaLen) + mediaLen + 2 + static_cast<std::uint32_t>(idLen) + 3;
    if (hasLocation) headersLen += 1 + TextSize(name, nameLen);
  }

  std::uint64_t Size() const {
    return std::uint64_t{UintvarSize(headersLen)} + UintvarSize(len) + headersLen + len;
  }

  unsigned char* Write(unsigned char* at) const {
    at = WriteUintvar(at, headersLen);
    at = WriteUintvar(at, len);
    at = WriteValueLength(at, mediaLen);
    if (typeCode != WSP_CONTENT_TYPE_UNKNOWN) {
      *at++ = static_cast<unsigned char>(0x80 | typeCode);
    } else {
      at = WriteText(at, type, typeLen);
    }
    *at++ = WspShortInteger(WSP_PARAM_NAME_OLD);
    at = WriteText(at, name, nameLen);
    if (hasCharset) {
      *at++ = WspShortInteger(WSP_PARAM_CHARSET);
      at = WriteIntegerValue(at, charset);
    }
    *at++ = WSP_HEADER_CONTENT_ID;
    *at++ = WSP_QUOTED_STRING;
    *at++ = '<';
    ShortCopy(at, id, idLen);
    at += idLen;
    *at++ = '>';
    *at++ = '\0';
    if (hasLocation) {
      *at++ = WSP_HEADER_CONTENT_LOCATION;
      at = WriteText(at, name, nameLen);
    }
    if (len != 0) std::memcpy(at, data, len);
    return at + len;
  }
};

const char* PartName(const tMMS_Part& part) {
  if (part.ContentLocation != nullptr) return part.ContentLocation;
  return part.Name != nullptr ? part.Name : "";
}

bool DataUsable(const void* data, int len) { return len == 0 || (len > 0 && data != nullptr); }

// The SMIL entry: its Content-ID is the start parameter of the message's content type.
void AddSmilEntry(std::vector<Entry>& entries, const char* type, std::size_t typeLen, const char* data,
                  std::uint32_t len) {
  entries.emplace_back(type, typeLen, kSmilName, sizeof kSmilName - 1, kStartId + 1, sizeof kStartId - 3,
                       false, true, 106, reinterpret_cast<const unsigned char*>(data), len);
}

// An entry named by its Content-Location, which is also its Content-ID.
void AddNamedEntry(std::vector<Entry>& entries, const char* type, std::size_t typeLen, const char* name,
                   std::size_t nameLen, bool utf8, std::uint32_t charset, const unsigned char* data,
                   std::uint32_t len) {
  entries.emplace_back(type, typeLen, name, nameLen, name, nameLen, true, utf8, charset, data, len);
}

// The entries of a body in file order, or false when a part cannot be encoded.
bool CollectEntries(const tMMS_Body& body, std::vector<Entry>& entries) {
  const tMMS_SmilPart& smil = *body.Smil;
  if (!DataUsable(smil.Data, smil.Len)) return false;
  const char* smilType = smil.ContentType != nullptr ? smil.ContentType : kSmilType;
  AddSmilEntry(entries, smilType, std::strlen(smilType), smil.Data, static_cast<std::uint32_t>(smil.Len));
  for (const tMMS_Part* part = body.Parts; part != nullptr; part = part->Next) {
    if (!DataUsable(part->Data, part->Len)) return false;
    const char* name = PartName(*part);
    const char* type = part->ContentType != nullptr ? part->ContentType : "";
    AddNamedEntry(entries, type, std::strlen(type), name, std::strlen(name), part->HasCharset != 0,
                  static_cast<std::uint32_t>(part->Charset), part->Data,
                  static_cast<std::uint32_t>(part->Len));
  }
  return true;
}

// The entries of a planned body: the same as those of the body made from the plan.
void CollectEntries(const tMMS_BodyPlan& plan, std::vector<Entry>& entries) {
  AddSmilEntry(entries, kSmilType, sizeof kSmilType - 1, plan.Smil.data(),
               static_cast<std::uint32_t>(plan.Smil.size()));
  for (std::size_t i = 0; i < plan.Count; ++i) {
    const tMMS_PlannedPart& p = plan.Parts[i];
    AddNamedEntry(entries, p.Type.data(), p.Type.size(), p.Name.data(), p.Name.size(), p.IsText, 106, p.Data,
                  static_cast<std::uint32_t>(p.Len));
  }
}

unsigned char* Fail(int* outLen) {
  if (outLen != nullptr) *outLen = 0;
  return nullptr;
}

// The file: the message's content type (multipart.related, starting at the SMIL part), then the
// entries, in one block sized from the measured entries.
unsigned char* WriteFile(std::vector<Entry>& entries, int* outLen) {
  for (Entry& e : entries) e.Measure();
  constexpr std::uint32_t kTypeValueLen = 1 + 1 + sizeof kSmilType + 1 + sizeof kStartId;
  const std::uint32_t count = static_cast<std::uint32_t>(entries.size());
  std::uint64_t total = 1 + ValueLengthSize(kTypeValueLen) + kTypeValueLen + UintvarSize(count);
  for (const Entry& e : entries) total += e.Size();
  if (total > static_cast<std::uint64_t>(INT_MAX)) return Fail(outLen);

  unsigned char* out = static_cast<unsigned char*>(MmsAlloc(static_cast<std::size_t>(total)));
  if (out == nullptr) return Fail(outLen);
  unsigned char* at = out;
  *at++ = WSP_FIELD_CONTENT_TYPE;
  at = WriteValueLength(at, kTypeValueLen);
  *at++ = WspShortInteger(WSP_TYPE_MULTIPART_RELATED);
  *at++ = WspShortInteger(WSP_PARAM_TYPE);
  at = WriteText(at, kSmilType, sizeof kSmilType - 1);
  *at++ = WspShortInteger(WSP_PARAM_START_OLD);
  at = WriteText(at, kStartId, sizeof kStartId - 1);
  at = WriteUintvar(at, count);
  for (const Entry& e : entries) at = e.Write(at);
  if (outLen != nullptr) *outLen = static_cast<int>(total);
  return out;
}

// Scratch kept between messages.
std::vector<Entry>& Entries() {
  thread_local std::vector<Entry> entries;
  entries.clear();
  return entries;
}

}  // namespace

unsigned char* MmsEncodeMultipart(const tMMS_Body* body, int* outLen) {
  if (outLen != nullptr) *outLen = 0;
  if (body == nullptr || body->Smil == nullptr) return nullptr;
  try {
    std::vector<Entry>& entries = Entries();
    if (!CollectEntries(*body, entries)) return Fail(outLen);
    return WriteFile(entries, outLen);
  } catch (const std::bad_alloc&) {
    return Fail(outLen);
  }
}

unsigned char* MmsEncodeMessage(int* outLen) {
  if (outLen != nullptr) *outLen = 0;
  // Straight from the plan: the parts are written from the composer's buffers and the builder's
  // scratch, with no body made in between.
  tMMS_BodyPlan plan{};
  if (!MmsPlanBody(&plan)) return nullptr;
  try {
    std::vector<Entry>& entries = Entries();
    CollectEntries(plan, entries);
    return WriteFile(entries, outLen);
  } catch (const std::bad_alloc&) {
    return Fail(outLen);
  }
}
