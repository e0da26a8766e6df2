#include "controls/ParentImage.h"

#include <algorithm>
#include <vector>

#include "platform/forms/TCustomControl.h"
#include "platform/forms/TForm.h"
#include "platform/forms/TWinControl.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/SavedDCState.h"
#include "platform/rtl/ScopeExit.h"

namespace {
// Controls whose parent is being painted for them right now.
std::vector<TControl*>& Drawing() {
  static std::vector<TControl*> controls;
  return controls;
}
}  // namespace

void DrawParentImage(TControl* control, HDC dc, bool invalidateParent) {
  TWinControl* parent = control->Parent();
  if (!parent) return;
  auto& drawing = Drawing();
  if (std::find(drawing.begin(), drawing.end(), control) != drawing.end()) return;
  {
    drawing.push_back(control);
    const platform::ScopeExit done([&] { drawing.pop_back(); });
    const SavedDCState saved(dc);
    POINT origin{};
    GetViewportOrgEx(dc, &origin);
    SetViewportOrgEx(dc, origin.x - control->Left(), origin.y - control->Top(), nullptr);
    const RECT client = parent->ClientRect();
    IntersectClipRect(dc, 0, 0, client.right, client.bottom);
    parent->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    parent->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
  }
  if (invalidateParent && !dynamic_cast<TCustomControl*>(parent) && !dynamic_cast<TCustomForm*>(parent))
    parent->Invalidate();
}

void DrawParentImage(TControl* control, TCanvas* canvas, bool invalidateParent) {
  DrawParentImage(control, canvas->Handle(), invalidateParent);
}

void UpdateObjectInspector(TControl*) {
  // Only a control being designed in a form designer has anyone to tell; there is none.
}
