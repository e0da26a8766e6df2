// The SMIL parser over presentation texts from outside, with a fixed set of parts to name:
// located ones, one known by its Content-ID only, and texts in several charsets.
#include <climits>
#include <cstddef>
#include <cstdint>

#include "mms/MmsBody.h"
#include "mms/MmsTrace.h"
#include "mms/SmilParser.h"
#include "mms/SmilView.h"

namespace {

char* C(const char* text) { return const_cast<char*>(text); }
unsigned char* U(const char* bytes) { return reinterpret_cast<unsigned char*>(C(bytes)); }

volatile unsigned sink;

void Touch(const void* data, size_t size) {
  const auto* bytes = static_cast<const unsigned char*>(data);
  unsigned sum = 0;
  for (size_t i = 0; i < size; ++i) sum += bytes[i];
  sink = sum;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  MmsSetTrace(false);
  if (size > INT_MAX) return 0;
  tMMS_Part parts[5] = {};
  parts[0] = {C("a.jpg"), C("pic"), nullptr, U("\xFF\xD8jpeg"), 6, 0, 0, 0, 0, C("image/jpeg"), &parts[1]};
  parts[1] = {C("t.txt"), nullptr, nullptr, U("\xEF\xBB\xBFtext"), 7,        106,
              1,          0,       0,       C("text/plain"),       &parts[2]};
  parts[2] = {nullptr, C("cid1"), nullptr, U("\x04\x1F\x00"), 3, 1000, 1, 0, 0, C("text/plain"), &parts[3]};
  parts[3] = {nullptr, nullptr, C("s.amr"), U("#!AMR"), 5, 0, 0, 0, 0, C("audio/amr"), &parts[4]};
  parts[4] = {nullptr, nullptr, nullptr, U(""), 0, 0, 0, 0, 0, nullptr, nullptr};
  tMMS_SmilPart smil = {C("application/smil"), reinterpret_cast<char*>(const_cast<uint8_t*>(data)),
                        static_cast<int>(size)};
  tMMS_Body body = {&smil, &parts[0]};

  SmilInitViewStruct();
  SmilParserSmilMMS(&body);
  for (const tSMIL_Par* par = SmilGetFirstPar(); par; par = par->Next) {
    for (const tSMIL_Text* text = par->Texts; text; text = text->Next)
      Touch(text->Content.data(), 2 * text->Content.size());
    for (const tSMIL_Img* img = par->Images; img; img = img->Next)
      Touch(img->Data, static_cast<size_t>(img->Size));
  }
  SmilFreeViewStruct();
  SmilSetParts(nullptr);
  return 0;
}
