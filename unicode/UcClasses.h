// The layer's controls in the class registry, so window layouts can name them.
#pragma once

namespace unicode {
void RegisterUcClasses();
// The wide-aware standard actions (UcStdActnsClasses.cpp).
void RegisterUcStdActnClasses();
}  // namespace unicode
