// The slide view: what a parsed message looks like to the editor. The root-layout size, the named
// regions, the slides (par elements) with their texts, pictures, sounds and videos, and the parts
// no slide references, as attachments. One view at file level, filled by the SMIL parser through
// the append operations below, or by the attachment builder alone when a message has no usable
// SMIL. Media data points into the parts of the body the parser keeps; texts are owned UTF-16.
#pragma once

#include <cstdint>
#include <string>

#include "mms/MmsBody.h"

struct tSMIL_Position {
  int X = 0;
  int Y = 0;
  int Width = 0;
  int Height = 0;
};

struct tSMIL_Region {
  std::string Id;
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;
  std::string Fit;
  tSMIL_Region* Next = nullptr;
  // 1 where the value above is a percentage of the root layout, not pixels; resolved when an
  // item takes its position from the region.
  unsigned char LeftPercent = 0;
  unsigned char TopPercent = 0;
  unsigned char WidthPercent = 0;
  unsigned char HeightPercent = 0;
};

struct tSMIL_Text {
  std::u16string Content;
  std::string Alt;  // never filled
  int Begin = 0;
  int End = 0;
  tSMIL_Position Position;
  tSMIL_Text* Next = nullptr;
};

// What pictures, videos and sounds have alike: the part their src names (bytes and type) and
// their times on the slide.
struct tSMIL_Media {
  const uint8_t* Data = nullptr;
  std::string Type;
  std::string FileName;  // the part's name made safe to write a file under (SmilSafeFileName)
  std::string Alt;       // never filled
  int Size = 0;
  int Begin = 0;
  int End = 0;
};

struct tSMIL_Img : tSMIL_Media {
  tSMIL_Position Position;
  tSMIL_Img* Next = nullptr;
};

struct tSMIL_Video : tSMIL_Media {
  tSMIL_Position Position;
  tSMIL_Video* Next = nullptr;
};

struct tSMIL_Audio : tSMIL_Media {
  tSMIL_Audio* Next = nullptr;
};

// A slide. Each item list holds its items newest first, that is in reverse document order.
struct tSMIL_Par {
  int Dur = 0;  // ms
  tSMIL_Text* Texts = nullptr;
  tSMIL_Img* Images = nullptr;
  tSMIL_Audio* Audios = nullptr;
  tSMIL_Video* Videos = nullptr;
  tSMIL_Par* Next = nullptr;
  tSMIL_Par* Prev = nullptr;
  int HasBgColor = 0;
  uint32_t bgColor = 0;
  int HasForeColor = 0;
  uint32_t foreColor = 0;
};

struct tSMIL_Attachment {
  const uint8_t* Data = nullptr;
  std::string Name;      // as the sender named the part, for display
  std::string FileName;  // the same made safe to write a file under (SmilSafeFileName)
  std::string Type;
  std::string Alt;  // never filled
  int Size = 0;
  tSMIL_Attachment* Prev = nullptr;
  tSMIL_Attachment* Next = nullptr;
};

struct tSMIL_ViewStruct {
  int Width = 0;
  int Height = 0;
  tSMIL_Region* Regions = nullptr;  // newest first
  tSMIL_Par* Pars = nullptr;        // in document order
  tSMIL_Par* CurPar = nullptr;      // the slide being filled
  tSMIL_Attachment* Attachments = nullptr;
  int HasBgColor = 0;
  uint32_t bgColor = 0;
};

// Clears every field of the view (without freeing); 1.
int SmilInitViewStruct();
// Frees everything the view holds and clears it, so a second call does nothing.
void SmilFreeViewStruct();
tSMIL_Par* SmilGetFirstPar();
// The whole view, for readers that want its layout and attachments too.
const tSMIL_ViewStruct& SmilGetView();
void SmilSetSize(int width, int height);
void SmilSetBackground(uint32_t color);

int SmilAddPar(tSMIL_Par* par);
// Unlinks and frees the last slide (CurPar), making the one before it current; for a slide whose
// every item named a part the message does not hold.
void SmilDropLastPar();
// True when the slide holds at least one item.
bool SmilParHasItems(const tSMIL_Par& par);
int SmilAddRegion(tSMIL_Region* region);
int SmilAddText(tSMIL_Text* text);
int SmilAddImg(tSMIL_Img* img);
int SmilAddAudio(tSMIL_Audio* audio);
int SmilAddVideo(tSMIL_Video* video);
int SmilAddAttachment(tSMIL_Attachment* attachment);

// Fills `position` from the newest region whose Id equals `id` exactly, percentages resolved
// against the root layout (the editor's default page when the presentation gives none); clears
// it and answers 0 when none has it; answers 0 without touching it for an empty id.
int SmilGetRegionPosition(tSMIL_Position* position, const std::string& id);

// The parts the SMIL elements' sources are looked up in (the decoded body's, kept by the parser).
void SmilSetParts(tMMS_Part* first);
// The part a src names, marked IsSmil := 1; none for an empty src or when no part matches.
tMMS_Part* SmilFindPart(tMMS_Part* first, const std::string& src);
// True when a src names one of the parts set by SmilSetParts; marks nothing.
bool SmilNamesPart(const std::string& src);
int SmilSetTextSrc(tSMIL_Text* text, const std::string& src);
int SmilSetImgSrc(tSMIL_Img* img, const std::string& src);
int SmilSetAudioSrc(tSMIL_Audio* audio, const std::string& src);
int SmilSetVideoSrc(tSMIL_Video* video, const std::string& src);

// Every part with IsSmil 0 becomes an attachment, in part order; 1.
int SmilParserNoSmilMMS(tMMS_Part* first);
