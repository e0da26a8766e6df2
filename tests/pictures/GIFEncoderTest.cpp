// Saving GIF image data with both coders: exact bytes of the smallest frame, the codes an
// independent reader sees, and round trips judged by our decoder and by other programs' decoders
// (giflib's gifbuild, Pillow, ImageMagick, gifsicle's re-encoding).
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <random>

#include "GifBuild.h"
#include "GifDump.h"
#include "GifFixtures.h"
#include "pictures/GIFException.h"
#include "pictures/gifcoding/TGIFWriter.h"
#include "pictures/gifcoding/TLZWEncoder.h"
#include "pictures/gifcoding/TRLEEncoder.h"
#include "support/SharedData.h"
#include "support/TempDir.h"

using namespace giftest;

namespace {

const TGIFCompression kCoders[] = {gcLZW, gcRLE};
const char* CoderName(TGIFCompression c) { return c == gcLZW ? "LZW" : "RLE"; }

Bytes CompressFrame(TGIFSubImage* frame) {
  TMemoryStream stream;
  frame->Compress(&stream);
  const auto* p = static_cast<const std::uint8_t*>(stream.Memory());
  return Bytes(p, p + stream.Size());
}

// A picture of one frame with a global table of 2^bits colours.
std::unique_ptr<TGIFImage> OneFrame(int bits, int width, int height, const Bytes& pixels, bool interlaced,
                                    TGIFCompression coder) {
  auto image = std::make_unique<TGIFImage>();
  FillTable(image->GetColorMap(), 1 << bits);
  TGIFSubImage* frame = AddFrame(*image, 0, 0, width, height, pixels);
  frame->SetInterlaced(interlaced);
  image->SetCompression(coder);
  return image;
}

enum class Pattern { Noise, ShortRuns, Flat, Ramp };

Bytes MakePixels(Pattern pattern, int bits, int count, unsigned seed) {
  std::mt19937 random(seed);
  const int colors = 1 << bits;
  Bytes pixels(std::size_t(count), 0);
  int value = 0, left = 0;
  for (int i = 0; i < count; ++i) {
    switch (pattern) {
      case Pattern::Noise:
        pixels[std::size_t(i)] = std::uint8_t(random() % unsigned(colors));
        break;
      case Pattern::ShortRuns:
        if (left-- <= 0) {
          value = int(random() % unsigned(colors));
          left = int(random() % 7);
        }
        pixels[std::size_t(i)] = std::uint8_t(value);
        break;
      case Pattern::Flat:
        pixels[std::size_t(i)] = std::uint8_t(colors - 1);
        break;
      case Pattern::Ramp:
        pixels[std::size_t(i)] = std::uint8_t(i % colors);
        break;
    }
  }
  return pixels;
}

void WriteFile(const std::string& path, const Bytes& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

bool Shell(const std::string& command) { return std::system((command + " >/dev/null 2>&1").c_str()) == 0; }

struct Written {
  std::string name, path;
  int width, height;
  Bytes pixels;  // row order
  int bits;
};

}  // namespace

TEST(GIFEncoder, SmallestFrameIsClearPixelEnd) {
  for (TGIFCompression coder : kCoders) {
    for (int pixel : {0, 1}) {
      SCOPED_TRACE(std::string(CoderName(coder)) + " pixel " + std::to_string(pixel));
      auto image = OneFrame(1, 1, 1, {std::uint8_t(pixel)}, false, coder);
      // Code size raised to 2: clear 4, end 5, codes of 3 bits.
      EXPECT_EQ(CompressFrame(image->Images()->GetImage(0)),
                (Bytes{0x02, 0x02, std::uint8_t(pixel ? 0x4C : 0x44), 0x01, 0x00}));
    }
  }
}

TEST(GIFEncoder, FrameWithoutPixelsWritesOnlyClearAndEnd) {
  // An empty frame writes nothing at all; the coder itself, given no pixels, writes the end code.
  TLZWEncoder encoder;
  TMemoryStream stream;
  encoder.Encode(&stream, 1, 2, nullptr, false, 0, 0);
  const auto* p = static_cast<const std::uint8_t*>(stream.Memory());
  EXPECT_EQ(Bytes(p, p + stream.Size()), (Bytes{0x02, 0x01, 0x05, 0x00}));
}

TEST(GIFEncoder, LZWClearsExactlyWhenTheTableIsFullAndNeverWidensPastTwelveBits) {
  auto image = OneFrame(8, 640, 480, MakePixels(Pattern::Noise, 8, 640 * 480, 7), false, gcLZW);
  CodeTrace trace = TraceImageData(CompressFrame(image->Images()->GetImage(0)));
  ASSERT_TRUE(trace.ok) << trace.error;
  EXPECT_EQ(trace.firstCode, 256);
  EXPECT_EQ(trace.widest, 12);
  ASSERT_GT(trace.clearsAtFree.size(), 10u);
  for (int free : trace.clearsAtFree) EXPECT_EQ(free, 4095);
  // Every sub-block is full but the last.
  for (std::size_t i = 0; i + 1 < trace.blockSizes.size(); ++i) ASSERT_EQ(trace.blockSizes[i], 255);
  EXPECT_LE(trace.blockSizes.back(), 255);
  EXPECT_EQ(trace.pixels, std::vector<int>(image->Images()->GetImage(0)->Pixels().begin(),
                                           image->Images()->GetImage(0)->Pixels().end()));
}

TEST(GIFEncoder, InterlacedRowsAreWrittenPassByPass) {
  struct Case {
    int height;
    std::vector<int> order;
  };
  const Case cases[] = {
      {1, {0}}, {2, {0, 1}}, {3, {0, 2, 1}}, {5, {0, 4, 2, 1, 3}}, {10, {0, 8, 4, 2, 6, 1, 3, 5, 7, 9}}};
  for (TGIFCompression coder : kCoders) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(CoderName(coder)) + " height " + std::to_string(c.height));
      Bytes pixels;
      for (int y = 0; y < c.height; ++y)
        for (int x = 0; x < 4; ++x) pixels.push_back(std::uint8_t(y));
      auto image = OneFrame(4, 4, c.height, pixels, true, coder);
      CodeTrace trace = TraceImageData(CompressFrame(image->Images()->GetImage(0)));
      ASSERT_TRUE(trace.ok) << trace.error;
      std::vector<int> expected;
      for (int row : c.order)
        for (int x = 0; x < 4; ++x) expected.push_back(row);
      EXPECT_EQ(trace.pixels, expected);
    }
  }
}

TEST(GIFEncoder, PixelOutsideTheTableFailsAndLeavesTheFileAsItWas) {
  for (TGIFCompression coder : kCoders) {
    SCOPED_TRACE(CoderName(coder));
    testsupport::TempDir temp;
    const std::string path = temp.write("kept.gif", "the file that was there");
    TGIFImage image;
    image.SetCompression(coder);
    TGIFSubImage* frame = AddFrame(image, 0, 0, 3, 1, {0, 1, 3}, 3);
    EXPECT_EQ(frame->ColorMap()->Count(), 3);
    try {
      image.SaveToFile(path);
      ADD_FAILURE() << "saved a pixel outside the table";
    } catch (const GIFException& e) {
      EXPECT_STREQ(e.Message.c_str(), "Color not in color table");
    }
    Bytes kept = testsupport::ReadFileBytes(path);
    EXPECT_EQ(std::string(kept.begin(), kept.end()), "the file that was there");
  }
}

// Every pattern, every depth and both coders: the saved pictures decode to the same pixels in our
// decoder, giflib's, Pillow's and ImageMagick's, and survive gifsicle's re-encoding.
TEST(GIFEncoder, SavedPicturesDecodeIdenticallyEverywhere) {
  testsupport::TempDir temp;
  std::vector<Written> written;
  auto add = [&](const std::string& name, int bits, int width, int height, const Bytes& pixels,
                 bool interlaced, TGIFCompression coder) {
    auto image = OneFrame(bits, width, height, pixels, interlaced, coder);
    Bytes saved = Save(*image);
    TGIFImage loaded;
    Load(loaded, saved);
    EXPECT_EQ(loaded.Images()->GetImage(0)->Pixels(), pixels) << name;
    const std::string path = temp.file(name + ".gif");
    WriteFile(path, saved);
    written.push_back({name, path, width, height, pixels, bits});
  };
  for (TGIFCompression coder : kCoders) {
    const std::string c = CoderName(coder);
    for (int bits = 1; bits <= 8; ++bits) {
      const std::string b = std::to_string(bits);
      add(c + "-noise-" + b, bits, 97, 61, MakePixels(Pattern::Noise, bits, 97 * 61, unsigned(bits)), false,
          coder);
      add(c + "-runs-" + b, bits, 120, 50, MakePixels(Pattern::ShortRuns, bits, 6000, unsigned(bits)), false,
          coder);
      add(c + "-ramp-" + b, bits, 256, 40, MakePixels(Pattern::Ramp, bits, 256 * 40, 0), false, coder);
      add(c + "-one-" + b, bits, 1, 1, {std::uint8_t((1 << bits) - 1)}, false, coder);
    }
    add(c + "-flat", 8, 640, 480, MakePixels(Pattern::Flat, 8, 640 * 480, 0), false, coder);
    add(c + "-big-noise", 8, 320, 240, MakePixels(Pattern::Noise, 8, 320 * 240, 99), false, coder);
    for (int height = 1; height <= 17; ++height)
      add(c + "-interlaced-" + std::to_string(height), 3, 7, height,
          MakePixels(Pattern::ShortRuns, 3, 7 * height, unsigned(height)), true, coder);
  }

  if (!HaveGifbuild()) GTEST_SKIP() << "gifbuild (giflib-tools) is not installed";
  for (const Written& w : written) {
    SCOPED_TRACE(w.name);
    GifDump dump = DumpGif(w.path);
    ASSERT_TRUE(dump.ok);
    ASSERT_EQ(dump.images.size(), 1u);
    EXPECT_EQ(dump.images[0].pixels, std::vector<int>(w.pixels.begin(), w.pixels.end()));
  }

  // Pillow writes each file's indices next to it.
  std::string script =
      "from PIL import Image\nimport sys\nfor p in sys.argv[1:]:\n"
      "  im = Image.open(p)\n  open(p + '.pil', 'wb').write(im.tobytes())\n";
  const std::string scriptPath = temp.write("dump.py", script);
  std::string command = "/usr/bin/python3 '" + scriptPath + "'";
  for (const Written& w : written) command += " '" + w.path + "'";
  ASSERT_TRUE(Shell(command)) << "Pillow could not read the files";
  for (const Written& w : written) {
    SCOPED_TRACE(w.name + " (Pillow)");
    EXPECT_EQ(testsupport::ReadFileBytes(w.path + ".pil"), w.pixels);
  }

  // ImageMagick gives colours: every index has its own colour in the tables written.
  auto expectColours = [](const std::string& path, const Written& w) {
    ASSERT_TRUE(Shell("convert '" + path + "' -depth 8 'rgb:" + path + ".rgb'"));
    Bytes rgb = testsupport::ReadFileBytes(path + ".rgb");
    ASSERT_EQ(rgb.size(), w.pixels.size() * 3);
    std::size_t wrong = 0;
    for (std::size_t i = 0; i < w.pixels.size(); ++i) {
      const TColor c = TestColor(w.pixels[i]);
      if (rgb[i * 3] != (c & 0xFF) || rgb[i * 3 + 1] != ((c >> 8) & 0xFF) ||
          rgb[i * 3 + 2] != ((c >> 16) & 0xFF))
        ++wrong;
    }
    EXPECT_EQ(wrong, 0u);
  };
  for (const Written& w : written) {
    SCOPED_TRACE(w.name + " (ImageMagick)");
    expectColours(w.path, w);
  }

  if (!Shell("gifsicle --version")) GTEST_SKIP() << "gifsicle is not installed";
  for (const Written& w : written) {
    SCOPED_TRACE(w.name + " (gifsicle)");
    const std::string again = w.path + ".again.gif";
    ASSERT_TRUE(Shell("gifsicle '" + w.path + "' -o '" + again + "'"));
    // gifsicle drops unused colours and renumbers, so its result is judged by colour.
    expectColours(again, w);
  }
}

namespace {

void ExpectSameDump(const GifDump& a, const GifDump& b) {
  ASSERT_TRUE(a.ok);
  ASSERT_TRUE(b.ok);
  EXPECT_EQ(a.width, b.width);
  EXPECT_EQ(a.height, b.height);
  EXPECT_EQ(a.background, b.background);
  EXPECT_EQ(a.aspect, b.aspect);
  EXPECT_EQ(a.globalColors, b.globalColors);
  EXPECT_EQ(a.loop, b.loop);
  ASSERT_EQ(a.images.size(), b.images.size());
  for (std::size_t i = 0; i < a.images.size(); ++i) {
    SCOPED_TRACE("frame " + std::to_string(i));
    const DumpImage &x = a.images[i], &y = b.images[i];
    EXPECT_EQ(x.left, y.left);
    EXPECT_EQ(x.top, y.top);
    EXPECT_EQ(x.width, y.width);
    EXPECT_EQ(x.height, y.height);
    EXPECT_EQ(x.interlaced, y.interlaced);
    EXPECT_EQ(x.localColors, y.localColors);
    EXPECT_EQ(x.control.present, y.control.present);
    EXPECT_EQ(x.control.disposal, y.control.disposal);
    EXPECT_EQ(x.control.delay, y.control.delay);
    EXPECT_EQ(x.control.userInput, y.control.userInput);
    EXPECT_EQ(x.control.transparent, y.control.transparent);
    EXPECT_EQ(x.pixels, y.pixels);
  }
}

// Seventeen by fifteen tiles, each a frame with a full local table and no delay, as the image
// library writes true-colour pictures.
Bytes Mosaic() {
  TGIFImage image;
  const int tileWidth = 6, tileHeight = 5;
  for (int ty = 0; ty < 15; ++ty)
    for (int tx = 0; tx < 17; ++tx) {
      Bytes pixels(tileWidth * tileHeight);
      for (std::size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = std::uint8_t((i * 7 + std::size_t(tx * 31 + ty)) & 0xFF);
      TGIFSubImage* frame =
          AddFrame(image, tx * tileWidth, ty * tileHeight, tileWidth, tileHeight, pixels, 256);
      AddControl(frame, TDisposalMethod::dmNone, 0);
    }
  return Save(image);
}

}  // namespace

// Every real GIF at hand, loaded and saved again with each coder, is what it was to giflib.
TEST(GIFEncoder, RealFilesRoundTripWithEachCoder) {
  if (!HaveGifbuild()) GTEST_SKIP() << "gifbuild (giflib-tools) is not installed";
  testsupport::TempDir temp;
  std::vector<std::pair<std::string, std::string>> sources;  // name, path
  for (const std::string& path : testsupport::SharedFiles("testdata/gif", ".gif"))
    sources.push_back({path.substr(path.rfind('/') + 1), path});
  for (const char* message : {"SonyEricssonT310-R201.mms", "projekt_exempel.mms"}) {
    Bytes mms = testsupport::ReadFileBytes(testsupport::SharedPath(std::string("testdata/mms/") + message));
    const std::string signature = "GIF8";
    auto at = std::search(mms.begin(), mms.end(), signature.begin(), signature.end());
    ASSERT_NE(at, mms.end());
    sources.push_back({message, temp.write(std::string(message) + ".gif", std::string(at, mms.end()))});
  }
  const Bytes mosaic = Mosaic();
  sources.push_back({"mosaic", temp.write("mosaic.gif", std::string(mosaic.begin(), mosaic.end()))});
  const std::string magick = temp.file("magick.gif");
  if (Shell("convert -seed 3 -size 48x40 plasma: plasma: -rotate 90 -colors 200 -loop 2 -set dispose 2 '" +
            magick + "'"))
    sources.push_back({"ImageMagick", magick});
  const std::string sicle = temp.file("gifsicle.gif");
  if (Shell("gifsicle -O2 --loopcount=forever '" + sources[0].second + "' -o '" + sicle + "'"))
    sources.push_back({"gifsicle", sicle});
  ASSERT_GE(sources.size(), 17u);

  for (const auto& [name, path] : sources) {
    const GifDump original = DumpGif(path);
    for (TGIFCompression coder : kCoders) {
      SCOPED_TRACE(name + " " + CoderName(coder));
      TGIFImage image;
      Load(image, testsupport::ReadFileBytes(path));
      image.SetCompression(coder);
      const std::string saved = temp.file(name + CoderName(coder) + ".gif");
      image.SaveToFile(saved);
      ExpectSameDump(original, DumpGif(saved));
    }
  }
}

TEST(GIFEncoder, SubBlockWriterOnlyWrites) {
  TMemoryStream target;
  TGIFWriter writer(&target, nullptr);
  char buffer[4];
  for (const auto& operation : std::vector<std::function<void()>>{[&] { writer.Read(buffer, 4); },
                                                                  [&] { writer.Seek(0, soFromBeginning); }}) {
    try {
      operation();
      ADD_FAILURE() << "no error";
    } catch (const Exception& e) {
      EXPECT_STREQ(e.Message.c_str(), "Invalid stream operation");
    }
  }
  // 600 bytes: two full sub-blocks and one of 90, each with its length in front.
  std::vector<BYTE> data(600, 7);
  writer.Write(data.data(), 600);
  writer.FlushBuffer();
  ASSERT_EQ(target.Size(), 603);
  const auto* p = static_cast<const BYTE*>(target.Memory());
  EXPECT_EQ(p[0], 255);
  EXPECT_EQ(p[256], 255);
  EXPECT_EQ(p[512], 90);
}
