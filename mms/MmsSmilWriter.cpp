#include "mms/MmsSmilWriter.h"

#include <bit>
#include <charconv>
#include <cstring>
#include <new>
#include <string>

#include "mms/MmsAlloc.h"
#include "mms/MmsComposer.h"
#include "mms/MmsSlidePartNames.h"
#include "mms/ShortCopy.h"

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
  // Fixed texts are copied in pieces of a size known here, and names by ShortCopy: a few moves
  // each instead of a call.
  template <std::size_t N>
  void Put(const char (&text)[N]) {
    if (Room() < N - 1) return;
    std::memcpy(at_, text, N - 1);
    at_ += N - 1;
  }
  void PutName(const char* name, std::size_t length) {
    if (Room() < length) return;
    ShortCopy(at_, name, length);
    at_ += length;
  }

  // The comparison is unsigned on purpose: a negative value prints as the limit too.
  void PutMs(int ms) {
    const unsigned int value = static_cast<unsigned int>(ms);
    if (Room() < kNumberRoom) return;
    at_ = std::to_chars(at_, at_ + kNumberRoom, value > kMaxPrintedMs ? kMaxPrintedMs : value).ptr;
  }

  // Six digits always: "#ff" (what a plain %x gives for blue) is not a colour a player reads.
  void PutColor(int color) {
    if (Room() < 1 + kNumberRoom) return;
    const unsigned int value = static_cast<unsigned int>(color);
    const int digits = value == 0 ? 1 : (std::bit_width(value) + 3) / 4;
    *at_++ = '#';
    for (int pad = digits; pad < 6; ++pad) *at_++ = '0';
    at_ = std::to_chars(at_, at_ + 8, value, 16).ptr;
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
  static constexpr std::size_t kNumberRoom = 10;  // the digits of an unsigned int, in either base
  std::size_t Room() const { return static_cast<std::size_t>(buffer_ + kParBound - at_); }

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
    w.PutName(names.Video, names.VideoLen);
    w.Put("\" region=\"Image\"");
    w.PutTimes(s.VideoBegin, s.VideoEnd);
    w.Put("/>\r\n");
  } else {
    if (s.HasImage) {
      Clamp(dur, s.ImageBegin, s.ImageEnd);
      w.Put("<img src=\"");
      w.PutName(names.Image, names.ImageLen);
      w.Put("\" region=\"Image\"");
      w.PutTimes(s.ImageBegin, s.ImageEnd);
      w.Put("/>\r\n");
    }
    if (s.HasAudio) {
      Clamp(dur, s.AudioBegin, s.AudioEnd);
      w.Put("<audio src=\"");
      w.PutName(names.Audio, names.AudioLen);
      w.Put("\" ");
      w.PutTimes(s.AudioBegin, s.AudioEnd);
      w.Put("/>\r\n");
    }
  }
  if (s.HasText) {
    Clamp(dur, s.TextBegin, s.TextEnd);
    w.Put("<text src=\"");
    w.PutName(names.Text, names.TextLen);
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
