// The image inspector run as a user runs it: its JSON for files of several formats, its refusal of
// a file that is no picture, and the RGBA PNG it writes, compared with the GIF suite's reference
// frames and with Pillow's RGBA reading of transparent PNG files.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "GifTestSupport.h"
#include "OracleProcess.h"
#include "PillowOracle.h"
#include "support/SharedData.h"
#include "support/TempDir.h"

namespace {

#ifdef IMAGEINFO_PROGRAM
// Runs the inspector with `args`; its output is returned, its exit status kept in `status`.
std::string RunInspector(const std::string& args, int& status) {
  std::vector<uint8_t> out;
  const bool ok = imagetest::RunCapture(std::string(IMAGEINFO_PROGRAM) + " " + args + " 2>/dev/null", out);
  status = ok ? 0 : 1;
  return std::string(out.begin(), out.end());
}

TEST(ImageInfoTool, PrintsFormatSizeFramesAndTransparency) {
  struct Case {
    const char* file;
    const char* json;  // the whole line after the file name
  };
  const Case cases[] = {
      {"testdata/pillow/jp2/00r0_gray_l.jp2",
       R"("format": 11, "name": "JP2", "width": 6, "height": 13, "bpp": 8, "frames": 1, "alpha": false, "transparent": false)"},
      {"testdata/pillow/jp2/9bit.j2k",
       R"("format": 12, "name": "JPC", "width": 128, "height": 128, "bpp": 24, "frames": 1, "alpha": false, "transparent": false)"},
      {"testdata/gif/animated_transparent_loop.gif", nullptr},
      {"testdata/png/basn6a08.png",
       R"("format": 4, "name": "PNG", "width": 32, "height": 32, "bpp": 24, "frames": 1, "alpha": true, "transparent": false)"},
      {"testdata/png/tbrn2c08.png",
       R"("format": 4, "name": "PNG", "width": 32, "height": 32, "bpp": 24, "frames": 1, "alpha": false, "transparent": true)"},
  };
  for (const Case& c : cases) {
    const std::string path = testsupport::SharedPath(c.file);
    int status = -1;
    const std::string out = RunInspector(imagetest::ShellQuote(path), status);
    EXPECT_EQ(status, 0) << c.file << ": " << out;
    const std::string head = "{\"file\": \"" + path + "\", ";
    ASSERT_EQ(out.rfind(head, 0), 0u) << out;
    if (c.json != nullptr) {
      EXPECT_EQ(out.substr(head.size()), std::string(c.json) + "}\n") << c.file;
    } else {
      EXPECT_NE(out.find(R"("format": 2, "name": "GIF")"), std::string::npos) << out;
      EXPECT_EQ(out.find(R"("frames": 1,)"), std::string::npos) << out;
      EXPECT_NE(out.find(R"("transparent": true)"), std::string::npos) << out;
    }
  }
}

TEST(ImageInfoTool, AFileThatIsNoPictureGivesTheReasonAndExitsWithOne) {
  testsupport::TempDir dir;
  const std::string words = dir.write("words.txt", "no picture in here, only words for the decoders\n");
  int status = 0;
  std::string out = RunInspector(imagetest::ShellQuote(words), status);
  EXPECT_EQ(status, 1);
  EXPECT_EQ(out, "{\"file\": \"" + words + "\", \"error\": \"Decode: Unknown or wrong format\"}\n");
  // A GIF of one frame asked for its second: the GIF decoder's own reason.
  const std::string gif = testsupport::SharedPath("testdata/gif/static_transparent.gif");
  out = RunInspector(imagetest::ShellQuote(gif) + " --frame 1", status);
  EXPECT_EQ(status, 1);
  EXPECT_NE(out.find("\"error\": \"GIF frame 1 asked for"), std::string::npos) << out;
  EXPECT_FALSE(std::filesystem::exists(dir.file("none.png")));
}

TEST(ImageInfoTool, WritesComposedGifFramesAsTheSuiteShowsThem) {
  testsupport::TempDir dir;
  struct Case {
    const char* name;
    int frame;
  };
  for (const Case& c :
       {Case{"animated_transparent_frame_restoreprev_loop", 2}, Case{"animated_loop_interlaced", 3},
        Case{"animated_transparent_loop_frames_out_of_bounds", 1}}) {
    const std::string gif = testsupport::SharedPath(std::string("testdata/gif/") + c.name + ".gif");
    const std::string ref = testsupport::SharedPath(std::string("testdata/gif/frames/") + c.name + "-" +
                                                    std::to_string(c.frame) + ".png");
    const std::string out = dir.file(std::string(c.name) + ".png");
    int status = -1;
    RunInspector(imagetest::ShellQuote(gif) + " --frame " + std::to_string(c.frame) + " --out " +
                     imagetest::ShellQuote(out),
                 status);
    ASSERT_EQ(status, 0) << c.name;
    const giftest::OracleImage ours = giftest::ReadPngRgba(out);
    const giftest::OracleImage want = giftest::ReadPngRgba(ref);
    ASSERT_TRUE(ours.ok && want.ok) << c.name;
    ASSERT_EQ(ours.width, want.width);
    ASSERT_EQ(ours.height, want.height);
    int bad = 0;
    for (size_t p = 0; p + 3 < want.rgb.size(); p += 4) {
      const bool same = want.rgb[p + 3] == 0 ? ours.rgb[p + 3] == 0
                                             : std::equal(want.rgb.begin() + p, want.rgb.begin() + p + 4,
                                                          ours.rgb.begin() + p);
      bad += same ? 0 : 1;
    }
    EXPECT_EQ(bad, 0) << c.name;
  }
}

TEST(ImageInfoTool, WritesTransparentPngsWithPillowsAlpha) {
  testsupport::TempDir dir;
  std::vector<std::string> sources, written;
  for (const char* name : {"tbbn3p08.png", "tbrn2c08.png", "basn4a08.png", "basn6a16.png", "tm3n3p02.png"}) {
    sources.push_back(testsupport::SharedPath(std::string("testdata/png/") + name));
    written.push_back(dir.file(name));
    int status = -1;
    RunInspector(imagetest::ShellQuote(sources.back()) + " --out " + imagetest::ShellQuote(written.back()),
                 status);
    ASSERT_EQ(status, 0) << name;
  }
  const auto want = imagetest::PillowDecodeAll(sources, "RGBA");
  const auto ours = imagetest::PillowDecodeAll(written, "RGBA");
  for (size_t k = 0; k < sources.size(); ++k) {
    ASSERT_TRUE(want[k].ok && ours[k].ok) << sources[k] << want[k].error << ours[k].error;
    ASSERT_EQ(ours[k].rgb.size(), want[k].rgb.size()) << sources[k];
    int bad = 0;
    for (size_t p = 0; p + 3 < want[k].rgb.size(); p += 4) {
      const uint8_t* a = &want[k].rgb[p];
      const uint8_t* b = &ours[k].rgb[p];
      // Where nothing shows, the colour underneath is not compared.
      bad += a[3] == b[3] && (a[3] == 0 || (a[0] == b[0] && a[1] == b[1] && a[2] == b[2])) ? 0 : 1;
    }
    EXPECT_EQ(bad, 0) << sources[k];
  }
}
#endif

}  // namespace
