// The message file reader: takes the bytes of a stored message apart. MmsDecodeHeaders reads the
// MMS header fields up to the Content-Type field and keeps the rest as the body;
// MmsDecodeMultipart splits such a body (the Content-Type field and a WSP multipart) into its
// SMIL part and its other parts. The bytes come from outside (phones, gateways, other programs):
// everything is read through one bounded cursor and no length in them is trusted.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "mms/MmsBody.h"
#include "mms/WspCursor.h"

// The header fields of a stored message.
struct tMMS_RetrieveConf {
  int DeliveryReport = 0;  // 1 yes, 0 no
  int ReadReply = 0;
  uint8_t MessageClass = 0;
  uint8_t Priority = 0;
  int64_t Date = 0;  // seconds since 1970
  int BodyLen = 0;
  std::vector<uint8_t> Body;  // from the Content-Type field byte to the end; empty: none
  std::string TransactionID;
  std::string MessageID;
  // Addresses are UTF-8 (a sender's other 8-bit bytes read as windows-1252). Every To, Cc and Bcc
  // field is kept in order: each list holds them one by one, the text beside it all of them
  // joined by "; ".
  std::string From;
  std::string To;
  std::string Cc;
  std::string Bcc;
  std::vector<std::string> ToList;
  std::vector<std::string> CcList;
  std::vector<std::string> BccList;
  std::optional<std::u16string> Subject;  // without a byte-order mark in front
};

// A decoded content-type value.
struct tMMS_ContentType {
  std::string Type;  // empty: no type
  std::string Name;  // the Name parameter, else the Filename parameter
  uint8_t HasCharset = 0;
  int Charset = 0;
  std::string Start;  // the Start parameter of a multipart, which names its root part
  int Code = -1;      // the well-known code the type came as; -1 for a type given as text
};

inline constexpr int MMS_PDU_RETRIEVE_CONF = 4;

tMMS_RetrieveConf* MmsPduAlloc(int kind);
void MmsPduFree(tMMS_RetrieveConf* record, int kind);

inline constexpr uint8_t MMS_MESSAGE_TYPE_NOTIFICATION_IND = 0x82;

// The value of the Message-Type field the bytes start with; 0 when they start with another field.
// Lets a caller tell a notification (which holds no message) from a damaged file.
uint8_t MmsMessageType(const uint8_t* bytes, int length);

// A new record, or none for no bytes, a message type that carries no body, or a damaged header
// area. Body stays none when the bytes end before a Content-Type field.
tMMS_RetrieveConf* MmsDecodeHeaders(const uint8_t* bytes, int length);

// A new body, or none when the bytes do not start with a multipart Content-Type field or hold no
// complete entry. An entry that runs past the end is dropped with those after it. The body owns a
// copy of every entry's data: it needs neither the bytes nor the record they came from.
tMMS_Body* MmsDecodeMultipart(const uint8_t* bytes, int length);
// Frees the body, its SMIL part and its parts with their texts and the data they own.
void MmsFreeDecodedBody(tMMS_Body* body);

// The WSP primitives. Each reads at the cursor and moves it past what it read; a value that does
// not fit in the bytes left fails (false / none).
std::optional<tMMS_ContentType> WspDecodeContentType(WspCursor& cursor, size_t* count);
std::optional<tMMS_ContentType> WspDecodeContentGeneralForm(WspCursor& cursor, size_t* count);
bool WspDecodeUintvar(WspCursor& cursor, uint32_t* value);
bool WspDecodeValueLength(WspCursor& cursor, uint32_t* length);
bool WspDecodeLongInteger(WspCursor& cursor, uint64_t* value);
// A text up to its NUL, a leading 0x7F quote dropped.
bool WspDecodeText(WspCursor& cursor, std::string* text);
// A text up to its NUL, taken as it stands.
bool WspDecodeString(WspCursor& cursor, std::string* text);
// An address: a mail address whole, any other up to its first "/" ('+123/TYPE=PLMN' is '+123').
bool WspDecodeAddress(WspCursor& cursor, std::string* address);
// An encoded string as UTF-16. The cursor always moves past the whole value; `text` stays none
// when the value names a charset this reader cannot decode.
bool WspDecodeEncodedString(WspCursor& cursor, std::optional<std::u16string>* text);
