#include "MmsComposeHelpers.h"

#include <cstdlib>
#include <cstring>

#include "mms/MmsAlloc.h"
#include "mms/MmsEncoder.h"
#include "mms/MmsSmilWriter.h"

namespace mmstest {

void ComposerTest::SetUp() {
  MmsAllocFailAfter(-1);
  MmsComposerReset();
  ASSERT_EQ(MmsComposerCreate(), 0);
}

void ComposerTest::TearDown() {
  MmsAllocFailAfter(-1);
  MmsComposerReset();
}

char* MallocText(const std::string& text) {
  char* block = static_cast<char*>(std::malloc(text.size() + 1));
  std::memcpy(block, text.c_str(), text.size() + 1);
  return block;
}

unsigned char* MallocBytes(const std::string& bytes) {
  unsigned char* block = static_cast<unsigned char*>(std::malloc(bytes.size() + 1));
  std::memcpy(block, bytes.data(), bytes.size());
  return block;
}

char16_t* MallocUtf16(const std::u16string& text) {
  char16_t* block = static_cast<char16_t*>(std::malloc((text.size() + 1) * sizeof(char16_t)));
  std::memcpy(block, text.c_str(), (text.size() + 1) * sizeof(char16_t));
  return block;
}

int SetImage(const std::string& type, const std::string& bytes, int begin, int end) {
  tMMS_ImageInfo info{
      MallocBytes(bytes), MallocText(type), begin, end, static_cast<int>(bytes.size()), 0, 0, 160, 120};
  int rc = MmsComposerSetImage(&info);
  if (rc != 0) {
    std::free(info.Data);
    std::free(info.Type);
  }
  return rc;
}

int SetText(const std::u16string& text, int begin, int end) {
  tMMS_TextInfo info{MallocUtf16(text), begin, end, static_cast<int>(text.size()), 0, 120, 160, 50};
  int rc = MmsComposerSetText(&info);
  if (rc != 0) std::free(info.Text);
  return rc;
}

int SetAudio(const std::string& type, const std::string& bytes, int begin, int end) {
  tMMS_AudioInfo info{MallocBytes(bytes), MallocText(type), begin, end, static_cast<int>(bytes.size())};
  int rc = MmsComposerSetAudio(&info);
  if (rc != 0) {
    std::free(info.Data);
    std::free(info.Type);
  }
  return rc;
}

std::string JfifPicture(std::size_t size) {
  std::string picture("\xFF\xD8\xFF\xE0\x00\x10JFIF\x00", 11);
  for (std::size_t i = picture.size(); i + 2 < size; ++i) picture += static_cast<char>(i * 7);
  return picture + "\xFF\xD9";
}

void MakeSlides(int count, int durMs) {
  for (int i = 1; i < count; ++i) ASSERT_EQ(MmsComposerAddSlide(), 0);
  for (int i = 0; i < count; ++i) MmsComposerSetSlideDur(static_cast<unsigned>(i), durMs);
}

std::string BuildSmil() {
  char* text = MmsBuildSmil();
  if (text == nullptr) return "";
  std::string out = text;
  std::free(text);
  return out;
}

std::string EncodeMessage() {
  int len = -1;
  unsigned char* bytes = MmsEncodeMessage(&len);
  if (bytes == nullptr) {
    EXPECT_EQ(len, 0);
    return "";
  }
  std::string out(reinterpret_cast<char*>(bytes), static_cast<std::size_t>(len));
  std::free(bytes);
  return out;
}

}  // namespace mmstest
