// A slide's UTF-16 text as it travels in a message: UTF-8, without the byte-order mark the
// editor's text files begin with (receivers would show it as a stray character).
#pragma once

#include <string>

// A new NUL-terminated malloc block with the UTF-8 form of `count` UTF-16 units of `text`, one
// leading U+FEFF left out; its byte count (which embedded NULs do not shorten) goes to
// `outLen` when given. nullptr when the text is missing, count is negative or memory runs out.
char* MmsTextPartToUtf8(const char16_t* text, int count, int* outLen = nullptr);
// Appends the same UTF-8 bytes to `out` (no terminator); false when the text is missing or count
// is negative. Lets a caller convert many texts into one buffer it keeps.
bool MmsTextPartAppendUtf8(const char16_t* text, int count, std::string& out);
