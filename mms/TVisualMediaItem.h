// A media item shown in a region of the page: a slide's text or picture (or the video and
// reference slots no command fills). It adds the id of its region and its item type.
#pragma once

#include <string>

#include "mms/TMediaItem.h"

class TVisualMediaItem : public TMediaItem {
 public:
  TVisualMediaItem(int type, const std::string& path, int dur);
  // An item made for a region by name is a picture.
  TVisualMediaItem(const std::string& region, const std::string& path, int dur);
  TVisualMediaItem(int type, const std::string& region, const std::string& path, const std::string& extra,
                   int begin, int end, int dur);
  TVisualMediaItem(const TVisualMediaItem&) = default;
  ~TVisualMediaItem() override;

  // Stores the type byte as given; which slot an item may enter is the slide's business.
  int SetType(int type) override;
  int GetType() const override;

  int SetRegion(const std::string& region);

  std::string Region;  // "Text", "Img", "Video" or "Ref" once in a document; empty before
  unsigned char Type;
};
