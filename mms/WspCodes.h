// The byte codes of the binary message encoding that the reader and the writer share: header
// fields, message types, part headers, content-type parameters and the quote bytes that mark
// texts and lengths. Field and part-header codes are the bytes as they stand on the wire (the
// code with bit 7 set); parameter and content-type codes are the numbers, which travel as
// short integers (WspShortInteger).
#pragma once

#include <cstdint>

// Message header fields.
inline constexpr std::uint8_t WSP_FIELD_BCC = 0x81;
inline constexpr std::uint8_t WSP_FIELD_CC = 0x82;
inline constexpr std::uint8_t WSP_FIELD_CONTENT_TYPE = 0x84;
inline constexpr std::uint8_t WSP_FIELD_DATE = 0x85;
inline constexpr std::uint8_t WSP_FIELD_DELIVERY_REPORT = 0x86;
inline constexpr std::uint8_t WSP_FIELD_FROM = 0x89;
inline constexpr std::uint8_t WSP_FIELD_MESSAGE_CLASS = 0x8A;
inline constexpr std::uint8_t WSP_FIELD_MESSAGE_ID = 0x8B;
inline constexpr std::uint8_t WSP_FIELD_MESSAGE_TYPE = 0x8C;
inline constexpr std::uint8_t WSP_FIELD_MMS_VERSION = 0x8D;
inline constexpr std::uint8_t WSP_FIELD_PRIORITY = 0x8F;
inline constexpr std::uint8_t WSP_FIELD_READ_REPLY = 0x90;
inline constexpr std::uint8_t WSP_FIELD_SUBJECT = 0x96;
inline constexpr std::uint8_t WSP_FIELD_TO = 0x97;
inline constexpr std::uint8_t WSP_FIELD_TRANSACTION_ID = 0x98;

// Message types that carry a body: a stored draft or sent message, and a retrieved one.
inline constexpr std::uint8_t WSP_MESSAGE_TYPE_SEND_REQ = 0x80;
inline constexpr std::uint8_t WSP_MESSAGE_TYPE_RETRIEVE_CONF = 0x84;
// The From field's token for "an address follows".
inline constexpr std::uint8_t WSP_FROM_ADDRESS_PRESENT = 0x80;

// Part headers.
inline constexpr std::uint8_t WSP_HEADER_CONTENT_LOCATION = 0x8E;
inline constexpr std::uint8_t WSP_HEADER_CONTENT_ID = 0xC0;

// Content-type parameters (the older and the newer codes of the same parameter alike).
inline constexpr std::uint8_t WSP_PARAM_CHARSET = 0x01;
inline constexpr std::uint8_t WSP_PARAM_NAME_OLD = 0x05;
inline constexpr std::uint8_t WSP_PARAM_FILENAME_OLD = 0x06;
inline constexpr std::uint8_t WSP_PARAM_TYPE = 0x09;
inline constexpr std::uint8_t WSP_PARAM_START_OLD = 0x0A;
inline constexpr std::uint8_t WSP_PARAM_NAME = 0x17;
inline constexpr std::uint8_t WSP_PARAM_FILENAME = 0x18;
inline constexpr std::uint8_t WSP_PARAM_START = 0x19;

// The well-known content type of a message body: application/vnd.wap.multipart.related.
inline constexpr std::uint8_t WSP_TYPE_MULTIPART_RELATED = 0x33;

// Quote bytes: a quoted string, a text that starts with a byte of bit 7, and a length too long
// for one byte (lengths up to WSP_MAX_SHORT_LENGTH stand alone).
inline constexpr std::uint8_t WSP_QUOTED_STRING = 0x22;
inline constexpr std::uint8_t WSP_TEXT_QUOTE = 0x7F;
inline constexpr std::uint8_t WSP_LENGTH_QUOTE = 0x1F;
inline constexpr std::uint32_t WSP_MAX_SHORT_LENGTH = 30;

// A code as a short integer: the one byte with bit 7 set.
constexpr std::uint8_t WspShortInteger(std::uint8_t code) { return static_cast<std::uint8_t>(0x80 | code); }
