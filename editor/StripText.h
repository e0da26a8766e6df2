// The texts of the slide strip's cells shortened to their band: the page's text (UTF-16) and the
// sound file's name (system code page), each measured by the caller's canvas.
#pragma once

#include <functional>
#include <string>

// The text when its width fits `w`; else its first n UTF-16 units and "...", with
// n = (w - 4) x length / full width - 6 held to 0..length and moved back to a character's start
// (never inside a surrogate pair or a cluster).
std::u16string FitCellText(const std::u16string& text, int w,
                           const std::function<int(const std::u16string&)>& width);
// The name when its width fits `w` - 2; else the name shortened round by round to
// length x (w - 2) / width characters (at least one fewer each round, never inside a multi-byte
// character of the system code page), measured with "..." after it, until that fits or nothing
// of the name is left.
std::string FitSoundName(std::string name, int w, const std::function<int(const std::string&)>& width);
