// The name a part of an opened message may be written to a file under. Senders put whatever they
// like into a part's Content-Location (a gateway's whole upload path, "..\..\x.jpg", control
// characters), so the name shown to the user is never used as a path as it stands.
#pragma once

#include <string>
#include <string_view>

inline constexpr size_t SMIL_FILE_NAME_MAX = 255;
// The name of a part whose own name leaves nothing usable.
inline constexpr char SMIL_FILE_NAME_FALLBACK[] = "part";

// The base name only (nothing up to the last "/" or "\"), without control characters, without
// leading dots or runs of dots (so never "." or ".."), in UTF-8 (other 8-bit bytes read as
// windows-1252), at most 255 bytes with its extension kept, never empty.
std::string SmilSafeFileName(std::string_view name);
