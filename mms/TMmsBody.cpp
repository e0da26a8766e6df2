#include "mms/TMmsBody.h"

#include <algorithm>
#include <utility>

TMmsBody::TMmsBody() = default;

TMmsBody::~TMmsBody() = default;

bool TMmsBody::ValidIndex(int index) const { return index >= 0 && index < GetFrameCount(); }

int TMmsBody::GetFrameCount() const { return static_cast<int>(Frames.size()); }

TMmsFrame* TMmsBody::GetFrame(int index) const {
  return ValidIndex(index) ? Frames[static_cast<size_t>(index)].get() : nullptr;
}

int TMmsBody::GetFrameDur(int index) const {
  const TMmsFrame* frame = GetFrame(index);
  return frame ? frame->Dur : 0;
}

int TMmsBody::InsertFrame(int index, std::unique_ptr<TMmsFrame> frame) {
  if (!frame) return -1;
  const int at = std::clamp(index, 0, GetFrameCount());
  Frames.insert(Frames.begin() + at, std::move(frame));
  return at;
}

int TMmsBody::DeleteFrame(int index) {
  if (!ValidIndex(index)) return kBadIndex;
  Frames.erase(Frames.begin() + index);
  return 0;
}

int TMmsBody::MoveFrame(int newIndex, int curIndex) {
  if (!ValidIndex(newIndex) || !ValidIndex(curIndex)) return kBadIndex;
  std::unique_ptr<TMmsFrame> frame = std::move(Frames[static_cast<size_t>(curIndex)]);
  Frames.erase(Frames.begin() + curIndex);
  Frames.insert(Frames.begin() + newIndex, std::move(frame));
  return 0;
}

int TMmsBody::SwapFrameItems(int indexA, int indexB, int type) {
  TMmsFrame* a = GetFrame(indexA);
  TMmsFrame* b = GetFrame(indexB);
  if (!a || !b) return kBadIndex;
  if (type < TMediaItem::kText || type > TMediaItem::kRef) return TMmsFrame::kBadType;
  // Both copies are taken before either slot changes: setting one slot first would destroy the
  // item the other copy is to be made from.
  std::unique_ptr<TMediaItem> copyOfA = a->CloneItem(type);
  std::unique_ptr<TMediaItem> copyOfB = b->CloneItem(type);
  b->SetItem(std::move(copyOfA), type);
  a->SetItem(std::move(copyOfB), type);
  return 0;
}

int TMmsBody::SetFrameDurRaw(int index, int ms) {
  TMmsFrame* frame = GetFrame(index);
  if (!frame) return kBadIndex;
  frame->Dur = ms;
  return 0;
}

int TMmsBody::SetFrameDur(int index, int ms) {
  TMmsFrame* frame = GetFrame(index);
  if (!frame) return kBadIndex;
  frame->Dur = ms > 0 ? ms : 0;
  for (int type = TMediaItem::kText; type <= TMediaItem::kRef; ++type) {
    // SetItemDur fits the item into the slide as well.
    frame->SetItemDur(type, ms);
  }
  return frame->Dur;
}

int TMmsBody::SetFrameItem(int index, int type, std::unique_ptr<TMediaItem> item) {
  if (!item) return TMmsFrame::kBadType;
  item->SetType(type);
  if (!TMmsFrame::FitsSlot(*item, type)) return TMmsFrame::kBadType;
  if (TMmsFrame* frame = GetFrame(index)) return frame->SetItem(std::move(item), type);
  return AddFrameWithItem(TMmsFrame::kDefaultDur, type, std::move(item));
}

int TMmsBody::AddFrameWithItem(int dur, int type, std::unique_ptr<TMediaItem> item) {
  // A failed call adds no slide: an empty slide would be a change the caller did not ask for.
  if (!item || !TMmsFrame::FitsSlot(*item, type)) return TMmsFrame::kBadType;
  auto frame = std::make_unique<TMmsFrame>(dur);
  frame->SetItem(std::move(item), type);
  Frames.push_back(std::move(frame));
  return 0;
}
