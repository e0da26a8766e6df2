// StripSelection: what the slide strip's selection covers on the current page: a whole page
// (its title band), or one part of it (its picture, text or sound band), or nothing.
#pragma once

enum class StripSelection {
  kNone = 0,
  kPicture = 1,
  kText = 2,
  kSound = 4,
  kPage = 7,
};

// Whether `selection` takes in `part`: the part itself, or any part of a selected page.
constexpr bool SelectionCovers(StripSelection selection, StripSelection part) {
  return part != StripSelection::kNone && (selection == part || selection == StripSelection::kPage);
}
