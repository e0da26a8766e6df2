#include "mms/TMmsHead.h"

#include <utility>

TMmsHead::TMmsHead() : Layout(std::make_unique<TMmsLayout>()) {}

TMmsHead::TMmsHead(std::unique_ptr<TMmsLayout> layout) : Layout(std::move(layout)) {}

TMmsHead::~TMmsHead() = default;

int TMmsHead::HasRegion(const std::string& id) const { return Layout ? Layout->HasRegion(id) : 0; }

int TMmsHead::GetRegionLeft(const std::string& id) const { return Layout ? Layout->GetRegionLeft(id) : 0; }

int TMmsHead::GetRegionTop(const std::string& id) const { return Layout ? Layout->GetRegionTop(id) : 0; }

int TMmsHead::GetRegionWidth(const std::string& id) const { return Layout ? Layout->GetRegionWidth(id) : 0; }

int TMmsHead::GetRegionHeight(const std::string& id) const {
  return Layout ? Layout->GetRegionHeight(id) : 0;
}

int TMmsHead::SetRegionWidth(const std::string& id, int value) {
  return Layout ? Layout->SetRegionWidth(id, value) : 0;
}

int TMmsHead::SetRegionHeight(const std::string& id, int value) {
  return Layout ? Layout->SetRegionHeight(id, value) : 0;
}

int TMmsHead::MoveRegion(const std::string& id, int left, int top, int limit) {
  return Layout ? Layout->MoveRegion(id, left, top, limit) : 0;
}

int TMmsHead::RegionContains(const std::string& id, int x, int y) const {
  return Layout ? Layout->RegionContains(id, x, y) : 0;
}

int TMmsHead::AddRegion(int slideIndex, const std::string& id, int width, int height, int left, int top,
                        unsigned char fit) {
  return Layout ? Layout->AddRegion(slideIndex, id, width, height, left, top, fit) : 0;
}
