// The whole road of opening a message: its header fields, its multipart body, its SMIL slides
// and attachments. Every byte the view and the decoded body point at is read back, so that the
// sanitizers see any pointer that leads outside the input.
#include <climits>
#include <cstddef>
#include <cstdint>

#include "mms/MmsDecoder.h"
#include "mms/MmsTrace.h"
#include "mms/SmilParser.h"
#include "mms/SmilView.h"

namespace {

volatile unsigned sink;

void Touch(const void* data, int size) {
  if (size < 0) __builtin_trap();
  const auto* bytes = static_cast<const unsigned char*>(data);
  unsigned sum = 0;
  for (int i = 0; i < size; ++i) sum += bytes[i];
  sink = sum;
}

template <typename T>
void TouchItems(const T* item) {
  for (; item; item = item->Next) Touch(item->Data, item->Size);
}

void TouchView() {
  for (const tSMIL_Par* par = SmilGetFirstPar(); par; par = par->Next) {
    TouchItems(par->Images);
    TouchItems(par->Audios);
    TouchItems(par->Videos);
    for (const tSMIL_Text* text = par->Texts; text; text = text->Next)
      Touch(text->Content.data(), 2 * static_cast<int>(text->Content.size()));
  }
  TouchItems(SmilGetView().Attachments);
}

void TouchBody(const tMMS_Body* body) {
  if (!body) return;
  if (body->Smil) Touch(body->Smil->Data, body->Smil->Len);
  for (const tMMS_Part* part = body->Parts; part; part = part->Next) Touch(part->Data, part->Len);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  MmsSetTrace(false);
  if (size > INT_MAX) return 0;
  int length = static_cast<int>(size);

  tMMS_Body* body = MmsDecodeMultipart(data, length);
  TouchBody(body);
  MmsFreeDecodedBody(body);

  tMMS_RetrieveConf* pdu = MmsDecodeHeaders(data, length);
  if (pdu && pdu->BodyLen > 0) {
    if (MmsParseBody(pdu->Body.data(), pdu->BodyLen)) TouchView();
    MmsFreeParsedBody();
  }
  MmsPduFree(pdu, MMS_PDU_RETRIEVE_CONF);
  return 0;
}
