// The message inspector: decodes the message files named on the command line and prints, as one
// JSON object per file, their header fields, the parts of the body, and the slides and
// attachments the editor would open. Exits with 1 when a file cannot be read or decoded, or when
// it was cut short or damaged so that some of its entries are lost (what could be read is still
// printed, with "incomplete": true and the counts).
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "mms/MmsDecoder.h"
#include "mms/MmsTrace.h"
#include "mms/SmilParser.h"
#include "mms/SmilView.h"
#include "platform/rtl/Utf8.h"
#include "tools/JsonText.h"

namespace {

std::string Quote(const std::string& text) { return JsonQuote(text); }

std::string Quote(const char* text) { return text ? Quote(std::string(text)) : "null"; }
std::string Quote(const std::u16string& text) { return Quote(platform::Utf16ToUtf8(text)); }

std::string Color(uint32_t color) {
  char text[16];
  std::snprintf(text, sizeof text, "\"#%08X\"", color);
  return text;
}

// The items of a slide list (kept newest first) in document order.
template <typename T>
std::vector<const T*> InOrder(const T* first) {
  std::vector<const T*> items;
  for (; first; first = first->Next) items.insert(items.begin(), first);
  return items;
}

std::string Position(const tSMIL_Position& p) {
  return "\"position\": [" + std::to_string(p.X) + ", " + std::to_string(p.Y) + ", " +
         std::to_string(p.Width) + ", " + std::to_string(p.Height) + "]";
}

template <typename T>
std::string Times(const T& item) {
  return "\"begin\": " + std::to_string(item.Begin) + ", \"end\": " + std::to_string(item.End);
}

template <typename T>
std::string Media(const T& item) {
  return "\"type\": " + Quote(item.Type) + ", \"size\": " + std::to_string(item.Size) + ", " + Times(item);
}

template <typename T, typename F>
void PrintList(const char* name, const T* first, F describe, const char* indent) {
  std::vector<const T*> items = InOrder(first);
  std::printf("%s\"%s\": [", indent, name);
  for (size_t i = 0; i < items.size(); ++i) std::printf("%s{%s}", i ? ", " : "", describe(*items[i]).c_str());
  std::printf("]");
}

void PrintParts(const tMMS_Body& body) {
  std::printf("  \"parts\": [\n");
  bool first = true;
  if (body.Smil) {
    std::printf("    {\"smil\": true, \"type\": %s, \"size\": %d}", Quote(body.Smil->ContentType).c_str(),
                body.Smil->Len);
    first = false;
  }
  for (const tMMS_Part* p = body.Parts; p; p = p->Next) {
    std::printf("%s    {\"type\": %s, \"name\": %s, \"location\": %s, \"id\": %s, ", first ? "" : ",\n",
                Quote(p->ContentType).c_str(), Quote(p->Name).c_str(), Quote(p->ContentLocation).c_str(),
                Quote(p->ContentID).c_str());
    if (p->HasCharset) std::printf("\"charset\": %d, ", p->Charset);
    std::printf("\"size\": %d}", p->Len);
    first = false;
  }
  std::printf("\n  ],\n");
}

void PrintView() {
  const tSMIL_ViewStruct& view = SmilGetView();
  std::printf("  \"layout\": {\"width\": %d, \"height\": %d", view.Width, view.Height);
  if (view.HasBgColor) std::printf(", \"background\": %s", Color(view.bgColor).c_str());
  std::printf("},\n  \"slides\": [");
  int index = 0;
  for (const tSMIL_Par* par = SmilGetFirstPar(); par; par = par->Next, ++index) {
    std::printf("%s\n    {\"dur\": %d", index ? "," : "", par->Dur);
    if (par->HasBgColor) std::printf(", \"background\": %s", Color(par->bgColor).c_str());
    if (par->HasForeColor) std::printf(", \"foreground\": %s", Color(par->foreColor).c_str());
    std::printf(",\n");
    PrintList(
        "texts", par->Texts,
        [](const tSMIL_Text& t) {
          return "\"text\": " + Quote(t.Content) + ", " + Times(t) + ", " + Position(t.Position);
        },
        "     ");
    std::printf(",\n");
    PrintList(
        "images", par->Images, [](const tSMIL_Img& i) { return Media(i) + ", " + Position(i.Position); },
        "     ");
    std::printf(",\n");
    PrintList(
        "audios", par->Audios, [](const tSMIL_Audio& a) { return Media(a); }, "     ");
    std::printf(",\n");
    PrintList(
        "videos", par->Videos, [](const tSMIL_Video& v) { return Media(v) + ", " + Position(v.Position); },
        "     ");
    std::printf("}");
  }
  std::printf("%s],\n  \"attachments\": [", index ? "\n  " : "");
  bool first = true;
  for (const tSMIL_Attachment* a = view.Attachments; a; a = a->Next) {
    std::printf("%s\n    {\"name\": %s, \"fileName\": %s, \"type\": %s, \"size\": %d}", first ? "" : ",",
                Quote(a->Name).c_str(), Quote(a->FileName).c_str(), Quote(a->Type).c_str(), a->Size);
    first = false;
  }
  std::printf("%s]\n", first ? "" : "\n  ");
}

bool Inspect(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  std::printf("{\n  \"file\": %s,\n", Quote(path).c_str());
  if (!file.good() && !file.eof()) {
    std::printf("  \"error\": \"cannot read the file\"\n}\n");
    return false;
  }
  int length = static_cast<int>(bytes.size());
  tMMS_RetrieveConf* pdu = MmsDecodeHeaders(bytes.data(), length);
  if (!pdu || pdu->Body.empty()) {
    bool notification = MmsMessageType(bytes.data(), length) == MMS_MESSAGE_TYPE_NOTIFICATION_IND;
    std::printf("  \"error\": \"%s\"\n}\n", notification ? "the file is a notification and holds no message"
                                                         : "the header fields do not decode");
    MmsPduFree(pdu, MMS_PDU_RETRIEVE_CONF);
    return false;
  }
  std::printf(
      "  \"subject\": %s,\n  \"from\": %s,\n  \"to\": %s,\n  \"cc\": %s,\n  \"bcc\": %s,\n  \"date\": %lld,\n"
      "  \"bodyLength\": %d,\n",
      pdu->Subject ? Quote(*pdu->Subject).c_str() : "null", Quote(pdu->From).c_str(), Quote(pdu->To).c_str(),
      Quote(pdu->Cc).c_str(), Quote(pdu->Bcc).c_str(), static_cast<long long>(pdu->Date), pdu->BodyLen);
  bool ok = false;
  bool incomplete = false;
  if (tMMS_Body* body = MmsDecodeMultipart(pdu->Body.data(), pdu->BodyLen)) {
    PrintParts(*body);
    incomplete = body->Incomplete != 0;
    std::printf("  \"incomplete\": %s,\n  \"entriesDeclared\": %d,\n  \"entriesDecoded\": %d,\n",
                incomplete ? "true" : "false", body->EntriesDeclared, body->EntriesDecoded);
    MmsFreeDecodedBody(body);
    ok = MmsParseBody(pdu->Body.data(), pdu->BodyLen) == 1;
  }
  if (ok) {
    PrintView();
  } else {
    std::printf("  \"error\": \"the body does not decode\"\n");
  }
  std::printf("}\n");
  MmsFreeParsedBody();
  MmsPduFree(pdu, MMS_PDU_RETRIEVE_CONF);
  return ok && !incomplete;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: mmsinfo FILE...\n");
    return 2;
  }
  MmsSetTrace(false);
  bool ok = true;
  for (int i = 1; i < argc; ++i) ok = Inspect(argv[i]) && ok;
  return ok ? 0 : 1;
}
