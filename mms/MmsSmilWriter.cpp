#include "mms/MmsSmilWriter.h"

#include <charconv>
#include <cstring>
#include <new>
#include <string>

#include "mms/MmsAlloc.h"
#include "mms/MmsComposer.h"
#include "mms/MmsSlidePartNames.h"

namespace {

constexpr unsigned int kMaxPrintedMs = 120000;

const char kHead[] =
    "<smil>\r\n"
    "<head>\r\n"
    "<meta name=\"title\" content=\"mms info\" />\r\n"
    "<meta name=\"author\" content=\"Brimlow System\" />\r\n"
    "<layout>\r\n"
    "<root-layout width=\"176\" height=\"220\"/>\r\n"
    "<region id=\"Image\" width=\"160\" height=\"170\" left=\"0\" top=\"0\" />\r\n"
    "<region id=\"Text\" width=\"160\" height=\"30\" left=\"0\" top=\"170\" />\r\n"
    "</layout>\r\n"
    "</head>\r\n"
    "<body>\r\n";
const char kTail[] = "</body>\r\n</smil>";

// One slide's par element is written into a buffer of its own on the stack, then appended in
// one go. Its fixed texts take under 400 bytes, its names at most 4 * 39, its numbers at most 7
// times 6 digits and two colours of 8: the buffer is well above the most a slide can take, and
// the writer stops at its end rather than run past it.
constexpr std::size_t kParBound = 1024;

class ParWriter {
 public:
  template <std::size_t N>
  void Put(const char (&text)[N]) {
    Put(text, N - 1);
  }
  void Put(const char* text, std::size_t size) {
    if (size > static_cast<std::size_t>(buffer_ + kParBound - at_))
      size = static_cast<std::size_t>(buffer_ + kParBound - at_);
    std::memcpy(at_, text, size);
    at_ += size;
  }
  void PutName(const char* name) { Put(name, std::strlen(name)); }

  // The comparison is unsigned on purpose: a negative value prints as the limit too.
  void PutMs(int ms) {
    const unsigned int value = static_cast<unsigned int>(ms);
    char digits[16];
    const auto end =
        std::to_chars(digits, digits + sizeof digits, value > kMaxPrintedMs ? kMaxPrintedMs : value).ptr;
    Put(digits, static_cast<std::size_t>(end - digits));
  }

  // Six digits always: "#ff" (what a plain %x gives for blue) is not a colour a player reads.
  void PutColor(int color) {
    char digits[8];  // an unsigned int has at most 8 hex digits
    const auto end = std::to_chars(digits, digits + sizeof digits, static_cast<unsigned int>(color), 16).ptr;
    const std::size_t count = static_cast<std::size_t>(end - digits);
    Put("#");
    if (count < 6) Put("000000", 6 - count);
    Put(digits, count);
  }

  void PutTimes(int begin, int end) {
    Put(" begin=\"");
    PutMs(begin);
    Put("ms\" end=\"");
    PutMs(end);
    Put("ms\" ");
  }

  void AppendTo(std::string& out) const { out.append(buffer_, static_cast<std::size_t>(at_ - buffer_)); }

 private:
  char buffer_[kParBound];
  char* at_ = buffer_;
};

void Clamp(int dur, int& begin, int& end) {
  if (end > dur) end = dur;
  if (begin >= end) begin = 0;
}

void AppendPar(std::string& out, int dur, tMMS_SlideInfo& s, const tMMS_SlidePartNames& names) {
  ParWriter w;
  w.Put("<par dur=\"");
  w.PutMs(dur);
  w.Put("ms\">\r\n");
  if (s.HasBgColor) {
    w.Put(" <param name=\"background-color\" value=\"");
    w.PutColor(s.BgColor);
    w.Put("\" />\r\n ");
  }
  if (s.HasVideo) {
    Clamp(dur, s.VideoBegin, s.VideoEnd);
    w.Put("<video src=\"");
    w.PutName(names.Video);
    w.Put("\" region=\"Image\"");
    w.PutTimes(s.VideoBegin, s.VideoEnd);
    w.Put("/>\r\n");
  } else {
    if (s.HasImage) {
      Clamp(dur, s.ImageBegin, s.ImageEnd);
      w.Put("<img src=\"");
      w.PutName(names.Image);
      w.Put("\" region=\"Image\"");
      w.PutTimes(s.ImageBegin, s.ImageEnd);
      w.Put("/>\r\n");
    }
    if (s.HasAudio) {
      Clamp(dur, s.AudioBegin, s.AudioEnd);
      w.Put("<audio src=\"");
      w.PutName(names.Audio);
      w.Put("\" ");
      w.PutTimes(s.AudioBegin, s.AudioEnd);
      w.Put("/>\r\n");
    }
  }
  if (s.HasText) {
    Clamp(dur, s.TextBegin, s.TextEnd);
    w.Put("<text src=\"");
    w.PutName(names.Text);
    w.Put("\" region=\"Text\"");
    w.PutTimes(s.TextBegin, s.TextEnd);
    if (s.HasFgColor) {
      w.Put(">\r\n <param name=\"foreground-color\" value=\"");
      w.PutColor(s.FgColor);
      w.Put("\" />\r\n </text>\r\n");
    } else {
      w.Put("/>\r\n");
    }
  }
  w.Put("</par>\r\n");
  w.AppendTo(out);
}

}  // namespace

void MmsAppendSmil(std::string& out, const tMMS_SlidePartNames* names) {
  tMMS_Composer& table = *MmsComposerTable();
  int slides = 0;
  while (slides < MMS_MAX_SLIDES && table.Used[slides]) ++slides;
  // A slide with every item and both colours takes about 450 bytes.
  out.reserve(out.size() + sizeof kHead + sizeof kTail + 512 * static_cast<std::size_t>(slides));
  out += kHead;
  for (int i = 0; i < slides; ++i) {
    if (table.Dur[i] <= 0) table.Dur[i] = MMS_DEFAULT_SLIDE_DUR;
    if (names != nullptr) {
      AppendPar(out, table.Dur[i], table.Slide[i], names[i]);
    } else {
      tMMS_SlidePartNames own;
      MmsSlidePartNames(i, table.Slide[i], &own);
      AppendPar(out, table.Dur[i], table.Slide[i], own);
    }
  }
  out += kTail;
}

char* MmsBuildSmil() {
  try {
    std::string out;
    MmsAppendSmil(out);
    char* text = static_cast<char*>(MmsAlloc(out.size() + 1));
    if (text != nullptr) std::memcpy(text, out.c_str(), out.size() + 1);
    return text;
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}
