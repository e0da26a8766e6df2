// Start-up and shut-down of the PNG picture class: its chunk classes and its place in the
// picture registry under "PNG" / "Portable Network Graphics".
#pragma once

namespace pictures {
void RegisterPng();
void UnregisterPng();
}  // namespace pictures
