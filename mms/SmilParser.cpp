#include "mms/SmilParser.h"

#include <cctype>
#include <climits>
#include <cstring>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "mms/MmsDecoder.h"
#include "mms/MmsText.h"
#include "mms/MmsTrace.h"
#include "mms/SmilTag.h"
#include "mms/SmilView.h"
#include "mms/TMmsFrame.h"
#include "mms/TMmsLayout.h"

namespace {

// The message MmsParseBody opened: the body decoded from its bytes, which owns the data the view
// points into.
tMMS_Body* parsedBody = nullptr;

// The last body element read by SmilParseSmil: 1 when it parsed.
int lastBodyResult = 0;

// Items of the slide being read whose src named no part of the message, and were left out.
int itemsLeftOut = 0;

// The duration of a slide made of one item directly under the body, when the item gives none.
constexpr int DEFAULT_SLIDE_DUR = TMmsFrame::kDefaultDur;

constexpr int64_t MS_PER_SECOND = 1000;
constexpr int64_t MS_PER_MINUTE = 60 * MS_PER_SECOND;
constexpr int64_t MS_PER_HOUR = 60 * MS_PER_MINUTE;
// Beyond this every time is clamped anyway; keeps the arithmetic far from overflow.
constexpr int64_t TIME_NUMBER_LIMIT = INT_MAX;

struct NamedColor {
  const char* Name;
  uint32_t Value;
};
const NamedColor SmilColorTable[] = {
    {"AQUA", 0xFF00FFFF},  {"BLUE", 0xFF0000FF},    {"GRAY", 0xFF808080},   {"LIME", 0xFF00FF00},
    {"NAVY", 0xFF000080},  {"PURPLE", 0xFF800080},  {"SILVER", 0xFFC0C0C0}, {"YELLOW", 0xFFFFFF00},
    {"BLACK", 0xFF000000}, {"FUCHSIA", 0xFFFF00FF}, {"GREEN", 0xFF008000},  {"MAROON", 0xFF800000},
    {"OLIVE", 0xFF808000}, {"RED", 0xFFFF0000},     {"TEAL", 0xFF008080},   {"WHITE", 0xFFFFFFFF},
};
constexpr uint32_t UNKNOWN_COLOR = 0xFFFFFFFF;

bool IsDigit(char ch) { return ch >= '0' && ch <= '9'; }

// Digits at `p` as a number that stops growing at TIME_NUMBER_LIMIT.
int64_t ReadDigits(const char*& p) {
  int64_t value = 0;
  for (; IsDigit(*p); ++p) {
    if (value < TIME_NUMBER_LIMIT) value = value * 10 + (*p - '0');
  }
  return value;
}

// A fraction after its "." as `unit` parts: ".5" of 1000 is 500.
int64_t ReadFraction(const char*& p, int64_t unit) {
  int64_t numerator = 0;
  int64_t denominator = 1;
  for (; IsDigit(*p); ++p) {
    if (denominator < 1000000000) {
      numerator = numerator * 10 + (*p - '0');
      denominator *= 10;
    }
  }
  return numerator * unit / denominator;
}

int ClampToInt(int64_t value) {
  if (value < 0) return 0;
  return value > INT_MAX ? INT_MAX : static_cast<int>(value);
}

// The leading integer of a text as atol reads it, saturated to the int range.
int LeadingInt(const std::string& text) {
  const char* p = text.c_str();
  while (std::isspace(static_cast<unsigned char>(*p))) ++p;
  bool negative = *p == '-';
  if (*p == '-' || *p == '+') ++p;
  int64_t value = ReadDigits(p);
  if (negative) value = -value;
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

// A full or partial clock value ("h:mm:ss.f", "mm:ss.f"); none when the number at `p` is not
// followed by a ":" (then it is a timecount, whatever else the text holds).
std::optional<int64_t> ClockValue(const char* p) {
  int64_t fields[3] = {0, 0, 0};
  int count = 0;
  int64_t fraction = 0;
  while (true) {
    if (count == 3) return 0;
    fields[count++] = ReadDigits(p);
    if (*p == ':') {
      ++p;
      continue;
    }
    if (*p == '.') {
      ++p;
      fraction = ReadFraction(p, MS_PER_SECOND);
    }
    break;
  }
  if (count < 2) return std::nullopt;
  int64_t hours = count == 3 ? fields[0] : 0;
  int64_t minutes = fields[count - 2];
  int64_t seconds = fields[count - 1];
  return hours * MS_PER_HOUR + minutes * MS_PER_MINUTE + seconds * MS_PER_SECOND + fraction;
}

// Times of older senders: "ms" or "MS" anywhere means ms, else an "s" anywhere means seconds.
int64_t LooseUnit(const std::string& value) {
  if (value.find("ms") != std::string::npos || value.find("MS") != std::string::npos) return 1;
  if (value.find_first_of("sS") != std::string::npos) return MS_PER_SECOND;
  return 1;
}

int64_t TimecountUnit(const std::string& metric, const std::string& value) {
  if (metric == "ms" || metric == "MS") return 1;
  if (metric == "s" || metric == "S") return MS_PER_SECOND;
  if (metric == "min") return MS_PER_MINUTE;
  if (metric == "h") return MS_PER_HOUR;
  return LooseUnit(value);
}

void TraceSmilPieces(const tMMS_SmilPart& smil) {
  if (!MmsTraceOn()) return;
  MmsTrace("SMIL BEGIN len:%d\n", smil.Len);
  for (int offset = 0; offset < smil.Len; offset += 50) {
    int piece = smil.Len - offset < 50 ? smil.Len - offset : 50;
    MmsTrace("%.*s", piece, reinterpret_cast<const char*>(smil.Data) + offset);
  }
  MmsTrace("SMIL END\n");
}

void ResetIsSmil(tMMS_Part* part) {
  for (; part; part = part->Next) part->IsSmil = 0;
}

// A length attribute: its leading integer, and whether it is a percentage ("50%") or pixels
// ("50", "50px").
void ReadLength(const tSMIL_Tag& tag, const char* name, int& value, unsigned char& percent) {
  const std::string* v = tag.Attr(name);
  if (!v) return;
  value = LeadingInt(*v);
  percent = v->find('%') != std::string::npos ? 1 : 0;
}

void ReadRegion(const tSMIL_Tag& tag) {
  auto region = new tSMIL_Region;
  if (const std::string* v = tag.Attr("id")) region->Id = *v;
  if (const std::string* v = tag.Attr("fit")) region->Fit = *v;
  ReadLength(tag, "left", region->Left, region->LeftPercent);
  ReadLength(tag, "top", region->Top, region->TopPercent);
  ReadLength(tag, "height", region->Height, region->HeightPercent);
  ReadLength(tag, "width", region->Width, region->WidthPercent);
  SmilAddRegion(region);
}

// A root-layout size in percent is a share of the page the editor makes.
int RootLength(int value, unsigned char percent) {
  if (!percent) return value;
  return ClampToInt(int64_t{value} * TMmsLayout::kDefaultPageSize / 100);
}

void ReadRootLayout(const tSMIL_Tag& tag) {
  const tSMIL_ViewStruct& view = SmilGetView();
  int width = view.Width;
  int height = view.Height;
  unsigned char widthPercent = 0;
  unsigned char heightPercent = 0;
  ReadLength(tag, "width", width, widthPercent);
  ReadLength(tag, "height", height, heightPercent);
  width = RootLength(width, widthPercent);
  height = RootLength(height, heightPercent);
  SmilSetSize(width, height);
  const std::string* color = tag.Attr("background-color");
  if (!color) color = tag.Attr("backgroundcolor");
  if (color) {
    MmsTrace("pAttr->Value:%s", color->c_str());
    SmilSetBackground(SmilParseColor(*color));
    MmsTrace("tSMIL_ViewStruct.bgColor:%x", SmilGetView().bgColor);
  }
}

// A param's value when its name is `name` (ignoring case) and it has a value.
const std::string* ParamValue(const tSMIL_Tag& tag, const char* name) {
  MmsTrace("entry param");
  const std::string* paramName = tag.Attr("name");
  const std::string* value = tag.Attr("value");
  if (!paramName || !value || !MmsSameTextNoCase(*paramName, name)) return nullptr;
  return value;
}

template <typename T>
void ReadTimes(const tSMIL_Tag& tag, T& item) {
  if (const std::string* v = tag.Attr("begin")) item.Begin = SmilParseTime(*v);
  if (const std::string* v = tag.Attr("end")) item.End = SmilParseTime(*v);
}

template <typename T>
void ReadRegionPosition(const tSMIL_Tag& tag, T& item) {
  if (const std::string* v = tag.Attr("region")) SmilGetRegionPosition(&item.Position, *v);
}

// False (and counted) when a src names no part: a sender that dropped one part of a message
// costs that item only, not the slide or the whole presentation.
bool SourcePresent(const std::string& src) {
  if (SmilNamesPart(src)) return true;
  MmsTrace("SmilParsePar: no part for src %s; the item is left out\n", src.c_str());
  ++itemsLeftOut;
  return false;
}

// One media element of a slide. An element without a source, or whose source names no part, is
// left out and the parse goes on.
template <typename T>
int ReadMedia(const tSMIL_Tag& tag, int (*setSrc)(T*, const std::string&), int (*add)(T*), bool hasRegion,
              const char* addError) {
  const std::string* src = tag.Attr("src");
  if (!src || src->empty() || !SourcePresent(*src)) return 1;
  auto item = std::make_unique<T>();
  if (!setSrc(item.get(), *src)) return 0;
  if constexpr (requires { item->Position; }) {
    if (hasRegion) ReadRegionPosition(tag, *item);
  }
  ReadTimes(tag, *item);
  if (!add(item.get())) {
    if (addError) MmsTrace("%s", addError);
    return 0;
  }
  item.release();
  return 1;
}

int ReadText(const tSMIL_Tag& tag) {
  const std::string* src = tag.Attr("src");
  if (src && !src->empty() && SourcePresent(*src)) {
    auto text = std::make_unique<tSMIL_Text>();
    if (!SmilSetTextSrc(text.get(), *src)) return 0;
    ReadRegionPosition(tag, *text);
    ReadTimes(tag, *text);
    if (!SmilAddText(text.get())) return 0;
    text.release();
  }
  if (tag.Kind == SMIL_TAG_OPEN && !SmilParseText()) {
    MmsTrace("SmilParseText error");
    return 0;
  }
  return 1;
}

bool IsMediaElement(int id) {
  return id == SMIL_ID_TEXT || id == SMIL_ID_IMG || id == SMIL_ID_AUDIO || id == SMIL_ID_VIDEO;
}

// An item of the current slide by its element id; other elements are ignored. 0 fails the parse.
int ReadItem(int id, const tSMIL_Tag& tag) {
  switch (id) {
    case SMIL_ID_TEXT:
      return ReadText(tag);
    case SMIL_ID_IMG:
      return ReadMedia<tSMIL_Img>(tag, SmilSetImgSrc, SmilAddImg, true, "SmilAddImg error");
    case SMIL_ID_AUDIO:
      return ReadMedia<tSMIL_Audio>(tag, SmilSetAudioSrc, SmilAddAudio, false, nullptr);
    case SMIL_ID_VIDEO:
      return ReadMedia<tSMIL_Video>(tag, SmilSetVideoSrc, SmilAddVideo, true, nullptr);
    default:
      return 1;
  }
}

// A media element directly under the body: the body is a sequence, so the element is a slide of
// its own, lasting its dur (else the default slide duration). A slide that ends up empty is
// dropped.
int ReadBareItem(int id, const tSMIL_Tag& tag) {
  auto par = new tSMIL_Par;
  const std::string* dur = tag.Attr("dur");
  par->Dur = dur ? SmilParseTime(*dur) : DEFAULT_SLIDE_DUR;
  SmilAddPar(par);
  if (!ReadItem(id, tag)) return 0;
  if (!SmilParHasItems(*par)) SmilDropLastPar();
  return 1;
}

}  // namespace

int SmilParseTime(const std::string& value) {
  const char* p = value.c_str();
  while (std::isspace(static_cast<unsigned char>(*p))) ++p;
  bool negative = *p == '-';
  if (*p == '-' || *p == '+') ++p;
  int64_t ms;
  if (std::optional<int64_t> clock = ClockValue(p)) {
    ms = *clock;
  } else {
    int64_t whole = ReadDigits(p);
    const char* fractionStart = nullptr;
    if (*p == '.') {
      fractionStart = ++p;
      ReadDigits(p);
    }
    std::string metric(p);
    metric.erase(0, metric.find_first_not_of(" \t\r\n"));
    metric.erase(metric.find_last_not_of(" \t\r\n") + 1);
    int64_t unit = TimecountUnit(metric, value);
    ms = whole * unit;
    if (fractionStart) ms += ReadFraction(fractionStart, unit);
  }
  return negative ? 0 : ClampToInt(ms);
}

uint32_t SmilParseColor(const std::string& text) {
  if (!text.empty() && text[0] == '#') {
    size_t digits = 0;
    while (digits < 8 && 1 + digits < text.size() &&
           std::isxdigit(static_cast<unsigned char>(text[1 + digits])))
      ++digits;
    if (digits == 0) return UNKNOWN_COLOR;
    uint32_t value = 0;
    uint32_t weight = 1;
    for (size_t i = 0; i < digits; ++i) {
      char ch = text[digits - i];
      uint32_t digit = IsDigit(ch) ? ch - '0' : (std::tolower(static_cast<unsigned char>(ch)) - 'a' + 10);
      MmsTrace("strColor[len-i-1]:%c", ch);
      MmsTrace("chr:%d", static_cast<int>(digit));
      value += digit * weight;
      weight <<= 4;
    }
    return value;
  }
  for (const NamedColor& color : SmilColorTable) {
    if (MmsSameTextNoCase(text, color.Name)) return color.Value;
  }
  return UNKNOWN_COLOR;
}

int SmilParseText() {
  while (std::optional<std::string> text = SmilReadTag()) {
    std::unique_ptr<tSMIL_Tag> tag = SmilParseTag(*text);
    if (!tag) continue;
    int id = SmilTagId(tag->Name);
    if (id == SMIL_ID_TEXT) return 1;
    if (id != SMIL_ID_PARAM) continue;
    const std::string* value = ParamValue(*tag, "foreground-color");
    tSMIL_Par* par = SmilGetView().CurPar;
    if (!value || !par) continue;
    MmsTrace("paramValue:%s", value->c_str());
    par->HasForeColor = 1;
    par->foreColor = SmilParseColor(*value);
    MmsTrace("tSMIL_ViewStruct.CurPar->foreColor:%x", par->foreColor);
  }
  return 0;
}

int SmilParsePar() {
  while (std::optional<std::string> text = SmilReadTag()) {
    std::unique_ptr<tSMIL_Tag> tag = SmilParseTag(*text);
    if (!tag) continue;
    int id = SmilTagId(tag->Name);
    if (id == SMIL_ID_PAR) return 1;
    if (id == SMIL_ID_PARAM) {
      const std::string* value = ParamValue(*tag, "background-color");
      tSMIL_Par* par = SmilGetView().CurPar;
      if (!value || !par) continue;
      MmsTrace("paramValue:%s", value->c_str());
      par->HasBgColor = 1;
      par->bgColor = SmilParseColor(*value);
      MmsTrace("tSMIL_ViewStruct.CurPar->bgColor:%x", par->bgColor);
      continue;
    }
    if (!tag->Attrs) continue;
    if (!ReadItem(id, *tag)) return 0;
  }
  return 0;
}

int SmilParseBody() {
  while (std::optional<std::string> text = SmilReadTag()) {
    std::unique_ptr<tSMIL_Tag> tag = SmilParseTag(*text);
    if (!tag) continue;
    int id = SmilTagId(tag->Name);
    if (id == SMIL_ID_BODY) return 1;
    if (IsMediaElement(id) && tag->Attrs && tag->Kind != SMIL_TAG_CLOSE) {
      if (!ReadBareItem(id, *tag)) return 0;
      continue;
    }
    if (id != SMIL_ID_PAR || tag->Kind != SMIL_TAG_OPEN) continue;
    auto par = new tSMIL_Par;
    if (const std::string* dur = tag->Attr("dur")) par->Dur = SmilParseTime(*dur);
    SmilAddPar(par);
    itemsLeftOut = 0;
    if (!SmilParsePar()) {
      MmsTrace("SmilParsePar error");
      return 0;
    }
    // A slide whose items all named missing parts shows nothing: it is dropped. A slide that
    // never held an item stays as the sender wrote it.
    if (itemsLeftOut && !SmilParHasItems(*par)) SmilDropLastPar();
  }
  return 0;
}

int SmilParseLayout() {
  while (std::optional<std::string> text = SmilReadTag()) {
    std::unique_ptr<tSMIL_Tag> tag = SmilParseTag(*text);
    if (!tag) continue;
    int id = SmilTagId(tag->Name);
    if (id == SMIL_ID_LAYOUT && tag->Kind == SMIL_TAG_CLOSE) return 1;
    if (tag->Kind == SMIL_TAG_CLOSE) continue;
    if (id == SMIL_ID_REGION) ReadRegion(*tag);
    if (id == SMIL_ID_ROOT_LAYOUT) ReadRootLayout(*tag);
  }
  return 0;
}

int SmilParseHead() {
  while (std::optional<std::string> text = SmilReadTag()) {
    std::unique_ptr<tSMIL_Tag> tag = SmilParseTag(*text);
    if (!tag) continue;
    int id = SmilTagId(tag->Name);
    if (id == SMIL_ID_HEAD) return 1;
    if (id == SMIL_ID_BODY && tag->Kind == SMIL_TAG_OPEN) {
      // A body misplaced inside the head is still the message's body: its failure fails the parse.
      lastBodyResult = SmilParseBody();
      if (!lastBodyResult) return 0;
    } else if (id == SMIL_ID_LAYOUT && tag->Kind == SMIL_TAG_OPEN) {
      SmilParseLayout();
    }
  }
  return 1;
}

int SmilParseSmil() {
  MmsTrace("\nentry SmilParseSmil\n");
  bool seenSmil = false;
  lastBodyResult = 0;
  while (std::optional<std::string> text = SmilReadTag()) {
    MmsTrace("Get one tag : %s\n", text->c_str());
    std::unique_ptr<tSMIL_Tag> tag = SmilParseTag(*text);
    if (!tag) continue;
    switch (SmilTagId(tag->Name)) {
      case SMIL_ID_SMIL:
        MmsTrace("Id is smil \n");
        if (seenSmil) return 1;
        seenSmil = true;
        break;
      case SMIL_ID_HEAD:
        MmsTrace("Id is head\n");
        if (tag->Kind == SMIL_TAG_OPEN && !SmilParseHead()) return 0;
        break;
      case SMIL_ID_BODY:
        MmsTrace("Id is body\n");
        if (tag->Kind == SMIL_TAG_OPEN) {
          lastBodyResult = SmilParseBody();
          if (!lastBodyResult) return 0;
        } else if (tag->Kind == SMIL_TAG_EMPTY) {
          lastBodyResult = 1;
        }
        break;
      default:
        break;
    }
  }
  return lastBodyResult;
}

int SmilParserSmilMMS(tMMS_Body* body) {
  MmsTrace("entry SmilParserSmilMMS");
  if (!body || !body->Smil) return 0;
  SmilSetParts(body->Parts);
  TraceSmilPieces(*body->Smil);
  SmilSetInput(reinterpret_cast<const char*>(body->Smil->Data), body->Smil->Len);
  if (!SmilParseSmil()) {
    MmsTrace("SmilParseSmil error");
    return 0;
  }
  if (SmilParserNoSmilMMS(body->Parts) == 1) {
    MmsTrace("SmilParserNoSmilMMS return TRUE");
    return 1;
  }
  MmsTrace("SmilParserNoSmilMMS return FALSE");
  return 0;
}

const tMMS_Body* MmsGetParsedBody() { return parsedBody; }

void MmsFreeParsedBody() {
  SmilFreeViewStruct();
  SmilSetParts(nullptr);
  SmilSetInput(nullptr, 0);
  MmsFreeDecodedBody(parsedBody);
  parsedBody = nullptr;
}

int MmsParseBody(const uint8_t* bytes, int length) {
  if (!bytes || length <= 0) return 0;
  // Decoded before the previous message is released: the bytes may be that message's own.
  tMMS_Body* body = MmsDecodeMultipart(bytes, length);
  MmsFreeParsedBody();
  parsedBody = body;
  if (!parsedBody) return 0;
  SmilSetParts(parsedBody->Parts);
  SmilInitViewStruct();
  ResetIsSmil(parsedBody->Parts);
  if (!parsedBody->Smil) return SmilParserNoSmilMMS(parsedBody->Parts) != 0 ? 1 : 0;
  if (SmilParserSmilMMS(parsedBody) == 1) return 1;
  SmilFreeViewStruct();
  SmilInitViewStruct();
  // Parts the failed parse had already referenced are no slide now: they must not vanish.
  ResetIsSmil(parsedBody->Parts);
  return SmilParserNoSmilMMS(parsedBody->Parts) == 1 ? 1 : 0;
}
