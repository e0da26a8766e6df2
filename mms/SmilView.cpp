#include "mms/SmilView.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

#include "mms/MmsCharset.h"
#include "mms/MmsText.h"
#include "mms/MmsTrace.h"
#include "mms/SmilFileName.h"
#include "mms/TMmsLayout.h"

namespace {

tSMIL_ViewStruct view;
tSMIL_Attachment* lastAttachment = nullptr;  // so that appending stays cheap for many parts
tMMS_Part* viewParts = nullptr;

// Lookups that stay cheap however many parts, regions and elements a message holds: the parts of
// viewParts by their keys (first part of each key), and the regions by id (newest of each id).
struct PartIndex {
  bool built = false;
  std::vector<tMMS_Part*> parts;
  std::unordered_map<std::string, size_t> byLocation;   // location, else Name; lower case
  std::unordered_map<std::string, size_t> byBareId;     // Content-ID of parts with neither
  std::unordered_map<std::string, size_t> byContentId;  // every Content-ID, without brackets
};
PartIndex partIndex;
std::unordered_map<std::string, const tSMIL_Region*> regionsById;

// Texts of the view together may hold this many UTF-16 units; a SMIL that names big text parts
// over and over would otherwise multiply the message's size in memory.
constexpr size_t TEXT_BUDGET_UNITS = size_t{16} << 20;
size_t textUnitsUsed = 0;

// Frees a list of view records without recursion, however long it is.
template <typename T>
void FreeList(T* item) {
  while (item) {
    T* next = item->Next;
    delete item;
    item = next;
  }
}

void FreePar(tSMIL_Par* par) {
  FreeList(par->Texts);
  FreeList(par->Images);
  FreeList(par->Audios);
  FreeList(par->Videos);
  delete par;
}

size_t FindNoCase(const std::string& text, const std::string& what) {
  if (what.size() > text.size()) return std::string::npos;
  for (size_t i = 0; i + what.size() <= text.size(); ++i) {
    if (MmsSameTextNoCase(std::string_view(text).substr(i, what.size()), what)) return i;
  }
  return std::string::npos;
}

void BuildPartIndex() {
  partIndex = PartIndex();
  partIndex.built = true;
  for (tMMS_Part* part = viewParts; part; part = part->Next) {
    size_t index = partIndex.parts.size();
    partIndex.parts.push_back(part);
    std::string location =
        MmsTextOf(part->ContentLocation && *part->ContentLocation ? part->ContentLocation : part->Name);
    std::string id = MmsTextOf(part->ContentID);
    if (!location.empty()) {
      partIndex.byLocation.emplace(MmsLower(location), index);
    } else {
      partIndex.byBareId.emplace(MmsLower(id), index);
    }
    if (!id.empty()) partIndex.byContentId.emplace(MmsLower(MmsWithoutAngleBrackets(id)), index);
  }
}

// The index of the part `key` finds in `map` when it comes before `best`; else `best`.
size_t Earliest(const std::unordered_map<std::string, size_t>& map, const std::string& key, size_t best) {
  auto it = map.find(key);
  return it != map.end() && it->second < best ? it->second : best;
}

// SmilFindPart over viewParts through the index; the same answers as the scan below.
tMMS_Part* FindIndexedPart(const std::string& src) {
  if (!partIndex.built) BuildPartIndex();
  const size_t none = partIndex.parts.size();
  std::string key = MmsLower(src);
  size_t found = Earliest(partIndex.byLocation, key, none);
  found = Earliest(partIndex.byBareId, key, found);
  size_t cid = src.find("cid:");
  if (cid != std::string::npos) found = Earliest(partIndex.byBareId, MmsLower(src.substr(cid + 4)), found);
  if (found == none) {
    std::string id = src;
    size_t anyCid = FindNoCase(id, "cid:");
    if (anyCid != std::string::npos) id = id.substr(anyCid + 4);
    found = Earliest(partIndex.byContentId, MmsLower(MmsWithoutAngleBrackets(id)), none);
  }
  return found == none ? nullptr : partIndex.parts[found];
}

bool MatchesByRules(const tMMS_Part& part, const std::string& src) {
  std::string location =
      MmsTextOf(part.ContentLocation && *part.ContentLocation ? part.ContentLocation : part.Name);
  if (!location.empty()) return MmsSameTextNoCase(location, src);
  std::string id = MmsTextOf(part.ContentID);
  if (MmsSameTextNoCase(id, src)) return true;
  size_t cid = src.find("cid:");
  return cid != std::string::npos && MmsSameTextNoCase(id, src.substr(cid + 4));
}

// Phones that reference parts by "cid:" often label them with a Content-Location too; when the
// rules above find nothing, the Content-ID alone decides.
bool MatchesByContentId(const tMMS_Part& part, const std::string& src) {
  if (!part.ContentID || !*part.ContentID) return false;
  std::string id = src;
  size_t cid = FindNoCase(id, "cid:");
  if (cid != std::string::npos) id = id.substr(cid + 4);
  return MmsSameTextNoCase(MmsWithoutAngleBrackets(part.ContentID), MmsWithoutAngleBrackets(id));
}

// Links `item` in at the end of a two-way list; the walk to the end starts from `near`, the item
// appended last, so that appending stays cheap however long the list grows.
template <typename T>
void AppendTwoWay(T*& first, T* near, T* item) {
  item->Next = nullptr;
  item->Prev = nullptr;
  if (!first) {
    first = item;
    return;
  }
  T* last = near ? near : first;
  while (last->Next) last = last->Next;
  last->Next = item;
  item->Prev = last;
}

template <typename T>
int PushFront(T*& list, T* item) {
  if (!view.CurPar || !item) return 0;
  item->Next = list;
  list = item;
  return 1;
}

// A region value in pixels: a percentage of `whole`, or the value itself.
int Resolve(int value, unsigned char percent, int whole) {
  if (!percent) return value;
  int64_t pixels = int64_t{value} * whole / 100;
  return static_cast<int>(std::clamp<int64_t>(pixels, INT_MIN, INT_MAX));
}

// The name a part is shown by: the first present of its Content-Location, Name and Content-ID.
std::string PartName(const tMMS_Part& part) {
  for (const char* name : {part.ContentLocation, part.Name, part.ContentID}) {
    if (name && *name) return name;
  }
  return {};
}

int SetMediaSrc(tSMIL_Media* item, const std::string& src) {
  if (!item) return 0;
  tMMS_Part* part = SmilFindPart(viewParts, src);
  if (!part) return 0;
  item->Type = MmsTextOf(part->ContentType);
  item->FileName = SmilSafeFileName(PartName(*part));
  item->Data = part->Data;
  item->Size = part->Len;
  return 1;
}

}  // namespace

int SmilInitViewStruct() {
  view = tSMIL_ViewStruct();
  lastAttachment = nullptr;
  regionsById.clear();
  textUnitsUsed = 0;
  return 1;
}

void SmilFreeViewStruct() {
  MmsTrace("before  while(pReg != NULL)");
  FreeList(view.Regions);
  for (tSMIL_Par* par = view.Pars; par;) {
    tSMIL_Par* next = par->Next;
    FreePar(par);
    par = next;
  }
  MmsTrace("begin while(pAttachment != NULL)");
  for (tSMIL_Attachment* attachment = view.Attachments; attachment;) {
    tSMIL_Attachment* next = attachment->Next;
    if (!attachment->Alt.empty()) MmsTrace("MMS_FREE(pAttachment->Alt)");
    MmsTrace("MMS_FREE(pAttachment->Type)");
    MmsTrace("MMS_FREE(pAttachment->Name)");
    MmsTrace("begin MMS_FREE(pAttachment)");
    delete attachment;
    MmsTrace("after MMS_FREE(pAttachment)");
    attachment = next;
  }
  view = tSMIL_ViewStruct();
  lastAttachment = nullptr;
  regionsById.clear();
  textUnitsUsed = 0;
}

tSMIL_Par* SmilGetFirstPar() { return view.Pars; }

const tSMIL_ViewStruct& SmilGetView() { return view; }

void SmilSetSize(int width, int height) {
  view.Width = width;
  view.Height = height;
}

void SmilSetBackground(uint32_t color) {
  view.HasBgColor = 1;
  view.bgColor = color;
}

int SmilAddPar(tSMIL_Par* par) {
  if (!par) return 0;
  AppendTwoWay(view.Pars, view.CurPar, par);
  view.CurPar = par;
  return 1;
}

void SmilDropLastPar() {
  tSMIL_Par* last = view.CurPar;
  if (!last) return;
  tSMIL_Par* prev = last->Prev;
  if (prev) {
    prev->Next = nullptr;
  } else {
    view.Pars = nullptr;
  }
  view.CurPar = prev;
  FreePar(last);
}

bool SmilParHasItems(const tSMIL_Par& par) { return par.Texts || par.Images || par.Audios || par.Videos; }

int SmilAddRegion(tSMIL_Region* region) {
  if (!region) return 0;
  region->Next = view.Regions;
  view.Regions = region;
  regionsById[region->Id] = region;
  return 1;
}

int SmilAddText(tSMIL_Text* text) { return view.CurPar ? PushFront(view.CurPar->Texts, text) : 0; }
int SmilAddImg(tSMIL_Img* img) { return view.CurPar ? PushFront(view.CurPar->Images, img) : 0; }
int SmilAddAudio(tSMIL_Audio* audio) { return view.CurPar ? PushFront(view.CurPar->Audios, audio) : 0; }
int SmilAddVideo(tSMIL_Video* video) { return view.CurPar ? PushFront(view.CurPar->Videos, video) : 0; }

int SmilAddAttachment(tSMIL_Attachment* attachment) {
  if (!attachment) return 0;
  AppendTwoWay(view.Attachments, lastAttachment, attachment);
  lastAttachment = attachment;
  return 1;
}

int SmilGetRegionPosition(tSMIL_Position* position, const std::string& id) {
  if (!position || id.empty()) return 0;
  auto it = regionsById.find(id);
  if (it == regionsById.end()) {
    *position = tSMIL_Position();
    return 0;
  }
  const tSMIL_Region* region = it->second;
  const int rootWidth = view.Width > 0 ? view.Width : TMmsLayout::kDefaultPageSize;
  const int rootHeight = view.Height > 0 ? view.Height : TMmsLayout::kDefaultPageSize;
  position->X = Resolve(region->Left, region->LeftPercent, rootWidth);
  position->Y = Resolve(region->Top, region->TopPercent, rootHeight);
  position->Width = Resolve(region->Width, region->WidthPercent, rootWidth);
  position->Height = Resolve(region->Height, region->HeightPercent, rootHeight);
  return 1;
}

void SmilSetParts(tMMS_Part* first) {
  viewParts = first;
  partIndex = PartIndex();
}

tMMS_Part* SmilFindPart(tMMS_Part* first, const std::string& src) {
  if (src.empty()) return nullptr;
  tMMS_Part* found = nullptr;
  if (first && first == viewParts) {
    found = FindIndexedPart(src);
    if (found) found->IsSmil = 1;
    return found;
  }
  for (tMMS_Part* part = first; part && !found; part = part->Next) {
    if (MatchesByRules(*part, src)) found = part;
  }
  for (tMMS_Part* part = first; part && !found; part = part->Next) {
    if (MatchesByContentId(*part, src)) found = part;
  }
  if (found) found->IsSmil = 1;
  return found;
}

bool SmilNamesPart(const std::string& src) { return !src.empty() && viewParts && FindIndexedPart(src); }

int SmilSetTextSrc(tSMIL_Text* text, const std::string& src) {
  if (!text) return 0;
  tMMS_Part* part = SmilFindPart(viewParts, src);
  if (!part) return 0;
  text->Content.clear();
  if (part->Len > 0 && textUnitsUsed + static_cast<size_t>(part->Len) > TEXT_BUDGET_UNITS) {
    MmsTrace("SmilSetTextSrc: the texts exceed %zu units\n", TEXT_BUDGET_UNITS);
    return 0;
  }
  if (part->Data && part->Len > 0) {
    if (part->HasCharset) {
      int length = part->Len;
      text->Content = MmsCharsetToWide(part->Charset, part->Data, &length).value_or(std::u16string());
    } else {
      text->Content = MmsUnlabelledToWide(part->Data, part->Len);
    }
  }
  // A byte-order mark says how the text was stored; it is no part of what the slide shows.
  if (!text->Content.empty() && text->Content.front() == u'\xFEFF') text->Content.erase(0, 1);
  textUnitsUsed += text->Content.size();
  return 1;
}

int SmilSetImgSrc(tSMIL_Img* img, const std::string& src) { return SetMediaSrc(img, src); }
int SmilSetAudioSrc(tSMIL_Audio* audio, const std::string& src) { return SetMediaSrc(audio, src); }
int SmilSetVideoSrc(tSMIL_Video* video, const std::string& src) { return SetMediaSrc(video, src); }

int SmilParserNoSmilMMS(tMMS_Part* first) {
  MmsTrace("\nentry SmilParserNoSmilMMS\n");
  for (tMMS_Part* part = first; part; part = part->Next) {
    MmsTrace("pTemp->IsSmil = %d\n", part->IsSmil);
    if (part->IsSmil) continue;
    tSMIL_Attachment* attachment = new tSMIL_Attachment;
    attachment->Data = part->Data;
    attachment->Size = part->Len;
    attachment->Type = MmsTextOf(part->ContentType);
    attachment->Name = PartName(*part);
    if (attachment->Name.empty()) attachment->Name = "unKnown";
    attachment->FileName = SmilSafeFileName(attachment->Name);
    SmilAddAttachment(attachment);
    MmsTrace("pAttachment->Type: %s", attachment->Type.c_str());
  }
  return 1;
}
