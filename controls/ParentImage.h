// Painting a control's parent behind it, so a control without a background of its own (a
// transparent track bar) shows what lies under it; and telling a form designer that a control
// changed, which never happens here (there is no designer).
#pragma once

#include "platform/forms/TCanvas.h"
#include "platform/forms/TControl.h"

// The parent's background and paint, drawn into `dc` as if the control's client area were a
// window onto the parent. With `invalidateParent`, a parent that is neither a custom control
// nor a form is invalidated as well. Nothing without a parent; a parent's paint that comes back
// here for the same control draws nothing the second time instead of recursing.
void DrawParentImage(TControl* control, HDC dc, bool invalidateParent = false);
void DrawParentImage(TControl* control, TCanvas* canvas, bool invalidateParent = false);

void UpdateObjectInspector(TControl* control);
