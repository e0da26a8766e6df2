// Desktop key symbols to the classic virtual keys the window system's queue speaks.
#pragma once

namespace platform::desktop {

// The virtual key of a key symbol (0 for keys the classic model has no key for). Letters map
// to their upper-case key whatever the shift state, as on the fixed US layout.
int VirtualKeyOf(unsigned keyval);

}  // namespace platform::desktop
