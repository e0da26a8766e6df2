#include "mms/TMmsFrame.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace {

int Saturate(int64_t v) {
  return static_cast<int>(
      std::clamp<int64_t>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

std::unique_ptr<TVisualMediaItem> CopyOf(const std::unique_ptr<TVisualMediaItem>& item) {
  return item ? std::make_unique<TVisualMediaItem>(*item) : nullptr;
}

}  // namespace

TMmsFrame::TMmsFrame() = default;

TMmsFrame::TMmsFrame(int dur) : Dur(dur) {}

TMmsFrame::~TMmsFrame() = default;

std::unique_ptr<TVisualMediaItem>* TMmsFrame::VisualSlot(int type) {
  switch (type) {
    case TMediaItem::kText:
      return &Text;
    case TMediaItem::kImage:
      return &Image;
    case TMediaItem::kVideo:
      return &Video;
    case TMediaItem::kRef:
      return &Ref;
    default:
      return nullptr;
  }
}

TMediaItem* TMmsFrame::GetItem(int type) const {
  switch (type) {
    case TMediaItem::kText:
      return Text.get();
    case TMediaItem::kImage:
      return Image.get();
    case TMediaItem::kAudio:
      return Audio.get();
    case TMediaItem::kVideo:
      return Video.get();
    case TMediaItem::kRef:
      return Ref.get();
    default:
      return nullptr;
  }
}

bool TMmsFrame::FitsSlot(const TMediaItem& item, int type) {
  const bool visual = dynamic_cast<const TVisualMediaItem*>(&item) != nullptr;
  if (type == TMediaItem::kAudio) return !visual && item.GetType() == TMediaItem::kAudio;
  return visual && type >= TMediaItem::kText && type <= TMediaItem::kRef;
}

int TMmsFrame::SetItem(std::unique_ptr<TMediaItem> item, int type) {
  if (type < TMediaItem::kText || type > TMediaItem::kRef) return kBadType;
  if (item && !FitsSlot(*item, type)) return kBadType;
  TMediaItem* stored = item.get();
  if (type == TMediaItem::kAudio) {
    Audio = std::move(item);
  } else {
    VisualSlot(type)->reset(static_cast<TVisualMediaItem*>(item.release()));
  }
  if (stored) ClampItemTiming(stored);
  return 0;
}

int TMmsFrame::DeleteItem(int type) {
  if (type == TMediaItem::kAudio) {
    Audio.reset();
  } else if (auto* slot = VisualSlot(type)) {
    slot->reset();
  }
  return 0;
}

std::unique_ptr<TVisualMediaItem> TMmsFrame::CloneText() const { return CopyOf(Text); }

std::unique_ptr<TVisualMediaItem> TMmsFrame::CloneImage() const { return CopyOf(Image); }

std::unique_ptr<TMediaItem> TMmsFrame::CloneAudio() const {
  return Audio ? std::make_unique<TMediaItem>(*Audio) : nullptr;
}

std::unique_ptr<TVisualMediaItem> TMmsFrame::CloneVideo() const { return CopyOf(Video); }

std::unique_ptr<TVisualMediaItem> TMmsFrame::CloneRef() const { return CopyOf(Ref); }

std::unique_ptr<TMediaItem> TMmsFrame::CloneItem(int type) const {
  switch (type) {
    case TMediaItem::kText:
      return CloneText();
    case TMediaItem::kImage:
      return CloneImage();
    case TMediaItem::kAudio:
      return CloneAudio();
    case TMediaItem::kVideo:
      return CloneVideo();
    case TMediaItem::kRef:
      return CloneRef();
    default:
      return nullptr;
  }
}

std::string TMmsFrame::GetItemPath(int type) const {
  const TMediaItem* item = GetItem(type);
  return item ? item->Path : std::string();
}

int TMmsFrame::SetItemDur(int type, int ms) {
  TMediaItem* item = GetItem(type);
  if (!item) return 0;
  item->Dur = ms > 0 ? ms : 0;
  item->End = Saturate(int64_t{item->Begin} + item->Dur);
  return ClampItemTiming(item);
}

int TMmsFrame::ExtendItemToEnd(TMediaItem* item) const {
  if (!item) return 0;
  int64_t length = int64_t{Dur} - item->Begin;
  if (length < 0) {
    item->Begin = Dur;
    length = 0;
  }
  item->Dur = Saturate(length);
  item->End = Saturate(int64_t{item->Begin} + item->Dur);
  return 0;
}

int TMmsFrame::ClampItemTiming(TMediaItem* item) const {
  if (!item) return 0;
  if (item->Dur <= 0) return ExtendItemToEnd(item);
  if (item->Dur > Dur) {
    item->Begin = 0;
    item->Dur = Dur;
  } else if (int64_t{item->Begin} + item->Dur > Dur) {
    item->Begin = Dur - item->Dur;
  }
  item->End = Saturate(int64_t{item->Begin} + item->Dur);
  return 0;
}
