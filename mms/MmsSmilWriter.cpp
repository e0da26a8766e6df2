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

// The comparison is unsigned on purpose: a negative value prints as the limit too.
void AppendMs(std::string& out, int ms) {
  const unsigned int value = static_cast<unsigned int>(ms);
  char digits[16];
  const auto end =
      std::to_chars(digits, digits + sizeof digits, value > kMaxPrintedMs ? kMaxPrintedMs : value).ptr;
  out.append(digits, end);
}

// Six digits always: "#ff" (what a plain %x gives for blue) is not a colour a player reads.
void AppendColor(std::string& out, int color) {
  char digits[16];
  const auto end = std::to_chars(digits, digits + sizeof digits, static_cast<unsigned int>(color), 16).ptr;
  const std::size_t count = static_cast<std::size_t>(end - digits);
  out += '#';
  if (count < 6) out.append(6 - count, '0');
  out.append(digits, end);
}

void Clamp(int dur, int& begin, int& end) {
  if (end > dur) end = dur;
  if (begin >= end) begin = 0;
}

void AppendTimes(std::string& out, int begin, int end) {
  out += " begin=\"";
  AppendMs(out, begin);
  out += "ms\" end=\"";
  AppendMs(out, end);
  out += "ms\" ";
}

void AppendPar(std::string& out, int dur, tMMS_SlideInfo& s, const tMMS_SlidePartNames& names) {
  out += "<par dur=\"";
  AppendMs(out, dur);
  out += "ms\">\r\n";
  if (s.HasBgColor) {
    out += " <param name=\"background-color\" value=\"";
    AppendColor(out, s.BgColor);
    out += "\" />\r\n ";
  }
  if (s.HasVideo) {
    Clamp(dur, s.VideoBegin, s.VideoEnd);
    out += "<video src=\"";
    out += names.Video;
    out += "\" region=\"Image\"";
    AppendTimes(out, s.VideoBegin, s.VideoEnd);
    out += "/>\r\n";
  } else {
    if (s.HasImage) {
      Clamp(dur, s.ImageBegin, s.ImageEnd);
      out += "<img src=\"";
      out += names.Image;
      out += "\" region=\"Image\"";
      AppendTimes(out, s.ImageBegin, s.ImageEnd);
      out += "/>\r\n";
    }
    if (s.HasAudio) {
      Clamp(dur, s.AudioBegin, s.AudioEnd);
      out += "<audio src=\"";
      out += names.Audio;
      out += "\" ";
      AppendTimes(out, s.AudioBegin, s.AudioEnd);
      out += "/>\r\n";
    }
  }
  if (s.HasText) {
    Clamp(dur, s.TextBegin, s.TextEnd);
    out += "<text src=\"";
    out += names.Text;
    out += "\" region=\"Text\"";
    AppendTimes(out, s.TextBegin, s.TextEnd);
    if (s.HasFgColor) {
      out += ">\r\n <param name=\"foreground-color\" value=\"";
      AppendColor(out, s.FgColor);
      out += "\" />\r\n </text>\r\n";
    } else {
      out += "/>\r\n";
    }
  }
  out += "</par>\r\n";
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
