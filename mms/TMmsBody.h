// The body of a message document: the ordered list of slides (index 0 is the first slide). It owns
// the slides; an index from 0 to count - 1 is valid, and operations given another answer -4 (or
// none, or 0) instead of failing.
#pragma once

#include <memory>
#include <vector>

#include "mms/TMmsFrame.h"

class TMmsBody {
 public:
  static constexpr int kBadIndex = -4;

  TMmsBody();
  TMmsBody(const TMmsBody&) = delete;
  TMmsBody& operator=(const TMmsBody&) = delete;
  ~TMmsBody();

  int GetFrameCount() const;
  TMmsFrame* GetFrame(int index) const;
  int GetFrameDur(int index) const;

  // Inserts at the index clamped to 0..count and answers the index used; a missing slide is not
  // inserted (-1).
  int InsertFrame(int index, std::unique_ptr<TMmsFrame> frame);
  int DeleteFrame(int index);
  // Takes the slide out of the current position and puts it in at the new one.
  int MoveFrame(int newIndex, int curIndex);
  // Exchanges the items of one type between two slides by deep copies.
  int SwapFrameItems(int indexA, int indexB, int type);

  int SetFrameDurRaw(int index, int ms);
  // Sets the slide's duration and makes every item of the slide run for that long.
  int SetFrameDur(int index, int ms);

  // Puts the item into the slide, or into a new slide of 1000 ms appended when the index is not a
  // slide. The body takes the item in every case; one that cannot enter the slot is destroyed
  // and the answer is -3.
  int SetFrameItem(int index, int type, std::unique_ptr<TMediaItem> item);
  int AddFrameWithItem(int dur, int type, std::unique_ptr<TMediaItem> item);

 private:
  std::vector<std::unique_ptr<TMmsFrame>> Frames;

  bool ValidIndex(int index) const;
};
