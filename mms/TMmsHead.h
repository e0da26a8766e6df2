// The head of a message document: it holds the page layout and passes the document's region
// operations on to it. Without a layout every operation answers 0.
#pragma once

#include <memory>
#include <string>

#include "mms/TMmsLayout.h"

class TMmsHead {
 public:
  TMmsHead();
  explicit TMmsHead(std::unique_ptr<TMmsLayout> layout);
  TMmsHead(const TMmsHead&) = delete;
  TMmsHead& operator=(const TMmsHead&) = delete;
  ~TMmsHead();

  std::unique_ptr<TMmsLayout> Layout;

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
};
