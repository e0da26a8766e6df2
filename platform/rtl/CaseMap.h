// Per-unit simple case mapping and case folding of UTF-16 units, from tables generated from
// ICU (tools/gen-case-tables). A unit whose mapping needs more than one unit, or lies outside
// the Basic Multilingual Plane, maps to itself; surrogates map to themselves.
#pragma once

namespace platform {

char16_t UpperUnit(char16_t u);
char16_t LowerUnit(char16_t u);
char16_t FoldUnit(char16_t u);

}  // namespace platform
