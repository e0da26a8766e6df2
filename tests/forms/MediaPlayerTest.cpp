// The media player over the recording sound device: a WAV file plays and reports its end
// through OnNotify as the fake clock reaches its length; Stop, Close and a new play report how
// they ended the one under way; Wait makes a play take its time; files no device can open raise
// the player's error; a layout sets the player up.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/backend/HeadlessDriver.h"
#include "platform/backend/audio/AudioDevice.h"
#include "platform/forms/ClassRegistry.h"
#include "platform/forms/TApplication.h"
#include "platform/forms/TMediaPlayer.h"
#include "support/TempDir.h"
#include "support/WaveBytes.h"

namespace {

using platform::audio::SoundEvent;
using platform::headless::Driver;

using testsupport::SilentWave;

class MediaPlayerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::headless::Install();
    FormsStartup();
    auto device = std::make_unique<platform::audio::RecordingDevice>();
    recorder = device.get();
    platform::audio::SetDevice(std::move(device));
    form = new TForm(Application);
    player = new TMediaPlayer(form);
    player->SetParent(form);
    player->SetVisible(false);
    player->OnNotify = [this](TObject* sender) {
      EXPECT_EQ(sender, player);
      notified.push_back(player->NotifyValue());
    };
    wave = Write("half second.wav", SilentWave(4000));
  }
  void TearDown() override {
    FormsShutdown();
    platform::audio::SetDevice(nullptr);
    platform::headless::Uninstall();
  }
  std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) {
    return dir.write(name, std::string(bytes.begin(), bytes.end()));
  }
  // The notifications delivered so far, taken.
  std::vector<TMPNotifyValues> Notified() {
    Driver().RunUntilIdle();
    return std::exchange(notified, {});
  }

  testsupport::TempDir dir;
  platform::audio::RecordingDevice* recorder = nullptr;
  TForm* form = nullptr;
  TMediaPlayer* player = nullptr;
  std::string wave;
  std::vector<TMPNotifyValues> notified;
};

TEST_F(MediaPlayerTest, AWavePlaysAndReportsItsEndWhenTheClockReachesItsLength) {
  player->SetFileName(wave.c_str());
  EXPECT_EQ(player->Mode(), mpNotReady);
  player->Open();
  EXPECT_NE(player->DeviceID(), 0);
  EXPECT_EQ(Notified(), std::vector<TMPNotifyValues>{nvSuccessful});  // the open itself
  EXPECT_EQ(player->Length(), 500);
  player->Play();
  EXPECT_EQ(player->Mode(), mpPlaying);
  ASSERT_EQ(recorder->Events().size(), 1u);
  EXPECT_TRUE(recorder->Events()[0].async);
  EXPECT_EQ(recorder->Events()[0].path, wave);
  Driver().Advance(300);
  EXPECT_EQ(player->Position(), 300);
  Driver().Advance(199);
  EXPECT_TRUE(Notified().empty());
  Driver().Advance(1);
  EXPECT_EQ(Notified(), std::vector<TMPNotifyValues>{nvSuccessful});
  EXPECT_EQ(player->Mode(), mpStopped);
  EXPECT_EQ(player->Position(), 500);
  // Played again, it runs its whole length again.
  player->Play();
  Driver().Advance(499);
  EXPECT_TRUE(Notified().empty());
  Driver().Advance(1);
  EXPECT_EQ(Notified(), std::vector<TMPNotifyValues>{nvSuccessful});
  player->Close();
  EXPECT_EQ(player->DeviceID(), 0);
  EXPECT_EQ(Notified(), std::vector<TMPNotifyValues>{nvSuccessful});
}

TEST_F(MediaPlayerTest, MidiAndMp3FilesPlayForTheirOwnLengths) {
  // Five quarter notes at 96 ticks a quarter and the default tempo.
  const std::vector<uint8_t> midi{'M', 'T', 'h',  'd',  0,    0,   0, 6, 0,    0,    0, 1,
                                  0,   96,  'M',  'T',  'r',  'k', 0, 0, 0,    13,   0, 0x90,
                                  60,  100, 0x83, 0x60, 0x80, 60,  0, 0, 0xFF, 0x2F, 0};
  // Ten MPEG 1 layer III frames at 48 kHz, 24 ms each.
  std::vector<uint8_t> mp3;
  for (int i = 0; i < 10; ++i) {
    std::vector<uint8_t> frame(384, 0);
    frame[0] = 0xFF, frame[1] = 0xFB, frame[2] = 0x94;
    mp3.insert(mp3.end(), frame.begin(), frame.end());
  }
  struct Case {
    std::string file;
    int64_t ms;
  } cases[] = {{Write("tune.mid", midi), 2500}, {Write("clip.mp3", mp3), 240}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    player->SetFileName(c.file.c_str());
    player->SetNotify(false);
    player->Open();
    EXPECT_EQ(player->Length(), c.ms);
    player->Play();
    Driver().Advance(c.ms - 1);
    EXPECT_TRUE(Notified().empty());
    Driver().Advance(1);
    EXPECT_EQ(Notified(), std::vector<TMPNotifyValues>{nvSuccessful});
  }
}

TEST_F(MediaPlayerTest, StopCloseAndANewPlayReportHowThePlayEnded) {
  player->SetFileName(wave.c_str());
  player->SetNotify(false);  // for the open only
  player->Open();
  player->Play();
  Driver().Advance(200);
  player->Stop();
  // The play was cut short, then the stop itself completed.
  EXPECT_EQ(Notified(), (std::vector<TMPNotifyValues>{nvAborted, nvSuccessful}));
  EXPECT_EQ(player->Position(), 200);
  ASSERT_EQ(recorder->Events().size(), 2u);
  EXPECT_EQ(recorder->Events()[1].what, SoundEvent::What::Stop);
  Driver().Advance(1000);  // nothing more comes from the stopped play
  EXPECT_TRUE(Notified().empty());

  player->Play();
  player->SetNotify(false);
  player->Stop();
  EXPECT_EQ(Notified(), std::vector<TMPNotifyValues>{nvAborted});

  player->Play();
  Driver().Advance(100);
  player->Play();
  EXPECT_EQ(Notified(), std::vector<TMPNotifyValues>{nvSuperseded});
  Driver().Advance(500);
  EXPECT_EQ(Notified(), std::vector<TMPNotifyValues>{nvSuccessful});

  player->Play();
  player->Close();
  EXPECT_EQ(Notified(), (std::vector<TMPNotifyValues>{nvAborted, nvSuccessful}));
  EXPECT_EQ(recorder->Events().back().what, SoundEvent::What::Stop);
  // Closing a closed player does nothing; playing or stopping it is an error.
  player->Close();
  EXPECT_TRUE(Notified().empty());
  EXPECT_THROW(player->Play(), EMCIDeviceError);
  EXPECT_THROW(player->Stop(), EMCIDeviceError);
}

TEST_F(MediaPlayerTest, AWaitedPlayTakesTheSoundsTimeOnThePlatformClock) {
  player->SetFileName(wave.c_str());
  player->Open();
  Notified();
  const int64_t before = Driver().Now();
  player->SetWait(true);
  player->Play();
  EXPECT_EQ(Driver().Now() - before, 500);
  EXPECT_EQ(player->Mode(), mpStopped);
  EXPECT_EQ(Notified(), std::vector<TMPNotifyValues>{nvSuccessful});
  EXPECT_FALSE(recorder->Events().back().async);
  // Wait was for that play only.
  player->Play();
  EXPECT_EQ(Driver().Now() - before, 500);
  EXPECT_EQ(player->Mode(), mpPlaying);
}

TEST_F(MediaPlayerTest, FilesNoDeviceCanOpenRaiseTheOpenError) {
  const std::string midi = Write("tune.mid", {'M', 'T', 'h', 'd', 0,   0, 0, 6, 0, 0, 0,    1,    0,
                                              96,  'M', 'T', 'r', 'k', 0, 0, 0, 4, 0, 0xFF, 0x2F, 0});
  recorder->SetDevices(1, 0);
  struct Case {
    std::string file;
    TMPDeviceTypes type;
  } cases[] = {
      {dir.path() + "/missing.wav", dtAutoSelect},
      {Write("text.wav", {'n', 'o', 't', ' ', 's', 'o', 'u', 'n', 'd'}), dtAutoSelect},
      {Write("empty.mp3", {}), dtAutoSelect},
      {midi, dtAutoSelect},  // no MIDI device
      {wave, dtSequencer},   // a wave file is not for the sequencer
      {wave, dtCDAudio},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    player->SetFileName(c.file.c_str());
    player->SetDeviceType(c.type);
    try {
      player->Open();
      ADD_FAILURE() << "opened";
    } catch (const EMCIDeviceError& e) {
      EXPECT_EQ(e.Message, AnsiString("Cannot open media file " + c.file));
    }
    EXPECT_EQ(player->DeviceID(), 0);
    EXPECT_EQ(player->Mode(), mpNotReady);
  }
  EXPECT_TRUE(Notified().empty());
  EXPECT_TRUE(recorder->Events().empty());
  // A failed open leaves nothing open: what was open before is closed.
  player->SetFileName(wave.c_str());
  player->SetDeviceType(dtWaveAudio);
  player->Open();
  player->Play();
  player->SetFileName(midi.c_str());
  player->SetDeviceType(dtAutoSelect);
  EXPECT_THROW(player->Open(), EMCIDeviceError);
  EXPECT_EQ(player->DeviceID(), 0);
  EXPECT_EQ(recorder->Events().back().what, SoundEvent::What::Stop);
}

class TPlayerForm : public TForm {
 public:
  explicit TPlayerForm(TComponent* owner) : TForm(owner) {}
  void PlayerNotify(TObject*) { ++notifications; }
  int notifications = 0;
};

TEST_F(MediaPlayerTest, ALayoutSetsThePlayerUpAndAutoOpenOpensIt) {
  static bool registered = false;
  if (!registered) {
    registered = true;
    RegisterProperties<TPlayerForm>("TPlayerForm", "TForm")
        .Handler("PlayerNotify", &TPlayerForm::PlayerNotify);
    RegisterFormLayout("TPlayerForm", R"(object PlayerForm: TPlayerForm
  Width = 160
  Height = 200
  object AudioPlayer: TMediaPlayer
    Left = 10
    Top = 10
    Width = 253
    Height = 30
    Visible = False
    FileName = 'clip.wav'
    DeviceType = dtWaveAudio
    OnNotify = PlayerNotify
  end
end
)");
  }
  TPlayerForm* loaded = nullptr;
  Application->CreateForm(loaded);
  auto* fromLayout = dynamic_cast<TMediaPlayer*>(loaded->FindComponent("AudioPlayer"));
  ASSERT_NE(fromLayout, nullptr);
  EXPECT_FALSE(fromLayout->Visible());
  EXPECT_EQ(fromLayout->Parent(), loaded);
  EXPECT_EQ(fromLayout->FileName(), "clip.wav");
  EXPECT_EQ(fromLayout->DeviceType(), dtWaveAudio);
  EXPECT_EQ(fromLayout->DeviceID(), 0);  // no AutoOpen
  fromLayout->SetFileName(wave.c_str());
  fromLayout->Open();
  Driver().RunUntilIdle();
  EXPECT_EQ(loaded->notifications, 1);

  // AutoOpen opens once the layout has been read.
  player->SetFileName(wave.c_str());
  player->SetAutoOpen(true);
  player->Loaded();
  EXPECT_NE(player->DeviceID(), 0);
  // A player freed while it plays stops its sound.
  player->Play();
  delete player;
  player = nullptr;
  Driver().Advance(1000);
  Driver().RunUntilIdle();
  EXPECT_EQ(recorder->Events().back().what, SoundEvent::What::Stop);
}

}  // namespace
