// Extension blocks: control blocks, looping, comments, and blocks the picture has no class for,
// each belonging to its own frame and written back as read.
#include <gtest/gtest.h>

#include <algorithm>

#include "GifFixtures.h"
#include "pictures/GIFException.h"
#include "pictures/gif/TGIFAppExtNSLoop.h"
#include "pictures/gif/TGIFCommentExtension.h"
#include "pictures/gif/TGIFGraphicControlExtension.h"
#include "pictures/gif/TGIFSubImage.h"
#include "pictures/gif/TGIFUnknownAppExtension.h"
#include "pictures/gif/TGIFUnknownExtension.h"
#include "platform/rtl/TStringList.h"

using namespace giftest;

namespace {

const Bytes kPixels = {1, 2, 3, 0};

Bytes Frame() { return PlainFrame(2, 2, kPixels); }

// Header, then frame 0 with `before` ahead of it, then two plain frames.
Bytes ThreeFrames(const Bytes& before) {
  Bytes gif = Header(2, 2);
  Append(gif, before);
  Append(gif, Frame());
  Append(gif, Frame());
  Append(gif, Frame());
  gif.push_back(0x3B);
  return gif;
}

Bytes WrittenBy(TGIFItem* item) {
  TMemoryStream stream;
  item->SaveToStream(&stream);
  const auto* p = static_cast<const std::uint8_t*>(stream.Memory());
  return Bytes(p, p + stream.Size());
}

Bytes Application(const char* identifier, const Bytes& blocks, int size = 11) {
  Bytes out = {0x21, 0xFF, std::uint8_t(size)};
  for (int i = 0; i < size; ++i) out.push_back(std::uint8_t(i < 11 ? identifier[i] : 'x'));
  Append(out, blocks);
  return out;
}

TGIFExtension* FirstExtension(TGIFImage& image) {
  return image.Images()->GetImage(0)->Extensions()->GetExtension(0);
}

}  // namespace

TEST(GIFExtensions, ControlBlocksRoundTripAndDriveTransparency) {
  TGIFImage image;
  Bytes control = ControlBlock(0x0D, 0x1234, 7);
  Load(image, ThreeFrames(control));
  auto* gce = dynamic_cast<TGIFGraphicControlExtension*>(FirstExtension(image));
  ASSERT_NE(gce, nullptr);
  EXPECT_EQ(WrittenBy(gce), control);
  EXPECT_EQ(gce->GetDisposal(), TDisposalMethod::dmPrevious);
  EXPECT_EQ(gce->GetDelay(), 0x1234);

  TGIFImage transparent;
  Load(transparent, ThreeFrames(ControlBlock(0x01, 0, 2)));
  TGIFSubImage* frame = transparent.Images()->GetImage(0);
  EXPECT_TRUE(frame->Transparent());
  EXPECT_TRUE(transparent.GetIsTransparent());
  gce = frame->GraphicControlExtension();
  gce->SetDisposal(TDisposalMethod::dmPrevious);
  EXPECT_EQ(gce->PackedFields(), 0x0D);
  frame->Extensions()->Delete(0);
  EXPECT_FALSE(frame->Transparent());
  EXPECT_EQ(frame->GraphicControlExtension(), nullptr);
  EXPECT_FALSE(transparent.GetIsTransparent());
}

TEST(GIFExtensions, ControlBlocksOfOddShapesBelongToTheirImages) {
  Bytes five = {0x21, 0xF9, 5, 0x01, 10, 0, 3, 0xEE, 0};
  Bytes three = {0x21, 0xF9, 3, 0x01, 20, 0, 0};
  Bytes zeroBetween = ControlBlock(0x01, 30, 1);
  zeroBetween.push_back(0);
  Bytes second = ControlBlock(0x00, 40, 0);
  Append(second, ControlBlock(0x01, 50, 1));
  struct Case {
    const char* name;
    Bytes before;
    int delay;
    bool transparent;
    int index;
    bool cut;
  };
  const Case cases[] = {
      {"size 5", five, 10, true, 3, false},
      {"size 3", three, 20, true, 0, true},
      {"a zero byte before the image", zeroBetween, 30, true, 1, false},
      {"a second control block", second, 40, false, 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TGIFImage image;
    auto warnings = Load(image, ThreeFrames(c.before));
    EXPECT_EQ(warnings,
              c.cut ? std::vector<std::string>{"Premature end of data"} : std::vector<std::string>{});
    ASSERT_EQ(image.Images()->Count(), 3);
    TGIFSubImage* frame = image.Images()->GetImage(0);
    EXPECT_FALSE(frame->GetEmpty());
    ASSERT_NE(frame->GraphicControlExtension(), nullptr);
    EXPECT_EQ(frame->GraphicControlExtension()->GetDelay(), c.delay);
    EXPECT_EQ(frame->Transparent(), c.transparent);
    EXPECT_EQ(frame->GraphicControlExtension()->GetTransparentColorIndex(), c.index);
    Bytes written = WrittenBy(frame->GraphicControlExtension());
    EXPECT_EQ(written.size(), 8u);
    EXPECT_EQ(written[2], 4);
  }
}

TEST(GIFExtensions, LoopingBlocks) {
  struct Case {
    const char* name;
    Bytes block;
    int loops;
    DWORD buffer;
    Bytes written;
  };
  const Case cases[] = {
      {"NETSCAPE2.0", Application("NETSCAPE2.0", {3, 1, 5, 0, 0}), 5, 0,
       Application("NETSCAPE2.0", {3, 1, 5, 0, 0})},
      {"ANIMEXTS1.0", Application("ANIMEXTS1.0", {3, 1, 0, 1, 0}), 256, 0,
       Application("ANIMEXTS1.0", {3, 1, 0, 1, 0})},
      {"sub-block id 9", Application("NETSCAPE2.0", {3, 9, 7, 0, 0}), 7, 0,
       Application("NETSCAPE2.0", {3, 1, 7, 0, 0})},
      {"a buffer size", Application("NETSCAPE2.0", {3, 1, 2, 0, 5, 2, 1, 2, 3, 4, 0}), 2, 0x04030201,
       Application("NETSCAPE2.0", {3, 1, 2, 0, 5, 2, 1, 2, 3, 4, 0})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TGIFImage image;
    EXPECT_TRUE(Load(image, ThreeFrames(c.block)).empty());
    EXPECT_EQ(image.Images()->Count(), 3);
    auto* loop = dynamic_cast<TGIFAppExtNSLoop*>(FirstExtension(image));
    ASSERT_NE(loop, nullptr);
    EXPECT_EQ(loop->Loops(), c.loops);
    EXPECT_EQ(loop->BufferSize(), c.buffer);
    EXPECT_EQ(WrittenBy(loop), c.written);
  }
  // A file cut inside the looping block loads what it has.
  Bytes cut = Header(2, 2);
  Append(cut, Frame());
  Append(cut, Application("NETSCAPE2.0", {3, 1}));
  TGIFImage image;
  Load(image, cut);
  EXPECT_EQ(image.Images()->Count(), 2);
}

TEST(GIFExtensions, CommentsAreOneLineASubBlock) {
  Bytes block = {0x21, 0xFE, 3, 'o', 'n', 'e', 3, 't', 'w', 'o', 5, 't', 'h', 'r', 'e', 'e', 0};
  TGIFImage image;
  Load(image, ThreeFrames(block));
  auto* comment = dynamic_cast<TGIFCommentExtension*>(FirstExtension(image));
  ASSERT_NE(comment, nullptr);
  EXPECT_EQ(comment->Text()->Count(), 3);
  EXPECT_STREQ(comment->Text()->Strings(2).c_str(), "three");
  EXPECT_EQ(WrittenBy(comment), block);

  comment->Text()->Clear();
  comment->Text()->Add(AnsiString(std::string(600, 'c')));
  Bytes written = WrittenBy(comment);
  ASSERT_EQ(written.size(), 2 + 1 + 255 + 1 + 255 + 1 + 90 + 1u);
  EXPECT_EQ(written[2], 255);
  EXPECT_EQ(written[2 + 256], 255);
  EXPECT_EQ(written[2 + 512], 90);
}

TEST(GIFExtensions, CommentsKeepTheirZeroBytes) {
  const Bytes cases[] = {
      {0x21, 0xFE, 1, 0, 0},
      {0x21, 0xFE, 4, 'a', 0, 'b', 0, 2, 0, 'c', 0},
  };
  for (const Bytes& block : cases) {
    TGIFImage image;
    Load(image, ThreeFrames(block));
    auto* comment = dynamic_cast<TGIFCommentExtension*>(FirstExtension(image));
    ASSERT_NE(comment, nullptr);
    EXPECT_EQ(comment->Text()->Strings(0).Length(), block[2]);
    EXPECT_EQ(WrittenBy(comment), block);
    // The whole saved file carries the block unchanged.
    const Bytes saved = Save(image);
    EXPECT_NE(std::search(saved.begin(), saved.end(), block.begin(), block.end()), saved.end());
  }
}

TEST(GIFExtensions, BlocksWithoutAClassAreKeptByteForByte) {
  struct Case {
    const char* name;
    Bytes block;
    const char* warning;
  };
  const Case cases[] = {
      {"an unknown application", Application("SOMEAPP!1.0", {2, 9, 8, 1, 7, 0}), nullptr},
      {"an unknown label", {0x21, 0x2A, 3, 1, 2, 3, 0}, "Unknown extension type"},
      {"an application header of 12 bytes", Application("NETSCAPE2.0", {3, 1, 5, 0, 0}, 12),
       "Unsupported Application Extension block size"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TGIFImage image;
    auto warnings = Load(image, ThreeFrames(c.block));
    EXPECT_EQ(warnings, c.warning ? std::vector<std::string>{c.warning} : std::vector<std::string>{});
    ASSERT_EQ(image.Images()->Count(), 3);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(image.Images()->GetImage(i)->Pixels(), kPixels);
    TGIFExtension* extension = FirstExtension(image);
    EXPECT_TRUE(dynamic_cast<TGIFUnknownAppExtension*>(extension) ||
                dynamic_cast<TGIFUnknownExtension*>(extension));
    EXPECT_EQ(WrittenBy(extension), c.block);
    EXPECT_EQ(extension->GetVersion(), gv89a);
  }
}

TEST(GIFExtensions, ACopiedFrameHasItsOwnExtensions) {
  TGIFImage image;
  Bytes before = ControlBlock(0x05, 25, 3);
  Append(before, {0x21, 0xFE, 2, 'h', 'i', 0});
  Load(image, ThreeFrames(before));
  TGIFSubImage* source = image.Images()->GetImage(0);
  auto* copy = new TGIFSubImage(&image);
  copy->Assign(source);
  EXPECT_EQ(image.Add(copy), 3);
  EXPECT_EQ(copy->Pixels(), kPixels);
  EXPECT_EQ(copy->Extensions()->Count(), 2);
  ASSERT_NE(copy->GraphicControlExtension(), nullptr);
  EXPECT_NE(copy->GraphicControlExtension(), source->GraphicControlExtension());
  EXPECT_TRUE(copy->Transparent());
  EXPECT_EQ(WrittenBy(copy->Extensions()->GetExtension(1)), WrittenBy(source->Extensions()->GetExtension(1)));
  source->Extensions()->Clear();
  EXPECT_FALSE(source->Transparent());
  EXPECT_TRUE(copy->Transparent());
  EXPECT_EQ(copy->GraphicControlExtension()->GetDelay(), 25);
  TStringList notAFrame;
  EXPECT_THROW(image.Add(&notAFrame), GIFException);
}
