// The SMIL parser and the entry by which the editor opens the body of a stored message:
// MmsParseBody decodes the multipart, parses its SMIL part into the slide view and turns the parts
// no SMIL element references into attachments; without a SMIL part, or when the SMIL does not
// parse, every part becomes an attachment. The decoded body owns copies of the parts' bytes, so the
// view stays valid whatever the caller does with the bytes it passed.
#pragma once

#include <cstdint>
#include <string>

#include "mms/MmsBody.h"

// 1 when the view holds the message, 0 when the body cannot be decoded.
int MmsParseBody(const uint8_t* bytes, int length);
// The body MmsParseBody decoded, with its entry counts (Incomplete set when the message was cut
// short or damaged and some of its entries are lost); none before a parse or after a failed one.
const tMMS_Body* MmsGetParsedBody();
// Releases the view and the decoded body with the data they point into; the next MmsParseBody
// starts with it too. Safe to call any number of times.
void MmsFreeParsedBody();

// Parses the body's SMIL part into the view and adds the attachments; 1 or 0.
int SmilParserSmilMMS(tMMS_Body* body);

// The element readers over the input of SmilSetInput; each answers 1 or 0.
int SmilParseSmil();
int SmilParseHead();
int SmilParseLayout();
int SmilParseBody();
int SmilParsePar();
int SmilParseText();

// A SMIL time in ms, clamped to 0..INT_MAX: clock values ("00:00:05", "0:05.5") and timecounts
// with a fraction and a metric ("1.5s", "2min", "1h", "500ms"); a bare number is ms.
int SmilParseTime(const std::string& value);
// A colour: "#" and up to 8 hexadecimal digits, or one of the sixteen names (any case);
// 0xFFFFFFFF for anything else.
uint32_t SmilParseColor(const std::string& text);
