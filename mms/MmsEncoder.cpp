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
#include "mms/WspEncoder.h"

namespace {

constexpr unsigned char kContentTypeField = 0x84;         // MMS header 0x04
constexpr unsigned char kMultipartRelated = 0x80 | 0x33;  // application/vnd.wap.multipart.related
constexpr unsigned char kTypeParam = 0x80 | 0x09;
constexpr unsigned char kStartParam = 0x80 | 0x0A;
constexpr unsigned char kNameParam = 0x80 | 0x05;
constexpr unsigned char kCharsetParam = 0x80 | 0x01;
constexpr unsigned char kContentIdHeader = 0x80 | 0x40;
constexpr unsigned char kContentLocationHeader = 0x80 | 0x0E;
constexpr unsigned char kQuotedString = 0x22;

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
  value.push_back(kMultipartRelated);
  value.push_back(kTypeParam);
  PutText(value, kSmilType);
  value.push_back(kStartParam);
  PutText(value, kStartId);
  Bytes field;
  field.push_back(kContentTypeField);
  PutValueLength(field, static_cast<std::uint32_t>(value.size()));
  field.insert(field.end(), value.begin(), value.end());
  return field;
}

// An entry's Content-type value (general form) and headers, which HeadersLen counts together.
Bytes EntryHeaders(const char* type, const char* name, bool hasCharset, int charset, const char* contentId,
                   const char* location) {
  Bytes media;
  int code = WspContentTypeCode(type);
  if (code != WSP_CONTENT_TYPE_UNKNOWN) {
    media.push_back(static_cast<unsigned char>(0x80 | code));
  } else {
    PutText(media, type);
  }
  media.push_back(kNameParam);
  PutText(media, name);
  if (hasCharset) {
    media.push_back(kCharsetParam);
    PutIntegerValue(media, static_cast<std::uint32_t>(charset));
  }
  Bytes headers;
  PutValueLength(headers, static_cast<std::uint32_t>(media.size()));
  headers.insert(headers.end(), media.begin(), media.end());
  headers.push_back(kContentIdHeader);
  headers.push_back(kQuotedString);
  PutText(headers, contentId);
  if (location != nullptr) {
    headers.push_back(kContentLocationHeader);
    PutText(headers, location);
  }
  return headers;
}

struct Entry {
  Bytes prefix;  // HeadersLen, DataLen, Content-type and headers
  const unsigned char* data;
  std::uint32_t len;
};

Entry MakeEntry(Bytes headers, const void* data, int len) {
  Entry entry{{}, static_cast<const unsigned char*>(data), static_cast<std::uint32_t>(len)};
  PutUintvar(entry.prefix, static_cast<std::uint32_t>(headers.size()));
  PutUintvar(entry.prefix, entry.len);
  entry.prefix.insert(entry.prefix.end(), headers.begin(), headers.end());
  return entry;
}

const char* PartName(const tMMS_Part& part) {
  if (part.ContentLocation != nullptr) return part.ContentLocation;
  return part.Name != nullptr ? part.Name : "";
}

bool DataUsable(const void* data, int len) { return len == 0 || (len > 0 && data != nullptr); }

// The entries in file order, or false when a part cannot be encoded.
bool CollectEntries(const tMMS_Body& body, std::vector<Entry>& entries) {
  const tMMS_SmilPart& smil = *body.Smil;
  if (!DataUsable(smil.Data, smil.Len)) return false;
  const char* smilType = smil.ContentType != nullptr ? smil.ContentType : kSmilType;
  entries.push_back(
      MakeEntry(EntryHeaders(smilType, kSmilName, true, 106, kStartId, nullptr), smil.Data, smil.Len));
  for (const tMMS_Part* part = body.Parts; part != nullptr; part = part->Next) {
    if (!DataUsable(part->Data, part->Len)) return false;
    const char* name = PartName(*part);
    std::string contentId = std::string("<") + name + ">";
    const char* type = part->ContentType != nullptr ? part->ContentType : "";
    entries.push_back(
        MakeEntry(EntryHeaders(type, name, part->HasCharset != 0, part->Charset, contentId.c_str(), name),
                  part->Data, part->Len));
  }
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
    std::vector<Entry> entries;
    if (!CollectEntries(*body, entries)) return Fail(outLen);
    Bytes head = MessageContentType();
    PutUintvar(head, static_cast<std::uint32_t>(entries.size()));
    std::uint64_t total = head.size();
    for (const Entry& e : entries) total += e.prefix.size() + std::uint64_t{e.len};
    if (total > static_cast<std::uint64_t>(INT_MAX)) return Fail(outLen);

    unsigned char* out = static_cast<unsigned char*>(MmsAlloc(static_cast<std::size_t>(total)));
    if (out == nullptr) return Fail(outLen);
    unsigned char* cursor = out;
    std::memcpy(cursor, head.data(), head.size());
    cursor += head.size();
    for (const Entry& e : entries) {
      std::memcpy(cursor, e.prefix.data(), e.prefix.size());
      cursor += e.prefix.size();
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
