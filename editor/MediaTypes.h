// What kind of media a file holds, for the editor: the picture kind read from a file's first
// bytes, and the content types a picture and a sound travel under in a message.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/rtl/AnsiString.h"

// "BMP", "GIF", "JPG" or "Invalid" from the first `length` bytes of a picture file. A test that
// needs bytes beyond `length` fails. A JPEG must start with a JFIF segment.
AnsiString GetImageType(const uint8_t* data, std::size_t length);

// "image/bmp", "image/jpeg" or "image/gif" by the file's extension in any letter case; "" for
// any other extension.
std::string PictureContentType(const std::string& path);
// "audio/" and the file's extension as written.
std::string SoundContentType(const std::string& path);

// The extension a part of this content type is unpacked under (exact comparison), or "".
AnsiString ContentTypeToExt(const std::string& type);
