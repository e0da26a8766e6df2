#include "mms/MmsSlidePartNames.h"

#include <cstring>
#include <string>

#include "mms/MmsContentTypes.h"

namespace {

// The slide's buffers hold MMS_SLIDE_PART_NAME_SIZE bytes, more than any part name takes.
static_assert(MMS_SLIDE_PART_NAME_SIZE >= MMS_PART_NAME_SIZE);

unsigned char Name(char* out, int slide, const char* type) {
  return static_cast<unsigned char>(MmsPartFileName(out, slide, type == nullptr ? "" : type));
}

// Makes `name` differ from every earlier one by a suffix before its extension, and keeps its
// length up to date.
void MakeUnique(char* name, unsigned char& length, const char* const* earlier, int count) {
  if (name[0] == '\0') return;
  bool clash = false;
  for (int i = 0; i < count && !clash; ++i)
    clash = name[0] == earlier[i][0] && std::strcmp(name, earlier[i]) == 0;
  if (!clash) return;  // the usual case, decided without building a string
  auto taken = [&](const std::string& candidate) {
    for (int i = 0; i < count; ++i) {
      if (candidate == earlier[i]) return true;
    }
    return false;
  };
  std::string original = name;
  if (original.empty() || !taken(original)) return;
  std::size_t dot = original.rfind('.');
  if (dot == std::string::npos) dot = original.size();
  for (int n = 2;; ++n) {
    std::string candidate = original.substr(0, dot) + "_" + std::to_string(n) + original.substr(dot);
    if (!taken(candidate)) {
      std::memcpy(name, candidate.c_str(), candidate.size() + 1);  // at most 29 + 2 characters
      length = static_cast<unsigned char>(candidate.size());
      return;
    }
  }
}

}  // namespace

void MmsSlidePartNames(int slide, const tMMS_SlideInfo& s, tMMS_SlidePartNames* names) {
  // Only what is read is cleared: an absent item's empty name and length.
  names->Text[0] = names->Image[0] = names->Audio[0] = names->Video[0] = '\0';
  names->TextLen = names->ImageLen = names->AudioLen = names->VideoLen = 0;
  if (s.HasText) names->TextLen = Name(names->Text, slide, "text/plain");
  if (s.HasVideo) names->VideoLen = Name(names->Video, slide, s.VideoType);
  if (s.HasImage) names->ImageLen = Name(names->Image, slide, s.ImageType);
  if (s.HasAudio) names->AudioLen = Name(names->Audio, slide, s.AudioType);
  const char* earlier[] = {names->Text, names->Video, names->Image};
  MakeUnique(names->Video, names->VideoLen, earlier, 1);
  MakeUnique(names->Image, names->ImageLen, earlier, 2);
  MakeUnique(names->Audio, names->AudioLen, earlier, 3);
}
