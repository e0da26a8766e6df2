// Sound: the header reader tells kinds and lengths and refuses bad data; PlaySoundA plays a WAV
// file asynchronously on the recording device, a new sound or NULL stops it, and a file
// nothing can play fails cleanly.
#include <signal.h>

#include <chrono>
#include <cstring>
#include <fstream>
#include <thread>

#include "ControlsTestSupport.h"
#include "platform/backend/audio/AudioDevice.h"
#include "platform/backend/audio/SdlAudioDevice.h"
#include "platform/controls/PlaySound.h"
#include "platform/rtl/Clock.h"
#include "support/TempDir.h"
#include "support/WaveBytes.h"

using namespace controlstest;
using platform::audio::SoundEvent;
using platform::audio::SoundKind;

namespace {

using testsupport::SilentWave;

TEST(SoundFile, KindsLengthsAndBadData) {
  struct Case {
    std::vector<uint8_t> bytes;
    SoundKind kind;
    int64_t ms;
    bool ok;
  } cases[] = {
      {SilentWave(4000), SoundKind::Wave, 500, true},
      {SilentWave(4000, true), SoundKind::Wave, 250, true},  // a cut file plays what is there
      {std::vector<uint8_t>{'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'}, SoundKind::Wave, 0, false},
      {std::vector<uint8_t>{'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 96}, SoundKind::Midi, 0, false},
      {std::vector<uint8_t>{0xFF, 0xFB, 0x90, 0x00, 0, 0, 0, 0}, SoundKind::Mp3, 0, true},
      {std::vector<uint8_t>{'I', 'D', '3', 3, 0, 0, 0x7F, 0x7F, 0x7F, 0x7F}, SoundKind::Mp3, 0, false},
      {std::vector<uint8_t>{'h', 'e', 'l', 'l', 'o'}, SoundKind::Unknown, 0, false},
  };
  for (const Case& c : cases) {
    const auto info = platform::audio::ProbeSound(c.bytes.data(), c.bytes.size());
    EXPECT_EQ(info.kind, c.kind);
    EXPECT_EQ(info.error.empty(), c.ok) << info.error;
    EXPECT_EQ(info.durationMs, c.ms);
  }
  // A zeroed byte rate is refused, not divided by.
  auto zero = SilentWave(100);
  zero[28] = zero[29] = zero[30] = zero[31] = 0;
  EXPECT_FALSE(platform::audio::ProbeSound(zero.data(), zero.size()).error.empty());
}

// Standard MIDI files built from their parts: a header and tracks of raw events.
using Bytes = std::vector<uint8_t>;

Bytes Midi(uint16_t format, uint16_t division, const std::vector<Bytes>& tracks, int declaredTracks = -1) {
  Bytes b{'M', 'T', 'h', 'd', 0, 0, 0, 6};
  const uint16_t n = uint16_t(declaredTracks < 0 ? tracks.size() : size_t(declaredTracks));
  for (uint16_t v : {format, n, division}) b.insert(b.end(), {uint8_t(v >> 8), uint8_t(v)});
  for (const Bytes& t : tracks) {
    b.insert(b.end(), {'M', 'T', 'r', 'k'});
    const uint32_t n32 = uint32_t(t.size());
    b.insert(b.end(), {uint8_t(n32 >> 24), uint8_t(n32 >> 16), uint8_t(n32 >> 8), uint8_t(n32)});
    b.insert(b.end(), t.begin(), t.end());
  }
  return b;
}

// Event pieces: a delta time, a tempo change (microseconds per quarter note), end of track.
Bytes Delta(uint32_t ticks) {
  Bytes out{uint8_t(ticks & 0x7F)};
  while (ticks >>= 7) out.insert(out.begin(), uint8_t(0x80 | (ticks & 0x7F)));
  return out;
}
Bytes Tempo(uint32_t us) { return {0xFF, 0x51, 0x03, uint8_t(us >> 16), uint8_t(us >> 8), uint8_t(us)}; }
const Bytes kEnd{0xFF, 0x2F, 0x00};
Bytes Cat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}
// A note of `ticks`, then the end of the track.
Bytes Note(uint32_t ticks) {
  return Cat({Delta(0), {0x90, 60, 100}, Delta(ticks), {0x80, 60, 0}, Delta(0), kEnd});
}

// MPEG audio frames: MPEG 1 layer III at 48 kHz (24 ms a frame at any bit rate) and MPEG 2
// layer III at 24 kHz (also 24 ms); the rest of each frame is silence.
Bytes Frames(int count, int rateIndex = 9, bool mpeg2 = false) {
  Bytes out;
  for (int i = 0; i < count; ++i) {
    const int kbps1[] = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};
    const int kbps2[] = {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160};
    const size_t bytes =
        mpeg2 ? size_t(72000 * kbps2[rateIndex] / 24000) : size_t(144000 * kbps1[rateIndex] / 48000);
    Bytes frame(bytes, 0);
    frame[0] = 0xFF;
    frame[1] = mpeg2 ? 0xF3 : 0xFB;
    frame[2] = uint8_t(rateIndex << 4 | 1 << 2);
    frame[3] = 0x00;
    out.insert(out.end(), frame.begin(), frame.end());
  }
  return out;
}

TEST(SoundFile, MidiAndMp3LengthsComeFromTheTempoMapAndTheFrames) {
  Bytes xing = Frames(1);
  std::memcpy(xing.data() + 4 + 32, "Xing", 4);  // after the stereo side information
  Bytes id3{'I', 'D', '3', 3, 0, 0, 0, 0, 0, 100};
  id3.resize(110, 0);
  Bytes id3v1{'T', 'A', 'G'};
  id3v1.resize(128, 'x');
  Bytes cut = Frames(10);
  cut.resize(cut.size() - 10);
  struct Case {
    const char* what;
    Bytes bytes;
    int64_t ms;
  } cases[] = {
      {"two quarters at the default tempo", Midi(0, 96, {Note(192)}), 1000},
      {"a tempo map in the first track times the second",
       Midi(1, 96, {Cat({Delta(0), Tempo(250000), Delta(96), Tempo(1000000), Delta(0), kEnd}), Note(288)}),
       2250},
      {"running status",
       Midi(0, 96,
            {Cat({Delta(0),
                  {0x90, 60, 100},
                  Delta(96),
                  {60, 0},
                  Delta(96),
                  {0xC0, 5},
                  Delta(0),
                  {7},
                  Delta(0),
                  kEnd})}),
       1000},
      {"system exclusive and text skipped",
       Midi(0, 96, {Cat({Delta(0), {0xF0, 3, 1, 2, 0xF7}, Delta(0), {0xFF, 0x01, 2, 'h', 'i'}, Note(96)})}),
       500},
      {"format 2 plays its tracks one after the other",
       Midi(2, 96, {Note(96), Cat({Delta(0), Tempo(1000000), Note(96)})}), 1500},
      {"25 frames of 40 ticks a second", Midi(0, 0xE728, {Note(2500)}), 2500},
      {"a track cut short plays what is there",
       [] {
         Bytes m = Midi(0, 96, {Note(192)});
         m.resize(m.size() - 6);  // loses the end of track and part of the note off
         return m;
       }(),
       1000},
      {"constant bit rate", Frames(50), 1200},
      {"variable bit rate", Cat({Frames(10, 9), Frames(10, 14), Frames(5, 1)}), 600},
      {"MPEG 2", Frames(25, 8, true), 600},
      {"tags before and after", Cat({id3, Frames(10), id3v1}), 240},
      {"a VBR header frame holds no sound", Cat({xing, Frames(10)}), 240},
      {"a cut last frame does not play", cut, 216},
      {"damage between frames is stepped over", Cat({Frames(5), {1, 2, 3, 0xFF, 0xFB}, Frames(5)}), 240},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const auto info = platform::audio::ProbeSound(c.bytes.data(), c.bytes.size());
    EXPECT_TRUE(info.error.empty()) << info.error;
    EXPECT_EQ(info.durationMs, c.ms);
  }
}

TEST(SoundFile, HostileMidiAndMp3HeadersAreRefusedOrBounded) {
  Bytes huge = Midi(0, 96, {Note(96)});
  huge[18] = huge[19] = huge[20] = huge[21] = 0xFF;  // a track length far past the end
  Bytes manyDeltas;
  for (int i = 0; i < 2000; ++i) manyDeltas = Cat({manyDeltas, Delta(0x0FFFFFFF), {0x90, 60, 100}});
  Bytes freeFormat = Frames(2);
  freeFormat[2] = 0x04;  // bit rate index 0
  Bytes badRate = Frames(2);
  badRate[2] |= 0x0C;  // reserved sample rate
  struct Case {
    const char* what;
    Bytes bytes;
    bool ok;
    int64_t ms;  // < 0: only bounded
  } cases[] = {
      {"track length past the end", huge, true, 500},
      {"a five-byte delta ends the track",
       Midi(0, 96,
            {Cat({Delta(0), {0x90, 60, 100}, Delta(96), {0x80, 60, 0}, {0x80, 0x80, 0x80, 0x80, 0x01}})}),
       true, 500},
      {"deltas adding up past any real piece", Midi(0, 1, {manyDeltas}), true, -1},
      {"division 0", Midi(0, 0, {Note(96)}), false, 0},
      {"time code at 13 frames a second", Midi(0, 0xF328, {Note(96)}), false, 0},
      {"format 3", Midi(3, 96, {Note(96)}), false, 0},
      {"more tracks declared than present", Midi(1, 96, {Note(96)}, 65535), true, 500},
      {"a tempo of 0 is ignored", Midi(0, 96, {Cat({Delta(0), Tempo(0), Note(96)})}), true, 500},
      {"a meta event longer than the track",
       Midi(0, 96, {Cat({Delta(0), {0x90, 60, 100}, Delta(96), {0xFF, 0x01, 0x7F}})}), true, 500},
      {"data byte without a status", Midi(0, 96, {Cat({Delta(96), {60, 0}, Note(96)})}), true, 500},
      {"header length below 6", Bytes{'M', 'T', 'h', 'd', 0, 0, 0, 2, 0, 0}, false, 0},
      {"header length past the end", Bytes{'M', 'T', 'h', 'd', 0x7F, 0, 0, 0, 0, 0, 0, 1, 0, 96}, false, 0},
      {"free format MP3 has no length", freeFormat, true, 0},
      {"reserved sample rate", badRate, false, 0},
      {"only sync bytes", Bytes(4096, 0xFF), false, 0},
      {"tag size past the end", Bytes{'I', 'D', '3', 4, 0, 0x10, 0, 0, 0, 0}, false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const auto info = platform::audio::ProbeSound(c.bytes.data(), c.bytes.size());
    EXPECT_EQ(info.error.empty(), c.ok) << info.error;
    EXPECT_GE(info.durationMs, 0);
    if (c.ms >= 0) {
      EXPECT_EQ(info.durationMs, c.ms);
    }
  }
}

class SoundTest : public ControlsTest {
 protected:
  void SetUp() override {
    ControlsTest::SetUp();
    auto device = std::make_unique<platform::audio::RecordingDevice>();
    recorder = device.get();
    platform::audio::SetDevice(std::move(device));
  }
  void TearDown() override {
    PlaySoundA(nullptr, nullptr, 0);
    platform::audio::SetDevice(nullptr);
    ControlsTest::TearDown();
  }
  std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) {
    return dir.write(name, std::string(bytes.begin(), bytes.end()));
  }
  platform::audio::RecordingDevice* recorder = nullptr;
  testsupport::TempDir dir;
};

TEST_F(SoundTest, PlaySoundPlaysAsynchronouslyAndStops) {
  const std::string first = Write("first.wav", SilentWave(8000));
  const std::string second = Write("zweite Datei.wav", SilentWave(800));
  EXPECT_TRUE(PlaySoundA(first.c_str(), nullptr, SND_FILENAME | SND_ASYNC));
  EXPECT_TRUE(PlaySoundA(second.c_str(), nullptr, SND_FILENAME | SND_ASYNC));  // stops the first
  EXPECT_TRUE(PlaySoundA(nullptr, nullptr, 0));
  const auto& e = recorder->Events();
  ASSERT_EQ(e.size(), 4u);
  EXPECT_EQ(e[0].what, SoundEvent::What::Play);
  EXPECT_TRUE(e[0].async);
  EXPECT_EQ(e[1].what, SoundEvent::What::Stop);
  EXPECT_EQ(e[1].path, first);
  EXPECT_EQ(e[2].path, second);
  EXPECT_EQ(e[3].what, SoundEvent::What::Stop);
  // A sound that ended is not stopped again.
  EXPECT_TRUE(PlaySoundA(second.c_str(), nullptr, SND_FILENAME | SND_ASYNC));
  driver().Advance(200);
  EXPECT_TRUE(PlaySoundA(nullptr, nullptr, SND_PURGE));
  EXPECT_EQ(recorder->Events().size(), 5u);
}

TEST_F(SoundTest, UnplayableFilesFailAndDeviceCountsFollowTheDevice) {
  EXPECT_FALSE(PlaySoundA((dir.path() + "/missing.wav").c_str(), nullptr, SND_FILENAME | SND_ASYNC));
  EXPECT_FALSE(
      PlaySoundA(Write("text.wav", {'t', 'e', 'x', 't'}).c_str(), nullptr, SND_FILENAME | SND_ASYNC));
  EXPECT_TRUE(recorder->Events().empty());
  EXPECT_EQ(waveOutGetNumDevs(), 1u);
  recorder->SetDevices(1, 0);
  EXPECT_EQ(midiOutGetNumDevs(), 0u);
  const std::string tune = Write("tune.mid", Midi(0, 96, {Note(96)}));
  EXPECT_FALSE(PlaySoundA(tune.c_str(), nullptr, SND_FILENAME | SND_ASYNC));
  recorder->SetDevices(1, 1);
  EXPECT_TRUE(PlaySoundA(tune.c_str(), nullptr, SND_FILENAME | SND_ASYNC));
}

TEST_F(SoundTest, ALoopRepeatsUntilStoppedOrReplaced) {
  const std::string path = Write("loop.wav", SilentWave(4000));              // 500 ms
  EXPECT_FALSE(PlaySoundA(path.c_str(), nullptr, SND_FILENAME | SND_LOOP));  // a loop must be asynchronous
  EXPECT_TRUE(recorder->Events().empty());
  ASSERT_TRUE(PlaySoundA(path.c_str(), nullptr, SND_FILENAME | SND_ASYNC | SND_LOOP));
  const SoundEvent play = recorder->Events().at(0);
  EXPECT_TRUE(play.loop);
  auto& device = platform::audio::Device();
  driver().Advance(1250);  // twice round and half way through the third
  EXPECT_TRUE(device.Playing(play.handle));
  EXPECT_EQ(device.Position(play.handle), 250);
  driver().Advance(10000);
  EXPECT_TRUE(device.Playing(play.handle));
  EXPECT_TRUE(PlaySoundA(nullptr, nullptr, 0));
  ASSERT_EQ(recorder->Events().size(), 2u);
  EXPECT_EQ(recorder->Events()[1].what, SoundEvent::What::Stop);
  // A new sound replaces a loop too.
  ASSERT_TRUE(PlaySoundA(path.c_str(), nullptr, SND_FILENAME | SND_ASYNC | SND_LOOP));
  driver().Advance(2000);
  ASSERT_TRUE(PlaySoundA(Write("once.wav", SilentWave(800)).c_str(), nullptr, SND_FILENAME | SND_ASYNC));
  const auto& e = recorder->Events();
  ASSERT_EQ(e.size(), 5u);
  EXPECT_EQ(e[3].what, SoundEvent::What::Stop);
  EXPECT_EQ(e[3].path, path);
  EXPECT_FALSE(e[4].loop);
  driver().Advance(100);
  EXPECT_FALSE(device.Playing(e[4].handle));
}

TEST_F(SoundTest, ASoundInMemoryIsCopiedBeforeAnAsynchronousPlayReturns) {
  const std::vector<uint8_t> image = SilentWave(800);  // 100 ms
  auto* block = new uint8_t[image.size()];
  std::memcpy(block, image.data(), image.size());
  ASSERT_TRUE(PlaySoundA(reinterpret_cast<LPCSTR>(block), nullptr, SND_MEMORY | SND_ASYNC));
  std::memset(block, 0xEE, image.size());  // the caller reuses and frees its buffer at once
  delete[] block;
  ASSERT_EQ(recorder->Events().size(), 1u);
  const SoundEvent play = recorder->Events()[0];
  EXPECT_TRUE(play.path.empty());
  EXPECT_EQ(play.memory, image);
  auto& device = platform::audio::Device();
  EXPECT_EQ(device.Length(play.handle), 100);
  driver().Advance(99);
  EXPECT_TRUE(device.Playing(play.handle));
  driver().Advance(1);
  EXPECT_FALSE(device.Playing(play.handle));
  // A synchronous play from memory takes the sound's time on the platform clock.
  const int64_t before = driver().Now();
  EXPECT_TRUE(PlaySoundA(reinterpret_cast<LPCSTR>(image.data()), nullptr, SND_MEMORY | SND_SYNC));
  EXPECT_EQ(driver().Now() - before, 100);
  // Only WAVE images play from memory.
  const std::vector<uint8_t> midi = Midi(0, 96, {Note(96)});
  EXPECT_FALSE(PlaySoundA(reinterpret_cast<LPCSTR>(midi.data()), nullptr, SND_MEMORY | SND_ASYNC));
  EXPECT_EQ(recorder->Events().size(), 2u);
}

// Without a device of its own, a headless run records through the driver.
TEST_F(ControlsTest, TheHeadlessDriverRecordsSoundsAndSetsDeviceCounts) {
  testsupport::TempDir dir;
  const std::string path = dir.path() + "/beep.wav";
  const auto bytes = SilentWave(800);
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), long(bytes.size()));
  EXPECT_TRUE(driver().Sounds().empty());
  ASSERT_TRUE(PlaySoundA(path.c_str(), nullptr, SND_FILENAME | SND_ASYNC));
  ASSERT_EQ(driver().Sounds().size(), 1u);
  EXPECT_EQ(driver().Sounds()[0].path, path);
  EXPECT_TRUE(driver().Sounds()[0].async);
  PlaySoundA(nullptr, nullptr, 0);
  EXPECT_EQ(driver().Sounds().size(), 2u);
  driver().SetSoundDevices(0, 0);
  EXPECT_EQ(waveOutGetNumDevs(), 0u);
  EXPECT_EQ(midiOutGetNumDevs(), 0u);
  EXPECT_FALSE(PlaySoundA(path.c_str(), nullptr, SND_FILENAME | SND_ASYNC));
}

TEST_F(SoundTest, ASoundPlaysForItsLengthOnThePlatformClock) {
  auto& device = platform::audio::Device();
  const int h = device.Open(Write("half.wav", SilentWave(4000)), nullptr);
  ASSERT_GT(h, 0);
  ASSERT_TRUE(device.Play(h, true));
  driver().Advance(499);
  EXPECT_TRUE(device.Playing(h));
  driver().Advance(1);
  EXPECT_FALSE(device.Playing(h));
  device.Close(h);
}

}  // namespace

namespace {

// The sound library leaves the program's signals alone: with its own SIGTERM handler a desktop
// program that opened the sound output no longer ended when the session asked it to.
TEST(SdlAudioDevice, LeavesTheTerminationSignalsAlone) {
  auto device = platform::audio::MakeSdlDevice("dummy");
  if (!device) GTEST_SKIP() << "SDL has no dummy audio output here";
  for (int signal : {SIGTERM, SIGINT}) {
    struct sigaction now {};
    ASSERT_EQ(sigaction(signal, nullptr, &now), 0);
    EXPECT_TRUE(now.sa_handler == SIG_DFL || now.sa_handler == SIG_IGN) << signal;
  }
}

// The real library on SDL's silent "dummy" output: a short WAV file plays and ends by itself
// (in real time, so the wait is generous), a file that is not sound is refused.
TEST(SdlAudioDevice, PlaysAWaveFileToItsEndOnTheSilentOutput) {
  auto device = platform::audio::MakeSdlDevice("dummy");
  if (!device) GTEST_SKIP() << "SDL has no dummy audio output here";
  testsupport::TempDir dir;
  const std::string path = dir.path() + "/short.wav";
  const auto bytes = SilentWave(800);  // 100 ms
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), long(bytes.size()));
  EXPECT_TRUE(device->CanPlay(SoundKind::Wave));
  const int h = device->Open(path, nullptr);
  ASSERT_GT(h, 0);
  ASSERT_TRUE(device->Play(h, true));
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (device->Playing(h) && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_FALSE(device->Playing(h));
  device->Close(h);
  // From memory: the device plays its own copy after the caller's buffer is gone.
  auto image = std::make_unique<std::vector<uint8_t>>(bytes);
  const int m = device->OpenMemory(image->data(), image->size(), nullptr);
  image.reset();
  ASSERT_GT(m, 0);
  EXPECT_EQ(device->Length(m), 100);
  ASSERT_TRUE(device->Play(m, true));
  const auto memoryDeadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (device->Playing(m) && std::chrono::steady_clock::now() < memoryDeadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_FALSE(device->Playing(m));
  // Looping, it is still playing long after its length, until stopped.
  ASSERT_TRUE(device->Play(m, true, true));
  std::this_thread::sleep_for(std::chrono::milliseconds(350));
  EXPECT_TRUE(device->Playing(m));
  device->Stop(m);
  EXPECT_FALSE(device->Playing(m));
  EXPECT_FALSE(device->Play(m, false, true));  // a synchronous loop would never return
  device->Close(m);
  std::string error;
  const std::string text = dir.path() + "/text.wav";
  std::ofstream(text) << "not sound";
  EXPECT_EQ(device->Open(text, &error), 0);
  EXPECT_FALSE(error.empty());
}

}  // namespace
