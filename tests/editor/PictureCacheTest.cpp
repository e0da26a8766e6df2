// The picture cache: its status codes, change detection at the file system's full resolution,
// damaged and missing files, and the decoded pixels against an independent reader.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "PillowOracle.h"
#include "editor/TImgFileManager.h"
#include "platform/forms/TPicture.h"
#include "support/SharedData.h"
#include "support/TempDir.h"

namespace {

// A 6 x 4 picture of one colour; every colour gives a file of the same size.
void WritePicture(const std::string& path, TColor colour) {
  TBitmap b;
  b.SetPixelFormat(pf24bit);
  b.SetSize(6, 4);
  b.Canvas()->Brush()->SetColor(colour);
  b.Canvas()->FillRect(RECT{0, 0, 6, 4});
  b.SaveToFile(path.c_str());
}

std::uint32_t FirstPixel(TBitmap* b) { return b ? b->Canvas()->Pixels(0, 0) & 0xFFFFFF : 0xFFFFFFFF; }

struct timespec ModifiedTime(const std::string& path) {
  struct stat st {};
  EXPECT_EQ(::stat(path.c_str(), &st), 0);
  return st.st_mtim;
}

// Sets the access and write times (UTIME_OMIT keeps one).
void SetTimes(const std::string& path, struct timespec accessed, struct timespec written) {
  const struct timespec times[2] = {accessed, written};
  ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

constexpr struct timespec kKeep { 0, UTIME_OMIT };

// Rewrites the file in place (same inode), keeping its write time exactly.
void OverwriteKeepingTime(const std::string& path, const std::string& bytes) {
  const struct timespec before = ModifiedTime(path);
  {
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f << bytes;
  }
  SetTimes(path, kKeep, before);
}

std::string ReadAll(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

TEST(PictureCache, StatusCodesAndKeysFollowThePathExactly) {
  testsupport::TempDir dir;
  const std::string lower = dir.file("a.jpg"), upper = dir.file("A.JPG");
  const std::string hopper = ReadAll(testsupport::SharedPath("testdata/pillow/jpeg/hopper.jpg"));
  dir.write("a.jpg", hopper);
  dir.write("A.JPG", hopper);
  dir.write("p.png", hopper);

  TImgFileManager cache;
  EXPECT_EQ(cache.IndexOf("x.jpg"), kImgNoList);
  EXPECT_EQ(cache.Delete(0), kImgIndexOutOfRange);
  EXPECT_EQ(cache.Reload(lower.c_str()), kImgNoList);
  int changed = -1;
  // Refused extensions and empty paths give null and add nothing.
  for (const char* refused : {"", "picture", "p.png", "p.jpeg", "p.jpg.txt"}) {
    EXPECT_EQ(cache.GetBitmap((dir.path() + "/" + refused).c_str(), changed), nullptr) << refused;
    EXPECT_EQ(changed, 0);
  }
  EXPECT_EQ(cache.GetBitmap("", changed), nullptr);
  EXPECT_EQ(cache.Count(), 0);
  EXPECT_EQ(CheckImgFileExt("x.Gif"), 0);
  EXPECT_EQ(CheckImgFileExt("x.bMp"), 0);
  EXPECT_EQ(CheckImgFileExt(""), kImgRefusedPath);

  // The same file named in two letter cases: two entries, one decode each.
  TBitmap* a = cache.GetBitmap(lower.c_str(), changed);
  TBitmap* b = cache.GetBitmap(upper.c_str(), changed);
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  EXPECT_NE(a, b);
  EXPECT_EQ(cache.Count(), 2);
  EXPECT_EQ(cache.GetBitmap(lower.c_str(), changed), a) << "asked again: the cached bitmap";
  EXPECT_EQ(changed, 0);
  EXPECT_EQ(cache.IndexOf(upper.c_str()), 1);
  EXPECT_EQ(cache.IndexOf(""), kImgRefusedPath);
  EXPECT_EQ(cache.IndexOf(dir.file("b.jpg").c_str()), kImgNotCached);
  EXPECT_EQ(cache.Reload(dir.file("b.jpg").c_str()), kImgNotCached);
  EXPECT_EQ(cache.Reload("p.png"), kImgRefusedPath);
  EXPECT_EQ(cache.Reload(lower.c_str()), 0);

  EXPECT_EQ(cache.Add(nullptr), kImgNullItem);
  EXPECT_EQ(cache.Delete(99), kImgIndexOutOfRange);
  EXPECT_EQ(cache.Delete(-1), kImgIndexOutOfRange);
  EXPECT_EQ(cache.Remove(lower.c_str()), 0);
  EXPECT_EQ(cache.Remove(lower.c_str()), kImgIndexOutOfRange);
  EXPECT_EQ(cache.IndexOf(upper.c_str()), 0);

  // An item made by hand: a refused path stores nothing and loads nothing.
  TImgFileItem refused("p.png");
  EXPECT_TRUE(refused.Path().IsEmpty());
  EXPECT_EQ(refused.Bitmap(), nullptr);
  EXPECT_EQ(refused.SetFile("p.png"), kImgRefusedPath);
}

TEST(PictureCache, AChangeIsSeenAtFullResolutionAndReadingIsNoChange) {
  struct Case {
    const char* what;
    void (*change)(const std::string& path, const std::string& scratch);
    int changed;
    TColor after;  // the first pixel once reloaded
  };
  const Case cases[] = {
      {"another picture in place, the write time a nanosecond later in the same second",
       [](const std::string& path, const std::string&) {
         struct timespec t = ModifiedTime(path);
         const std::string red = path + ".red.bmp";
         WritePicture(red, clRed);
         OverwriteKeepingTime(path, ReadAll(red));
         t.tv_nsec = t.tv_nsec == 999999999 ? t.tv_nsec - 1 : t.tv_nsec + 1;
         SetTimes(path, kKeep, t);
       },
       1, clRed},
      {"only read: a new access time",
       [](const std::string& path, const std::string&) {
         SetTimes(path, timespec{1000000000, 5}, kKeep);
       },
       0, clBlue},
      {"a copy renamed over it with the same write time (a new inode)",
       [](const std::string& path, const std::string& scratch) {
         const struct timespec t = ModifiedTime(path);
         const std::string red = path + ".red.bmp";
         WritePicture(red, clRed);
         {
           std::ofstream f(scratch, std::ios::binary);
           f << ReadAll(red);
         }
         SetTimes(scratch, kKeep, t);
         ASSERT_EQ(std::rename(scratch.c_str(), path.c_str()), 0);
       },
       1, clRed},
      {"a longer file with the same write time",
       [](const std::string& path, const std::string&) {
         const std::string bytes = ReadAll(path);
         OverwriteKeepingTime(path, bytes + std::string(8, '\0'));
       },
       1, clBlue},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    testsupport::TempDir dir;
    const std::string path = dir.file("img_0.BMP");
    WritePicture(path, clBlue);
    TImgFileManager cache;
    int changed = -1;
    TBitmap* before = cache.GetBitmap(path.c_str(), changed);
    ASSERT_NE(before, nullptr);
    EXPECT_EQ(FirstPixel(before), static_cast<std::uint32_t>(clBlue));
    c.change(path, dir.file("scratch.bmp"));
    TBitmap* now = cache.GetBitmap(path.c_str(), changed);
    EXPECT_EQ(changed, c.changed);
    EXPECT_EQ(now, before) << "the cache hands out what it has until it is told to reload";
    if (c.changed) {
      ASSERT_EQ(cache.Reload(path.c_str()), 0);
      TBitmap* reloaded = cache.GetBitmap(path.c_str(), changed);
      EXPECT_EQ(changed, 0);
      ASSERT_NE(reloaded, nullptr);
      EXPECT_EQ(FirstPixel(reloaded), static_cast<std::uint32_t>(c.after));
    }
  }
}

TEST(PictureCache, AFileThatCannotBeDecodedGivesNullAndIsTriedAgainOnlyOnceItChanges) {
  const std::string hopper = ReadAll(testsupport::SharedPath("testdata/pillow/jpeg/hopper.jpg"));
  struct Case {
    const char* name;
    std::string bytes;
  };
  std::string text = "This is no picture, only words in a file named like one. ";
  text.resize(hopper.size(), '.');
  const Case cases[] = {
      {"cut.jpg", hopper.substr(0, 20)},
      {"text.jpg", text},
      {"empty.jpg", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    testsupport::TempDir dir;
    const std::string path = dir.write(c.name, c.bytes);
    TImgFileManager cache;
    int changed = -1;
    EXPECT_EQ(cache.GetBitmap(path.c_str(), changed), nullptr);
    EXPECT_EQ(cache.Count(), 1) << "remembered, so the next repaint does not decode it again";
    EXPECT_EQ(cache.Reload(path.c_str()), kImgUndecodable);
    if (c.bytes.size() == hopper.size()) {
      // The whole picture put in place under the same stamp (inode, size and write time) proves
      // that the file is not decoded again while it seems unchanged.
      OverwriteKeepingTime(path, hopper);
      EXPECT_EQ(cache.GetBitmap(path.c_str(), changed), nullptr);
      EXPECT_EQ(changed, 0);
    }
    // Changed into a whole picture: it loads on the next request. (The write time is moved on
    // by hand: within one tick of the kernel's clock a rewrite may keep it.)
    {
      std::ofstream f(path, std::ios::binary | std::ios::trunc);
      f << hopper;
    }
    struct timespec later = ModifiedTime(path);
    later.tv_sec += 1;
    SetTimes(path, kKeep, later);
    TBitmap* loaded = cache.GetBitmap(path.c_str(), changed);
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->Width(), 128);
    EXPECT_EQ(changed, 0);
  }

  // A missing file adds nothing; a pattern character in the name matches nothing else.
  testsupport::TempDir dir;
  dir.write("ab.jpg", hopper);
  TImgFileManager cache;
  int changed = -1;
  for (const char* missing : {"gone.jpg", "a?.jpg", "*.jpg"}) {
    EXPECT_EQ(cache.GetBitmap(dir.file(missing).c_str(), changed), nullptr) << missing;
    EXPECT_EQ(changed, 0);
  }
  EXPECT_EQ(cache.IndexOf(dir.file("a?.jpg").c_str()), kImgNoList);

  // A cached file that is removed reports a change; reloading leaves no bitmap, and the file
  // coming back loads again.
  const std::string path = dir.file("ab.jpg");
  ASSERT_NE(cache.GetBitmap(path.c_str(), changed), nullptr);
  ASSERT_EQ(std::remove(path.c_str()), 0);
  EXPECT_NE(cache.GetBitmap(path.c_str(), changed), nullptr);
  EXPECT_EQ(changed, 1);
  EXPECT_EQ(cache.Reload(path.c_str()), kImgFileNotFound);
  EXPECT_EQ(cache.GetBitmap(path.c_str(), changed), nullptr);
  EXPECT_EQ(changed, 0);
  dir.write("ab.jpg", hopper);
  EXPECT_NE(cache.GetBitmap(path.c_str(), changed), nullptr);
}

TEST(PictureCache, DecodedPixelsAreThoseAnIndependentReaderSees) {
  struct Case {
    const char* file;
    int tolerance;
  };
  const Case cases[] = {{"testdata/pillow/bmp/g_rgb24.bmp", 0}, {"testdata/pillow/jpeg/hopper.jpg", 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    const std::string path = testsupport::SharedPath(c.file);
    const imagetest::OraclePicture expected = imagetest::PillowDecode(path);
    ASSERT_TRUE(expected.ok) << expected.error;
    TImgFileManager cache;
    int changed = -1;
    TBitmap* b = cache.GetBitmap(path.c_str(), changed);
    ASSERT_NE(b, nullptr);
    ASSERT_EQ(b->Width(), expected.width);
    ASSERT_EQ(b->Height(), expected.height);
    TBitmap copy;
    copy.Assign(b);
    copy.SetPixelFormat(pf32bit);
    int worst = 0;
    for (int y = 0; y < expected.height; ++y) {
      auto* row = static_cast<std::uint32_t*>(copy.ScanLine(y));
      for (int x = 0; x < expected.width; ++x) {
        const std::uint8_t* want = expected.at(x, y);
        const int got[3] = {int(row[x] >> 16 & 0xFF), int(row[x] >> 8 & 0xFF), int(row[x] & 0xFF)};
        for (int ch = 0; ch < 3; ++ch) worst = std::max(worst, std::abs(got[ch] - int(want[ch])));
      }
    }
    EXPECT_LE(worst, c.tolerance);
  }
}

}  // namespace
