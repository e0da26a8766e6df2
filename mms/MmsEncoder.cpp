#include "mms/MmsEncoder.h"

#include <climits>
#include <cstdint>
#include <cstring>
#include <new>
#include <vector>

#include "mms/MmsAlloc.h"
#include "mms/MmsBodyBuilder.h"
#include "mms/MmsContentTypes.h"
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

void WriteIntegerValue(unsigned char*& cursor, std::uint32_t value) {
  if (value < 0x80) {
    *cursor++ = static_cast<unsigned char>(0x80 | value);
    return;
  }
  const std::uint32_t count = IntegerValueSize(value) - 1;
  *cursor++ = static_cast<unsigned char>(count);
  for (std::uint32_t i = count; i-- > 0;) *cursor++ = static_cast<unsigned char>(value >> (8 * i));
}

std::uint32_t UintvarSize(std::uint32_t value) {
  unsigned char scratch[WSP_UINTVAR_MAX_BYTES];
  return static_cast<std::uint32_t>(WspEncodeUintvar(scratch, value));
}

std::uint32_t ValueLengthSize(std::uint32_t length) {
  unsigned char scratch[WSP_VALUE_LENGTH_MAX_BYTES];
  return static_cast<std::uint32_t>(WspEncodeValueLength(scratch, length));
}

void WriteUintvar(unsigned char*& cursor, std::uint32_t value) { cursor += WspEncodeUintvar(cursor, value); }

void WriteValueLength(unsigned char*& cursor, std::uint32_t length) {
  cursor += WspEncodeValueLength(cursor, length);
}

// A Text-string of a text whose length is known: the text and its NUL, with the quote that a
// first byte from 0x80 on needs (WspEncodeText writes that rare case).
std::uint32_t TextSize(const char* text, std::size_t length) {
  if (static_cast<unsigned char>(text[0]) >= 0x80) return WspTextSize(text);
  return static_cast<std::uint32_t>(length) + 1;
}

void WriteText(unsigned char*& cursor, const char* text, std::size_t length) {
  if (static_cast<unsigned char>(text[0]) >= 0x80) {
    WspEncodeText(&cursor, text);
    return;
  }
  std::memcpy(cursor, text, length + 1);
  cursor += length + 1;
}

// An entry of the body: its Content-type value (general form: the well-known code or the type's
// text, the name, the charset), its Content-ID "<id>" and Content-Location, and its data, which is
// written straight from the part's own buffer. The sizes are worked out first, so that the output
// is obtained once and every byte written in place.
struct Entry {
  const char* type;
  std::size_t typeLen;
  int typeCode;
  const char* name;
  std::size_t nameLen;
  const char* id;  // between the angle brackets
  std::size_t idLen;
  bool hasLocation;  // the location is the name
  bool hasCharset;
  std::uint32_t charset;
  const unsigned char* data;
  std::uint32_t len;
  std::uint32_t mediaLen;    // the Content-type value after its length
  std::uint32_t headersLen;  // the Content-type field and the headers

  void Measure() {
    typeCode = WspContentTypeCode(type);
    mediaLen =
        (typeCode != WSP_CONTENT_TYPE_UNKNOWN ? 1 : TextSize(type, typeLen)) + 1 + TextSize(name, nameLen);
    if (hasCharset) mediaLen += 1 + IntegerValueSize(charset);
    headersLen = ValueLengthSize(mediaLen) + mediaLen + 2 + static_cast<std::uint32_t>(idLen) + 3;
    if (hasLocation) headersLen += 1 + TextSize(name, nameLen);
  }

  std::uint64_t Size() const {
    return std::uint64_t{UintvarSize(headersLen)} + UintvarSize(len) + headersLen + len;
  }

  void Write(unsigned char*& cursor) const {
    WriteUintvar(cursor, headersLen);
    WriteUintvar(cursor, len);
    WriteValueLength(cursor, mediaLen);
    if (typeCode != WSP_CONTENT_TYPE_UNKNOWN) {
      *cursor++ = static_cast<unsigned char>(0x80 | typeCode);
    } else {
      WriteText(cursor, type, typeLen);
    }
    *cursor++ = WspShortInteger(WSP_PARAM_NAME_OLD);
    WriteText(cursor, name, nameLen);
    if (hasCharset) {
      *cursor++ = WspShortInteger(WSP_PARAM_CHARSET);
      WriteIntegerValue(cursor, charset);
    }
    *cursor++ = WSP_HEADER_CONTENT_ID;
    *cursor++ = WSP_QUOTED_STRING;
    *cursor++ = '<';
    std::memcpy(cursor, id, idLen);
    cursor += idLen;
    *cursor++ = '>';
    *cursor++ = '\0';
    if (hasLocation) {
      *cursor++ = WSP_HEADER_CONTENT_LOCATION;
      WriteText(cursor, name, nameLen);
    }
    if (len != 0) std::memcpy(cursor, data, len);
    cursor += len;
  }
};

const char* PartName(const tMMS_Part& part) {
  if (part.ContentLocation != nullptr) return part.ContentLocation;
  return part.Name != nullptr ? part.Name : "";
}

bool DataUsable(const void* data, int len) { return len == 0 || (len > 0 && data != nullptr); }

// The entries in file order, measured, or false when a part cannot be encoded. `entries` is
// scratch kept between messages.
bool CollectEntries(const tMMS_Body& body, std::vector<Entry>& entries) {
  const tMMS_SmilPart& smil = *body.Smil;
  if (!DataUsable(smil.Data, smil.Len)) return false;
  const char* smilType = smil.ContentType != nullptr ? smil.ContentType : kSmilType;
  // The SMIL part's Content-ID is the start parameter of the message's content type.
  constexpr std::size_t kStartIdCore = sizeof kStartId - 3;
  entries.push_back(Entry{smilType, std::strlen(smilType), 0, kSmilName, sizeof kSmilName - 1, kStartId + 1,
                          kStartIdCore, false, true, 106, reinterpret_cast<const unsigned char*>(smil.Data),
                          static_cast<std::uint32_t>(smil.Len), 0, 0});
  for (const tMMS_Part* part = body.Parts; part != nullptr; part = part->Next) {
    if (!DataUsable(part->Data, part->Len)) return false;
    const char* name = PartName(*part);
    const std::size_t nameLen = std::strlen(name);
    const char* type = part->ContentType != nullptr ? part->ContentType : "";
    entries.push_back(Entry{type, std::strlen(type), 0, name, nameLen, name, nameLen, true,
                            part->HasCharset != 0, static_cast<std::uint32_t>(part->Charset), part->Data,
                            static_cast<std::uint32_t>(part->Len), 0, 0});
  }
  for (Entry& e : entries) e.Measure();
  return true;
}

unsigned char* Fail(int* outLen) {
  if (outLen != nullptr) *outLen = 0;
  return nullptr;
}

}  // namespace

unsigned char* MmsEncodeMultipart(const tMMS_Body* body, int* outLen) {
  if (outLen != nullptr) *outLen = 0;
  if (body == nullptr || body->Smil == nullptr) return nullptr;
  try {
    thread_local std::vector<Entry> entries;
    entries.clear();
    if (!CollectEntries(*body, entries)) return Fail(outLen);
    // The message's content type: multipart.related, starting at the SMIL part.
    constexpr std::uint32_t kTypeValueLen = 1 + 1 + sizeof kSmilType + 1 + sizeof kStartId;
    const std::uint32_t count = static_cast<std::uint32_t>(entries.size());
    std::uint64_t total = 1 + ValueLengthSize(kTypeValueLen) + kTypeValueLen + UintvarSize(count);
    for (const Entry& e : entries) total += e.Size();
    if (total > static_cast<std::uint64_t>(INT_MAX)) return Fail(outLen);

    unsigned char* out = static_cast<unsigned char*>(MmsAlloc(static_cast<std::size_t>(total)));
    if (out == nullptr) return Fail(outLen);
    unsigned char* cursor = out;
    *cursor++ = WSP_FIELD_CONTENT_TYPE;
    WriteValueLength(cursor, kTypeValueLen);
    *cursor++ = WspShortInteger(WSP_TYPE_MULTIPART_RELATED);
    *cursor++ = WspShortInteger(WSP_PARAM_TYPE);
    WriteText(cursor, kSmilType, sizeof kSmilType - 1);
    *cursor++ = WspShortInteger(WSP_PARAM_START_OLD);
    WriteText(cursor, kStartId, sizeof kStartId - 1);
    WriteUintvar(cursor, count);
    for (const Entry& e : entries) e.Write(cursor);
    if (outLen != nullptr) *outLen = static_cast<int>(total);
    return out;
  } catch (const std::bad_alloc&) {
    return Fail(outLen);
  }
}

unsigned char* MmsEncodeMessage(int* outLen) {
  if (outLen != nullptr) *outLen = 0;
  tMMS_Body* body = MmsBuildBody();
  if (body == nullptr) return nullptr;
  unsigned char* bytes = MmsEncodeMultipart(body, outLen);
  MmsFreeBody(body);
  return bytes;
}
