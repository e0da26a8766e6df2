// The names of one slide's parts, computed alike for the SMIL writer's src attributes and the body
// builder's part headers, so that the presentation and the body always link up.
#pragma once

#include <cstddef>

#include "mms/MmsComposer.h"

inline constexpr std::size_t MMS_SLIDE_PART_NAME_SIZE = 40;

// Each name is NUL-terminated; the bytes after the terminator are left as they were.
struct tMMS_SlidePartNames {
  char Text[MMS_SLIDE_PART_NAME_SIZE];
  char Image[MMS_SLIDE_PART_NAME_SIZE];
  char Audio[MMS_SLIDE_PART_NAME_SIZE];
  char Video[MMS_SLIDE_PART_NAME_SIZE];
  // Their lengths, terminator not counted.
  unsigned char TextLen, ImageLen, AudioLen, VideoLen;
};

// Each item present gets the part name of its content type (MmsPartFileName); an absent one an
// empty name. Two items of one slide with types of the same name (a picture handed over as
// "audio/wav" beside a sound) would be one part to every reader, so the later one, in body order
// (text, video, picture, sound), gets "_2" or "_3" before its extension.
void MmsSlidePartNames(int slide, const tMMS_SlideInfo& s, tMMS_SlidePartNames* names);
