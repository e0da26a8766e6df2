// The codec's two fixed content-type tables. The WSP well-known content types let the file writer
// encode a part's type in one byte and the reader turn that byte back into a name; the part-type
// table names every part of a composed message after its content type and slide, so that the SMIL
// presentation and the multipart body refer to each part by the same name.
#pragma once

#include <cstddef>

inline constexpr int WSP_CONTENT_TYPE_COUNT = 53;
// What WspContentTypeCode answers for a name outside the well-known table.
inline constexpr int WSP_CONTENT_TYPE_UNKNOWN = 255;
inline constexpr int MMS_PART_TYPE_COUNT = 11;
// Size of the buffer MmsPartFileName writes into, terminator included; every name fits.
inline constexpr std::size_t MMS_PART_NAME_SIZE = 30;

// Position in the table = well-known code (0x00 to 0x34). The texts are kept exactly as the
// codec has always written and read them, spellings and capitals included; 0x21 is
// "image/vnd.wap.wbmp", as every other reader has it ("image/bmp" has no code and travels as text).
extern const char* const WspContentTypeTable[WSP_CONTENT_TYPE_COUNT];

struct tMMS_PartType {
  const char* ContentType;
  const char* NameFormat;  // printf format, %d is the 0-based slide index
};
extern const tMMS_PartType MmsPartTypeTable[MMS_PART_TYPE_COUNT];

// Code 0 to 52 of a name (exact, case-sensitive comparison), or WSP_CONTENT_TYPE_UNKNOWN; a missing
// name is unknown too.
int WspContentTypeCode(const char* name);
// The same for a name of `length` bytes (no terminator needed).
int WspContentTypeCode(const char* name, std::size_t length);

// A new malloc block (at least 50 bytes, the caller frees it) holding the name of a code 0 to 52;
// nullptr for any other code or when memory runs out.
char* WspContentTypeName(int code);

// Writes the part name of (slide index, content type) into `out`, which must hold
// MMS_PART_NAME_SIZE bytes, and answers its length. The type is matched case-insensitively (MIME
// types are); a type outside the part-type table gets a name of its own, "Part<index>" with its
// sanitised type, so that no part is ever nameless. Answers 0 and writes nothing when `out` or
// the type is missing.
int MmsPartFileName(char* out, int slideIndex, const char* contentType);
