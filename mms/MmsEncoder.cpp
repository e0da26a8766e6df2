#include "mms/MmsEncoder.h"

#include <climits>
#include <cstdint>
#include <cstring>
#include <new>
#include <string>
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

using Bytes = std::vector<unsigned char>;

void PutUintvar(Bytes& out, std::uint32_t value) {
  unsigned char scratch[WSP_UINTVAR_MAX_BYTES];
  out.insert(out.end(), scratch, scratch + WspEncodeUintvar(scratch, value));
}

void PutValueLength(Bytes& out, std::uint32_t length) {
  unsigned char scratch[WSP_VALUE_LENGTH_MAX_BYTES];
  out.insert(out.end(), scratch, scratch + WspEncodeValueLength(scratch, length));
}

void PutText(Bytes& out, const char* text) {
  std::size_t at = out.size();
  out.resize(at + WspTextSize(text));
  unsigned char* cursor = out.data() + at;
  WspEncodeText(&cursor, text);
}

// Short-integer below 128, else Long-integer (its byte count, then the bytes, most significant
// first).
void PutIntegerValue(Bytes& out, std::uint32_t value) {
  if (value < 0x80) {
    out.push_back(static_cast<unsigned char>(0x80 | value));
    return;
  }
  unsigned char digits[4];
  int count = 0;
  for (std::uint32_t v = value; v != 0; v >>= 8) digits[count++] = static_cast<unsigned char>(v & 0xFF);
  out.push_back(static_cast<unsigned char>(count));
  for (int i = count - 1; i >= 0; --i) out.push_back(digits[i]);
}

// The content-type value of the message: multipart.related, starting at the SMIL part.
Bytes MessageContentType() {
  Bytes value;
  value.push_back(WspShortInteger(WSP_TYPE_MULTIPART_RELATED));
  value.push_back(WspShortInteger(WSP_PARAM_TYPE));
  PutText(value, kSmilType);
  value.push_back(WspShortInteger(WSP_PARAM_START_OLD));
  PutText(value, kStartId);
  Bytes field;
  field.push_back(WSP_FIELD_CONTENT_TYPE);
  PutValueLength(field, static_cast<std::uint32_t>(value.size()));
  field.insert(field.end(), value.begin(), value.end());
  return field;
}

// Appends an entry's Content-type value (general form) and headers, which HeadersLen counts
// together. `media` is scratch space kept between entries.
void AppendEntryHeaders(Bytes& out, Bytes& media, const char* type, const char* name, bool hasCharset, int charset,
                        const char* contentId, const char* location) {
  media.clear();
  int code = WspContentTypeCode(type);
  if (code != WSP_CONTENT_TYPE_UNKNOWN) {
    media.push_back(static_cast<unsigned char>(0x80 | code));
  } else {
    PutText(media, type);
  }
  media.push_back(WspShortInteger(WSP_PARAM_NAME_OLD));
  PutText(media, name);
  if (hasCharset) {
    media.push_back(WspShortInteger(WSP_PARAM_CHARSET));
    PutIntegerValue(media, static_cast<std::uint32_t>(charset));
  }
  PutValueLength(out, static_cast<std::uint32_t>(media.size()));
  out.insert(out.end(), media.begin(), media.end());
  out.push_back(WSP_HEADER_CONTENT_ID);
  out.push_back(WSP_QUOTED_STRING);
  PutText(out, contentId);
  if (location != nullptr) {
    out.push_back(WSP_HEADER_CONTENT_LOCATION);
    PutText(out, location);
  }
}

// An entry: its headers (a slice of the shared header bytes) and its data, written straight from
// the part's own buffer.
struct Entry {
  std::size_t headersAt;
  std::uint32_t headersLen;
  const unsigned char* data;
  std::uint32_t len;
};

const char* PartName(const tMMS_Part& part) {
  if (part.ContentLocation != nullptr) return part.ContentLocation;
  return part.Name != nullptr ? part.Name : "";
}

bool DataUsable(const void* data, int len) { return len == 0 || (len > 0 && data != nullptr); }

// The entries in file order with their headers in `headers`, or false when a part cannot be
// encoded.
bool CollectEntries(const tMMS_Body& body, std::vector<Entry>& entries, Bytes& headers) {
  const tMMS_SmilPart& smil = *body.Smil;
  if (!DataUsable(smil.Data, smil.Len)) return false;
  Bytes media;
  auto add = [&](std::size_t at, const void* data, int len) {
    entries.push_back(Entry{at, static_cast<std::uint32_t>(headers.size() - at),
                            static_cast<const unsigned char*>(data), static_cast<std::uint32_t>(len)});
  };
  const char* smilType = smil.ContentType != nullptr ? smil.ContentType : kSmilType;
  std::size_t at = headers.size();
  AppendEntryHeaders(headers, media, smilType, kSmilName, true, 106, kStartId, nullptr);
  add(at, smil.Data, smil.Len);
  std::string contentId;
  for (const tMMS_Part* part = body.Parts; part != nullptr; part = part->Next) {
    if (!DataUsable(part->Data, part->Len)) return false;
    const char* name = PartName(*part);
    contentId.assign(1, '<').append(name).push_back('>');
    const char* type = part->ContentType != nullptr ? part->ContentType : "";
    at = headers.size();
    AppendEntryHeaders(headers, media, type, name, part->HasCharset != 0, part->Charset, contentId.c_str(), name);
    add(at, part->Data, part->Len);
  }
  return true;
}

void WriteUintvar(unsigned char*& cursor, std::uint32_t value) { cursor += WspEncodeUintvar(cursor, value); }

std::uint64_t UintvarSize(std::uint32_t value) {
  unsigned char scratch[WSP_UINTVAR_MAX_BYTES];
  return static_cast<std::uint64_t>(WspEncodeUintvar(scratch, value));
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
    std::vector<Entry> entries;
    Bytes headers;
    headers.reserve(4096);
    if (!CollectEntries(*body, entries, headers)) return Fail(outLen);
    Bytes head = MessageContentType();
    PutUintvar(head, static_cast<std::uint32_t>(entries.size()));
    std::uint64_t total = head.size();
    for (const Entry& e : entries) {
      total += UintvarSize(e.headersLen) + UintvarSize(e.len) + e.headersLen + std::uint64_t{e.len};
    }
    if (total > static_cast<std::uint64_t>(INT_MAX)) return Fail(outLen);

    unsigned char* out = static_cast<unsigned char*>(MmsAlloc(static_cast<std::size_t>(total)));
    if (out == nullptr) return Fail(outLen);
    unsigned char* cursor = out;
    std::memcpy(cursor, head.data(), head.size());
    cursor += head.size();
    for (const Entry& e : entries) {
      WriteUintvar(cursor, e.headersLen);
      WriteUintvar(cursor, e.len);
      std::memcpy(cursor, headers.data() + e.headersAt, e.headersLen);
      cursor += e.headersLen;
      if (e.len != 0) std::memcpy(cursor, e.data, e.len);
      cursor += e.len;
    }
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
