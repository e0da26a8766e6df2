#include "mms/MmsComposer.h"

#include <climits>
#include <cstdlib>
#include <utility>

namespace {

tMMS_SlideInfo EmptySlideInfo() {
  tMMS_SlideInfo slide{};
  slide.ImageEnd = MMS_DEFAULT_SLIDE_DUR;
  slide.TextEnd = MMS_DEFAULT_SLIDE_DUR;
  slide.AudioEnd = MMS_DEFAULT_SLIDE_DUR;
  slide.VideoEnd = MMS_DEFAULT_SLIDE_DUR;
  slide.BgColor = MMS_DEFAULT_BG_COLOR;
  slide.FgColor = MMS_DEFAULT_FG_COLOR;
  return slide;
}

// Prepared once: the editor resets the table before every build, so a reset is one copy.
const tMMS_SlideInfo kEmptySlide = EmptySlideInfo();

void InitSlideInfo(tMMS_SlideInfo* slide) { *slide = kEmptySlide; }

tMMS_Composer InitialTable() {
  tMMS_Composer table{};
  table.SlideCount = 1;
  table.CurSlide = 0;
  for (int i = 0; i < MMS_MAX_SLIDES; ++i) {
    table.Dur[i] = MMS_DEFAULT_SLIDE_DUR;
    table.Slide[i] = kEmptySlide;
  }
  table.Used[0] = 1;
  return table;
}

const tMMS_Composer kInitialTable = InitialTable();

// The table starts out as after a reset; the created flag is kept apart from it.
tMMS_Composer g_composer = kInitialTable;
bool g_created = false;
// True while the table is as the initialisation left it, so that creating the composer right
// after a reset (what the editor does before every build) does not initialise it twice. Every
// change, and every hand-out of the table itself, clears it.
bool g_pristine = true;

tMMS_Composer& Changed() {
  g_pristine = false;
  return g_composer;
}

void FreeItems(tMMS_SlideInfo& slide) {
  // Most of the table's slots are empty: those cost no call.
  auto release = [](void* block) {
    if (block != nullptr) std::free(block);
  };
  // Shared media are only pointed into; the record's reset drops the reference.
  if (!slide.ImageMedia) {
    release(slide.ImageData);
    release(slide.ImageType);
  }
  release(slide.TextData);
  if (!slide.AudioMedia) {
    release(slide.AudioData);
    release(slide.AudioType);
  }
  release(slide.VideoData);
  release(slide.VideoType);
}

void FreeAllAndInitTable() {
  if (g_pristine) return;
  for (tMMS_SlideInfo& slide : g_composer.Slide) FreeItems(slide);
  g_composer = kInitialTable;
  g_pristine = true;
}

bool CurrentSlotInUse() {
  return g_composer.CurSlide < MMS_MAX_SLIDES && g_composer.Used[g_composer.CurSlide] != 0;
}

tMMS_SlideInfo& Current() { return g_composer.Slide[g_composer.CurSlide]; }

int LastUsedSlot() {
  int last = -1;
  for (int i = 0; i < MMS_MAX_SLIDES && g_composer.Used[i]; ++i) last = i;
  return last;
}

}  // namespace

void MmsSlideInfoFree(tMMS_SlideInfo* slide) {
  Changed();  // the record may be one of the table's
  FreeItems(*slide);
  InitSlideInfo(slide);
}

tMMS_Composer* MmsComposerTable() { return &Changed(); }

void MmsComposerReset() {
  FreeAllAndInitTable();
  g_created = false;
}

int MmsComposerCreate() {
  if (g_created) return MMS_COMPOSER_ALREADY_CREATED;
  // Whatever was composed before the flag was set would be unreachable after the initialisation.
  FreeAllAndInitTable();
  g_created = true;
  return MMS_COMPOSER_OK;
}

int MmsComposerAddSlide() {
  Changed();
  if (g_composer.SlideCount >= MMS_MAX_SLIDES) return MMS_COMPOSER_TABLE_FULL;
  if (g_composer.CurSlide >= MMS_MAX_SLIDES - 1) return MMS_COMPOSER_NO_SLOT;
  // Adding after a free slot would mark a slot beyond a hole as used, which no later build could
  // validate; the in-use slots always stay 0 .. SlideCount - 1.
  if (!CurrentSlotInUse()) return MMS_COMPOSER_NO_SLOT;
  const int n = static_cast<int>(g_composer.CurSlide) + 1;
  if (g_composer.Used[n]) {
    for (int a = LastUsedSlot() + 1; a > n; --a) {
      // Record a is free (the last one) or was emptied by the previous step: the record moves up
      // with its media (a shared item's reference with it) and the source is cleared.
      g_composer.Slide[a] = std::move(g_composer.Slide[a - 1]);
      InitSlideInfo(&g_composer.Slide[a - 1]);
      g_composer.Used[a] = 1;
      g_composer.Dur[a] = g_composer.Dur[a - 1];
    }
  }
  InitSlideInfo(&g_composer.Slide[n]);
  g_composer.Used[n] = 1;
  g_composer.Dur[n] = MMS_DEFAULT_SLIDE_DUR;
  g_composer.CurSlide = static_cast<unsigned int>(n);
  ++g_composer.SlideCount;
  return MMS_COMPOSER_OK;
}

void MmsComposerSelectSlide(unsigned int index) {
  if (index < MMS_MAX_SLIDES) Changed().CurSlide = index;
}

unsigned int MmsComposerGetCurSlide() { return g_composer.CurSlide; }

void MmsComposerSetSlideDur(unsigned int index, int ms) {
  if (index < MMS_MAX_SLIDES) Changed().Dur[index] = ms;
}

int MmsComposerSetImage(const tMMS_ImageInfo* info) {
  if (info == nullptr) return MMS_COMPOSER_NO_RECORD;
  tMMS_SlideInfo& slide = Changed().Slide[g_composer.CurSlide];
  if (slide.HasVideo) return MMS_COMPOSER_VIDEO_PRESENT;
  if (slide.HasImage) return MMS_COMPOSER_ITEM_PRESENT;
  if (!CurrentSlotInUse()) return MMS_COMPOSER_NO_SLOT;
  slide.ImageData = info->Data;
  slide.ImageType = info->Type;
  slide.ImageBegin = info->Begin;
  slide.ImageEnd = info->End;
  slide.ImageSize = info->Size;
  slide.ImageLeft = info->Left;
  slide.ImageTop = info->Top;
  slide.ImageWidth = info->Width;
  slide.ImageHeight = info->Height;
  slide.HasImage = 1;
  return MMS_COMPOSER_OK;
}

int MmsComposerSetText(const tMMS_TextInfo* info) {
  if (info == nullptr) return MMS_COMPOSER_NO_RECORD;
  tMMS_SlideInfo& slide = Changed().Slide[g_composer.CurSlide];
  if (slide.HasText) return MMS_COMPOSER_ITEM_PRESENT;
  if (!CurrentSlotInUse()) return MMS_COMPOSER_NO_SLOT;
  slide.TextData = info->Text;
  slide.TextBegin = info->Begin;
  slide.TextEnd = info->End;
  slide.TextLen = info->Len;
  slide.TextLeft = info->Left;
  slide.TextTop = info->Top;
  slide.TextWidth = info->Width;
  slide.TextHeight = info->Height;
  slide.HasText = 1;
  return MMS_COMPOSER_OK;
}

int MmsComposerSetAudio(const tMMS_AudioInfo* info) {
  if (info == nullptr) return MMS_COMPOSER_NO_RECORD;
  tMMS_SlideInfo& slide = Changed().Slide[g_composer.CurSlide];
  if (slide.HasVideo) return MMS_COMPOSER_VIDEO_PRESENT;
  if (slide.HasAudio) return MMS_COMPOSER_ITEM_PRESENT;
  if (!CurrentSlotInUse()) return MMS_COMPOSER_NO_SLOT;
  slide.AudioData = info->Data;
  slide.AudioType = info->Type;
  slide.AudioBegin = info->Begin;
  slide.AudioEnd = info->End;
  slide.AudioSize = info->Size;
  slide.HasAudio = 1;
  return MMS_COMPOSER_OK;
}

namespace {

// The record's item fields pointed at shared media, or false when there is none to share. The
// table's fields are writable pointers for the malloc blocks it owns; nothing writes through them.
template <typename Info>
bool PointAtMedia(Info& info, const MmsMediaRef& media) {
  if (!media || media->Bytes.size() > static_cast<std::size_t>(INT_MAX)) return false;
  info.Data = reinterpret_cast<unsigned char*>(const_cast<char*>(media->Bytes.data()));
  info.Type = const_cast<char*>(media->Type.c_str());
  info.Size = static_cast<int>(media->Bytes.size());
  return true;
}

// A set of the record pointed at the media; the slide keeps the reference only when it is taken.
template <typename Info>
int Share(const Info* info, MmsMediaRef media, int (*set)(const Info*), MmsMediaRef tMMS_SlideInfo::*held) {
  if (info == nullptr) return MMS_COMPOSER_NO_RECORD;
  Info shared = *info;
  if (!PointAtMedia(shared, media)) return MMS_COMPOSER_NO_RECORD;
  const int status = set(&shared);
  if (status == MMS_COMPOSER_OK) Current().*held = std::move(media);
  return status;
}

}  // namespace

int MmsComposerShareImage(const tMMS_ImageInfo* info, MmsMediaRef media) {
  return Share(info, std::move(media), MmsComposerSetImage, &tMMS_SlideInfo::ImageMedia);
}

int MmsComposerShareAudio(const tMMS_AudioInfo* info, MmsMediaRef media) {
  return Share(info, std::move(media), MmsComposerSetAudio, &tMMS_SlideInfo::AudioMedia);
}

int MmsComposerHasImage() { return CurrentSlotInUse() && Current().HasImage ? 1 : 0; }
int MmsComposerHasText() { return CurrentSlotInUse() && Current().HasText ? 1 : 0; }
int MmsComposerHasAudio() { return CurrentSlotInUse() && Current().HasAudio ? 1 : 0; }
int MmsComposerHasVideo() { return CurrentSlotInUse() && Current().HasVideo ? 1 : 0; }

int MmsComposerValidate() {
  int walked = 0;
  for (; walked < MMS_MAX_SLIDES && g_composer.Used[walked]; ++walked) {
    const tMMS_SlideInfo& s = g_composer.Slide[walked];
    if (s.HasText && (s.TextData == nullptr || s.TextLen <= 0)) return 0;
    if (s.HasVideo) {
      if (s.HasImage || s.HasAudio) return 0;
      if (s.VideoData == nullptr || s.VideoType == nullptr || s.VideoSize <= 0) return 0;
    } else {
      if (s.HasImage && (s.ImageData == nullptr || s.ImageType == nullptr || s.ImageSize <= 0)) return 0;
      if (s.HasAudio && (s.AudioData == nullptr || s.AudioType == nullptr || s.AudioSize <= 0)) return 0;
    }
  }
  return walked == g_composer.SlideCount ? 1 : 0;
}
