// The state of one device context: the surface it draws on, selected objects, colours and
// modes, viewport origin and clipping, with SaveDC/RestoreDC stacking it all. Window DCs are
// made by the window system over a top-level window's surface with an origin and a visible
// region; memory DCs start with the 1 x 1 monochrome bitmap; the screen DC discards drawing.
#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/WindowDrawing.h"

namespace platform::gdi {

struct DcState {
  uintptr_t bitmap = 0;
  std::shared_ptr<GdiObject> bitmapObject;
  std::shared_ptr<GdiObject> pen, brush, font, palette;
  uintptr_t penHandle = 0, brushHandle = 0, fontHandle = 0, paletteHandle = 0;
  COLORREF textColor = RGB(0, 0, 0);
  COLORREF bkColor = RGB(255, 255, 255);
  int bkMode = OPAQUE;
  int rop2 = R2_COPYPEN;
  int stretchMode = BLACKONWHITE;
  UINT textAlign = TA_LEFT | TA_TOP;
  POINT position{0, 0};
  POINT viewportOrg{0, 0};
  std::optional<Region> clip;  // device coordinates
};

class DeviceContext {
 public:
  enum class Kind { Memory, Window, Screen };

  explicit DeviceContext(Kind kind) : kind_(kind) {}

  Kind kind() const { return kind_; }
  DcState& state() { return state_; }
  const DcState& state() const { return state_; }
  std::vector<DcState>& saved() { return saved_; }

  // The bitmap drawn on: the selected bitmap of a memory DC or the window surface.
  Bitmap* surface() const;
  std::shared_ptr<Bitmap> surfaceShared() const;
  void SetWindowSurface(std::shared_ptr<Bitmap> surface, POINT origin, std::optional<Region> visible);
  POINT origin() const { return origin_; }
  const std::optional<Region>& visible() const { return visible_; }

  // Logical -> surface pixel coordinates.
  int SurfaceX(int x) const { return x + state_.viewportOrg.x + origin_.x; }
  int SurfaceY(int y) const { return y + state_.viewportOrg.y + origin_.y; }
  RECT SurfaceRect(const RECT& logical) const;
  // Where drawing may land, in surface coordinates (empty for the screen DC).
  Region EffectiveClip() const;

 private:
  Kind kind_;
  DcState state_;
  std::vector<DcState> saved_;
  std::shared_ptr<Bitmap> windowSurface_;
  POINT origin_{0, 0};
  std::optional<Region> visible_;  // device coordinates (relative to origin)
};

// For the window system: a new DC over a surface (origin = where the DC's 0,0 lies on the surface,
// visible = the area it may draw in, relative to that origin). Kind Window or Screen.
HDC CreateSurfaceDC(std::shared_ptr<Bitmap> surface, POINT origin, std::optional<Region> visible,
                    DeviceContext::Kind kind = DeviceContext::Kind::Window);
// Changes where an existing surface DC draws (window moved or surface reallocated).
void ResetSurfaceDC(HDC dc, std::shared_ptr<Bitmap> surface, POINT origin, std::optional<Region> visible);

// A new region handle holding a copy of `region`.
HRGN MakeRegionHandle(const Region& region);

}  // namespace platform::gdi
