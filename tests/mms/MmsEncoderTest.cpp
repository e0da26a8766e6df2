// The bytes of a message file: the header field, the entry framing, every entry's content type
// and headers, the UTF-8 texts, against a message derived by hand and against real messages.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "MessageBytes.h"
#include "MmsComposeHelpers.h"
#include "mms/MmsAlloc.h"
#include "mms/MmsBodyBuilder.h"
#include "mms/MmsEncoder.h"
#include "mms/MmsSmilWriter.h"
#include "support/SharedData.h"

namespace {

using mmstest::ComposerTest;
using mmstest::EncodeMessage;

std::string Hex(const std::string& bytes) {
  static const char digits[] = "0123456789abcdef";
  std::string out;
  for (unsigned char b : bytes) {
    if (!out.empty()) out += ' ';
    out += digits[b >> 4];
    out += digits[b & 15];
  }
  return out;
}

std::string Z(const char* text) { return std::string(text) + '\0'; }

// The 30 bytes every message starts with, up to the entry count.
const std::string kMessageHead =
    std::string("\x84\x1B\xB3\x89", 4) + Z("application/smil") + "\x8A" + Z("<AAAA>");

struct Entry {
  std::string headers;  // content type and headers
  std::string data;
};

// Splits a file into its entries, checking the framing: every length is used up exactly.
std::vector<Entry> Entries(const std::string& file) {
  std::vector<Entry> entries;
  EXPECT_EQ(file.substr(0, kMessageHead.size()), kMessageHead);
  std::size_t at = kMessageHead.size();
  auto uintvar = [&]() {
    std::uint64_t value = 0;
    for (int i = 0; i < 5 && at < file.size(); ++i) {
      unsigned char b = static_cast<unsigned char>(file[at++]);
      value = (value << 7) | (b & 0x7F);
      if (!(b & 0x80)) return value;
    }
    ADD_FAILURE() << "bad uintvar at " << at;
    return std::uint64_t{0};
  };
  std::uint64_t count = uintvar();
  for (std::uint64_t i = 0; i < count; ++i) {
    std::uint64_t headersLen = uintvar();
    std::uint64_t dataLen = uintvar();
    if (at + headersLen + dataLen > file.size()) {
      ADD_FAILURE() << "entry " << i << " runs past the end";
      return entries;
    }
    entries.push_back({file.substr(at, headersLen), file.substr(at + headersLen, dataLen)});
    at += headersLen + dataLen;
  }
  EXPECT_EQ(at, file.size()) << "bytes after the last entry";
  return entries;
}

// What a part of the given content-type bytes, name and charset has as content type and headers.
std::string PartHeaders(const std::string& media, const std::string& name, bool utf8) {
  std::string value = media + "\x85" + Z(name.c_str()) + (utf8 ? "\x81\xEA" : "");
  std::string length(1, static_cast<char>(value.size()));
  if (value.size() > 30) length = "\x1F" + length;  // Length-quote (values below 128 only)
  return length + value + "\xC0\x22" + Z(("<" + name + ">").c_str()) + "\x8E" + Z(name.c_str());
}

// One 5000 ms slide with a 1234-byte JFIF picture and the text "Hello" as the text editor saves
// it (a byte-order mark first, CR LF last), both over the whole slide.
TEST_F(ComposerTest, TheWorkedExampleIsReproducedByteForByte) {
  const std::string picture = mmstest::JfifPicture(1234);
  MmsComposerSelectSlide(0);
  MmsComposerSetSlideDur(0, 5000);
  ASSERT_EQ(mmstest::SetText(u"\uFEFFHello\r\n", 0, 5000), 0);
  ASSERT_EQ(mmstest::SetImage("image/jpeg", picture, 0, 5000), 0);

  // The presentation of this slide is the one the reader's tests feed it as the editor's own.
  const std::string smil = mmstest::kEditorSmil;
  ASSERT_EQ(smil.size(), 491u);
  const std::string expected = kMessageHead + "\x03" +
                               // the SMIL entry
                               "\x27\x83\x6B\x1D" + Z("application/smil") + "\x85" + Z("mms.smil") +
                               "\x81\xEA\xC0\x22" + Z("<AAAA>") + smil +
                               // the text: no byte-order mark, the final CR LF kept
                               "\x28\x07\x0E\x83\x85" + Z("text0.txt") + "\x81\xEA\xC0\x22" +
                               Z("<text0.txt>") + "\x8E" + Z("text0.txt") + "Hello\r\n" +
                               // the picture
                               "\x29\x89\x52\x0D\x9E\x85" + Z("Image0.jpg") + "\xC0\x22" + Z("<Image0.jpg>") +
                               "\x8E" + Z("Image0.jpg") + picture;
  ASSERT_EQ(expected.size(), 1890u);

  std::string file = EncodeMessage();
  EXPECT_EQ(file.size(), 1890u);
  EXPECT_EQ(Hex(file.substr(0, 80)), Hex(expected.substr(0, 80)));
  EXPECT_EQ(Hex(file.substr(0x230, 0x63)), Hex(expected.substr(0x230, 0x63)));
  EXPECT_TRUE(file == expected);
  EXPECT_EQ(Entries(file).size(), 3u);
}

TEST_F(ComposerTest, AMessageOfOneEmptySlideIsItsSmilAlone) {
  std::string smil = mmstest::BuildSmil();
  ASSERT_EQ(smil.size(), 360u);
  std::string file = EncodeMessage();
  std::string expected = kMessageHead + "\x01\x27\x82\x68\x1D" + Z("application/smil") + "\x85" +
                         Z("mms.smil") + "\x81\xEA\xC0\x22" + Z("<AAAA>") + smil;
  EXPECT_EQ(Hex(file), Hex(expected));
}

TEST_F(ComposerTest, EachPartCarriesItsNameInEveryHeader) {
  mmstest::MakeSlides(4, 2000);
  MmsComposerSelectSlide(3);
  ASSERT_EQ(mmstest::SetText(u"x", 0, 2000), 0);
  ASSERT_EQ(mmstest::SetAudio("audio/mid", "MThd", 0, 2000), 0);
  MmsComposerSelectSlide(1);
  ASSERT_EQ(mmstest::SetImage("image/gif", "GIF89a", 0, 2000), 0);
  ASSERT_EQ(mmstest::SetAudio("audio/wav", "RIFF", 0, 2000), 0);
  std::string file = EncodeMessage();
  std::vector<Entry> entries = Entries(file);
  ASSERT_EQ(entries.size(), 5u);
  // Body order: slide by slide, text, then picture, then sound.
  EXPECT_EQ(Hex(entries[1].headers), Hex(PartHeaders("\x9D", "Image1.gif", false)));
  EXPECT_EQ(entries[1].data, "GIF89a");
  std::string wav = PartHeaders(Z("audio/wav"), "Audio1.wav", false);
  EXPECT_EQ(wav.size(), 50u);
  EXPECT_EQ(Hex(entries[2].headers), Hex(wav));
  EXPECT_EQ(Hex(entries[3].headers), Hex(PartHeaders("\x83", "text3.txt", true)));
  EXPECT_EQ(Hex(entries[4].headers), Hex(PartHeaders(Z("audio/mid"), "Audio3.mid", false)));
  EXPECT_EQ(entries[4].headers.size(), 0x32u);
  EXPECT_EQ(entries[4].headers[0], 0x16);
  const std::string& smil = entries[0].data;
  for (const char* src :
       {"src=\"Image1.gif\"", "src=\"Audio1.wav\"", "src=\"text3.txt\"", "src=\"Audio3.mid\""}) {
    EXPECT_NE(smil.find(src), std::string::npos) << src;
  }
}

TEST_F(ComposerTest, TextsTravelAsUtf8WhateverTheirScript) {
  // Khmer "hello" and Vietnamese with a character outside the first plane's basic range.
  const std::u16string text = u"\u179F\u17BD\u179F\u17D2\u178F\u17B8 Xin ch\u00E0o \U0001F600";
  const std::string utf8 =
      "\xE1\x9E\x9F\xE1\x9E\xBD\xE1\x9E\x9F\xE1\x9F\x92\xE1\x9E\x8F\xE1\x9E\xB8 Xin ch\xC3\xA0o "
      "\xF0\x9F\x98\x80";
  ASSERT_EQ(mmstest::SetText(text, 0, 1000), 0);
  std::vector<Entry> entries = Entries(EncodeMessage());
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(Hex(entries[1].data), Hex(utf8));
  EXPECT_EQ(Hex(entries[1].headers.substr(0, 15)),
            Hex(std::string("\x0E\x83\x85") + Z("text0.txt") + "\x81\xEA"));
}

TEST_F(ComposerTest, OnlyOneLeadingByteOrderMarkIsLeftOut) {
  struct Case {
    std::u16string text;
    std::string utf8;
  } cases[] = {
      {u"\uFEFF", ""},
      {u"\uFEFF\uFEFFa",
       "\xEF\xBB\xBF"
       "a"},
      {u"a\uFEFF", "a\xEF\xBB\xBF"},
      {u"no mark", "no mark"},
  };
  for (const Case& c : cases) {
    MmsComposerReset();
    ASSERT_EQ(MmsComposerCreate(), 0);
    ASSERT_EQ(mmstest::SetText(c.text, 0, 1000), 0);
    std::vector<Entry> entries = Entries(EncodeMessage());
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(Hex(entries[1].data), Hex(c.utf8));
  }
}

// A type outside the part-type table used to give an empty name: Name "", Content-Location ""
// and src="" in the SMIL, so the saved message could not be opened again.
TEST_F(ComposerTest, PartsOfUnlistedTypesGetTheSameNameInBodyAndSmil) {
  struct Case {
    const char* type;
    std::string media;
    const char* name;
  } cases[] = {
      {"", Z("application/octet-stream"), "Part0.bin"},                 // an empty media type drops the entry
      {"\x05weird", Z("application/octet-stream"), "Part0_weird.bin"},  // would read as a number
      {"image/x-png", Z("image/x-png"), "Part0_image.x-png"},
      {"image/JPEG", Z("image/JPEG"), "Image0.jpg"},  // named case-insensitively, written as given
  };
  for (const Case& c : cases) {
    MmsComposerReset();
    ASSERT_EQ(MmsComposerCreate(), 0);
    ASSERT_EQ(mmstest::SetImage(c.type, "pixels", 0, 1000), 0);
    std::vector<Entry> entries = Entries(EncodeMessage());
    ASSERT_EQ(entries.size(), 2u) << c.type;
    EXPECT_EQ(Hex(entries[1].headers), Hex(PartHeaders(c.media, c.name, false))) << c.type;
    EXPECT_NE(entries[0].data.find(std::string("<img src=\"") + c.name + "\""), std::string::npos) << c.type;
  }
}

// WAP-230 gives 0x21 to "image/vnd.wap.wbmp": a BMP written as that code would reach every other
// decoder as a WBMP picture.
TEST_F(ComposerTest, ABmpPictureIsWrittenWithItsTypeSpelledOut) {
  ASSERT_EQ(mmstest::SetImage("image/bmp", "BM", 0, 1000), 0);
  std::vector<Entry> entries = Entries(EncodeMessage());
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(Hex(entries[1].headers), Hex(PartHeaders(Z("image/bmp"), "Image0.bmp", false)));
}

// A content type longer than the old fixed 25-byte copy, whose field is longer than 30 bytes and
// so needs the quoted value length.
TEST_F(ComposerTest, ALongContentTypeIsKeptWholeWithAQuotedLength) {
  const std::string type = "application/vnd.oma.drm.content-with-a-long-name";
  ASSERT_EQ(mmstest::SetAudio(type, "data", 0, 1000), 0);
  std::vector<Entry> entries = Entries(EncodeMessage());
  ASSERT_EQ(entries.size(), 2u);
  std::string name = "Part0_applic.vndoma";
  std::string value = Z(type.c_str()) + "\x85" + Z(name.c_str());
  ASSERT_GT(value.size(), 30u);
  ASSERT_LT(value.size(), 128u);
  std::string expected = std::string("\x1F") + static_cast<char>(value.size()) + value + "\xC0\x22" +
                         Z(("<" + name + ">").c_str()) + "\x8E" + Z(name.c_str());
  EXPECT_EQ(Hex(entries[1].headers), Hex(expected));
}

// The body used to free every "text/plain" part's data as its own UTF-8 copy; a picture handed
// over with that type had its bytes freed by the encoder and again by the composer's reset.
TEST_F(ComposerTest, APictureTypedAsTextStaysTheComposers) {
  ASSERT_EQ(mmstest::SetImage("text/plain", "pixels", 0, 1000), 0);
  const std::string first = EncodeMessage();
  std::vector<Entry> entries = Entries(first);
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[1].data, "pixels");
  EXPECT_EQ(std::memcmp(MmsComposerTable()->Slide[0].ImageData, "pixels", 6), 0);
  EXPECT_EQ(EncodeMessage(), first);  // the sanitizer build reports a use after free here
}

// Two items of a slide whose types give the same part name would be one part to every reader:
// the later one is told apart, alike in the body and in the SMIL.
TEST_F(ComposerTest, ItemsWhoseTypesShareANameGetDistinctNames) {
  ASSERT_EQ(mmstest::SetText(u"t", 0, 1000), 0);
  ASSERT_EQ(mmstest::SetImage("audio/wav", "picture", 0, 1000), 0);
  ASSERT_EQ(mmstest::SetAudio("audio/WAV", "sound", 0, 1000), 0);
  std::vector<Entry> entries = Entries(EncodeMessage());
  ASSERT_EQ(entries.size(), 4u);
  EXPECT_EQ(Hex(entries[2].headers), Hex(PartHeaders(Z("audio/wav"), "Audio0.wav", false)));
  EXPECT_EQ(Hex(entries[3].headers), Hex(PartHeaders(Z("audio/WAV"), "Audio0_2.wav", false)));
  EXPECT_NE(entries[0].data.find("<img src=\"Audio0.wav\""), std::string::npos);
  EXPECT_NE(entries[0].data.find("<audio src=\"Audio0_2.wav\""), std::string::npos);
}

TEST_F(ComposerTest, ATableThatDoesNotValidateGivesNoBytes) {
  mmstest::MakeSlides(2, 1000);
  MmsComposerSelectSlide(1);
  ASSERT_EQ(mmstest::SetText(u"", 0, 1000), 0);  // a text file of one byte reads as no units
  int len = -1;
  EXPECT_EQ(MmsEncodeMessage(&len), nullptr);
  EXPECT_EQ(len, 0);
  EXPECT_EQ(MmsBuildBody(), nullptr);
}

// Any request for memory that fails makes the whole encoding fail: a message with a part left
// out would still name it in the SMIL and could not be opened again. The sanitizer build checks
// that every failure frees what was obtained before it.
TEST_F(ComposerTest, AnyMemoryFailureFailsTheWholeEncoding) {
  mmstest::MakeSlides(2, 1000);
  for (unsigned i = 0; i < 2; ++i) {
    MmsComposerSelectSlide(i);
    ASSERT_EQ(mmstest::SetText(u"text", 0, 1000), 0);
    ASSERT_EQ(mmstest::SetImage("image/gif", "GIF89a", 0, 1000), 0);
    ASSERT_EQ(mmstest::SetAudio("audio/amr", "#!AMR", 0, 1000), 0);
  }
  const std::string whole = EncodeMessage();
  ASSERT_FALSE(whole.empty());
  // The message straight from the composer, and through a body made first, as a caller holding a
  // body encodes it.
  struct Path {
    const char* what;
    unsigned char* (*encode)(int* len);
    long requests;
  };
  const Path paths[] = {
      {"from the composer", MmsEncodeMessage, 1},  // the output
      {"through a body",
       [](int* len) -> unsigned char* {
         tMMS_Body* body = MmsBuildBody();
         if (body == nullptr) return *len = 0, nullptr;
         unsigned char* bytes = MmsEncodeMultipart(body, len);
         MmsFreeBody(body);
         return bytes;
       },
       2},  // the body (one block with every part, name and text), the output
  };
  for (const Path& path : paths) {
    long failures = 0;
    for (long allowed = 0;; ++allowed) {
      MmsAllocFailAfter(allowed);
      int len = -1;
      unsigned char* bytes = path.encode(&len);
      MmsAllocFailAfter(-1);
      if (bytes != nullptr) {
        EXPECT_EQ(std::string(reinterpret_cast<char*>(bytes), static_cast<std::size_t>(len)), whole)
            << path.what;
        std::free(bytes);
        break;
      }
      EXPECT_EQ(len, 0) << path.what << " " << allowed;
      ++failures;
      ASSERT_LT(allowed, 1000);
    }
    EXPECT_GE(failures, path.requests) << path.what;
  }
}

TEST(MmsEncodeMultipart, RefusesABodyWithoutItsSmilPart) {
  int len = -1;
  EXPECT_EQ(MmsEncodeMultipart(nullptr, &len), nullptr);
  EXPECT_EQ(len, 0);
  tMMS_Body body{};
  len = -1;
  EXPECT_EQ(MmsEncodeMultipart(&body, &len), nullptr);
  EXPECT_EQ(len, 0);
}

// Real messages made by phones frame their entries the way this writer does: the text and
// picture entries of a stored message are reproduced byte for byte from their names and data.
TEST(MmsEncodeMultipart, WritesEntriesAsPhonesDo) {
  std::vector<uint8_t> raw =
      testsupport::ReadFileBytes(testsupport::SharedPath("testdata/mms/projekt_exempel.mms"));
  std::string file(raw.begin(), raw.end());
  const std::string text("Jonatan \xC3\xA4r en GNU,", 18);
  std::size_t gifAt = file.find("GIF89a");
  ASSERT_NE(gifAt, std::string::npos);
  const std::string gif = file.substr(gifAt, 1891);

  char smilText[] = "<smil></smil>";
  tMMS_SmilPart smil{const_cast<char*>("application/smil"), smilText, 13};
  tMMS_Part gifPart{const_cast<char*>("SonyhEr.gif"),
                    nullptr,
                    nullptr,
                    reinterpret_cast<unsigned char*>(const_cast<char*>(gif.data())),
                    1891,
                    0,
                    0,
                    0,
                    0,
                    const_cast<char*>("image/gif"),
                    nullptr};
  tMMS_Part textPart{const_cast<char*>("mms.txt"),
                     nullptr,
                     nullptr,
                     reinterpret_cast<unsigned char*>(const_cast<char*>(text.data())),
                     18,
                     106,
                     1,
                     0,
                     0,
                     const_cast<char*>("text/plain"),
                     &gifPart};
  tMMS_Body body{&smil, &textPart};
  int len = 0;
  unsigned char* bytes = MmsEncodeMultipart(&body, &len);
  ASSERT_NE(bytes, nullptr);
  std::string ours(reinterpret_cast<char*>(bytes), static_cast<std::size_t>(len));
  std::free(bytes);
  // Our SMIL entry comes first; the two part entries follow it and stand in the real file as a
  // block.
  std::vector<Entry> entries = Entries(ours);
  ASSERT_EQ(entries.size(), 3u);
  std::size_t partsAt = kMessageHead.size() + 1 + 2 + entries[0].headers.size() + entries[0].data.size();
  std::string partEntries = ours.substr(partsAt);
  EXPECT_NE(file.find(partEntries), std::string::npos) << Hex(partEntries.substr(0, 80));
}

}  // namespace
