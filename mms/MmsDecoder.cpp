#include "mms/MmsDecoder.h"

#include <cctype>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "mms/MmsCharset.h"
#include "mms/MmsContentTypes.h"
#include "mms/MmsText.h"
#include "mms/MmsTrace.h"
#include "mms/WspCodes.h"

namespace {

bool StartsWithNoCase(const std::string& s, const char* prefix) { return MmsLower(s).rfind(prefix, 0) == 0; }

// A malloc copy of a text for the body's C-style fields; none for an empty text.
char* CopyText(const std::string& text) {
  if (text.empty()) return nullptr;
  char* copy = static_cast<char*>(std::malloc(text.size() + 1));
  if (copy) std::memcpy(copy, text.c_str(), text.size() + 1);
  return copy;
}

std::string WellKnownTypeName(uint64_t code) {
  if (code >= static_cast<uint64_t>(WSP_CONTENT_TYPE_COUNT)) return {};
  return WspContentTypeTable[code];
}

// A Text-value of a parameter: no value (a lone NUL), a quoted string or a text.
bool ReadTextValue(WspCursor& cursor, std::string* text) {
  uint8_t first;
  if (!cursor.PeekByte(first)) return false;
  if (first == WSP_QUOTED_STRING || first == WSP_TEXT_QUOTE) cursor.Skip(1);
  return cursor.ReadText(*text);
}

// One bounded value of a single-byte field: a byte with bit 7 is the value; anything else is
// stepped over by its shape and gives no value.
bool ReadByteField(WspCursor& cursor, std::optional<uint8_t>* value) {
  uint8_t first;
  if (!cursor.PeekByte(first)) return false;
  if (first & 0x80) {
    cursor.Skip(1);
    *value = first;
    return true;
  }
  value->reset();
  return cursor.SkipValue();
}

// A charset by its number, or by its name ("iso-8859-1", any case) as some senders give it. A name
// this reader does not know leaves the part unlabelled.
bool ReadCharset(WspCursor& value, tMMS_ContentType& type) {
  uint8_t shape;
  if (!value.PeekByte(shape)) return false;
  if (shape >= 32 && shape < 0x80) {
    std::string name;
    if (!ReadTextValue(value, &name)) return false;
    if (int charset = MmsCharsetFromName(name)) {
      type.HasCharset = 1;
      type.Charset = charset;
    }
    return true;
  }
  uint64_t charset;
  if (!value.ReadIntegerValue(charset)) return false;
  type.HasCharset = 1;
  type.Charset = charset > INT_MAX ? 0 : static_cast<int>(charset);
  return true;
}

bool ReadParameter(WspCursor& value, tMMS_ContentType& type, std::string& filename) {
  uint8_t first;
  if (!value.PeekByte(first)) return false;
  if (first >= 32 && first < 0x80) {
    // An untyped parameter: a token, then an integer or a text.
    std::string token;
    if (!value.ReadText(token)) return false;
    token = MmsLower(token);
    uint8_t shape;
    if (!value.PeekByte(shape)) return false;
    if (token == "charset") return ReadCharset(value, type);
    if (shape >= 32 && shape < 0x80 && (token == "name" || token == "filename" || token == "start")) {
      std::string text;
      if (!value.ReadText(text)) return false;
      (token == "name" ? type.Name : token == "filename" ? filename : type.Start) = text;
      return true;
    }
    return value.SkipValue();
  }
  uint64_t code;
  if (!value.ReadIntegerValue(code)) return false;
  switch (code) {
    case WSP_PARAM_CHARSET:
      return ReadCharset(value, type);
    case WSP_PARAM_NAME_OLD:
    case WSP_PARAM_NAME:
      return ReadTextValue(value, &type.Name);
    case WSP_PARAM_FILENAME_OLD:
    case WSP_PARAM_FILENAME:
      return ReadTextValue(value, &filename);
    case WSP_PARAM_START_OLD:
    case WSP_PARAM_START:
      return ReadTextValue(value, &type.Start);
    default:
      return value.SkipValue();
  }
}

// The text of an encoded string's value after its charset: up to its NUL for 8-bit charsets;
// whole for the 16-bit ones, whose units hold NUL bytes.
std::optional<std::u16string> DecodeCharsetText(int charset, WspCursor text) {
  bool wide = charset == MMS_CHARSET_UCS2 || charset == MMS_CHARSET_UTF16 || charset == MMS_CHARSET_UTF16BE ||
              charset == MMS_CHARSET_UTF16LE;
  const uint8_t* bytes = text.Position();
  size_t count = text.Remaining();
  if (!wide) {
    if (count > 0 && bytes[0] == WSP_TEXT_QUOTE) {
      ++bytes;
      --count;
    }
    const void* nul = count ? std::memchr(bytes, 0, count) : nullptr;
    if (nul) count = static_cast<size_t>(static_cast<const uint8_t*>(nul) - bytes);
  }
  if (!MmsCharsetKnown(charset)) return std::nullopt;
  int length = static_cast<int>(count);
  std::optional<std::u16string> out = MmsCharsetToWide(charset, bytes, &length);
  if (!out) return std::u16string();
  while (!out->empty() && out->back() == u'\0') out->pop_back();
  return out;
}

// The bytes of an address value, its charset (if any) not looked at: addresses are 8-bit.
bool ReadAddressBytes(WspCursor& cursor, std::string* text) {
  uint8_t first;
  if (!cursor.PeekByte(first)) return false;
  if (first >= 32) return WspDecodeText(cursor, text);
  uint32_t length;
  WspCursor value;
  if (!cursor.ReadValueLength(length) || !cursor.Take(length, value)) return false;
  uint64_t charset;
  if (!value.ReadIntegerValue(charset)) {
    text->clear();
    return true;
  }
  if (!WspDecodeText(value, text))
    text->assign(reinterpret_cast<const char*>(value.Position()), value.Remaining());
  return true;
}

bool ReadFrom(WspCursor& cursor, std::string* from) {
  uint32_t length;
  WspCursor value;
  if (!cursor.ReadValueLength(length) || !cursor.Take(length, value)) return false;
  from->clear();
  uint8_t token;
  if (value.ReadByte(token) && token == WSP_FROM_ADDRESS_PRESENT) {
    if (WspDecodeAddress(value, from)) {
      *from = MmsHeaderTextToUtf8(*from);
    } else {
      from->clear();
    }
  }
  return true;
}

// An application header: a token name and a text value.
bool SkipApplicationHeader(WspCursor& cursor) {
  std::string ignored;
  return cursor.ReadText(ignored) && cursor.ReadText(ignored);
}

// One recipient field: its address joins the earlier ones of the same field.
bool ReadRecipient(WspCursor& cursor, std::string& joined, std::vector<std::string>& list) {
  std::string address;
  if (!WspDecodeAddress(cursor, &address)) return false;
  address = MmsHeaderTextToUtf8(address);
  if (address.empty()) return true;
  if (!list.empty()) joined += "; ";
  joined += address;
  list.push_back(std::move(address));
  return true;
}

bool ReadSubject(WspCursor& cursor, std::optional<std::u16string>& subject) {
  if (!WspDecodeEncodedString(cursor, &subject)) return false;
  // A byte-order mark says how the text was stored; it is no part of the subject.
  if (subject && !subject->empty() && subject->front() == u'\xFEFF') subject->erase(0, 1);
  return true;
}

bool ReadHeaderField(WspCursor& cursor, uint8_t field, tMMS_RetrieveConf& record) {
  std::optional<uint8_t> byte;
  switch (field) {
    case WSP_FIELD_BCC:
      return ReadRecipient(cursor, record.Bcc, record.BccList);
    case WSP_FIELD_CC:
      return ReadRecipient(cursor, record.Cc, record.CcList);
    case WSP_FIELD_TO:
      return ReadRecipient(cursor, record.To, record.ToList);
    case WSP_FIELD_DATE: {
      uint64_t date;
      if (!cursor.ReadLongInteger(date)) return false;
      record.Date = date > static_cast<uint64_t>(INT64_MAX) ? INT64_MAX : static_cast<int64_t>(date);
      return true;
    }
    case WSP_FIELD_DELIVERY_REPORT:
      if (!ReadByteField(cursor, &byte)) return false;
      if (byte) record.DeliveryReport = *byte == 0x80 ? 1 : 0;
      return true;
    case WSP_FIELD_READ_REPLY:
      if (!ReadByteField(cursor, &byte)) return false;
      if (byte) record.ReadReply = *byte == 0x80 ? 1 : 0;
      return true;
    case WSP_FIELD_MESSAGE_CLASS:
      if (!ReadByteField(cursor, &byte)) return false;
      if (byte) record.MessageClass = *byte;
      return true;
    case WSP_FIELD_PRIORITY:
      if (!ReadByteField(cursor, &byte)) return false;
      if (byte) record.Priority = *byte;
      return true;
    case WSP_FIELD_MESSAGE_TYPE:
      if (!ReadByteField(cursor, &byte)) return false;
      return byte && (*byte == WSP_MESSAGE_TYPE_SEND_REQ || *byte == WSP_MESSAGE_TYPE_RETRIEVE_CONF);
    case WSP_FIELD_MESSAGE_ID:
      return WspDecodeText(cursor, &record.MessageID);
    case WSP_FIELD_TRANSACTION_ID:
      return WspDecodeText(cursor, &record.TransactionID);
    case WSP_FIELD_FROM:
      return ReadFrom(cursor, &record.From);
    case WSP_FIELD_SUBJECT:
      return ReadSubject(cursor, record.Subject);
    case WSP_FIELD_MMS_VERSION:
    default:
      // Fields this reader has no use for (MMS 1.1 and later ones among them) are stepped over
      // by their shape.
      return cursor.SkipValue();
  }
}

bool IsMultipartType(const std::string& type) {
  return StartsWithNoCase(type, "multipart/") || StartsWithNoCase(type, "application/vnd.wap.multipart");
}

// The part headers after an entry's content type, within its HeadersLen. A damaged header ends
// the reading; what was read before it is kept.
void ReadPartHeaders(WspCursor& headers, std::string& location, std::string& id) {
  uint8_t header;
  while (headers.PeekByte(header)) {
    if (header == WSP_HEADER_CONTENT_LOCATION) {
      headers.Skip(1);
      if (!WspDecodeText(headers, &location)) return;
    } else if (header == WSP_HEADER_CONTENT_ID) {
      headers.Skip(1);
      uint8_t quote;
      if (headers.PeekByte(quote) && quote == WSP_QUOTED_STRING) headers.Skip(1);
      std::string text;
      if (!headers.ReadText(text)) return;
      id = MmsWithoutAngleBrackets(text);
    } else if (header & 0x80) {
      headers.Skip(1);
      if (!headers.SkipValue()) return;
    } else if (header >= 32) {
      if (!SkipApplicationHeader(headers)) return;
    } else {
      return;
    }
  }
}

void TraceBanner(const char* text) {
  MmsTrace("/////////////////////////////////");
  MmsTrace("%s", text);
  MmsTrace("/////////////////////////////////");
}

// Frees a list of parts without recursion, however long it is.
void FreePart(tMMS_Part* part) {
  if (part->OwnsData) std::free(part->Data);
  std::free(part->ContentLocation);
  std::free(part->ContentID);
  std::free(part->Name);
  std::free(part->ContentType);
  std::free(part);
}

void FreeParts(tMMS_Part* part) {
  while (part) {
    tMMS_Part* next = part->Next;
    FreePart(part);
    part = next;
  }
}

// The content type of an entry. Code 0x21 is a WBMP picture, but this program once wrote BMP
// pictures with it: a part so coded that holds a BMP file (which starts with "BM"; a WBMP starts
// with its type byte 0) is the BMP it holds.
std::string PartType(const tMMS_ContentType& type, const WspCursor& data) {
  constexpr int WBMP_CODE = 0x21;
  if (type.Code == WBMP_CODE && data.Remaining() >= 2 && data.Position()[0] == 'B' &&
      data.Position()[1] == 'M')
    return "image/bmp";
  return type.Type;
}

// Moves the SMIL entry out of the parts into body.Smil: the one the Start parameter names,
// else the first. Other SMIL entries stay parts.
void TakeSmilPart(tMMS_Body& body, const std::string& start) {
  std::string wanted = MmsLower(MmsWithoutAngleBrackets(start));
  tMMS_Part** chosen = nullptr;
  for (tMMS_Part** link = &body.Parts; *link; link = &(*link)->Next) {
    if (MmsLower(MmsTextOf((*link)->ContentType)) != "application/smil") continue;
    if (!chosen) chosen = link;
    if (!wanted.empty() && MmsLower(MmsTextOf((*link)->ContentID)) == wanted) {
      chosen = link;
      break;
    }
  }
  if (!chosen) return;
  auto* smilPart = static_cast<tMMS_SmilPart*>(std::calloc(1, sizeof(tMMS_SmilPart)));
  if (!smilPart) return;
  tMMS_Part* smil = *chosen;
  *chosen = smil->Next;
  smilPart->ContentType = smil->ContentType;
  smil->ContentType = nullptr;
  smilPart->Data = reinterpret_cast<char*>(smil->Data);
  smilPart->Len = smil->Len;
  smilPart->OwnsData = std::exchange(smil->OwnsData, 0);
  FreePart(smil);
  body.Smil = smilPart;
}

}  // namespace

tMMS_RetrieveConf* MmsPduAlloc(int kind) {
  if (kind != MMS_PDU_RETRIEVE_CONF) return nullptr;
  return new tMMS_RetrieveConf;
}

void MmsPduFree(tMMS_RetrieveConf* record, int kind) {
  if (kind == MMS_PDU_RETRIEVE_CONF) delete record;
}

bool WspDecodeUintvar(WspCursor& cursor, uint32_t* value) { return cursor.ReadUintvar(*value); }

bool WspDecodeValueLength(WspCursor& cursor, uint32_t* length) { return cursor.ReadValueLength(*length); }

bool WspDecodeLongInteger(WspCursor& cursor, uint64_t* value) { return cursor.ReadLongInteger(*value); }

bool WspDecodeString(WspCursor& cursor, std::string* text) { return cursor.ReadText(*text); }

bool WspDecodeText(WspCursor& cursor, std::string* text) {
  uint8_t first;
  if (!cursor.PeekByte(first)) return false;
  WspCursor saved = cursor;
  if (first == WSP_TEXT_QUOTE) cursor.Skip(1);
  if (!cursor.ReadText(*text)) {
    cursor = saved;
    return false;
  }
  return true;
}

bool WspDecodeAddress(WspCursor& cursor, std::string* address) {
  std::string text;
  if (!ReadAddressBytes(cursor, &text)) return false;
  if (text.find('@') == std::string::npos) text = text.substr(0, text.find('/'));
  *address = text;
  return true;
}

bool WspDecodeEncodedString(WspCursor& cursor, std::optional<std::u16string>* text) {
  uint8_t first;
  if (!cursor.PeekByte(first)) return false;
  if (first >= 32) {
    std::string bytes;
    if (!WspDecodeText(cursor, &bytes)) return false;
    *text =
        MmsUnlabelledToWide(reinterpret_cast<const uint8_t*>(bytes.data()), static_cast<int>(bytes.size()));
    return true;
  }
  uint32_t length;
  WspCursor value;
  if (!cursor.ReadValueLength(length) || !cursor.Take(length, value)) return false;
  uint64_t charset;
  if (!value.ReadIntegerValue(charset) || charset > INT_MAX) {
    text->reset();
    return true;
  }
  *text = DecodeCharsetText(static_cast<int>(charset), value);
  return true;
}

std::optional<tMMS_ContentType> WspDecodeContentGeneralForm(WspCursor& cursor, size_t* count) {
  WspCursor saved = cursor;
  uint32_t length;
  WspCursor value;
  if (!cursor.ReadValueLength(length) || !cursor.Take(length, value)) {
    cursor = saved;
    return std::nullopt;
  }
  tMMS_ContentType type;
  uint8_t media;
  if (!value.PeekByte(media)) {
    cursor = saved;
    return std::nullopt;
  }
  bool ok;
  if (media >= 0x80 || media < 32) {
    uint64_t code;
    ok = value.ReadIntegerValue(code);
    if (ok) {
      type.Type = WellKnownTypeName(code);
      if (!type.Type.empty()) type.Code = static_cast<int>(code);
    }
  } else {
    ok = value.ReadText(type.Type);
  }
  if (!ok) {
    cursor = saved;
    return std::nullopt;
  }
  // Parameters this reader does not know are stepped over by their shape; the value's length,
  // not its parameters, says where the next field starts.
  std::string filename;
  while (!value.AtEnd() && ReadParameter(value, type, filename)) {
  }
  if (type.Name.empty()) type.Name = filename;
  if (count) *count = static_cast<size_t>(cursor.Position() - saved.Position());
  return type;
}

std::optional<tMMS_ContentType> WspDecodeContentType(WspCursor& cursor, size_t* count) {
  uint8_t first;
  if (!cursor.PeekByte(first)) return std::nullopt;
  if (first < 32) return WspDecodeContentGeneralForm(cursor, count);
  tMMS_ContentType type;
  if (first & 0x80) {
    cursor.Skip(1);
    type.Type = WellKnownTypeName(first & 0x7F);
    if (!type.Type.empty()) type.Code = first & 0x7F;
    if (count) *count = 1;
    return type;
  }
  const uint8_t* start = cursor.Position();
  if (!cursor.ReadText(type.Type)) return std::nullopt;
  if (count) *count = static_cast<size_t>(cursor.Position() - start);
  return type;
}

uint8_t MmsMessageType(const uint8_t* bytes, int length) {
  if (!bytes || length < 2 || bytes[0] != WSP_FIELD_MESSAGE_TYPE) return 0;
  return bytes[1];
}

tMMS_RetrieveConf* MmsDecodeHeaders(const uint8_t* bytes, int length) {
  if (!bytes || length <= 0) return nullptr;
  tMMS_RetrieveConf* record = MmsPduAlloc(MMS_PDU_RETRIEVE_CONF);
  WspCursor cursor(bytes, static_cast<size_t>(length));
  uint8_t field;
  while (cursor.PeekByte(field)) {
    if (field == WSP_FIELD_CONTENT_TYPE) {
      record->Body.assign(cursor.Position(), cursor.End());
      record->BodyLen = static_cast<int>(record->Body.size());
      return record;
    }
    bool ok;
    if (field & 0x80) {
      cursor.Skip(1);
      ok = ReadHeaderField(cursor, field, *record);
    } else {
      ok = field >= 32 && SkipApplicationHeader(cursor);
    }
    if (!ok) {
      MmsTrace("MmsDecodeHeaders: damaged header field 0x%02X\n", field);
      MmsPduFree(record, MMS_PDU_RETRIEVE_CONF);
      return nullptr;
    }
  }
  return record;
}

tMMS_Body* MmsDecodeMultipart(const uint8_t* bytes, int length) {
  if (!bytes || length <= 0) return nullptr;
  WspCursor cursor(bytes, static_cast<size_t>(length));
  uint8_t field;
  cursor.ReadByte(field);
  if (field != WSP_FIELD_CONTENT_TYPE) {
    TraceBanner("TempValue != 0x84");
    return nullptr;
  }
  std::optional<tMMS_ContentType> top = WspDecodeContentType(cursor, nullptr);
  if (!top || !IsMultipartType(top->Type)) {
    MmsTrace("MmsDecodeMultipart: the content type is not a multipart\n");
    return nullptr;
  }
  uint32_t entries;
  if (!cursor.ReadUintvar(entries)) {
    MmsTrace("MmsDecodeMultipart: no entry count\n");
    return nullptr;
  }
  if (entries == 0) {
    TraceBanner("mms content is Empty");
    return nullptr;
  }
  MmsTrace("Element_Num = %u", entries);

  auto* body = static_cast<tMMS_Body*>(std::calloc(1, sizeof(tMMS_Body)));
  if (!body) return nullptr;
  body->EntriesDeclared = entries > INT_MAX ? INT_MAX : static_cast<int>(entries);
  tMMS_Part** tail = &body->Parts;
  for (uint32_t i = 0; i < entries && !cursor.AtEnd(); ++i) {
    uint32_t headersLen, dataLen;
    WspCursor headers, data;
    std::optional<tMMS_ContentType> type;
    if (!cursor.ReadUintvar(headersLen) || !cursor.ReadUintvar(dataLen) ||
        !cursor.Take(headersLen, headers) || !cursor.Take(dataLen, data) ||
        !(type = WspDecodeContentType(headers, nullptr))) {
      MmsTrace("MmsDecodeMultipart: entry %u runs past the end or is damaged; it and the rest are dropped\n",
               i);
      break;
    }
    auto* part = static_cast<tMMS_Part*>(std::calloc(1, sizeof(tMMS_Part)));
    // The body keeps its own copy of the data (never empty, so Data is never null).
    auto* copy = part ? static_cast<unsigned char*>(std::malloc(dataLen ? dataLen : 1)) : nullptr;
    if (!copy) {
      std::free(part);
      break;
    }
    if (dataLen) std::memcpy(copy, data.Position(), dataLen);
    std::string location, id;
    ReadPartHeaders(headers, location, id);
    if (location.empty()) location = type->Name;
    part->ContentType = CopyText(PartType(*type, data));
    part->Name = CopyText(type->Name);
    part->ContentLocation = CopyText(location);
    part->ContentID = CopyText(id);
    part->Charset = type->Charset;
    part->HasCharset = type->HasCharset;
    part->Data = copy;
    part->OwnsData = 1;
    part->Len = static_cast<int>(dataLen);
    *tail = part;
    tail = &part->Next;
    ++body->EntriesDecoded;
  }
  if (body->EntriesDecoded < body->EntriesDeclared) {
    body->Incomplete = 1;
    MmsTrace("MmsDecodeMultipart: %d of %d entries decoded\n", body->EntriesDecoded, body->EntriesDeclared);
  }
  TakeSmilPart(*body, top->Start);
  if (!body->Smil && !body->Parts) {
    TraceBanner("mms content is Empty");
    MmsFreeDecodedBody(body);
    return nullptr;
  }
  return body;
}

void MmsFreeDecodedBody(tMMS_Body* body) {
  if (!body) return;
  if (body->Smil) {
    if (body->Smil->OwnsData) std::free(body->Smil->Data);
    std::free(body->Smil->ContentType);
    std::free(body->Smil);
  }
  FreeParts(body->Parts);
  std::free(body);
}
