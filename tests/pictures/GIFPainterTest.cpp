// Animations played by real painter threads on the fake clock: every disposal of the suite
// against its reference frames, mosaics of tiles shown at once, delays, passes, events on the
// interface thread, stopping or freeing a picture while it plays, and optimising it meanwhile.
#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <set>
#include <thread>

#include "GifPaintSupport.h"
#include "imagelib/IxImage.h"
#include "imagelib/IxMemFile.h"
#include "pictures/gif/GIFSettings.h"
#include "pictures/gif/TGIFPainter.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/MainThread.h"
#include "platform/rtl/Synchronize.h"

using namespace gifpaint;

namespace {

using GifPainter = GifTest;

constexpr TGIFDrawOptions kAsyncLoop =
    GIFDrawOption(goAsync) | GIFDrawOption(goAnimate) | GIFDrawOption(goLoop);

std::vector<std::uint32_t> Snapshot(TBitmap& bitmap) {
  std::vector<std::uint32_t> pixels;
  for (int y = 0; y < bitmap.Height(); ++y)
    for (int x = 0; x < bitmap.Width(); ++x) pixels.push_back(Pixel(bitmap, x, y));
  return pixels;
}

// The picture's drawing after each painted frame, as a window showing it would get it.
struct Recorder {
  std::vector<int> frames;
  std::vector<std::int64_t> times;
  std::vector<std::vector<std::uint32_t>> pictures;
  std::vector<std::string> events;
  bool offThread = false;
  bool ended = false;

  void Attach(TGIFImage& gif, bool keepPictures) {
    auto note = [this](const char* name) {
      return [this, name](TObject* sender) {
        offThread |= !platform::IsMainThread();
        const int active = static_cast<TGIFPainter*>(sender)->ActiveImage();
        events.push_back(std::string(name) + (active >= 0 ? std::to_string(active) : ""));
      };
    };
    gif.OnAnimationStart = note("start");
    gif.OnBeforeFrame = note("before");
    gif.OnAnimationLoop = note("loop");
    gif.OnAnimationEnd = [this, note](TObject* sender) {
      note("end")(sender);
      ended = true;
    };
    gif.OnAfterFrame = [this, &gif, keepPictures, note](TObject* sender) {
      note("after")(sender);
      frames.push_back(static_cast<TGIFPainter*>(sender)->ActiveImage());
      times.push_back(Driver().Now());
      if (keepPictures) pictures.push_back(Snapshot(*gif.GetBitmap()));
    };
  }
};

std::vector<std::string> AnimatedSuiteFiles() {
  std::vector<std::string> names;
  for (const std::string& path : testsupport::SharedFiles("testdata/gif", ".gif")) {
    const std::string name =
        path.substr(path.find_last_of('/') + 1, path.size() - path.find_last_of('/') - 5);
    if (name.rfind("animated", 0) == 0) names.push_back(name);
  }
  return names;
}

// Plays `name` drawn over the backdrop; the picture after each frame of two passes.
void ExpectReferenceFrames(const std::string& name, bool clearOnLoop) {
  SCOPED_TRACE(name + (clearOnLoop ? " cleared on loop" : ""));
  auto gif = LoadGif(GifPath(name + ".gif"));
  if (clearOnLoop) gif->SetDrawOptions(gif->DrawOptions() | GIFDrawOption(goClearOnLoop));
  const int count = gif->Images()->Count();
  Recorder recorder;
  recorder.Attach(*gif, true);
  auto canvas = BackdropCanvas(gif->Width(), gif->Height());
  canvas->Canvas()->Draw(0, 0, gif.get());
  for (int step = 0; step < 4 * count && int(recorder.pictures.size()) < 2 * count; ++step) Play(1200);
  const int checked = clearOnLoop ? 2 * count : count;
  ASSERT_GE(int(recorder.pictures.size()), checked);
  for (int i = 0; i < checked; ++i) {
    SCOPED_TRACE("pass " + std::to_string(i / count + 1) + " frame " + std::to_string(i % count));
    EXPECT_EQ(recorder.frames[std::size_t(i)], i % count);
    const Rgba reference = ReferenceFrame(name, i % count);
    const auto& got = recorder.pictures[std::size_t(i)];
    int wrong = 0;
    for (int y = 0; y < reference.height; ++y)
      for (int x = 0; x < reference.width; ++x)
        wrong += got[std::size_t(y) * std::size_t(reference.width) + std::size_t(x)] !=
                 OverBackdrop(reference)(x, y);
    EXPECT_EQ(wrong, 0);
  }
  // The window's own drawing shows the picture as it stands.
  canvas->Canvas()->Draw(0, 0, gif.get());
  EXPECT_EQ(Snapshot(*canvas), recorder.pictures.back());
  gif.reset();
  EXPECT_TRUE(NoThreadLeft());
}

TEST_F(GifPainter, EveryDisposalOfTheSuiteGivesItsReferenceFrames) {
  const auto names = AnimatedSuiteFiles();
  ASSERT_GE(names.size(), 10u);
  for (const std::string& name : names) ExpectReferenceFrames(name, false);
}

TEST_F(GifPainter, ClearingOnLoopGivesTheReferenceFramesInTheSecondPassToo) {
  for (const std::string& name : AnimatedSuiteFiles()) {
    // Files that play once have no second pass.
    if (name.find("noloop") != std::string::npos) continue;
    ExpectReferenceFrames(name, true);
  }
}

// A 51 x 30 true-colour picture written by the image library: a mosaic of 17 x 15 tiles.
std::vector<std::uint8_t> MosaicFile(IxImage& image) {
  image.Create(51, 30, 24, 0);
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 51; ++x)
      image.SetPixelColor(
          x, y, IxRGBQuad{std::uint8_t(x * 5), std::uint8_t(y * 8), std::uint8_t((x * y) & 0xFF), 0});
  IxMemFile out;
  out.Open();
  EXPECT_TRUE(image.Encode(&out, IXIMAGE_FORMAT_GIF));
  const auto* b = static_cast<const std::uint8_t*>(out.GetBuffer(false));
  return std::vector<std::uint8_t>(b, b + out.Size());
}

std::unique_ptr<TGIFImage> LoadBytes(const std::vector<std::uint8_t>& bytes) {
  auto gif = std::make_unique<TGIFImage>();
  TMemoryStream stream;
  stream.WriteBuffer(bytes.data(), int(bytes.size()));
  stream.SetPosition(0);
  gif->LoadFromStream(&stream);
  return gif;
}

std::string DiffersFromImageLibrary(TBitmap& bitmap, IxImage& decoded) {
  return Differences(bitmap, [&](int x, int y) {
    const IxRGBQuad c = decoded.GetPixelColor(x, std::int64_t(decoded.GetHeight()) - 1 - y, false);
    return std::uint32_t(c.rgbRed) << 16 | std::uint32_t(c.rgbGreen) << 8 | c.rgbBlue;
  });
}

TEST_F(GifPainter, AMosaicOfTilesIsOnePicture) {
  IxImage source;
  const auto bytes = MosaicFile(source);
  IxImage decoded;
  IxMemFile in(const_cast<std::uint8_t*>(bytes.data()), bytes.size());
  ASSERT_TRUE(decoded.Decode(&in, IXIMAGE_FORMAT_GIF));

  auto still = LoadBytes(bytes);
  ASSERT_EQ(still->Images()->Count(), 6);
  still->SetAnimate(false);
  auto canvas = BackdropCanvas(51, 30);
  canvas->Canvas()->Draw(0, 0, still.get());
  EXPECT_EQ(DiffersFromImageLibrary(*canvas, decoded), "");

  // Animated: the first frame Draw waits for is the whole mosaic, and the pass ends there.
  auto animated = LoadBytes(bytes);
  Recorder recorder;
  recorder.Attach(*animated, false);
  auto animatedCanvas = BackdropCanvas(51, 30);
  animatedCanvas->Canvas()->Draw(0, 0, animated.get());
  EXPECT_EQ(DiffersFromImageLibrary(*animatedCanvas, decoded), "");
  Settle();
  EXPECT_EQ(recorder.frames, (std::vector<int>{0, 1, 2, 3, 4, 5}));
  EXPECT_EQ(std::set<std::int64_t>(recorder.times.begin(), recorder.times.end()).size(), 1u);
  EXPECT_TRUE(recorder.ended);

  // The picture cache of one draw onto a bitmap shows all of it too.
  TBitmap cache;
  cache.Assign(LoadBytes(bytes).get());
  auto fromCache = BackdropCanvas(51, 30);
  fromCache->Canvas()->Draw(0, 0, &cache);
  EXPECT_EQ(DiffersFromImageLibrary(*fromCache, decoded), "");
  animated.reset();
  EXPECT_TRUE(NoThreadLeft());
}

// Paint times of a built animation played in a thread of its own.
std::vector<std::int64_t> PaintGaps(TGIFImage& gif, TGIFDrawOptions options, int frames, int speed = 100) {
  Recorder recorder;
  recorder.Attach(gif, false);
  gif.SetAnimationSpeed(speed);
  auto canvas = BackdropCanvas(gif.Width(), gif.Height());
  TGIFPainter* painter = gif.Paint(canvas->Canvas(), RECT{0, 0, gif.Width(), gif.Height()}, options);
  for (int i = 0; i < 200 && int(recorder.times.size()) < frames; ++i) Play(500);
  if (painter) gif.PaintStop();
  std::vector<std::int64_t> gaps;
  for (std::size_t i = 1; i < recorder.times.size() && int(i) < frames; ++i)
    gaps.push_back(recorder.times[i] - recorder.times[i - 1]);
  return gaps;
}

TEST_F(GifPainter, DelaysBecomeWaitsOfTwelveMillisecondsAHundredth) {
  struct Case {
    const char* name;
    std::vector<FrameShape> frames;
    TGIFDrawOptions options;
    int speed;
    std::vector<std::int64_t> gaps;
  } cases[] = {
      {"a second", {{.delay = 100}, {.delay = 100}}, kAsyncLoop, 100, {1200}},
      {"a delay of 1 is raised to 3", {{.delay = 1}, {.delay = 1}}, kAsyncLoop, 100, {36}},
      {"a delay of 0 after the first frame waits the default",
       {{.delay = 100}, {.delay = 0}, {.delay = 100}},
       kAsyncLoop,
       100,
       {1200, 120}},
      {"no control block waits the default", {{.delay = -1}, {.delay = -1}}, kAsyncLoop, 100, {120}},
      {"speed 200 halves", {{.delay = 100}, {.delay = 100}}, kAsyncLoop, 200, {600}},
      {"speed 50 doubles", {{.delay = 100}, {.delay = 100}}, kAsyncLoop, 50, {2400}},
      {"a thread keeps a long delay", {{.delay = 5000}, {.delay = 100}}, kAsyncLoop, 100, {60000}},
      {"inline, a long delay is cut to 1000",
       {{.delay = 5000}, {.delay = 100}},
       GIFDrawOption(goAnimate),
       100,
       {12000}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto gif = BuildAnimation(c.frames);
    EXPECT_EQ(PaintGaps(*gif, c.options, int(c.gaps.size()) + 1, c.speed), c.gaps);
    gif.reset();
    EXPECT_TRUE(NoThreadLeft());
  }
}

TEST_F(GifPainter, TheVariableDelayFileWaitsEachFramesOwnDelay) {
  auto gif = LoadGif(GifPath("animated_loop_variable_delay.gif"));
  std::vector<std::int64_t> expected;
  for (int i = 0; i < 3; ++i) {
    const int delay = gif->Images()->GetImage(i)->GraphicControlExtension()->GetDelay();
    expected.push_back(std::int64_t(delay == 0 ? GIFDefaultDelay : std::max(delay, GIFMinimumDelay)) *
                       GIFDelayExp);
  }
  EXPECT_EQ(expected[2], 120);
  EXPECT_EQ(PaintGaps(*gif, kAsyncLoop, 4), expected);
}

TEST_F(GifPainter, TheNextFrameComesAt1200AndNotAt1199) {
  auto gif = BuildAnimation({{.delay = 100, .color = 1}, {.delay = 100, .color = 2}});
  auto canvas = BackdropCanvas(4, 4);
  canvas->Canvas()->Draw(0, 0, gif.get());
  EXPECT_EQ(Pixel(*canvas, 0, 0), 0xFF0000u);
  Play(1199);
  canvas->Canvas()->Draw(0, 0, gif.get());
  EXPECT_EQ(Pixel(*canvas, 0, 0), 0xFF0000u);
  Play(1);
  canvas->Canvas()->Draw(0, 0, gif.get());
  EXPECT_EQ(Pixel(*canvas, 0, 0), 0x00FF00u);
}

TEST_F(GifPainter, PassesFollowTheLoopingBlock) {
  const std::vector<FrameShape> plain{{.delay = 10}, {.delay = 10}};
  struct Case {
    const char* name;
    std::vector<FrameShape> frames;
    TGIFDrawOptions options;
    std::vector<int> painted;  // the first ones, when endless
    bool ends;
  } cases[] = {
      {"no looping block: one pass", plain, kAsyncLoop, {0, 1}, true},
      {"two", {{.delay = 10, .loops = 2}, {.delay = 10}}, kAsyncLoop, {0, 1, 0, 1}, true},
      {"0 in a thread: endless",
       {{.delay = 10, .loops = 0}, {.delay = 10}},
       kAsyncLoop,
       {0, 1, 0, 1, 0, 1, 0, 1},
       false},
      {"0 inline: one pass",
       {{.delay = 10, .loops = 0}, {.delay = 10}},
       GIFDrawOption(goAnimate) | GIFDrawOption(goLoop),
       {0, 1},
       true},
      {"continuous", plain, kAsyncLoop | GIFDrawOption(goLoopContinously), {0, 1, 0, 1, 0, 1, 0, 1}, false},
      {"without goLoop one pass",
       {{.delay = 10, .loops = 3}, {.delay = 10}},
       GIFDrawOption(goAsync) | GIFDrawOption(goAnimate),
       {0, 1},
       true},
      {"later passes start at the looping block",
       {{.delay = 10}, {.delay = 10, .loops = 2}, {.delay = 10}},
       kAsyncLoop,
       {0, 1, 2, 1, 2},
       true},
      {"an empty frame ends the pass",
       {{.delay = 10}, {.delay = 10, .empty = true}, {.delay = 10}},
       kAsyncLoop,
       {0},
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto gif = BuildAnimation(c.frames);
    Recorder recorder;
    recorder.Attach(*gif, false);
    auto canvas = BackdropCanvas(4, 4);
    gif->Paint(canvas->Canvas(), RECT{0, 0, 4, 4}, c.options);
    for (int i = 0; i < 20; ++i) Play(120);
    EXPECT_EQ(recorder.ended, c.ends);
    std::vector<int> first(recorder.frames.begin(),
                           recorder.frames.begin() + std::min(recorder.frames.size(), c.painted.size()));
    EXPECT_EQ(first, c.painted);
    if (c.ends) {
      EXPECT_EQ(recorder.frames.size(), c.painted.size());
      // The last frame's delay is not waited for.
      EXPECT_EQ(recorder.events.back(), "end");
    }
    gif.reset();
    EXPECT_TRUE(NoThreadLeft());
  }
}

TEST_F(GifPainter, EventsComeInOrderOnTheInterfaceThread) {
  auto gif = BuildAnimation({{.delay = 10, .loops = 2}, {.delay = 10}});
  Recorder recorder;
  recorder.Attach(*gif, false);
  auto canvas = BackdropCanvas(4, 4);
  gif->Paint(canvas->Canvas(), RECT{0, 0, 4, 4}, kAsyncLoop);
  for (int i = 0; i < 10; ++i) Play(120);
  EXPECT_FALSE(recorder.offThread);
  EXPECT_EQ(recorder.events,
            (std::vector<std::string>{"start0", "before0", "after0", "before1", "after1", "loop0", "before0",
                                      "after0", "before1", "after1", "end"}));
}

TEST_F(GifPainter, AnAfterFrameHandlerCanJumpBack) {
  auto gif = BuildAnimation({{.delay = 10}, {.delay = 10}, {.delay = 10}});
  std::vector<int> painted;
  int jumps = 0;
  gif->OnAfterFrame = [&](TObject* sender) {
    auto* painter = static_cast<TGIFPainter*>(sender);
    painted.push_back(painter->ActiveImage());
    if (painter->ActiveImage() == 1 && jumps++ < 2) painter->SetActiveImage(0);
  };
  auto canvas = BackdropCanvas(4, 4);
  gif->Paint(canvas->Canvas(), RECT{0, 0, 4, 4}, kAsyncLoop);
  for (int i = 0; i < 10; ++i) Play(120);
  EXPECT_EQ(painted, (std::vector<int>{0, 1, 0, 1, 0, 1, 2}));
}

TEST_F(GifPainter, SpeedZeroHoldsTheFrameUntilTheSpeedChanges) {
  auto gif = BuildAnimation({{.delay = 10}, {.delay = 10}});
  Recorder recorder;
  recorder.Attach(*gif, false);
  gif->SetAnimationSpeed(0);
  auto canvas = BackdropCanvas(4, 4);
  canvas->Canvas()->Draw(0, 0, gif.get());
  // The painter waits on its event alone, not on the clock: give it real time to get there.
  auto idle = [] {
    for (int i = 0; i < 200; ++i) {
      Driver().RunUntilIdle();
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  };
  idle();
  Driver().Advance(100000);
  idle();
  EXPECT_EQ(recorder.frames, std::vector<int>{0});
  const std::int64_t now = Driver().Now();
  gif->SetAnimationSpeed(100);
  idle();
  EXPECT_EQ(recorder.frames, (std::vector<int>{0, 1}));
  EXPECT_EQ(Driver().Now(), now);
}

TEST_F(GifPainter, StopWakesAWaitingPainterWithoutTheClock) {
  auto gif = BuildAnimation({{.delay = 1000}, {.delay = 1000}});
  auto canvas = BackdropCanvas(4, 4);
  gif->Paint(canvas->Canvas(), RECT{0, 0, 4, 4}, kAsyncLoop);
  Settle();
  ASSERT_EQ(Driver().clock().BlockedCount(), 1);
  const std::int64_t now = Driver().Now();
  gif->PaintStop();
  EXPECT_EQ(Driver().Now(), now);
  EXPECT_TRUE(NoThreadLeft());
  EXPECT_EQ(gif->Painters()->LockList()->Count(), 0);
  gif->Painters()->UnlockList();
}

TEST_F(GifPainter, FreeingAPictureMidAnimationRunsNoQueuedPaintAndSendsNoChange) {
  auto gif = BuildAnimation({{.delay = 100, .color = 1}, {.delay = 100, .color = 2}});
  int changes = 0, before = 0;
  gif->OnBeforeFrame = [&](TObject*) { ++before; };
  auto canvas = BackdropCanvas(4, 4);
  canvas->Canvas()->Draw(0, 0, gif.get());
  Settle();
  const int painted = before;
  gif->OnChange = [&](TObject*) { ++changes; };
  TGIFPainter* painter = gif->DrawPainter();
  ASSERT_NE(painter, nullptr);
  // The thread wakes (a speed change) and queues its next call; nobody runs it yet.
  gif->SetAnimationSpeed(500);
  for (int i = 0; i < 5000 && !platform::SynchronizePending(); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  ASSERT_TRUE(platform::SynchronizePending());
  gif.reset();
  EXPECT_EQ(changes, 0);
  EXPECT_EQ(before, painted);
  EXPECT_TRUE(NoThreadLeft());
}

TEST_F(GifPainter, AnInlineHandlerMayFreeThePicture) {
  auto* gif = BuildAnimation({{.delay = 10}, {.delay = 10}, {.delay = 10}}).release();
  int after = 0;
  gif->OnAfterFrame = [&](TObject*) {
    if (++after == 2) delete gif;
  };
  auto canvas = BackdropCanvas(4, 4);
  gif->SetDrawOptions(GIFDrawOption(goAnimate) | GIFDrawOption(goLoop) | GIFDrawOption(goTransparent));
  canvas->Canvas()->Draw(0, 0, gif);
  EXPECT_EQ(after, 2);
  EXPECT_EQ(platform::RunningThreads(), 0u);
}

TEST_F(GifPainter, AFailureEndingAThreadReachesTheWarningHandler) {
  auto gif = BuildAnimation({{.delay = 10}, {.delay = 10}});
  std::vector<std::pair<TGIFSeverity, std::string>> warnings;
  gif->OnGIFWarning = [&](TObject*, TGIFSeverity s, const AnsiString& m) {
    warnings.emplace_back(s, m.c_str());
  };
  gif->OnBeforeFrame = [](TObject*) { throw Exception("handler failed"); };
  auto canvas = BackdropCanvas(4, 4);
  gif->Paint(canvas->Canvas(), RECT{0, 0, 4, 4}, kAsyncLoop);
  Settle();
  EXPECT_TRUE(NoThreadLeft());
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_EQ(warnings[0].first, gsError);
  EXPECT_EQ(warnings[0].second, "handler failed");
}

TEST_F(GifPainter, AFailureOfAnInlinePainterReachesTheCaller) {
  auto gif = BuildAnimation({{.delay = 10}, {.delay = 10}});
  gif->OnBeforeFrame = [](TObject*) { throw Exception("handler failed"); };
  auto canvas = BackdropCanvas(4, 4);
  try {
    gif->Paint(canvas->Canvas(), RECT{0, 0, 4, 4}, GIFDrawOption(goAnimate));
    FAIL() << "no failure";
  } catch (const Exception& e) {
    EXPECT_STREQ(e.Message.c_str(), "handler failed");
  }
  EXPECT_EQ(gif->Painters()->LockList()->Count(), 0);
  gif->Painters()->UnlockList();
}

// The pictures of one pass, a picture repeated by the next frame counted once.
std::vector<std::vector<std::uint32_t>> Distinct(const std::vector<std::vector<std::uint32_t>>& pictures) {
  std::vector<std::vector<std::uint32_t>> distinct;
  for (const auto& picture : pictures)
    if (distinct.empty() || distinct.back() != picture) distinct.push_back(picture);
  return distinct;
}

std::vector<int> First(const std::vector<int>& frames, std::size_t count) {
  return {frames.begin(), frames.begin() + std::ptrdiff_t(std::min(count, frames.size()))};
}

// Draws the picture anew, as the window showing it does after a change, and plays until
// `frames` frames were painted: the pictures shown and the frames painted.
void PlayFresh(TGIFImage& gif, Recorder& recorder, std::size_t frames) {
  recorder = Recorder();
  recorder.Attach(gif, true);
  auto canvas = BackdropCanvas(4, 4);
  canvas->Canvas()->Draw(0, 0, &gif);
  for (int i = 0; i < 100 && recorder.frames.size() < frames; ++i) Play(120);
  ASSERT_GE(recorder.frames.size(), frames);
}

TEST_F(GifPainter, OptimisingStopsThePaintersHoldsTheirListAndDrawingAgainPlaysTheNewFrames) {
  // Frame 1 repeats frame 0: merged into nothing and cropped away, the frames after it move
  // down, and the last frame's index is no longer there.
  auto gif = BuildAnimation({{.delay = 10, .color = 1, .loops = 0},
                             {.delay = 10, .color = 1},
                             {.delay = 10, .color = 2},
                             {.delay = 10, .color = 3, .left = 1, .top = 1, .width = 2, .height = 2}});
  std::vector<std::string> warnings;
  gif->OnGIFWarning = [&](TObject*, TGIFSeverity, const AnsiString& m) { warnings.push_back(m.c_str()); };
  Recorder recorder;
  PlayFresh(*gif, recorder, 8);
  const auto shown = Distinct({recorder.pictures.begin(), recorder.pictures.begin() + 4});
  ASSERT_EQ(shown.size(), 3u);
  ASSERT_EQ(recorder.frames.back(), 3);

  // A program that keeps its window alive while optimising runs its queue and its clock from the
  // progress handler; another thread asks for the painter list meanwhile.
  const std::size_t eventsBefore = recorder.events.size();
  std::atomic<int> progressCalls{0}, callsWhenListed{-1};
  int listedDuring = 0;
  std::thread asker;
  gif->OnProgress = [&](TObject*, TProgressStage, BYTE, bool, const RECT&, const AnsiString&) {
    ++progressCalls;
    listedDuring += gif->Painters()->LockList()->Count();
    gif->Painters()->UnlockList();
    if (!asker.joinable()) {
      asker = std::thread([&] {
        gif->Painters()->LockList();
        callsWhenListed = progressCalls.load();
        gif->Painters()->UnlockList();
      });
    }
    Play(1200);
  };
  gif->Optimize((1 << ooCrop) | (1 << ooMerge) | (1 << ooCleanup) | (1 << ooColorMap), rmNone,
                TDitherMode::dmNearest, 8);
  asker.join();
  gif->OnProgress = nullptr;
  EXPECT_EQ(
      std::vector<std::string>(recorder.events.begin() + std::ptrdiff_t(eventsBefore), recorder.events.end()),
      std::vector<std::string>{});
  EXPECT_EQ(listedDuring, 0);
  EXPECT_GT(progressCalls.load(), 2);
  EXPECT_EQ(callsWhenListed.load(), progressCalls.load());
  EXPECT_EQ(gif->DrawPainter(), nullptr);
  ASSERT_EQ(gif->Images()->Count(), 3);

  PlayFresh(*gif, recorder, 6);
  EXPECT_EQ(First(recorder.frames, 6), (std::vector<int>{0, 1, 2, 0, 1, 2}));
  EXPECT_EQ(Distinct({recorder.pictures.begin(), recorder.pictures.begin() + 3}), shown);

  // Merging the tables renumbers every pixel under a painter that was playing.
  gif->OptimizeColorMap();
  EXPECT_EQ(gif->DrawPainter(), nullptr);
  EXPECT_EQ(gif->Painters()->LockList()->Count(), 0);
  gif->Painters()->UnlockList();
  PlayFresh(*gif, recorder, 6);
  EXPECT_EQ(First(recorder.frames, 6), (std::vector<int>{0, 1, 2, 0, 1, 2}));
  EXPECT_EQ(Distinct({recorder.pictures.begin(), recorder.pictures.begin() + 3}), shown);
  EXPECT_EQ(warnings, std::vector<std::string>{});
  gif.reset();
  EXPECT_TRUE(NoThreadLeft());
}

}  // namespace
