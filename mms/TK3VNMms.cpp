#include "mms/TK3VNMms.h"

#include <utility>

#include "mms/SlideTextLines.h"

namespace {
constexpr int kMargin = 4;
constexpr int kDefaultPageWidth = 128;
}  // namespace

TK3VNMms::TK3VNMms() : Head(std::make_unique<TMmsHead>()), Body(std::make_unique<TMmsBody>()) {}

TK3VNMms::~TK3VNMms() = default;

int TK3VNMms::RegionWidth() const {
  const bool hasRoot = Head && Head->Layout && Head->Layout->Root;
  return (hasRoot ? Head->Layout->Root->Width : kDefaultPageWidth) - 2 * kMargin;
}

int TK3VNMms::InsertFrame(int index, std::unique_ptr<TMmsFrame> frame) {
  if (!frame || !Body) return -1;
  const int w = RegionWidth();
  if (auto* text = static_cast<TVisualMediaItem*>(frame->GetItem(TMediaItem::kText))) {
    const int lines = CountFrameTextLines(frame.get(), w);
    AddRegion(index, "Text", w, lines * kTextLineHeight, kMargin, -1, 0);
    text->SetRegion("Text");
  }
  if (auto* image = static_cast<TVisualMediaItem*>(frame->GetItem(TMediaItem::kImage))) {
    AddRegion(index, "Img", w, w, kMargin, -1, 0);
    image->SetRegion("Img");
  }
  if (auto* video = static_cast<TVisualMediaItem*>(frame->GetItem(TMediaItem::kVideo))) {
    AddRegion(index, "Video", -1, -1, -1, -1, 0);
    video->SetRegion("Video");
  }
  if (auto* ref = static_cast<TVisualMediaItem*>(frame->GetItem(TMediaItem::kRef))) {
    AddRegion(index, "Ref", -1, -1, -1, -1, 0);
    ref->SetRegion("Ref");
  }
  return Body->InsertFrame(index, std::move(frame));
}

int TK3VNMms::AppendNewFrame() {
  if (!Body) return -1;
  return InsertFrame(Body->GetFrameCount(), std::make_unique<TMmsFrame>());
}

int TK3VNMms::SetFrameItem(int index, int type, std::unique_ptr<TMediaItem> item) {
  if (!item || !Body) return TMmsFrame::kBadType;
  // Checked before any region is made, so that a refused item leaves the layout as it was.
  item->SetType(type);
  if (!TMmsFrame::FitsSlot(*item, type)) return TMmsFrame::kBadType;
  if (type == TMediaItem::kImage || type == TMediaItem::kText) {
    auto* visual = static_cast<TVisualMediaItem*>(item.get());
    const int w = RegionWidth();
    if (type == TMediaItem::kImage) {
      AddRegion(index, "Img", w, w, kMargin, -1, 0);
      visual->SetRegion("Img");
    } else {
      const int lines = CountItemTextLines(visual, w);
      AddRegion(index, "Text", w, lines * kTextLineHeight, kMargin, -1, 0);
      visual->SetRegion("Text");
    }
  }
  return Body->SetFrameItem(index, type, std::move(item));
}

int TK3VNMms::SetFrameItemFromFile(int index, int type, const std::string& path) {
  std::unique_ptr<TMediaItem> item;
  if (type == TMediaItem::kAudio) {
    item = std::make_unique<TMediaItem>(path, 0);
  } else {
    item = std::make_unique<TVisualMediaItem>(type, path, 0);
  }
  item->SetType(type);
  return SetFrameItem(index, type, std::move(item));
}

std::string TK3VNMms::GetRegionAt(int x, int y) const {
  if (RegionContains("Text", x, y) == 1) return "Text";
  if (RegionContains("Img", x, y) == 1) return "Img";
  return "Null";
}

int TK3VNMms::HasRegion(const std::string& id) const { return Head ? Head->HasRegion(id) : 0; }

int TK3VNMms::GetRegionLeft(const std::string& id) const { return Head ? Head->GetRegionLeft(id) : 0; }

int TK3VNMms::GetRegionTop(const std::string& id) const { return Head ? Head->GetRegionTop(id) : 0; }

int TK3VNMms::GetRegionWidth(const std::string& id) const { return Head ? Head->GetRegionWidth(id) : 0; }

int TK3VNMms::GetRegionHeight(const std::string& id) const { return Head ? Head->GetRegionHeight(id) : 0; }

int TK3VNMms::SetRegionWidth(const std::string& id, int value) {
  return Head ? Head->SetRegionWidth(id, value) : 0;
}

int TK3VNMms::SetRegionHeight(const std::string& id, int value) {
  return Head ? Head->SetRegionHeight(id, value) : 0;
}

int TK3VNMms::MoveRegion(const std::string& id, int left, int top, int limit) {
  return Head ? Head->MoveRegion(id, left, top, limit) : 0;
}

int TK3VNMms::RegionContains(const std::string& id, int x, int y) const {
  return Head ? Head->RegionContains(id, x, y) : 0;
}

int TK3VNMms::AddRegion(int slideIndex, const std::string& id, int width, int height, int left, int top,
                        unsigned char fit) {
  return Head ? Head->AddRegion(slideIndex, id, width, height, left, top, fit) : 0;
}
