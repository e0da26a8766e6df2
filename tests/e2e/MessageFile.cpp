#include "tests/e2e/MessageFile.h"

#include <cstdlib>
#include <fstream>
#include <iterator>

#include "editor/TfrmMain.h"
#include "mms/MmsBody.h"
#include "mms/MmsComposer.h"
#include "mms/MmsDecoder.h"
#include "mms/MmsEncoder.h"

namespace e2e {

std::string MessageFile::TypeOf(const std::string& name) const {
  const MessagePart* part = Part(name);
  return part ? part->type : std::string();
}

const MessagePart* MessageFile::Part(const std::string& name) const {
  for (const MessagePart& p : parts)
    if (p.name == name) return &p;
  return nullptr;
}

MessageFile ReadMessageFile(const std::string& path) {
  MessageFile out;
  std::ifstream in(path, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), {});
  if (bytes.empty()) return out;
  tMMS_RetrieveConf* record =
      MmsDecodeHeaders(reinterpret_cast<const uint8_t*>(bytes.data()), int(bytes.size()));
  if (!record) return out;
  if (tMMS_Body* body = MmsDecodeMultipart(record->Body.data(), int(record->Body.size()))) {
    out.read = true;
    if (body->Smil) out.smil.assign(body->Smil->Data, size_t(body->Smil->Len));
    for (tMMS_Part* p = body->Parts; p; p = p->Next) {
      const char* name = p->ContentLocation ? p->ContentLocation : p->Name ? p->Name : "";
      out.parts.push_back({name, p->ContentType ? p->ContentType : "",
                           std::string(reinterpret_cast<const char*>(p->Data), size_t(p->Len))});
    }
    MmsFreeDecodedBody(body);
  }
  MmsPduFree(record, MMS_PDU_RETRIEVE_CONF);
  return out;
}

int EncodedSize(TfrmMain* main) {
  main->BuildMms();
  int count = 0;
  if (unsigned char* bytes = MmsEncodeMessage(&count)) std::free(bytes);
  MmsComposerReset();
  return count;
}

}  // namespace e2e
