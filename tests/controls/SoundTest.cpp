// Sound: the header reader tells kinds and lengths and refuses bad data; PlaySoundA plays a WAV
// file asynchronously on the recording device, a new sound or NULL stops it, and a file
// nothing can play fails cleanly.
#include <chrono>
#include <fstream>
#include <thread>

#include "ControlsTestSupport.h"
#include "platform/controls/AudioDevice.h"
#include "platform/controls/PlaySound.h"
#include "platform/controls/SdlAudioDevice.h"
#include "platform/rtl/Clock.h"
#include "support/TempDir.h"

using namespace controlstest;
using platform::audio::SoundEvent;
using platform::audio::SoundKind;

namespace {

// A PCM WAV file: mono, 8 kHz, 8 bits, `samples` of silence.
std::vector<uint8_t> Wave(uint32_t samples, bool truncate = false) {
  std::vector<uint8_t> b;
  auto u32 = [&](uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(uint8_t(v >> (8 * i)));
  };
  auto u16 = [&](uint32_t v) {
    b.push_back(uint8_t(v));
    b.push_back(uint8_t(v >> 8));
  };
  auto tag = [&](const char* t) {
    for (int i = 0; i < 4; ++i) b.push_back(uint8_t(t[i]));
  };
  tag("RIFF");
  u32(36 + samples);
  tag("WAVE");
  tag("fmt ");
  u32(16);
  u16(1), u16(1), u32(8000), u32(8000), u16(1), u16(8);
  tag("data");
  u32(samples);
  b.resize(b.size() + (truncate ? samples / 2 : samples), 0x80);
  return b;
}

TEST(SoundFile, KindsLengthsAndBadData) {
  struct Case {
    std::vector<uint8_t> bytes;
    SoundKind kind;
    int64_t ms;
    bool ok;
  } cases[] = {
      {Wave(4000), SoundKind::Wave, 500, true},
      {Wave(4000, true), SoundKind::Wave, 250, true},  // a cut file plays what is there
      {std::vector<uint8_t>{'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'}, SoundKind::Wave, 0, false},
      {std::vector<uint8_t>{'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 96}, SoundKind::Midi, 0, true},
      {std::vector<uint8_t>{0xFF, 0xFB, 0x90, 0x00, 0, 0, 0, 0}, SoundKind::Mp3, 0, true},
      {std::vector<uint8_t>{'I', 'D', '3', 3, 0, 0, 0x7F, 0x7F, 0x7F, 0x7F}, SoundKind::Mp3, 0, false},
      {std::vector<uint8_t>{'h', 'e', 'l', 'l', 'o'}, SoundKind::Unknown, 0, false},
  };
  for (const Case& c : cases) {
    const auto info = platform::audio::ProbeSound(c.bytes.data(), c.bytes.size());
    EXPECT_EQ(info.kind, c.kind);
    EXPECT_EQ(info.error.empty(), c.ok) << info.error;
    if (c.ok && c.kind == SoundKind::Wave) {
      EXPECT_EQ(info.durationMs, c.ms);
    }
  }
  // A zeroed byte rate is refused, not divided by.
  auto zero = Wave(100);
  zero[28] = zero[29] = zero[30] = zero[31] = 0;
  EXPECT_FALSE(platform::audio::ProbeSound(zero.data(), zero.size()).error.empty());
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
    const std::string path = dir.path() + "/" + name;
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), long(bytes.size()));
    return path;
  }
  platform::audio::RecordingDevice* recorder = nullptr;
  testsupport::TempDir dir;
};

TEST_F(SoundTest, PlaySoundPlaysAsynchronouslyAndStops) {
  const std::string first = Write("first.wav", Wave(8000));
  const std::string second = Write("zweite Datei.wav", Wave(800));
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
  EXPECT_FALSE(PlaySoundA(Write("text.wav", {'t', 'e', 'x', 't'}).c_str(), nullptr, SND_FILENAME | SND_ASYNC));
  EXPECT_TRUE(recorder->Events().empty());
  EXPECT_EQ(waveOutGetNumDevs(), 1u);
  recorder->SetDevices(1, 0);
  EXPECT_EQ(midiOutGetNumDevs(), 0u);
  const std::vector<uint8_t> midi{'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 96};
  EXPECT_FALSE(PlaySoundA(Write("tune.mid", midi).c_str(), nullptr, SND_FILENAME | SND_ASYNC));
}

TEST_F(SoundTest, ASoundPlaysForItsLengthOnThePlatformClock) {
  auto& device = platform::audio::Device();
  const int h = device.Open(Write("half.wav", Wave(4000)), nullptr);
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

// The real library on SDL's silent "dummy" output: a short WAV file plays and ends by itself
// (in real time, so the wait is generous), a file that is not sound is refused.
TEST(SdlAudioDevice, PlaysAWaveFileToItsEndOnTheSilentOutput) {
  auto device = platform::audio::MakeSdlDevice("dummy");
  if (!device) GTEST_SKIP() << "SDL has no dummy audio output here";
  testsupport::TempDir dir;
  const std::string path = dir.path() + "/short.wav";
  const auto bytes = Wave(800);  // 100 ms
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), long(bytes.size()));
  EXPECT_TRUE(device->CanPlay(SoundKind::Wave));
  const int h = device->Open(path, nullptr);
  ASSERT_GT(h, 0);
  ASSERT_TRUE(device->Play(h, true));
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (device->Playing(h) && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_FALSE(device->Playing(h));
  device->Close(h);
  std::string error;
  const std::string text = dir.path() + "/text.wav";
  std::ofstream(text) << "not sound";
  EXPECT_EQ(device->Open(text, &error), 0);
  EXPECT_FALSE(error.empty());
}

}  // namespace
