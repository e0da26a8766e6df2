// How a radio group places its buttons: in columns, filled top to bottom, below a caption line
// of the group's font, all moved in one deferred batch.
#pragma once

#include <vector>

#include "platform/forms/TWinControl.h"

// Buttons per column := (count + columns - 1) / columns; each button is (width - 10) / columns
// wide; the height below the caption line is shared out evenly, the remainder split above and
// below. Every button becomes visible. Nothing happens without buttons or a column.
void ArrangeGroupButtons(TWinControl* group, const std::vector<TWinControl*>& buttons, int columns);
// The item index a group's buttons can show: -1 (none) for anything outside 0 .. count - 1.
int CheckedButtonIndex(int itemIndex, int count);
