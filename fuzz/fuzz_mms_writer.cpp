// Composes a message from arbitrary slides (any content types, texts, times and durations) and
// encodes it: the writer must never touch memory it does not own, and every message it writes
// must be framed exactly, name each of its parts in the body and in the SMIL, and read back
// through the reader as one slide per composed slide with no part left over.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "mms/MmsComposer.h"
#include "mms/MmsEncoder.h"
#include "mms/MmsTrace.h"
#include "mms/SmilParser.h"
#include "mms/SmilView.h"

namespace {

unsigned char* Bytes(FuzzedDataProvider& in) {
  std::string data = in.ConsumeRandomLengthString(64);
  if (data.empty()) data = "x";
  unsigned char* block = static_cast<unsigned char*>(std::malloc(data.size()));
  std::memcpy(block, data.data(), data.size());
  return block;
}

char* Text(FuzzedDataProvider& in) {
  std::string text = in.ConsumeRandomLengthString(80);
  return strdup(text.c_str());
}

void Compose(FuzzedDataProvider& in) {
  MmsComposerReset();
  MmsComposerCreate();
  int slides = in.ConsumeIntegralInRange(1, 41);
  for (int i = 1; i < slides; ++i) MmsComposerAddSlide();
  for (unsigned i = 0; i < static_cast<unsigned>(slides) && in.remaining_bytes() > 0; ++i) {
    MmsComposerSelectSlide(in.ConsumeIntegralInRange<unsigned>(0, 41));
    MmsComposerSetSlideDur(i, in.ConsumeIntegral<int>());
    uint8_t items = in.ConsumeIntegral<uint8_t>();
    if (items & 1) {
      std::u16string units;
      for (size_t n = in.ConsumeIntegralInRange<size_t>(0, 40); n > 0; --n)
        units += in.ConsumeIntegral<char16_t>();
      char16_t* text = static_cast<char16_t*>(std::malloc((units.size() + 1) * sizeof(char16_t)));
      std::memcpy(text, units.c_str(), (units.size() + 1) * sizeof(char16_t));
      tMMS_TextInfo info{
          text, in.ConsumeIntegral<int>(), in.ConsumeIntegral<int>(), static_cast<int>(units.size()), 0, 0, 0,
          0};
      if (MmsComposerSetText(&info) != 0) std::free(text);
    }
    if (items & 2) {
      tMMS_ImageInfo info{Bytes(in), Text(in), in.ConsumeIntegral<int>(), in.ConsumeIntegral<int>(), 0, 0, 0,
                          0,         0};
      info.Size = in.ConsumeIntegralInRange(0, 1);  // 0 or the one byte Bytes always holds
      if (MmsComposerSetImage(&info) != 0) {
        std::free(info.Data);
        std::free(info.Type);
      }
    }
    if (items & 4) {
      tMMS_AudioInfo info{Bytes(in), Text(in), in.ConsumeIntegral<int>(), in.ConsumeIntegral<int>(), 1};
      if (MmsComposerSetAudio(&info) != 0) {
        std::free(info.Data);
        std::free(info.Type);
      }
    }
  }
}

uint64_t Uintvar(const unsigned char* p, size_t len, size_t& at) {
  uint64_t value = 0;
  for (int i = 0; i < 5; ++i) {
    if (at >= len) abort();
    unsigned char b = p[at++];
    value = (value << 7) | (b & 0x7F);
    if (!(b & 0x80)) return value;
  }
  abort();
}

// The framing of a written message adds up exactly, and every part's name (after the 0x85 Name
// parameter) is non-empty and used as a src in the SMIL.
void CheckMessage(const unsigned char* p, size_t len) {
  const size_t headLen = 30;
  if (len < headLen || p[0] != 0x84) abort();
  size_t at = headLen - 1;
  uint64_t entries = Uintvar(p, len, at);
  std::string smil;
  for (uint64_t e = 0; e < entries; ++e) {
    uint64_t headersLen = Uintvar(p, len, at);
    uint64_t dataLen = Uintvar(p, len, at);
    if (headersLen > len - at || dataLen > len - at - headersLen) abort();
    std::string headers(reinterpret_cast<const char*>(p + at), headersLen);
    if (e == 0) {
      smil.assign(reinterpret_cast<const char*>(p + at + headersLen), dataLen);
    } else {
      size_t location = headers.rfind('\x8E');
      if (location == std::string::npos) abort();
      std::string name = headers.c_str() + location + 1;
      if (name.empty() || smil.find("src=\"" + name + "\"") == std::string::npos) abort();
    }
    at += headersLen + dataLen;
  }
  if (at != len) abort();
}

void CheckReadsBack(const unsigned char* bytes, int len) {
  MmsSetTrace(false);
  if (MmsParseBody(bytes, len) != 1) abort();
  int slides = 0;
  for (const tSMIL_Par* par = SmilGetFirstPar(); par != nullptr; par = par->Next) ++slides;
  if (slides != MmsComposerTable()->SlideCount || SmilGetView().Attachments != nullptr) abort();
  MmsFreeParsedBody();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  Compose(in);
  int len = -1;
  unsigned char* bytes = MmsEncodeMessage(&len);
  if (bytes == nullptr) {
    if (len != 0 || MmsComposerValidate() == 1) abort();
  } else {
    CheckMessage(bytes, static_cast<size_t>(len));
    CheckReadsBack(bytes, len);
    std::free(bytes);
  }
  MmsComposerReset();
  return 0;
}
