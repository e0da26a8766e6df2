// The SMIL parser's tag reader: a small hand-written reader for the SMIL that phones send. It
// reads tags only (text between tags is skipped) from an input set once per parse, and splits a
// tag into its kind, name and attributes. Values may be in double or single quotes.
#pragma once

#include <memory>
#include <optional>
#include <string>

inline constexpr int SMIL_TAG_OPEN = 1;
inline constexpr int SMIL_TAG_CLOSE = 2;  // a name after "</"
inline constexpr int SMIL_TAG_EMPTY = 3;  // ending in "/>"

struct tSMIL_Attr {
  std::string Name;
  std::string Value;  // "" for an empty value
  tSMIL_Attr* Next = nullptr;
};

struct tSMIL_Tag {
  int Kind = SMIL_TAG_OPEN;
  std::string Name;
  tSMIL_Attr* Attrs = nullptr;  // owned; the last attribute of the tag first

  tSMIL_Tag() = default;
  tSMIL_Tag(const tSMIL_Tag&) = delete;
  tSMIL_Tag& operator=(const tSMIL_Tag&) = delete;
  ~tSMIL_Tag();

  // The value of the first attribute in the list (the last in the tag) named `name`, ignoring
  // case; none when the tag has no such attribute.
  const std::string* Attr(const char* name) const;
};

// Element ids of the tag table; any other name is SMIL_TAG_UNKNOWN.
enum {
  SMIL_TAG_UNKNOWN = -1,
  SMIL_ID_SMIL = 0,
  SMIL_ID_HEAD,
  SMIL_ID_BODY,
  SMIL_ID_LAYOUT,
  SMIL_ID_META,
  SMIL_ID_PAR,
  SMIL_ID_REGION,
  SMIL_ID_ROOT_LAYOUT,
  SMIL_ID_TEXT,
  SMIL_ID_IMG,
  SMIL_ID_AUDIO,
  SMIL_ID_REF,
  SMIL_ID_VIDEO,
  SMIL_ID_PARAM,
};

// Sets the input of the next parse: 1 when the text is present, the length positive and none of
// its bytes a NUL; else 0 and the input is empty.
int SmilSetInput(const char* text, int length);
// 1 with the next byte of the input, 0 at its end.
int SmilReadChar(char* out);
// The next tag from "<" to the next ">" inclusive; none at the end of the input (a tag cut off
// by the end is dropped).
std::optional<std::string> SmilReadTag();
// None for a text that is no tag: declarations and comments ("<?", "<!") and tags without ">".
std::unique_ptr<tSMIL_Tag> SmilParseTag(const std::string& text);
// The attribute at `cursor` (a NUL-terminated tag text), the cursor moved past its value's
// closing quote; none when there is no further well-formed attribute.
tSMIL_Attr* SmilParseAttr(const char*& cursor);
int SmilTagId(const std::string& name);
