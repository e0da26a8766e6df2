// Test helpers that fill the composer the way the editor does: malloc blocks handed over in the
// records, one slide at a time. A fixture resets the composer around every test.
#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <vector>

#include "mms/MmsComposer.h"

namespace mmstest {

// Resets the composer before and after each test and creates it, so tests start from one slide.
class ComposerTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
};

char* MallocText(const std::string& text);
unsigned char* MallocBytes(const std::string& bytes);
char16_t* MallocUtf16(const std::u16string& text);

// Hands a picture, text or sound over to the current slide, as the editor does; answers the
// composer's status (the blocks are freed again when it refuses them).
int SetImage(const std::string& type, const std::string& bytes, int begin = 0, int end = 0);
int SetText(const std::u16string& text, int begin = 0, int end = 0);
int SetAudio(const std::string& type, const std::string& bytes, int begin = 0, int end = 0);

// A JPEG file of `size` bytes (at least 13): the JFIF start, filler bytes, the end marker.
std::string JfifPicture(std::size_t size);

// Adds slides so that the composer holds `count`, then gives each its duration.
void MakeSlides(int count, int durMs);

// The SMIL text of the composer as a string ("" when the writer gave none).
std::string BuildSmil();
// The encoded message of the composer ("" when the encoder gave none).
std::string EncodeMessage();

}  // namespace mmstest
