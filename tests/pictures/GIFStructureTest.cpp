// The outer structure of a GIF stream: signature, blocks between frames, frames of extensions
// only, the trailer, the logical screen and the version written.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "GifFixtures.h"
#include "pictures/GIFException.h"
#include "pictures/gif/GIFSettings.h"
#include "pictures/gif/TGIFCommentExtension.h"
#include "pictures/gif/TGIFGraphicControlExtension.h"
#include "pictures/gif/TGIFSubImage.h"
#include "platform/rtl/TFileStream.h"
#include "support/SharedData.h"
#include "support/TempDir.h"

using namespace giftest;

namespace {

const Bytes kPixels = {1, 2, 3, 0};

Bytes TwoFrames(const Bytes& between, const Bytes& end) {
  Bytes gif = Header(2, 2);
  Append(gif, PlainFrame(2, 2, kPixels));
  Append(gif, between);
  Append(gif, PlainFrame(2, 2, kPixels));
  Append(gif, end);
  return gif;
}

Bytes Comment(const std::string& text) {
  Bytes out = {0x21, 0xFE};
  Append(out, SubBlocks(Bytes(text.begin(), text.end())));
  return out;
}

}  // namespace

TEST(GIFStructure, StreamsLoadWithTheirWarnings) {
  Bytes prefixed = {0, 0, 0, 42};
  Append(prefixed, TwoFrames({}, {0x3B}));
  Bytes lower = TwoFrames({}, {0x3B});
  lower[0] = 'g';
  lower[1] = 'i';
  lower[2] = 'f';
  Bytes stray = TwoFrames({}, {});
  stray.insert(stray.end(), {0x99});
  Append(stray, PlainFrame(2, 2, kPixels));
  stray.push_back(0x3B);
  // A block byte other than an image separator after a control block: the frame keeps the
  // block alone, the next byte stops the frames.
  Bytes strayAfterControl = TwoFrames({}, {});
  Append(strayAfterControl, ControlBlock(0, 5, 0));
  strayAfterControl.push_back(0x44);
  Append(strayAfterControl, PlainFrame(2, 2, kPixels));

  struct Case {
    const char* name;
    Bytes gif;
    int frames;
    std::vector<std::string> warnings;
  };
  const Case cases[] = {
      {"a four-byte prefix", prefixed, 2, {}},
      {"a lower-case signature", lower, 2, {}},
      {"zero bytes between frames", TwoFrames({0, 0, 0}, {0, 0x3B}), 2, {}},
      {"no trailer", TwoFrames({}, {}), 2, {}},
      {"zeros and no trailer", TwoFrames({}, {0, 0}), 2, {}},
      {"an unknown block byte", stray, 2, {"Unknown GIF block type", "Invalid Image trailer"}},
      {"a stray byte after a control block",
       strayAfterControl,
       3,
       {"Invalid extension introducer", "Unknown GIF block type", "Invalid Image trailer"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TGIFImage image;
    EXPECT_EQ(Load(image, c.gif), c.warnings);
    ASSERT_EQ(image.Images()->Count(), c.frames);
    EXPECT_EQ(image.Images()->GetImage(1)->Pixels(), kPixels);
  }
}

TEST(GIFStructure, ABadSignatureIsRefusedAndTheStreamRestored) {
  Bytes gif = TwoFrames({}, {0x3B});
  gif[1] = 'X';
  TMemoryStream stream;
  stream.WriteBuffer("ab", 2);
  stream.WriteBuffer(gif.data(), int(gif.size()));
  stream.SetPosition(2);
  TGIFImage image;
  std::vector<std::pair<TProgressStage, int>> progress;
  image.OnProgress = [&](TObject*, TProgressStage stage, BYTE percent, bool, const RECT&, const AnsiString&) {
    progress.emplace_back(stage, percent);
  };
  try {
    image.LoadFromStream(&stream);
    ADD_FAILURE() << "loaded";
  } catch (const GIFException& e) {
    EXPECT_STREQ(e.what(), "Invalid GIF signature");
  }
  EXPECT_EQ(stream.Position(), 2);
  EXPECT_TRUE(image.Empty());
  // The report the load started ends, at 0.
  ASSERT_FALSE(progress.empty());
  EXPECT_EQ(progress.back(), std::make_pair(psEnding, 0));
}

TEST(GIFStructure, RenderingOnLoadWaitsForTheWholePicture) {
  GIFImageRenderOnLoad = true;
  struct Restore {
    ~Restore() { GIFImageRenderOnLoad = false; }
  } restore;
  TGIFImage image;
  // How many frames the picture holds each time a frame starts rendering.
  std::vector<int> framesAtRender;
  image.OnProgress = [&](TObject*, TProgressStage stage, BYTE, bool, const RECT&, const AnsiString& message) {
    if (stage == psStarting && message == AnsiString(sProgressRendering))
      framesAtRender.push_back(image.Images()->Count());
  };
  Load(image, TwoFrames({}, {0x3B}));
  EXPECT_EQ(framesAtRender, (std::vector<int>{2, 2}));
  for (int i = 0; i < image.Images()->Count(); ++i) EXPECT_TRUE(image.Images()->GetImage(i)->GetHasBitmap());
}

TEST(GIFStructure, AFrameWithoutAPictureReadsItself) {
  struct Case {
    const char* name;
    Bytes bytes;
    int width;
    Bytes pixels;
  };
  const Case cases[] = {
      {"a sized frame", PlainFrame(2, 2, kPixels), 2, kPixels},
      // No picture, no screen: the frame stays without pixels.
      {"a frame without a size", ImageBlock(0, 0, 0, 0, 2, SubBlocks(PlainCodes({}, 2))), 0, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TMemoryStream stream;
    stream.WriteBuffer(c.bytes.data(), int(c.bytes.size()));
    stream.SetPosition(0);
    TGIFSubImage frame(nullptr);
    frame.LoadFromStream(&stream);
    EXPECT_EQ(frame.Width(), c.width);
    EXPECT_EQ(frame.Pixels(), c.pixels);
    EXPECT_EQ(stream.Position(), stream.Size());
  }
}

TEST(GIFStructure, ACutStreamKeepsTheFramesBeforeTheCut) {
  Bytes gif = TwoFrames({}, {0x3B});
  gif.resize(Header(2, 2).size() + PlainFrame(2, 2, kPixels).size() + 5);  // inside the second descriptor
  TGIFImage image;
  EXPECT_THROW(Load(image, gif), GIFException);
  EXPECT_EQ(image.Images()->Count(), 1);
}

TEST(GIFStructure, ExtensionsBeforeTheTrailerAreWrittenBackInPlace) {
  Bytes gif = Header(2, 2);
  Append(gif, Comment("first"));
  Append(gif, Comment("second"));
  gif.push_back(0x3B);
  TGIFImage image;
  EXPECT_TRUE(Load(image, gif).empty());
  ASSERT_EQ(image.Images()->Count(), 1);
  EXPECT_TRUE(image.Images()->GetImage(0)->GetEmpty());
  EXPECT_EQ(image.Images()->GetImage(0)->Extensions()->Count(), 2);
  EXPECT_EQ(Save(image), gif);
}

TEST(GIFStructure, AScreenOfZeroGrowsToItsFrames) {
  Bytes gif = Header(0, 0);
  Append(gif, ImageBlock(3, 1, 2, 2, 2, SubBlocks(PlainCodes(kPixels, 2))));
  Append(gif, ImageBlock(0, 4, 1, 1, 2, SubBlocks(PlainCodes({1}, 2))));
  gif.push_back(0x3B);
  TGIFImage image;
  EXPECT_EQ(Load(image, gif), std::vector<std::string>{"Image exceeds Logical Screen size"});
  EXPECT_EQ(image.Width(), 5);
  EXPECT_EQ(image.Height(), 5);

  Bytes kept = Header(1, 1);
  Append(kept, ImageBlock(3, 1, 2, 2, 2, SubBlocks(PlainCodes(kPixels, 2))));
  TGIFImage small;
  EXPECT_TRUE(Load(small, kept).empty());
  EXPECT_EQ(small.Width(), 1);
  EXPECT_EQ(small.Height(), 1);
  EXPECT_EQ(small.Images()->GetImage(0)->Left(), 3);
}

TEST(GIFStructure, TheVersionCoversHeaderAndFrames) {
  struct Case {
    const char* name;
    Bytes gif;
    TGIFVersion version;
  };
  Bytes plain = Header(2, 2, 4, "87a");
  Append(plain, PlainFrame(2, 2, kPixels));
  Bytes aspect = plain;
  aspect[12] = 49;
  Bytes sorted = plain;
  sorted[10] |= 0x08;
  Bytes withControl = Header(2, 2, 4, "87a");
  Append(withControl, ControlBlock(0, 1, 0));
  Append(withControl, PlainFrame(2, 2, kPixels));
  const Case cases[] = {
      {"plain", plain, gv87a},
      {"an aspect ratio", aspect, gv89a},
      {"a sorted global table", sorted, gv87a},
      {"a control block", withControl, gv89a},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TGIFImage image;
    Load(image, c.gif);
    EXPECT_EQ(image.GetVersion(), c.version);
  }
  TGIFImage empty;
  EXPECT_EQ(empty.GetVersion(), gvUnknown);
  TMemoryStream stream;
  try {
    empty.SaveToStream(&stream);
    ADD_FAILURE() << "saved";
  } catch (const GIFException& e) {
    EXPECT_STREQ(e.what(), "Unsupported GIF version");
  }
}

TEST(GIFStructure, AFailedItemSaveLeavesTheFileAlone) {
  testsupport::TempDir temp;
  const std::string path = temp.write("header.gif", "old contents");
  TGIFImage empty;
  EXPECT_THROW(empty.Header()->SaveToFile(path.c_str()), GIFException);
  auto bytes = testsupport::ReadFileBytes(path);
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "old contents");
}

TEST(GIFStructure, SettingTheSizeBelowAFrameIsRefused) {
  Bytes gif = Header(4, 4);
  Append(gif, ImageBlock(1, 1, 2, 2, 2, SubBlocks(PlainCodes(kPixels, 2))));
  TGIFImage image;
  Load(image, gif);
  EXPECT_THROW(image.SetWidth(2), GIFException);
  EXPECT_THROW(image.SetHeight(2), GIFException);
  EXPECT_EQ(image.Width(), 4);
  image.SetWidth(3);
  EXPECT_EQ(image.Width(), 3);
}

TEST(GIFStructure, AMosaicLoadsAsOneFramePerTile) {
  // As the image library writes true-colour pictures: no global table, 17 x 15 tiles, each with
  // a control block of delay 0 and a local table of 256 colours.
  Bytes gif = Header(40, 31, 0);
  for (int top = 0; top < 31; top += 15)
    for (int left = 0; left < 40; left += 17) {
      const int w = std::min(17, 40 - left), h = std::min(15, 31 - top);
      Append(gif, ControlBlock(0, 0, 0));
      Bytes block = {0x2C};
      AppendWord(block, left);
      AppendWord(block, top);
      AppendWord(block, w);
      AppendWord(block, h);
      block.push_back(0x87);
      for (int i = 0; i < 256; ++i)
        block.insert(block.end(), {std::uint8_t(i), std::uint8_t(left), std::uint8_t(top)});
      block.push_back(8);
      Bytes pixels(std::size_t(w * h));
      for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = std::uint8_t(i * 11);
      Append(block, SubBlocks(PlainCodes(pixels, 8)));
      Append(gif, block);
    }
  gif.push_back(0x3B);
  TGIFImage image;
  EXPECT_TRUE(Load(image, gif).empty());
  EXPECT_EQ(image.Width(), 40);
  EXPECT_EQ(image.Height(), 31);
  EXPECT_EQ(image.GetColorMap()->Count(), 0);
  ASSERT_EQ(image.Images()->Count(), 9);
  for (int j = 0; j < 3; ++j)
    for (int i = 0; i < 3; ++i) {
      TGIFSubImage* frame = image.Images()->GetImage(j * 3 + i);
      EXPECT_EQ(frame->Left(), 17 * i);
      EXPECT_EQ(frame->Top(), 15 * j);
      EXPECT_EQ(frame->ColorMap()->Count(), 256);
      EXPECT_EQ(frame->GetActiveColorMap(), frame->ColorMap());
      ASSERT_NE(frame->GraphicControlExtension(), nullptr);
      EXPECT_EQ(frame->GraphicControlExtension()->GetDelay(), 0);
      EXPECT_EQ(frame->GetPixel(1, 0), 11);
    }
}

TEST(GIFStructure, FrameGeometry) {
  Bytes gif = Header(10, 8);
  Append(gif, ImageBlock(2, 1, 2, 2, 2, SubBlocks(PlainCodes(kPixels, 2))));
  TGIFImage image;
  Load(image, gif);
  TGIFSubImage* frame = image.Images()->GetImage(0);
  const RECT doubled = frame->ScaleRect(RECT{0, 0, 20, 16});
  EXPECT_EQ(std::vector<LONG>({doubled.left, doubled.top, doubled.right, doubled.bottom}),
            std::vector<LONG>({4, 2, 8, 6}));

  frame->SetBoundsRect(RECT{0, 0, 9, 9});
  const RECT bounds = frame->GetBoundsRect();
  EXPECT_EQ(std::vector<LONG>({bounds.left, bounds.top, bounds.right, bounds.bottom}),
            std::vector<LONG>({0, 0, 10, 10}));
  EXPECT_EQ(frame->Pixels().size(), 100u);
  EXPECT_EQ(image.Height(), 10);

  std::vector<std::string> warnings;
  image.OnGIFWarning = [&warnings](TObject*, TGIFSeverity, const AnsiString& m) {
    warnings.push_back(m.c_str());
  };
  frame->SetBounds(1, 5);
  EXPECT_EQ(image.Width(), 15);
  EXPECT_EQ(warnings, (std::vector<std::string>{"Image width too small for contained frames",
                                                "Image exceeds Logical Screen size"}));
  EXPECT_EQ(frame->GetBounds(1), 5);
  EXPECT_EQ(frame->GetBounds(7), 0);

  // A screen without a size places frames nowhere instead of dividing by it.
  TGIFImage empty;
  TGIFSubImage loose(&empty);
  const RECT none = loose.ScaleRect(RECT{3, 4, 50, 60});
  EXPECT_EQ(none.right, none.left);
  EXPECT_EQ(none.bottom, none.top);
}

TEST(GIFStructure, APictureEqualsOnlyItself) {
  Bytes gif = TwoFrames({}, {0x3B});
  TGIFImage image, copy;
  Load(image, gif);
  Load(copy, gif);
  EXPECT_TRUE(image.Equals(&image));
  EXPECT_FALSE(image.Equals(&copy));
}

TEST(GIFStructure, ANewPictureTakesTheDefaultsAndKeepsItsSettingsInRange) {
  TGIFImage image;
  EXPECT_EQ(image.DrawOptions(), GIFDrawOption(goAsync) | GIFDrawOption(goTransparent) |
                                     GIFDrawOption(goAnimate) | GIFDrawOption(goLoop) |
                                     GIFDrawOption(goDither) | GIFDrawOption(goAutoDither));
  EXPECT_EQ(image.ColorReduction(), rmNetscape);
  EXPECT_EQ(image.ReductionBits(), 8);
  EXPECT_EQ(image.DitherMode(), TDitherMode::dmNearest);
  EXPECT_EQ(image.Compression(), gcLZW);
  EXPECT_EQ(image.AnimationSpeed(), 100);
  EXPECT_EQ(image.ForceFrame(), -1);
  EXPECT_EQ(image.DrawBackgroundColor(), clNone);

  image.SetAnimationSpeed(-5);
  EXPECT_EQ(image.AnimationSpeed(), 0);
  image.SetAnimationSpeed(5000);
  EXPECT_EQ(image.AnimationSpeed(), 1000);
  image.SetReductionBits(3);
  image.SetReductionBits(8);
  try {
    image.SetReductionBits(2);
    ADD_FAILURE() << "accepted 2";
  } catch (const GIFException& e) {
    EXPECT_STREQ(e.what(), "Invalid Bits Per Pixel value");
  }
  EXPECT_EQ(image.ReductionBits(), 8);

  EXPECT_FALSE(image.GetDoDither());  // a screen of more than 8 bits
  DoAutoDither = true;
  EXPECT_TRUE(image.GetDoDither());
  DoAutoDither = false;
}
