// Reading the file of a slide's text. Slide texts are UTF-16 little-endian files, with a
// byte-order mark when the text editor or a paste wrote them and without one when they were
// unpacked from an opened message.
#pragma once

#include <memory>
#include <string>

class TMmsFrame;
class TMediaItem;

// The whole file of the slide's text item as UTF-16 units followed by a 0 (an odd last byte is
// dropped; a byte-order mark stays in the text). None when the slide has no text item, its path
// is empty, or the file cannot be read or is empty.
std::unique_ptr<char16_t[]> ReadFrameText(const TMmsFrame* frame);

// The same for the file of any item.
std::unique_ptr<char16_t[]> ReadItemText(const TMediaItem* item);

// The bytes of a text item's file up to its first zero byte, as 8-bit text; "" when there is no
// item, it is not a text (type 0), its path is empty or the file cannot be read. Of a UTF-16 file
// this gives only what comes before the first zero byte.
std::string ReadItemTextAnsi(const TMediaItem* item);
