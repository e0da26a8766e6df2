// Decoding GIF files: the public decoder suite against its reference frames and Pillow, frame
// selection and counting, interlacing, transparency per frame, the mosaic of tiles read back as
// one 24-bit picture, and damaged files that must end cleanly.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "GifTestSupport.h"
#include "imagelib/IxImage.h"
#include "imagelib/IxImageGIF.h"
#include "imagelib/IxMemFile.h"
#include "support/SharedData.h"
#include "support/TempDir.h"

using giftest::GifBuilder;

namespace {

// A composed frame against RGBA rows: transparent reference pixels must be transparent here (the
// transparent index of an indexed picture, alpha 0 in a colour one), the others must have the
// same colour.
void ExpectSameFrame(const IxImage& image, const giftest::OracleImage& ref, const std::string& what) {
  ASSERT_TRUE(ref.ok) << ref.error;
  ASSERT_EQ(static_cast<int>(image.GetWidth()), ref.width) << what;
  ASSERT_EQ(static_cast<int>(image.GetHeight()), ref.height) << what;
  int mismatches = 0;
  for (int row = 0; row < ref.height; ++row) {
    for (int x = 0; x < ref.width; ++x) {
      const uint8_t* want = &ref.rgb[(static_cast<size_t>(row) * ref.width + x) * 4];
      const int y = ref.height - 1 - row;
      const bool transparent =
          (image.IsTransparent() && image.GetPixelIndex(x, y) == image.GetTransIndex()) ||
          (image.AlphaIsValid() && image.AlphaGet(x, y) == 0);
      const IxRGBQuad got = image.GetPixelColor(x, y, false);
      const bool same = want[3] == 0 ? transparent
                                     : !transparent && got.rgbRed == want[0] && got.rgbGreen == want[1] &&
                                           got.rgbBlue == want[2];
      if (!same && mismatches++ < 3) ADD_FAILURE() << what << ": pixel " << x << "," << row << " differs";
    }
  }
  EXPECT_EQ(mismatches, 0) << what;
}

TEST(GifDecodeSuite, EveryFrameOfEverySuiteFileMatchesItsReference) {
  // Disposal to background and to previous, transparency over earlier frames, and frames that
  // lie wholly or partly outside the screen (drawn clipped, or not at all).
  const std::vector<std::string> paths = testsupport::SharedFiles("testdata/gif", ".gif");
  ASSERT_GE(paths.size(), 13u);
  int compared = 0;
  for (const std::string& path : paths) {
    const std::string name = std::filesystem::path(path).stem().string();
    const std::string frames = std::filesystem::path(path).parent_path().string() + "/frames/";
    for (int f = 0;; ++f) {
      std::string reference = frames + name + "-" + std::to_string(f) + ".png";
      if (f == 0 && !std::filesystem::exists(reference)) reference = frames + name + ".png";
      if (!std::filesystem::exists(reference)) break;
      IxImage image;
      image.SetFrame(f);
      ASSERT_TRUE(image.Load(path.c_str(), IXIMAGE_FORMAT_GIF)) << name << ": " << image.GetLastError();
      EXPECT_STREQ(image.GetLastError(), "") << name;
      ExpectSameFrame(image, giftest::ReadPngRgba(reference), name + " frame " + std::to_string(f));
      ++compared;
    }
  }
  EXPECT_GE(compared, 40);
}

TEST(GifDecodeSuite, FirstFrameOfEverySuiteFileMatchesPillow) {
  std::vector<std::string> paths;
  for (const std::string& path : testsupport::SharedFiles("testdata/gif", ".gif")) {
    // Pillow widens the screen to hold frames that lie outside it; this decoder clips them.
    if (path.find("out_of_bounds") == std::string::npos) paths.push_back(path);
  }
  ASSERT_GE(paths.size(), 12u);
  const std::vector<giftest::OracleImage> pillow = giftest::PillowFirstFrameRgba(paths);
  for (size_t k = 0; k < paths.size(); ++k) {
    const std::string name = std::filesystem::path(paths[k]).stem().string();
    IxImage image;
    ASSERT_TRUE(image.Load(paths[k].c_str(), IXIMAGE_FORMAT_GIF)) << name << ": " << image.GetLastError();
    EXPECT_EQ(image.GetType(), static_cast<uint32_t>(IXIMAGE_FORMAT_GIF));
    ExpectSameFrame(image, pillow[k], name + " against Pillow");
  }
}

TEST(GifDecodeSuite, FilesRewrittenByGiflibAndImageMagickDecodeLikePillow) {
  testsupport::TempDir dir;
  std::vector<std::string> paths;
  for (const char* name :
       {"static_nontransparent", "animated_loop_interlaced", "animated_transparent_loop"}) {
    const std::string source = testsupport::SharedPath(std::string("testdata/gif/") + name + ".gif");
    const std::string viaGiflib = dir.file(std::string(name) + "-giflib.gif");
    const std::string viaMagick = dir.file(std::string(name) + "-magick.gif");
    ASSERT_EQ(std::system(("gifbuild -d '" + source + "' > '" + viaGiflib + ".txt' && gifbuild '" +
                           viaGiflib + ".txt' > '" + viaGiflib + "'")
                              .c_str()),
              0)
        << "gifbuild (giflib-tools from tools/setup)";
    ASSERT_EQ(std::system(("/usr/bin/convert '" + source + "' '" + viaMagick + "'").c_str()), 0)
        << "ImageMagick (imagemagick from tools/setup)";
    paths.push_back(viaGiflib);
    paths.push_back(viaMagick);
  }
  const std::vector<giftest::OracleImage> pillow = giftest::PillowFirstFrameRgba(paths);
  for (size_t k = 0; k < paths.size(); ++k) {
    IxImage image;
    ASSERT_TRUE(image.Load(paths[k].c_str(), IXIMAGE_FORMAT_GIF)) << paths[k] << ": " << image.GetLastError();
    ExpectSameFrame(image, pillow[k], paths[k]);
  }
}

TEST(GifDecode, FramesAreClippedToTheScreenAndOnlyAFileWithNoneOnItIsRefused) {
  // Four images on a 100 x 100 screen: the first at x = 200, the last reaching to 110. Each is a
  // frame; the first draws nothing.
  const std::string path =
      testsupport::SharedPath("testdata/gif/animated_transparent_loop_frames_out_of_bounds.gif");
  IxImage image;
  ASSERT_TRUE(image.Load(path.c_str(), IXIMAGE_FORMAT_GIF));
  EXPECT_EQ(image.GetNumFrames(), 4);

  // A frame reaching over the right edge: its part on the screen is drawn.
  GifBuilder gif(20, 20, giftest::Palette(4));
  gif.Image(15, 0, 10, 10, std::vector<uint8_t>(100, 1)).Image(0, 18, 20, 20, std::vector<uint8_t>(400, 2));
  IxImage built;
  ASSERT_TRUE(giftest::DecodeGif(gif.Finish(), built, 1)) << built.GetLastError();
  EXPECT_EQ(built.GetNumFrames(), 2);
  EXPECT_EQ(built.GetPixelIndex(19, 19), 1) << "top right, from the clipped frame 0";
  EXPECT_EQ(built.GetPixelIndex(14, 19), 0) << "left of frame 0";
  EXPECT_EQ(built.GetPixelIndex(19, 9), 0) << "below frame 0";
  EXPECT_EQ(built.GetPixelIndex(0, 0), 2) << "bottom rows, from the clipped frame 1";
  EXPECT_EQ(built.GetPixelIndex(0, 2), 0);

  // Only frames off the screen (one of them as far as the format allows): refused with the
  // reason, and nothing allocated for them.
  GifBuilder off(20, 20, giftest::Palette(4));
  off.Image(20, 0, 4, 4, std::vector<uint8_t>(16, 1))
      .RawImage(65535, 65535, 65535, 65535, 0, {}, {2, 2, 0x4C, 0x01, 0});
  IxImage none;
  EXPECT_FALSE(giftest::DecodeGif(off.Finish(), none));
  EXPECT_STREQ(none.GetLastError(), "No GIF frame lies on the screen");
  EXPECT_EQ(none.GetNumFrames(), 2);
}

TEST(GifDecode, AFrameBeyondTheCountFailsAndReportsTheCount) {
  GifBuilder gif(8, 8, giftest::Palette(4));
  for (int f = 0; f < 3; ++f) gif.Image(0, 0, 8, 8, std::vector<uint8_t>(64, static_cast<uint8_t>(f)));
  const std::vector<uint8_t> bytes = gif.Finish();
  IxImage image;
  EXPECT_FALSE(giftest::DecodeGif(bytes, image, 5));
  EXPECT_EQ(image.GetNumFrames(), 3);
  EXPECT_FALSE(image.IsValid());
  EXPECT_FALSE(giftest::DecodeGif(bytes, image, -1));
  for (int f = 0; f < 3; ++f) {
    ASSERT_TRUE(giftest::DecodeGif(bytes, image, f));
    EXPECT_EQ(image.GetPixelIndex(4, 4), f);
  }
}

TEST(GifDecode, InterlacedFramesPutEveryRowOnceInPlace) {
  for (int height : {1, 2, 3, 4, 5, 8, 9, 17}) {
    std::vector<uint8_t> pixels;
    for (int r = 0; r < height; ++r)
      for (int x = 0; x < 3; ++x) pixels.push_back(static_cast<uint8_t>(r * 3 + x));
    GifBuilder gif(3, height, giftest::Palette(256));
    gif.Image(0, 0, 3, height, pixels, true);
    IxImage image;
    ASSERT_TRUE(giftest::DecodeGif(gif.Finish(), image)) << height;
    EXPECT_EQ(giftest::IndicesTopDown(image), pixels) << "height " << height;
  }
}

TEST(GifDecode, BitsPerPixelFollowTheColourTable) {
  struct Case {
    int entries;
    int bpp;
  } cases[] = {{2, 1}, {4, 4}, {16, 4}, {32, 8}, {256, 8}};
  for (const Case& c : cases) {
    std::vector<uint8_t> pixels(6 * 5);
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<uint8_t>(i % c.entries);
    GifBuilder gif(6, 5, giftest::Palette(c.entries));
    gif.Image(0, 0, 6, 5, pixels);
    IxImage image;
    ASSERT_TRUE(giftest::DecodeGif(gif.Finish(), image));
    EXPECT_EQ(image.GetBpp(), c.bpp) << c.entries;
    EXPECT_EQ(giftest::IndicesTopDown(image), pixels) << c.entries;
    const std::vector<uint8_t> table = giftest::Palette(c.entries);
    EXPECT_EQ(image.GetPaletteColor(1).rgbRed, table[3]);
  }
}

TEST(GifDecode, TransparencyBelongsToTheFrameItsControlBlockPrecedes) {
  // Frame 0 without transparency, frame 2 with index 7: frame 0 must not inherit it.
  GifBuilder gif(4, 4, giftest::Palette(16));
  gif.Control(0, 10, 7).Image(0, 0, 4, 4, std::vector<uint8_t>(16, 7));
  gif.Image(0, 0, 2, 2, std::vector<uint8_t>(4, 3));
  std::vector<uint8_t> last(16, 7);
  last[0] = 5;
  gif.Control(1 | (1 << 2), 20, 7).Image(0, 0, 4, 4, last);
  const std::vector<uint8_t> bytes = gif.Finish();

  IxImage frame0;
  ASSERT_TRUE(giftest::DecodeGif(bytes, frame0, 0));
  EXPECT_EQ(frame0.GetTransIndex(), -1);
  EXPECT_EQ(frame0.GetFrameDelay(), 10u);

  // Frame 2's transparent pixels show what lies beneath; the composed picture has none of its
  // own, since frame 0 covered the whole screen.
  IxImage frame2;
  ASSERT_TRUE(giftest::DecodeGif(bytes, frame2, 2));
  EXPECT_EQ(frame2.GetTransIndex(), -1);
  EXPECT_EQ(frame2.GetFrameDelay(), 20u);
  EXPECT_EQ(giftest::IndicesTopDown(frame2),
            (std::vector<uint8_t>{5, 3, 7, 7, 3, 3, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7}));

  // A transparent first frame gives the picture its transparent index.
  GifBuilder clear(4, 4, giftest::Palette(16));
  clear.Control(1, 0, 9).Image(1, 1, 2, 2, {9, 1, 2, 9});
  IxImage t;
  ASSERT_TRUE(giftest::DecodeGif(clear.Finish(), t));
  EXPECT_EQ(t.GetTransIndex(), 9);
  EXPECT_EQ(giftest::IndicesTopDown(t),
            (std::vector<uint8_t>{9, 9, 9, 9, 9, 9, 1, 9, 9, 2, 9, 9, 9, 9, 9, 9}));
}

TEST(GifDecode, RestoreToBackgroundClearsOnlyThePreviousFrame) {
  // At 1, 4 and 8 bits per pixel, a restored area that shares bytes with its neighbours; the
  // background value is the first control block's index byte (0).
  for (int entries : {2, 4, 256}) {
    SCOPED_TRACE(entries);
    const int w = 21;
    GifBuilder gif(w, 2, giftest::Palette(entries));
    gif.Control(0, 0, 0).Image(0, 0, w, 2, std::vector<uint8_t>(2 * w, 1));
    gif.Control(2 << 2, 0, 0).Image(3, 1, 15, 1, std::vector<uint8_t>(15, 1));
    gif.Image(20, 0, 1, 1, {0});
    IxImage image;
    ASSERT_TRUE(giftest::DecodeGif(gif.Finish(), image, 2));
    std::vector<uint8_t> expected(2 * w, 1);
    expected[20] = 0;
    for (int x = 3; x < 18; ++x) expected[w + x] = 0;
    EXPECT_EQ(giftest::IndicesTopDown(image), expected);
  }
}

TEST(GifDecode, ADeeperLocalTableWidensThePicture) {
  GifBuilder gif(4, 1, giftest::Palette(2));
  gif.Image(0, 0, 4, 1, {1, 0, 1, 0});
  gif.Image(2, 0, 2, 1, {200, 77}, false, giftest::Palette(256));
  IxImage image;
  ASSERT_TRUE(giftest::DecodeGif(gif.Finish(), image, 1));
  EXPECT_EQ(image.GetBpp(), 8);
  EXPECT_EQ(giftest::IndicesTopDown(image), (std::vector<uint8_t>{1, 0, 200, 77}));
}

// A table of `entries` colours unlike those of giftest::Palette.
std::vector<uint8_t> OtherPalette(int entries) {
  std::vector<uint8_t> t;
  for (int k = 0; k < entries; ++k)
    t.insert(t.end(), {static_cast<uint8_t>(200 - k * 40), 17, static_cast<uint8_t>(k * 50)});
  return t;
}

TEST(GifDecode, AFrameWithItsOwnColoursLeavesEarlierPixelsTheirColours) {
  // Frame 0 fills the screen from the global table; frame 1 paints the middle with a local table
  // of other colours. Every pixel of the composed frame 1 must equal Pillow's, also where frame 0
  // left its transparent index (then both are transparent).
  std::vector<uint8_t> first(64);
  for (size_t i = 0; i < first.size(); ++i) first[i] = static_cast<uint8_t>(i % 4);
  std::vector<uint8_t> middle(16);
  for (size_t i = 0; i < middle.size(); ++i) middle[i] = static_cast<uint8_t>((i + 1) % 4);
  struct Case {
    const char* name;
    bool transparent;
  } cases[] = {{"opaque", false}, {"index 0 transparent in frame 0", true}};
  testsupport::TempDir dir;
  std::vector<std::string> paths;
  for (const Case& c : cases) {
    GifBuilder gif(8, 8, giftest::Palette(4));
    if (c.transparent) gif.Control(1, 0, 0);
    gif.Image(0, 0, 8, 8, first);
    gif.Image(2, 2, 4, 4, middle, false, OtherPalette(4));
    const std::vector<uint8_t> bytes = gif.Finish();
    paths.push_back(dir.write(std::string(c.name) + ".gif", std::string(bytes.begin(), bytes.end())));
  }
  const std::vector<giftest::OracleImage> pillow =
      imagetest::PillowDecodeAll(paths, "RGBA", imagetest::PillowFrame::Last);
  for (size_t k = 0; k < paths.size(); ++k) {
    SCOPED_TRACE(cases[k].name);
    IxImage image;
    image.SetFrame(1);
    ASSERT_TRUE(image.Load(paths[k].c_str(), IXIMAGE_FORMAT_GIF));
    EXPECT_EQ(image.GetBpp(), 24);
    EXPECT_EQ(image.AlphaIsValid(), cases[k].transparent);
    ExpectSameFrame(image, pillow[k], cases[k].name);
    // Frame 0 alone is still the indexed picture it always was.
    IxImage frame0;
    ASSERT_TRUE(frame0.Load(paths[k].c_str(), IXIMAGE_FORMAT_GIF));
    EXPECT_EQ(frame0.GetBpp(), 4);
    EXPECT_EQ(giftest::IndicesTopDown(frame0), first);
  }
}

TEST(GifDecode, RestoreToPreviousPutsBackWhatTheFrameCovered) {
  // Frame 0 fills the screen with 1; frame 1 (disposal 3) paints a square of 2; frame 2 paints
  // one pixel of 3. In frame 2 the square is gone again. A first frame with disposal 3 restores
  // to the background (the cleared screen, index 0).
  for (bool indexedOnly : {true, false}) {
    SCOPED_TRACE(indexedOnly ? "one table" : "frame 2 with its own table");
    GifBuilder gif(6, 6, giftest::Palette(4));
    gif.Image(0, 0, 6, 6, std::vector<uint8_t>(36, 1));
    gif.Control(3 << 2, 0, 0).Image(1, 1, 3, 3, std::vector<uint8_t>(9, 2));
    if (indexedOnly)
      gif.Image(5, 5, 1, 1, {3});
    else
      gif.Image(5, 5, 1, 1, {3}, false, OtherPalette(4));
    IxImage image;
    ASSERT_TRUE(giftest::DecodeGif(gif.Finish(), image, 2)) << image.GetLastError();
    const std::vector<uint8_t> table = giftest::Palette(4);
    for (int row = 0; row < 6; ++row) {
      for (int x = 0; x < 6; ++x) {
        const IxRGBQuad c = image.GetPixelColor(x, 5 - row, false);
        const int want = row == 5 && x == 5 ? -1 : 1;
        if (want < 0) continue;
        EXPECT_EQ(c.rgbRed, table[want * 3]) << x << "," << row;
        EXPECT_EQ(c.rgbGreen, table[want * 3 + 1]) << x << "," << row;
      }
    }
  }
  GifBuilder first(6, 6, giftest::Palette(4));
  first.Control(3 << 2, 0, 0).Image(0, 0, 6, 3, std::vector<uint8_t>(18, 2));
  first.Image(0, 3, 6, 3, std::vector<uint8_t>(18, 3));
  IxImage image;
  ASSERT_TRUE(giftest::DecodeGif(first.Finish(), image, 1));
  std::vector<uint8_t> expected(36, 0);
  std::fill(expected.begin() + 18, expected.end(), 3);
  EXPECT_EQ(giftest::IndicesTopDown(image), expected);
}

// Four 17 x 15 frames, each with a local table, no global table.
std::vector<uint8_t> Tiles(int screenWidth, int screenHeight, int tiles) {
  GifBuilder gif(screenWidth, screenHeight, {}, 2);
  for (int t = 0; t < tiles; ++t) {
    std::vector<uint8_t> table(256 * 3);
    for (int k = 0; k < 256; ++k) {
      table[k * 3] = static_cast<uint8_t>(t * 60);
      table[k * 3 + 1] = static_cast<uint8_t>(k);
      table[k * 3 + 2] = 9;
    }
    std::vector<uint8_t> pixels(17 * 15);
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<uint8_t>(i);
    gif.Image((t % 2) * 17, (t / 2) * 15, 17, 15, pixels, false, table);
  }
  return gif.Finish();
}

TEST(GifDecode, TilesWithOwnTablesReadBackAsOneTrueColourPicture) {
  struct Case {
    int width, height, tiles;
  } cases[] = {{34, 30, 4}, {34, 15, 2}, {17, 30, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
    std::vector<uint8_t> bytes;
    if (c.tiles) {
      bytes = Tiles(c.width, c.height, c.tiles);
    } else {
      // Two tiles stacked: the first as wide as the screen, not as high.
      GifBuilder gif(17, 30, {}, 2);
      std::vector<uint8_t> pixels(17 * 15, 4);
      gif.Image(0, 0, 17, 15, pixels, false, giftest::Palette(256));
      std::fill(pixels.begin(), pixels.end(), 5);
      gif.Image(0, 15, 17, 15, pixels, false, giftest::Palette(256));
      bytes = gif.Finish();
    }
    IxImage image;
    ASSERT_TRUE(giftest::DecodeGif(bytes, image));
    EXPECT_EQ(image.GetBpp(), 24);
    EXPECT_EQ(static_cast<int>(image.GetWidth()), c.width);
    EXPECT_EQ(static_cast<int>(image.GetHeight()), c.height);
    // The last tile's last pixel, at the bottom right of the screen.
    const IxRGBQuad corner = image.GetPixelColor(c.width - 1, 0);
    if (c.tiles) {
      EXPECT_EQ(corner.rgbRed, (c.tiles - 1) * 60);
      EXPECT_EQ(corner.rgbGreen, 254);
      EXPECT_EQ(corner.rgbBlue, 9);
    } else {
      EXPECT_EQ(corner.rgbRed, giftest::Palette(256)[5 * 3]);
    }
  }
}

TEST(GifDecode, OneTileAloneIsAnIndexedPicture) {
  IxImage image;
  ASSERT_TRUE(giftest::DecodeGif(Tiles(34, 30, 1), image));
  EXPECT_EQ(image.GetBpp(), 8);
  EXPECT_EQ(image.GetWidth(), 34u);
}

TEST(GifDecode, DimensionsOnlyGivesTheScreenSizeWithoutPixels) {
  GifBuilder gif(300, 200, giftest::Palette(4));
  gif.Image(0, 0, 10, 10, std::vector<uint8_t>(100, 1));
  IxImage image;
  image.SetEscape(-1);
  ASSERT_TRUE(giftest::DecodeGif(gif.Finish(), image));
  EXPECT_EQ(image.GetWidth(), 300u);
  EXPECT_EQ(image.GetHeight(), 200u);
  EXPECT_FALSE(image.IsValid());
}

TEST(GifDecode, CommentLoopCountAndDetection) {
  std::vector<uint8_t> app{0x21, 0xFF, 11};
  const char* id = "NETSCAPE2.0";
  app.insert(app.end(), id, id + 11);
  app.insert(app.end(), {3, 1, 5, 0, 0});
  std::vector<uint8_t> comment{0x21, 0xFE, 5, 'h', 'e', 'l', 'l', 'o', 0};
  GifBuilder gif(2, 2, giftest::Palette(2));
  gif.Bytes(app).Bytes(comment).Image(0, 0, 2, 2, {0, 1, 1, 0});
  const std::vector<uint8_t> bytes = gif.Finish();
  IxImageGIF direct;
  IxMemFile in(const_cast<uint8_t*>(bytes.data()), bytes.size());
  ASSERT_TRUE(direct.Decode(&in));
  EXPECT_STREQ(direct.GetComment(), "hello");
  EXPECT_EQ(direct.GetLoops(), 5);
  EXPECT_EQ(in.Tell(), static_cast<int64_t>(bytes.size()) - 1) << "the stream stands after the frame";

  IxImage detected;
  IxMemFile again(const_cast<uint8_t*>(bytes.data()), bytes.size());
  ASSERT_TRUE(detected.Decode(&again, IXIMAGE_FORMAT_UNKNOWN));
  EXPECT_EQ(detected.GetType(), static_cast<uint32_t>(IXIMAGE_FORMAT_GIF));
}

TEST(GifDecode, DamagedFilesKeepWhatDecodesAndSayWhy) {
  // A file that decodes in part succeeds with the damage in the last error; one that cannot be
  // shown at all fails with the reason. "" means a clean success (or not a GIF at all).
  const std::vector<uint8_t> table = giftest::Palette(4);
  std::vector<uint8_t> tableCodes{2, 2, 0x4C, 0x01, 0};  // a valid tiny stream
  struct Case {
    std::string name;
    std::vector<uint8_t> bytes;
    bool decodes;
    std::string error;  // contained in the last error
  };
  std::vector<Case> cases;
  auto add = [&](std::string name, GifBuilder& gif, bool decodes, std::string error) {
    cases.push_back({name, gif.Finish(), decodes, error});
  };
  {
    GifBuilder g(8, 8, table);
    g.RawImage(0, 0, 8, 8, 0, {}, {2, 3, 0xFF, 0xFF, 0xFF, 0});
    add("codes past the table", g, true, "GIF frame 0 is damaged: its code stream holds invalid codes");
  }
  {
    GifBuilder g(8, 8, table);
    g.RawImage(0, 0, 8, 8, 0, {}, {1, 2, 0x44, 0x01, 0});
    add("minimum code size 1", g, false, "GIF frame 0: minimum code size outside 2 to 11");
  }
  {
    GifBuilder g(8, 8, table);
    g.RawImage(0, 0, 8, 8, 0, {}, {12, 2, 0x44, 0x01, 0});
    add("minimum code size 12", g, false, "GIF frame 0: minimum code size outside 2 to 11");
  }
  {
    GifBuilder g(8, 8, table);
    g.RawImage(0, 0, 8, 8, 0, {}, {10, 2, 0x44, 0x01, 0});
    add("minimum code size 10, one pixel", g, true, "GIF frame 0 is damaged: its code stream ends early");
  }
  {
    GifBuilder g(8, 8, table);
    g.RawImage(0, 0, 8, 8, 0, {}, {2, 0});
    add("a stream of no codes", g, false, "GIF frame 0 holds no decodable pixels");
  }
  {
    GifBuilder g(8, 8, table);
    g.RawImage(0, 0, 0, 8, 0, {}, tableCodes).RawImage(0, 0, 8, 0, 0, {}, tableCodes);
    add("zero-size frames only", g, false, "GIF file holds only images of zero width or height");
  }
  {
    GifBuilder g(8, 8, table);
    g.RawImage(0, 0, 0, 0, 0, {}, tableCodes).Image(0, 0, 8, 8, std::vector<uint8_t>(64, 3));
    add("zero-size frame, then a good one", g, true, "");
  }
  {
    GifBuilder g(8, 8, table);
    g.Image(0, 0, 8, 8, std::vector<uint8_t>(64, 2));
    std::vector<uint8_t> b = g.Finish();
    b.resize(b.size() - 6);
    cases.push_back(
        {"cut inside the code stream", b, true, "GIF frame 0 is damaged: its code stream ends early"});
  }
  {
    GifBuilder g(8, 8, table);
    g.Bytes({0x21, 0xF9, 9, 1, 2});
    add("cut inside an extension", g, false, "GIF file holds no image data");
  }
  {
    GifBuilder g(8, 8, table);
    g.RawImage(0, 0, 8, 8, 0x87, {1, 2, 3}, {});
    add("local table cut short", g, false, "GIF file holds no image data");
  }
  {
    GifBuilder g(8, 8, table);
    add("no image at all", g, false, "GIF file holds no image data");
  }
  {
    GifBuilder g(0, 8, table);
    g.Image(0, 0, 1, 1, {1});
    add("a screen of zero width", g, false, "GIF screen has no pixels");
  }
  {
    GifBuilder g(65535, 65535, table);
    g.Image(0, 0, 1, 1, {1});
    add("a screen too large to hold", g, false, "IXIMAGE_MAX_MEMORY exceeded");
  }
  {
    GifBuilder g(8, 8, table);
    g.Bytes({7, 7, 7, 0}).Image(0, 0, 8, 8, std::vector<uint8_t>(64, 1));
    add("stray bytes before a frame", g, true, "");
  }
  cases.push_back({"signature only", {'G', 'I', 'F', '8'}, false, "GIF header cut short"});
  cases.push_back({"not a GIF", {'G', 'I', 'F', '7', '9', 'a', 1, 0, 1, 0, 0, 0, 0}, false, ""});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    IxImage image;
    EXPECT_EQ(giftest::DecodeGif(c.bytes, image), c.decodes) << image.GetLastError();
    if (c.error.empty())
      EXPECT_STREQ(image.GetLastError(), "");
    else
      EXPECT_NE(std::string(image.GetLastError()).find(c.error), std::string::npos) << image.GetLastError();
    if (c.decodes) {
      EXPECT_EQ(image.GetWidth(), 8u);
    }
  }
}

TEST(GifDecode, ADamagedStreamKeepsThePixelsDecodedBeforeTheDamage) {
  // Eight rows of 8 pixels, cut after the codes of about half of them: the top rows keep their
  // index, the rows never reached keep the background (index 0, cleared by Create).
  std::vector<uint8_t> pixels(64);
  for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<uint8_t>(1 + (i / 8) % 3);
  GifBuilder literal(8, 8, giftest::Palette(4));
  literal.Image(0, 0, 8, 8, pixels);
  std::vector<uint8_t> bytes = literal.Finish();
  IxImage whole;
  ASSERT_TRUE(giftest::DecodeGif(bytes, whole));
  EXPECT_STREQ(whole.GetLastError(), "");
  // Cut the code stream: keep its first sub-block's first bytes only, then end the file.
  const size_t streamAt = 13 + 12 + 10;  // header, table, descriptor
  ASSERT_EQ(bytes[streamAt], 2);         // minimum code size
  const size_t keep = bytes[streamAt + 1] / 2;
  std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(streamAt + 2 + keep));
  IxImage part;
  ASSERT_TRUE(giftest::DecodeGif(cut, part)) << part.GetLastError();
  EXPECT_STREQ(part.GetLastError(), "GIF frame 0 is damaged: its code stream ends early");
  const std::vector<uint8_t> got = giftest::IndicesTopDown(part);
  EXPECT_EQ(std::vector<uint8_t>(got.begin(), got.begin() + 8),
            std::vector<uint8_t>(pixels.begin(), pixels.begin() + 8));
  EXPECT_EQ(got.back(), 0);
}

TEST(GifDecode, MinimumCodeSizes10And11Decode) {
  // Valid files whose codes are 11 and 12 bits wide from the start: clear, 1, 3, "1 3", end.
  for (int size : {10, 11}) {
    SCOPED_TRACE(size);
    const int clear = 1 << size;
    const int width = size + 1;
    std::vector<uint8_t> data;
    uint32_t acc = 0;
    int bits = 0;
    for (int code : {clear, 1, 3, clear + 2, clear + 1}) {
      acc |= static_cast<uint32_t>(code) << bits;
      for (bits += width; bits >= 8; bits -= 8, acc >>= 8) data.push_back(static_cast<uint8_t>(acc));
    }
    if (bits) data.push_back(static_cast<uint8_t>(acc));
    std::vector<uint8_t> stream{static_cast<uint8_t>(size), static_cast<uint8_t>(data.size())};
    stream.insert(stream.end(), data.begin(), data.end());
    stream.push_back(0);
    GifBuilder g(2, 2, giftest::Palette(4));
    g.RawImage(0, 0, 2, 2, 0, {}, stream);
    IxImage image;
    ASSERT_TRUE(giftest::DecodeGif(g.Finish(), image)) << image.GetLastError();
    EXPECT_STREQ(image.GetLastError(), "");
    EXPECT_EQ(giftest::IndicesTopDown(image), (std::vector<uint8_t>{1, 3, 1, 3}));
  }
}

TEST(GifDecode, RestoringHugeFramesOverAndOverStopsWithAMessage) {
  // Each frame costs a few bytes but clears 16 megapixels (the largest screen a small file may
  // have) when the next one is composed.
  GifBuilder gif(4096, 4096, giftest::Palette(2));
  for (int f = 0; f < 80; ++f) gif.Control(2 << 2, 0, 0).RawImage(0, 0, 4096, 4096, 0, {}, {2, 1, 0x04, 0});
  const std::vector<uint8_t> bytes = gif.Finish();
  EXPECT_LT(bytes.size(), 2000u);
  IxImage image;
  ASSERT_TRUE(giftest::DecodeGif(bytes, image, 3));
  EXPECT_FALSE(giftest::DecodeGif(bytes, image, 79));
  EXPECT_STREQ(image.GetLastError(), "Too many GIF frames to compose");
}

// An extension of an unknown kind whose sub-blocks carry at least `size` bytes: data that a
// decoder skips, making the file as large as a real picture of that screen would be.
std::vector<uint8_t> Padding(size_t size) {
  std::vector<uint8_t> bytes{0x21, 0x99};
  for (size_t n = 0; n < size; n += 255) {
    bytes.push_back(255);
    bytes.insert(bytes.end(), 255, 0x55);
  }
  bytes.push_back(0);
  return bytes;
}

TEST(GifDecode, AScreenMuchLargerThanTheFileIsRefusedWithAMessage) {
  // A picture above 16 MiB must come with at least 1/256 of its size in the file: 1 byte per
  // pixel for frames composed by index, 3 for the mosaic of tiles read back as 24 bits. A fuzzer
  // found a 1.3 KB mosaic of two tiles on a screen of 93 megapixels; below the screen cap the
  // same file still made a 100 MB picture.
  struct Case {
    const char* name;
    std::vector<uint8_t> bytes;
    int width;
    bool decodes;
  };
  const auto indexed = [](int width, size_t padding) {
    GifBuilder g(width, 4096, giftest::Palette(2));
    if (padding > 0) g.Bytes(Padding(padding));
    g.Image(0, 0, 1, 1, {1});
    return g.Finish();
  };
  const std::vector<Case> cases = {
      {"indexed, 16 MiB pixels", indexed(4096, 0), 4096, true},
      {"indexed, one column more", indexed(4097, 0), 4097, false},
      {"indexed, one column more with 1/256 of it in the file", indexed(4097, 4097 * 4096 / 256), 4097, true},
      {"mosaic, 16 MiB of 24-bit pixels", Tiles(2364, 2364, 2), 2364, true},
      {"mosaic, above 16 MiB", Tiles(2400, 2400, 2), 2400, false},
      {"the fuzzer's mosaic under the screen cap",
       [] {
         GifBuilder g(8706, 3854, {}, 2);
         g.RawImage(1, 770, 8705, 512, 0x11, {}, {2, 1, 0x04, 0});
         g.RawImage(1, 770, 8705, 512, 0x11, {}, {2, 1, 0x04, 0});
         return g.Finish();
       }(),
       8706, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    IxImage image;
    const bool decoded = giftest::DecodeGif(c.bytes, image);
    EXPECT_EQ(decoded, c.decodes) << image.GetLastError();
    if (decoded) {
      EXPECT_EQ(image.GetWidth(), static_cast<uint32_t>(c.width));
    } else {
      EXPECT_STREQ(image.GetLastError(), "GIF screen too large for the data in the file");
    }
    // Asking for the size alone reads the header and allocates nothing, so it is never refused.
    IxImage dims;
    dims.SetEscape(-1);
    ASSERT_TRUE(giftest::DecodeGif(c.bytes, dims));
    EXPECT_EQ(dims.GetWidth(), static_cast<uint32_t>(c.width));
  }
}

TEST(GifDecode, AScreenTooLargeIsRefusedWithAMessage) {
  for (auto [w, h] : {std::pair{65535, 65535}, {8193, 4096}}) {
    GifBuilder g(w, h, giftest::Palette(2));
    g.Image(0, 0, 1, 1, {1});
    IxImage image;
    EXPECT_FALSE(giftest::DecodeGif(g.Finish(), image));
    EXPECT_STREQ(image.GetLastError(), "IXIMAGE_MAX_MEMORY exceeded");
  }
}

}  // namespace
