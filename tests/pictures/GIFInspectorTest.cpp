// The picture inspector on GIF files: what it prints, the animation it draws after some time on
// the fake clock (against the reference frames over white), and saving.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "GifPaintSupport.h"
#include "support/TempDir.h"

using namespace gifpaint;

namespace {

std::filesystem::path Inspector() {
  char path[4096] = {};
  const ssize_t n = readlink("/proc/self/exe", path, sizeof(path) - 1);
  if (n <= 0) return {};
  return std::filesystem::path(path).parent_path().parent_path().parent_path() / "tools" / "pictureinfo";
}

// Standard output and error of one run, and its exit status.
int RunInspector(const std::string& arguments, std::string& output) {
  FILE* pipe = popen((Inspector().string() + " " + arguments + " 2>&1").c_str(), "r");
  if (!pipe) return -1;
  char buffer[512];
  while (std::fgets(buffer, sizeof buffer, pipe)) output += buffer;
  const int status = pclose(pipe);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(GifInspector, PlaysAnimationsToTheirReferenceFramesOverWhite) {
  if (!std::filesystem::exists(Inspector())) GTEST_SKIP() << "tools/pictureinfo is not built";
  testsupport::TempDir dir;
  struct Case {
    const char* name;
    int play;
    int frame;
  } cases[] = {
      {"animated_transparent_frame_restoreprev_loop", 0, 0},
      {"animated_transparent_frame_restoreprev_loop", 2400, 2},
      {"animated_transparent_restoreprev_loop", 3600, 3},
      {"animated_transparent_firstframerestoreprev_loop", 1200, 1},
      {"animated_transparent_loop_frames_out_of_bounds", 3600, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.name) + " after " + std::to_string(c.play));
    const std::string out = dir.file(std::string(c.name) + std::to_string(c.play) + ".png");
    std::string printed;
    ASSERT_EQ(RunInspector(GifPath(std::string(c.name) + ".gif") + " --out " + out + " --play " +
                               std::to_string(c.play),
                           printed),
              0)
        << printed;
    EXPECT_EQ(printed, "TGIFImage 100x100 frames=4\n");
    const Rgba got = ReadPng(out), reference = ReferenceFrame(c.name, c.frame);
    ASSERT_EQ(got.width, reference.width);
    int wrong = 0;
    for (int y = 0; y < got.height; ++y)
      for (int x = 0; x < got.width; ++x) {
        const std::uint32_t p = reference.At(x, y);
        wrong += (got.At(x, y) & 0xFFFFFF) != ((p >> 24) == 0 ? 0xFFFFFFu : p & 0xFFFFFF);
      }
    EXPECT_EQ(wrong, 0);
  }
}

TEST(GifInspector, SavesThroughTheGifClass) {
  if (!std::filesystem::exists(Inspector())) GTEST_SKIP() << "tools/pictureinfo is not built";
  testsupport::TempDir dir;
  std::string printed;
  ASSERT_EQ(RunInspector(GifPath("animated_loop.gif") + " --save " + dir.file("copy.gif"), printed), 0)
      << printed;
  auto original = LoadGif(GifPath("animated_loop.gif"));
  auto copy = LoadGif(dir.file("copy.gif"));
  ASSERT_EQ(copy->Images()->Count(), 4);
  for (int i = 0; i < 4; ++i)
    EXPECT_EQ(copy->Images()->GetImage(i)->Pixels(), original->Images()->GetImage(i)->Pixels());
}

}  // namespace
