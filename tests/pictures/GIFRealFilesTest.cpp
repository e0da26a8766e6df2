// Real GIF files made by others (the decoder suite, the pictures inside real messages, and files
// that ImageMagick and Pillow write) load with what giflib's gifbuild reports of them.
#include <gtest/gtest.h>

#include <cstdlib>

#include "GifDump.h"
#include "GifFixtures.h"
#include "pictures/gif/TGIFAppExtNSLoop.h"
#include "pictures/gif/TGIFGraphicControlExtension.h"
#include "pictures/gif/TGIFSubImage.h"
#include "support/SharedData.h"
#include "support/TempDir.h"

using namespace giftest;

namespace {

// The same stream with every image's data cut into sub-blocks of `size` bytes.
Bytes Resplit(const Bytes& gif, int size) {
  Bytes out(gif.begin(), gif.begin() + 13);
  std::size_t at = 13;
  if (gif[10] & 0x80) {
    std::size_t table = 3u << ((gif[10] & 7) + 1);
    out.insert(out.end(), gif.begin() + 13, gif.begin() + std::ptrdiff_t(13 + table));
    at += table;
  }
  auto gather = [&](Bytes& data) {
    while (at < gif.size() && gif[at] != 0) {
      std::size_t n = gif[at];
      data.insert(data.end(), gif.begin() + std::ptrdiff_t(at + 1), gif.begin() + std::ptrdiff_t(at + 1 + n));
      at += n + 1;
    }
    ++at;
  };
  while (at < gif.size()) {
    std::uint8_t b = gif[at];
    if (b == 0x21) {
      out.insert(out.end(), gif.begin() + std::ptrdiff_t(at), gif.begin() + std::ptrdiff_t(at + 2));
      at += 2;
      Bytes data;
      std::size_t from = at;
      gather(data);
      out.insert(out.end(), gif.begin() + std::ptrdiff_t(from), gif.begin() + std::ptrdiff_t(at));
    } else if (b == 0x2C) {
      std::size_t header = 10 + ((gif[at + 9] & 0x80) ? (3u << ((gif[at + 9] & 7) + 1)) : 0) + 1;
      out.insert(out.end(), gif.begin() + std::ptrdiff_t(at), gif.begin() + std::ptrdiff_t(at + header));
      at += header;
      Bytes data;
      gather(data);
      Append(out, SubBlocks(data, size));
    } else {
      out.insert(out.end(), gif.begin() + std::ptrdiff_t(at), gif.end());
      break;
    }
  }
  return out;
}

std::vector<int> PixelsOf(TGIFSubImage* frame) {
  return std::vector<int>(frame->Pixels().begin(), frame->Pixels().end());
}

TGIFAppExtNSLoop* LoopOf(TGIFImage& image) {
  for (int i = 0; i < image.Images()->Count(); ++i) {
    TGIFExtensionList* list = image.Images()->GetImage(i)->Extensions();
    for (int j = 0; j < list->Count(); ++j)
      if (auto* loop = dynamic_cast<TGIFAppExtNSLoop*>(list->GetExtension(j))) return loop;
  }
  return nullptr;
}

// Compares a loaded picture with the oracle's report of the same bytes.
void ExpectAsDumped(TGIFImage& image, const GifDump& dump) {
  ASSERT_TRUE(dump.ok);
  EXPECT_EQ(image.Width(), dump.width);
  EXPECT_EQ(image.Height(), dump.height);
  EXPECT_EQ(image.GetBackgroundColorIndex(), dump.background);
  EXPECT_EQ(image.GetAspectRatio(), dump.aspect);
  EXPECT_EQ(image.GetColorMap()->Count(), dump.globalColors);
  TGIFAppExtNSLoop* loop = LoopOf(image);
  EXPECT_EQ(loop ? loop->Loops() : -1, dump.loop);
  std::vector<TGIFSubImage*> frames;
  for (int i = 0; i < image.Images()->Count(); ++i)
    if (!image.Images()->GetImage(i)->GetEmpty()) frames.push_back(image.Images()->GetImage(i));
  ASSERT_EQ(frames.size(), dump.images.size());
  for (std::size_t i = 0; i < frames.size(); ++i) {
    SCOPED_TRACE("frame " + std::to_string(i));
    const DumpImage& expected = dump.images[i];
    TGIFSubImage* frame = frames[i];
    EXPECT_EQ(frame->Left(), expected.left);
    EXPECT_EQ(frame->Top(), expected.top);
    EXPECT_EQ(frame->Width(), expected.width);
    EXPECT_EQ(frame->Height(), expected.height);
    EXPECT_EQ(frame->GetInterlaced(), expected.interlaced);
    EXPECT_EQ(frame->ColorMap()->Count(), expected.localColors);
    TGIFGraphicControlExtension* control = frame->GraphicControlExtension();
    ASSERT_EQ(control != nullptr, expected.control.present);
    if (control) {
      EXPECT_EQ(control->GetDisposalValue(), expected.control.disposal);
      EXPECT_EQ(control->GetDelay(), expected.control.delay);
      EXPECT_EQ(control->GetUserInput(), expected.control.userInput);
      EXPECT_EQ(control->GetTransparent() ? control->GetTransparentColorIndex() : -1,
                expected.control.transparent);
      EXPECT_EQ(frame->Transparent(), control->GetTransparent());
    }
    EXPECT_EQ(PixelsOf(frame), expected.pixels);
  }
}

struct Source {
  std::string name;
  Bytes bytes;
  std::string path;  // a file holding exactly the bytes, for the oracle
};

// The suite's files, and the two pictures inside real messages (found by their signature).
std::vector<Source> RealSources(const testsupport::TempDir& temp) {
  std::vector<Source> sources;
  for (const std::string& path : testsupport::SharedFiles("testdata/gif", ".gif"))
    sources.push_back({path.substr(path.rfind('/') + 1), testsupport::ReadFileBytes(path), path});
  for (const char* message : {"SonyEricssonT310-R201.mms", "projekt_exempel.mms"}) {
    Bytes mms = testsupport::ReadFileBytes(testsupport::SharedPath(std::string("testdata/mms/") + message));
    const std::string signature = "GIF8";
    auto at = std::search(mms.begin(), mms.end(), signature.begin(), signature.end());
    Bytes gif(at, mms.end());
    std::string path = temp.write(std::string(message) + ".gif", std::string(gif.begin(), gif.end()));
    sources.push_back({message, gif, path});
  }
  return sources;
}

}  // namespace

TEST(GIFRealFiles, LoadAsTheOracleReportsThem) {
  if (!HaveGifbuild()) GTEST_SKIP() << "gifbuild (giflib-tools) is not installed";
  testsupport::TempDir temp;
  std::vector<Source> sources = RealSources(temp);
  ASSERT_GE(sources.size(), 14u);
  for (const Source& source : sources) {
    SCOPED_TRACE(source.name);
    TGIFImage image;
    Load(image, source.bytes);
    ExpectAsDumped(image, DumpGif(source.path));
  }
}

TEST(GIFRealFiles, PicturesInsideMessagesEndWhereTheirPartsEnd) {
  struct Case {
    const char* message;
    std::int64_t size;
  };
  for (const Case& c : {Case{"SonyEricssonT310-R201.mms", 2940}, Case{"projekt_exempel.mms", 1891}}) {
    SCOPED_TRACE(c.message);
    Bytes mms = testsupport::ReadFileBytes(testsupport::SharedPath(std::string("testdata/mms/") + c.message));
    const std::string signature = "GIF8";
    auto at = std::search(mms.begin(), mms.end(), signature.begin(), signature.end());
    ASSERT_NE(at, mms.end());
    TMemoryStream stream;
    stream.WriteBuffer(mms.data(), int(mms.size()));
    const std::int64_t start = at - mms.begin();
    stream.SetPosition(start);
    TGIFImage image;
    image.LoadFromStream(&stream);
    EXPECT_EQ(stream.Position() - start, c.size);
    EXPECT_EQ(image.Width(), 101);
    EXPECT_EQ(image.Height(), 80);
    EXPECT_EQ(image.Images()->Count(), 1);
  }
}

TEST(GIFRealFiles, FramesOutsideTheScreenKeepTheirPlaces) {
  TGIFImage image;
  Load(image, testsupport::ReadFileBytes(testsupport::SharedPath(
                  "testdata/gif/animated_transparent_loop_frames_out_of_bounds.gif")));
  EXPECT_EQ(image.Width(), 100);
  EXPECT_EQ(image.Height(), 100);
  bool outside = false;
  for (int i = 0; i < image.Images()->Count(); ++i) {
    TGIFSubImage* frame = image.Images()->GetImage(i);
    outside = outside || frame->Left() + frame->Width() > 100 || frame->Top() + frame->Height() > 100;
  }
  EXPECT_TRUE(outside);
}

TEST(GIFRealFiles, WrittenByOtherProgramsLoadAsTheOracleReportsThem) {
  if (!HaveGifbuild()) GTEST_SKIP() << "gifbuild (giflib-tools) is not installed";
  testsupport::TempDir temp;
  struct Case {
    const char* name;
    std::string command;
  };
  const std::string plain = temp.file("plasma.gif"), interlaced = temp.file("plasma-i.gif"),
                    pillow = temp.file("pillow.gif");
  std::vector<Case> cases = {
      {"ImageMagick", "convert -seed 1 -size 64x48 plasma: -colors 256 '" + plain + "'"},
      {"ImageMagick interlaced",
       "convert -seed 1 -size 64x48 plasma: -colors 256 -interlace GIF '" + interlaced + "'"},
      {"Pillow",
       "/usr/bin/python3 -c \"from PIL import Image\nim = Image.new('P', (37, 29))\n"
       "im.putdata([(x * 7 + y * 3) % 200 for y in range(29) for x in range(37)])\n"
       "im.save('" +
           pillow + "', save_all=True, append_images=[im.rotate(90)], loop=3, duration=40)\""},
  };
  const std::string paths[] = {plain, interlaced, pillow};
  for (std::size_t i = 0; i < cases.size(); ++i) {
    SCOPED_TRACE(cases[i].name);
    if (std::system((cases[i].command + " 2>/dev/null").c_str()) != 0) {
      ADD_FAILURE() << "could not run: " << cases[i].command;
      continue;
    }
    TGIFImage image;
    Load(image, testsupport::ReadFileBytes(paths[i]));
    ExpectAsDumped(image, DumpGif(paths[i]));
  }
}

TEST(GIFRealFiles, ShortSubBlocksDecodeAsLongOnes) {
  testsupport::TempDir temp;
  std::vector<Source> sources = RealSources(temp);
  for (const Source& source : sources) {
    TGIFImage original;
    Load(original, source.bytes);
    for (int size : {1, 2, 254}) {
      SCOPED_TRACE(source.name + " in sub-blocks of " + std::to_string(size));
      TGIFImage resplit;
      auto warnings = Load(resplit, Resplit(source.bytes, size));
      EXPECT_TRUE(warnings.empty());
      ASSERT_EQ(resplit.Images()->Count(), original.Images()->Count());
      for (int i = 0; i < original.Images()->Count(); ++i)
        EXPECT_EQ(resplit.Images()->GetImage(i)->Pixels(), original.Images()->GetImage(i)->Pixels());
    }
  }
}
