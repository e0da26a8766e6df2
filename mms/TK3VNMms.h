// The message document: the editor's in-memory model of one multimedia message, a head holding
// the page layout and a body holding the slides. Items entering the document through it get a
// region of the layout for their type.
#pragma once

#include <memory>
#include <string>

#include "mms/TMmsBody.h"
#include "mms/TMmsHead.h"

class TK3VNMms {
 public:
  // Height of one wrapped line of a slide's text in its region, in pixels.
  static constexpr int kTextLineHeight = 14;

  // A 128 x 128 page with no regions, and no slides.
  TK3VNMms();
  TK3VNMms(const TK3VNMms&) = delete;
  TK3VNMms& operator=(const TK3VNMms&) = delete;
  ~TK3VNMms();

  std::unique_ptr<TMmsHead> Head;  // may be absent: every region operation then answers 0
  std::unique_ptr<TMmsBody> Body;

  // Gives each item of the slide its region, then inserts the slide at the index clamped to
  // 0..count; answers the index used (-1 for a missing slide).
  int InsertFrame(int index, std::unique_ptr<TMmsFrame> frame);
  // Appends a slide of 1000 ms with empty slots.
  int AppendNewFrame();
  // A picture or a text gets its region first; then as TMmsBody::SetFrameItem. The document takes
  // the item in every case; one that cannot enter the slot of the type is destroyed (-3).
  int SetFrameItem(int index, int type, std::unique_ptr<TMediaItem> item);
  // Makes an item of the type for the file (a sound a plain item, anything else a visual one).
  int SetFrameItemFromFile(int index, int type, const std::string& path);

  // "Text", else "Img", else "Null": the region under a point of the page.
  std::string GetRegionAt(int x, int y) const;

  int HasRegion(const std::string& id) const;
  int GetRegionLeft(const std::string& id) const;
  int GetRegionTop(const std::string& id) const;
  int GetRegionWidth(const std::string& id) const;
  int GetRegionHeight(const std::string& id) const;
  int SetRegionWidth(const std::string& id, int value);
  int SetRegionHeight(const std::string& id, int value);
  int MoveRegion(const std::string& id, int left, int top, int limit);
  int RegionContains(const std::string& id, int x, int y) const;
  int AddRegion(int slideIndex, const std::string& id, int width, int height, int left, int top,
                unsigned char fit);

 private:
  // Width of the text and picture regions: the page width less a margin of 4 on each side.
  int RegionWidth() const;
};
