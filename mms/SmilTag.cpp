#include "mms/SmilTag.h"

#include <cctype>
#include <cstring>

#include "mms/MmsText.h"

namespace {

const char* inputPos = nullptr;
size_t inputLeft = 0;

const char* const SmilTagTable[] = {"smil",        "head", "body", "layout", "meta", "par",   "region",
                                    "root-layout", "text", "img",  "audio",  "ref",  "video", "param"};

bool IsBlank(char ch) { return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n'; }

}  // namespace

tSMIL_Tag::~tSMIL_Tag() {
  while (Attrs) {
    tSMIL_Attr* next = Attrs->Next;
    delete Attrs;
    Attrs = next;
  }
}

const std::string* tSMIL_Tag::Attr(const char* name) const {
  for (const tSMIL_Attr* attr = Attrs; attr; attr = attr->Next) {
    if (MmsSameTextNoCase(attr->Name, name)) return &attr->Value;
  }
  return nullptr;
}

int SmilSetInput(const char* text, int length) {
  inputPos = nullptr;
  inputLeft = 0;
  if (!text || length <= 0) return 0;
  if (std::memchr(text, 0, static_cast<size_t>(length))) return 0;
  inputPos = text;
  inputLeft = static_cast<size_t>(length);
  return 1;
}

int SmilReadChar(char* out) {
  if (inputLeft == 0) return 0;
  *out = *inputPos++;
  --inputLeft;
  return 1;
}

std::optional<std::string> SmilReadTag() {
  char ch;
  do {
    if (!SmilReadChar(&ch)) return std::nullopt;
  } while (ch != '<');
  std::string tag(1, ch);
  while (SmilReadChar(&ch)) {
    tag.push_back(ch);
    if (ch == '>') return tag;
  }
  return std::nullopt;
}

tSMIL_Attr* SmilParseAttr(const char*& cursor) {
  const char* p = cursor;
  while (IsBlank(*p)) ++p;
  if (*p == '\0' || *p == '/' || *p == '=' || *p == '>') return nullptr;
  const char* nameStart = p;
  while (!IsBlank(*p) && *p != '=') {
    if (*p == '\0' || *p == '>' || (p[0] == '/' && p[1] == '>')) return nullptr;
    ++p;
  }
  std::string name(nameStart, p);
  while (*p != '"' && *p != '\'') {
    if (*p == '\0' || *p == '>') return nullptr;
    ++p;
  }
  char quote = *p++;
  const char* valueStart = p;
  while (*p != quote) {
    if (*p == '\0' || *p == '>' || (p[0] == '/' && p[1] == '>')) return nullptr;
    ++p;
  }
  tSMIL_Attr* attr = new tSMIL_Attr;
  attr->Name = std::move(name);
  attr->Value.assign(valueStart, p);
  cursor = p + 1;
  return attr;
}

std::unique_ptr<tSMIL_Tag> SmilParseTag(const std::string& text) {
  const char* p = text.c_str();
  if (p[0] != '<' || p[1] == '?' || p[1] == '!') return nullptr;
  auto tag = std::make_unique<tSMIL_Tag>();
  ++p;
  if (*p == '/') {
    tag->Kind = SMIL_TAG_CLOSE;
    ++p;
  }
  while (IsBlank(*p)) ++p;
  const char* nameStart = p;
  while (*p != '\0' && *p != '>' && !IsBlank(*p)) ++p;
  tag->Name.assign(nameStart, p);
  if (*p == '\0') return nullptr;
  if (*p == '>') {
    if (p > text.c_str() && p[-1] == '/') tag->Kind = SMIL_TAG_EMPTY;
    return tag;
  }
  while (tSMIL_Attr* attr = SmilParseAttr(p)) {
    attr->Next = tag->Attrs;
    tag->Attrs = attr;
  }
  const char* close = std::strchr(p, '>');
  if (!close) return nullptr;
  if (close[-1] == '/') tag->Kind = SMIL_TAG_EMPTY;
  return tag;
}

int SmilTagId(const std::string& name) {
  for (int id = 0; id < static_cast<int>(sizeof SmilTagTable / sizeof SmilTagTable[0]); ++id) {
    if (MmsSameTextNoCase(name, SmilTagTable[id])) return id;
  }
  return SMIL_TAG_UNKNOWN;
}
