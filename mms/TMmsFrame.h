// One slide of a message document: its duration and one slot per item type, each holding at most
// one item. The slide owns its items and keeps every item's timing inside its own duration.
#pragma once

#include <memory>
#include <string>

#include "mms/TMediaItem.h"
#include "mms/TVisualMediaItem.h"

class TMmsFrame {
 public:
  static constexpr int kBadType = -3;
  static constexpr int kDefaultDur = 1000;

  TMmsFrame();
  explicit TMmsFrame(int dur);
  TMmsFrame(const TMmsFrame&) = delete;
  TMmsFrame& operator=(const TMmsFrame&) = delete;
  ~TMmsFrame();

  int Dur = kDefaultDur;  // ms

  // The item in the slot of a type, or none (also for a type outside 0..4).
  TMediaItem* GetItem(int type) const;
  // Replaces the slot's item (none empties it) and fits the new one into the slide. The slide takes
  // the item in every case: an item that cannot live in the slot (a bad type; a picture-like item
  // in the sound slot or a sound in any other) is destroyed, the slot is left as it was, and the
  // answer is -3.
  int SetItem(std::unique_ptr<TMediaItem> item, int type);
  int DeleteItem(int type);

  // A deep copy of the slot's item, region and type included, or none.
  std::unique_ptr<TMediaItem> CloneItem(int type) const;
  std::unique_ptr<TVisualMediaItem> CloneText() const;
  std::unique_ptr<TVisualMediaItem> CloneImage() const;
  std::unique_ptr<TMediaItem> CloneAudio() const;
  std::unique_ptr<TVisualMediaItem> CloneVideo() const;
  std::unique_ptr<TVisualMediaItem> CloneRef() const;

  std::string GetItemPath(int type) const;

  // Dur := ms (0 when not positive), End := Begin + Dur, then fit into the slide.
  int SetItemDur(int type, int ms);
  int ClampItemTiming(TMediaItem* item) const;
  int ExtendItemToEnd(TMediaItem* item) const;

  // Whether an item may enter the slot of a type: the sound slot takes only a plain item, whose
  // type is always 2; every other slot only a TVisualMediaItem.
  static bool FitsSlot(const TMediaItem& item, int type);

 private:
  std::unique_ptr<TVisualMediaItem> Text;
  std::unique_ptr<TVisualMediaItem> Image;
  std::unique_ptr<TMediaItem> Audio;
  std::unique_ptr<TVisualMediaItem> Video;
  std::unique_ptr<TVisualMediaItem> Ref;

  std::unique_ptr<TVisualMediaItem>* VisualSlot(int type);
};
