// The state an owner-drawn item (of a list, a combo box or a menu) is drawn in: the ODS_*
// bits of the window system's draw request, bit for bit.
#pragma once

enum TOwnerDrawStateFlag : unsigned {
  odSelected = 1u << 0,
  odGrayed = 1u << 1,
  odDisabled = 1u << 2,
  odChecked = 1u << 3,
  odFocused = 1u << 4,
  odDefault = 1u << 5,
  odHotLight = 1u << 6,
  odInactive = 1u << 7,
  odNoAccel = 1u << 8,
  odNoFocusRect = 1u << 9
};
using TOwnerDrawState = unsigned;
