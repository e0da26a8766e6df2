// Drawing objects held for one scope: the object a scope selected goes back out of the DC on every
// way out, exceptions included, so its owner can delete it afterwards.
#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/gdi/Gdi.h"
#include "platform/gdi/OwnedGdiObject.h"
#include "platform/gdi/SelectedObject.h"

namespace {

TEST(SelectedObjects, ThePreviousObjectReturnsEvenWhenTheDrawingRaises) {
  OwnedMemoryDC dc(nullptr);
  const HGDIOBJ before = GetCurrentObject(dc, OBJ_BRUSH);
  OwnedGdiObject<HBRUSH> brush(CreateSolidBrush(RGB(1, 2, 3)));
  {
    SelectedObject selected(dc, brush);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), brush.Get());
  }
  EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), before);
  try {
    SelectedObject selected(dc, brush);
    throw std::runtime_error("drawing failed");
  } catch (const std::runtime_error&) {
  }
  EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), before);
  // Deselected, so deleting it really deletes it.
  const HBRUSH handle = brush.Get();
  brush.Reset();
  EXPECT_EQ(GetObjectType(handle), 0u);
}

}  // namespace
