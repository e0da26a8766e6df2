// Scopes over a DC's state: a selected object and a saved state are put back when the drawing
// between raises, and the DC keeps working.
#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/gdi/OwnedGdiObject.h"
#include "platform/gdi/SavedDCState.h"
#include "platform/gdi/SelectedObject.h"
#include "tests/gdi/GdiTestSupport.h"

namespace {

TEST(DcScopes, ASelectedObjectGoesBackWhenTheDrawingRaises) {
  gditest::Canvas c(8, 8);
  const HGDIOBJ before = GetCurrentObject(c.dc, OBJ_BRUSH);
  OwnedGdiObject<HBRUSH> brush(CreateSolidBrush(RGB(255, 0, 0)));
  EXPECT_THROW(
      {
        const SelectedObject selected(c.dc, brush);
        EXPECT_EQ(GetCurrentObject(c.dc, OBJ_BRUSH), brush.Get());
        throw std::runtime_error("drawing failed");
      },
      std::runtime_error);
  EXPECT_EQ(GetCurrentObject(c.dc, OBJ_BRUSH), before);
  EXPECT_TRUE(DeleteObject(brush.Release()));  // no longer selected anywhere
}

TEST(DcScopes, ASavedStateComesBackWhenTheDrawingRaises) {
  gditest::Canvas c(8, 8);
  c.Fill(0);
  EXPECT_THROW(
      {
        const SavedDCState saved(c.dc);
        SetViewportOrgEx(c.dc, 3, 3, nullptr);
        IntersectClipRect(c.dc, 0, 0, 1, 1);
        throw std::runtime_error("drawing failed");
      },
      std::runtime_error);
  POINT origin{-1, -1};
  GetViewportOrgEx(c.dc, &origin);
  EXPECT_EQ(origin.x, 0);
  EXPECT_EQ(origin.y, 0);
  // The clip is gone too: a fill reaches the far corner.
  const RECT all{0, 0, 8, 8};
  FillRect(c.dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  EXPECT_EQ(c.At(7, 7) & 0xFFFFFF, 0xFFFFFFu);
  // Nothing is left on the DC's stack: the next save is the first again.
  EXPECT_EQ(SaveDC(c.dc), 1);
}

}  // namespace
