// The page layout of a message document: the page size and the named regions its visual items are
// shown in. Regions are only ever appended; every lookup by id takes the first region with that id,
// so the first region made for an id governs and later ones are never reached. Moving a region
// re-stacks the regions it overlaps so that no two visible regions cover each other.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "mms/TMmsRegion.h"

class TMmsLayout {
 public:
  // Status codes of the region operations.
  static constexpr int kNoRegion = -6;
  static constexpr int kOutside = -9;
  static constexpr int kCollected = -15;

  // The page the editor makes: its width and height, and the width of a new region.
  static constexpr int kDefaultPageSize = 128;

  // Directions of the re-stacking: 0 up, 1 down, 2 left, 3 right.
  enum Direction { kUp = 0, kDown = 1, kLeft = 2, kRight = 3 };

  TMmsLayout();
  TMmsLayout(int rootWidth, int rootHeight);
  TMmsLayout(const TMmsLayout&) = delete;
  TMmsLayout& operator=(const TMmsLayout&) = delete;

  std::unique_ptr<TMmsRootLayout> Root;

  int GetRegionCount() const;
  TMmsRegion* GetRegion(int index) const;
  int IndexOfRegion(const std::string& id) const;
  TMmsRegion* FindRegion(const std::string& id) const;
  int HasRegion(const std::string& id) const;

  // Appends a region with the defaults of its id (see the .cpp); the slide index is not used.
  int AddRegion(int slideIndex, const std::string& id, int width, int height, int left, int top,
                unsigned char fit);
  // Appends a region with exactly these values.
  int NewRegion(int width, int height, int left, int top, unsigned char fit, const std::string& id);

  int GetRegionWidth(const std::string& id) const;
  int GetRegionHeight(const std::string& id) const;
  int GetRegionTop(const std::string& id) const;
  int GetRegionLeft(const std::string& id) const;
  int SetRegionWidth(const std::string& id, int value);
  int SetRegionHeight(const std::string& id, int value);

  // 1 inside (edges included), -9 outside, -6 no such region.
  int RegionContains(const std::string& id, int x, int y) const;

  // Puts the region at (left, top), pushes the regions it now overlaps out of its way downwards,
  // and when the stack then reaches below `limit` lifts the whole stack by the excess.
  int MoveRegion(const std::string& id, int left, int top, int limit);

  using RegionSet = std::vector<TMmsRegion*>;
  // One step of the re-stacking, public so that its rules can be pinned on their own.
  int CollectOverlaps(RegionSet& set) const;
  static void SortByCentre(RegionSet& set, int direction);
  static void ChainRegions(RegionSet& set, int direction);
  void Restack(RegionSet& set, int direction) const;

 private:
  std::vector<std::unique_ptr<TMmsRegion>> Regions;
};
