// The composer: the codec's staging table for one outgoing message, up to 40 slides with a
// duration and at most one picture, one text and one sound each. The editor fills it afresh for
// every measurement, save and send; the SMIL writer and the file writer read it. There is one
// composer in the program, kept at file level and reached only through these functions.
#pragma once

#include <memory>
#include <string>

inline constexpr int MMS_MAX_SLIDES = 40;
inline constexpr int MMS_DEFAULT_SLIDE_DUR = 1000;
inline constexpr int MMS_DEFAULT_BG_COLOR = 0xFFFFFF;
inline constexpr int MMS_DEFAULT_FG_COLOR = 255;

// Status codes of the composer.
inline constexpr int MMS_COMPOSER_OK = 0;
inline constexpr int MMS_COMPOSER_ALREADY_CREATED = -2;
inline constexpr int MMS_COMPOSER_ITEM_PRESENT = -3;
inline constexpr int MMS_COMPOSER_VIDEO_PRESENT = -4;
inline constexpr int MMS_COMPOSER_TABLE_FULL = -6;
inline constexpr int MMS_COMPOSER_NO_SLOT = -11;
inline constexpr int MMS_COMPOSER_NO_RECORD = -12;

// Records the editor hands over, one per item. Data, Type and Text are malloc blocks; a
// successful set hands them to the composer, a refused one leaves them with the caller. Pictures
// and sounds may instead be shared (tMMS_Media below).
struct tMMS_ImageInfo {
  unsigned char* Data;  // the picture file's bytes
  char* Type;           // content type, e.g. "image/jpeg"
  int Begin, End;       // ms
  int Size;             // bytes in Data
  int Left, Top, Width, Height;
};

struct tMMS_TextInfo {
  char16_t* Text;  // UTF-16
  int Begin, End;  // ms
  int Len;         // UTF-16 code units in Text
  int Left, Top, Width, Height;
};

struct tMMS_AudioInfo {
  unsigned char* Data;
  char* Type;  // e.g. "audio/wav"
  int Begin, End;
  int Size;
};

// A picture or sound the caller keeps in memory and shares with the composer instead of handing
// over a malloc copy. The composer holds a reference from a successful share until the slide's
// items are freed (a reset, MmsSlideInfoFree), so the bytes stay valid through every build and
// encoding however soon the caller drops its own reference; nothing is copied.
struct tMMS_Media {
  std::string Bytes;  // the file's bytes
  std::string Type;   // content type, e.g. "image/jpeg"
};
using MmsMediaRef = std::shared_ptr<const tMMS_Media>;

struct tMMS_SlideInfo {
  unsigned char HasImage, HasText, HasAudio, HasVideo;
  unsigned char* ImageData;
  char* ImageType;
  int ImageSize;
  int ImageBegin, ImageEnd;
  int ImageLeft, ImageTop, ImageWidth, ImageHeight;
  char16_t* TextData;
  int TextLen;
  int TextBegin, TextEnd;
  int TextLeft, TextTop, TextWidth, TextHeight;
  unsigned char* AudioData;
  int AudioSize;
  char* AudioType;
  int AudioBegin, AudioEnd;
  unsigned char* VideoData;
  int VideoSize;
  char* VideoType;
  int VideoBegin, VideoEnd;
  int VideoLeft, VideoTop, VideoWidth, VideoHeight;
  int HasBgColor, BgColor;  // 0x00RRGGBB
  int HasFgColor, FgColor;
  // Set when the picture or sound is shared: its Data and Type then point into the shared media
  // (which nothing writes to) and are released with the reference instead of freed.
  MmsMediaRef ImageMedia, AudioMedia;
};

struct tMMS_Composer {
  int SlideCount;
  unsigned int CurSlide;
  int Used[MMS_MAX_SLIDES];
  int Dur[MMS_MAX_SLIDES];  // ms
  tMMS_SlideInfo Slide[MMS_MAX_SLIDES];
};

// Frees every slide's data and types, drops its shared media, and brings the table back to one
// empty slide; clears the created flag.
void MmsComposerReset();
// -2 when already created; otherwise one empty slide, current, and 0.
int MmsComposerCreate();
// Inserts an empty slide after the current one and makes it current: 0, -6 when the table is
// full, -11 when there is no room after the current slide or the current slot is not in use.
int MmsComposerAddSlide();
void MmsComposerSelectSlide(unsigned int index);  // ignored from 40 on
unsigned int MmsComposerGetCurSlide();
void MmsComposerSetSlideDur(unsigned int index, int ms);  // ignored from 40 on
int MmsComposerSetImage(const tMMS_ImageInfo* info);
int MmsComposerSetText(const tMMS_TextInfo* info);
int MmsComposerSetAudio(const tMMS_AudioInfo* info);
// As MmsComposerSetImage and MmsComposerSetAudio, with the item's bytes, size and type taken from
// `media` (the record's Data, Type and Size are not read). The composer keeps the reference only
// when it answers 0; -12 also for no media or media of 2 GB and more.
int MmsComposerShareImage(const tMMS_ImageInfo* info, MmsMediaRef media);
int MmsComposerShareAudio(const tMMS_AudioInfo* info, MmsMediaRef media);
int MmsComposerHasImage();
int MmsComposerHasText();
int MmsComposerHasAudio();
int MmsComposerHasVideo();
// 1 when the table can be encoded, else 0.
int MmsComposerValidate();

// Frees a record's data and types (drops its shared media) and sets it to its initial values.
void MmsSlideInfoFree(tMMS_SlideInfo* slide);
// The table itself, for the SMIL writer and the file writer (which write clamped times and
// durations back into it) and for tests. Ask for it again after a reset or a creation: the next
// reset knows of changes only through the calls made since.
tMMS_Composer* MmsComposerTable();
